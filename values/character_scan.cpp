// Word-at-a-time scanning over 32-bit little-endian words: lane k of a word is the byte at
// offset k, and "lanes" values below mark a lane by its high bit (0x80 << 8k). Each has an SSE2
// path as well, chosen at run time.
#include "values/character_scan.h"

#include <array>
#include <bit>
#include <cstring>

// The SSE2 paths, where the processor may have it; a build with ZV_SCAN_WITHOUT_SSE2 (the test
// of the scalar paths alone) leaves them out.
#if (defined(__i386__) || defined(__x86_64__)) && !defined(ZV_SCAN_WITHOUT_SSE2)
#define ZV_SCAN_SSE2
#include <emmintrin.h>
#endif

#include "values/cp936_text.h"

namespace {

constexpr uint32_t kWordBytes = 4;
constexpr uint32_t kLaneOnes = 0x01010101;
constexpr uint32_t kLaneHighBits = 0x80808080;

uint32_t LoadWord(const uint8_t *at) {
    uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

void StoreWord(uint8_t *at, uint32_t word) {
    std::memcpy(at, &word, sizeof word);
}

// Marks the lanes of word that hold zero. The lowest mark is exact; a borrow may add false
// marks above it, so only the lowest one may be trusted.
constexpr uint32_t ZeroLanes(uint32_t word) {
    return (word - kLaneOnes) & ~word & kLaneHighBits;
}

uint32_t LowestLane(uint32_t lanes) {
    return static_cast<uint32_t>(std::countr_zero(lanes)) / 8;
}

uint32_t HighestLane(uint32_t lanes) {
    return (31 - static_cast<uint32_t>(std::countl_zero(lanes))) / 8;
}

// The high bits of the four lanes gathered into bits 0 to 3. The multiplication moves bits 7,
// 15, 23 and 31 to 28, 29, 30 and 31; no other partial product lands there or carries.
uint32_t HighBitsOfLanes(uint32_t word) {
    return ((word & kLaneHighBits) * 0x00204081u) >> 28;
}

// The lanes holding a byte from 'A' to 'Z', among the lanes given (which hold bytes below
// 0x80). The high bits are cleared first, so that adding to a lane never carries into the
// next one; the addition then sets a lane's high bit exactly when the lane reaches the bound.
constexpr uint32_t CapitalLetterLanes(uint32_t word, uint32_t lowLanes) {
    const uint32_t low7 = word & ~kLaneHighBits;
    const uint32_t atLeastA = low7 + (0x80 - 'A') * kLaneOnes;
    const uint32_t pastZ = low7 + (0x80 - 'Z' - 1) * kLaneOnes;
    return atLeastA & ~pastZ & lowLanes;
}

// One step of the character walk over the given number of lanes, from lane 0 up, whose high
// bits are given (bit k for lane k): the lanes that hold a single-byte character (bit k for lane
// k), and whether the byte after them is a trail byte.
struct LaneWalk {
    uint32_t singleLanes;
    bool trailAfter;
};

constexpr LaneWalk WalkLanes(uint32_t lanes, uint32_t highBits, bool firstIsTrail) {
    bool trail = firstIsTrail;
    uint32_t singles = 0;
    for (uint32_t lane = 0; lane < lanes; ++lane) {
        const bool isHigh = ((highBits >> lane) & 1) != 0;
        if (trail) {
            trail = false;
        } else if (isHigh) {
            trail = true;
        } else {
            singles |= 1u << lane;
        }
    }
    return {singles, trail};
}

// The character walk over one word, done once at compile time for every combination of the
// lanes' high bits (4 bits) and of whether lane 0 is a trail byte.
struct WordWalk {
    // The lanes holding a single-byte character, by [lane 0 is a trail byte][high bits].
    std::array<std::array<uint32_t, 16>, 2> singleByteLanes{};
    // By [high bits]: bit t says whether the byte after the word is a trail byte when lane 0's
    // being one is t. Behind a byte below 0x80 the walk forgets lane 0, so both bits agree
    // unless all four bytes are high.
    std::array<uint32_t, 16> trailAfter{};
};

constexpr WordWalk MakeWordWalk() {
    WordWalk walk;
    for (uint32_t firstIsTrail = 0; firstIsTrail < 2; ++firstIsTrail) {
        for (uint32_t high = 0; high < 16; ++high) {
            const LaneWalk step = WalkLanes(kWordBytes, high, firstIsTrail != 0);
            uint32_t singles = 0;
            for (uint32_t lane = 0; lane < kWordBytes; ++lane) {
                singles |= ((step.singleLanes >> lane) & 1) * (0x80u << (8 * lane));
            }
            walk.singleByteLanes[firstIsTrail][high] = singles;
            walk.trailAfter[high] |= (step.trailAfter ? 1u : 0u) << firstIsTrail;
        }
    }
    return walk;
}

constexpr WordWalk kWordWalk = MakeWordWalk();

// One word of CopyWithLowerCaseLetters, without a branch; trail says whether lane 0 is a
// trail byte and is updated for the next word.
uint32_t LowerCaseWord(uint32_t word, uint32_t *trail) {
    const uint32_t high = HighBitsOfLanes(word);
    const uint32_t singles = kWordWalk.singleByteLanes[*trail][high];
    *trail = (kWordWalk.trailAfter[high] >> *trail) & 1;
    // A marked lane's high bit shifted down two is 0x20, the distance from 'A' to 'a'.
    return word + (CapitalLetterLanes(word, singles) >> 2);
}

uint32_t FindEitherByteInWords(const uint8_t *text, uint32_t from, uint32_t end, uint8_t first,
                               uint8_t second) {
    const uint32_t firstInEveryLane = first * kLaneOnes;
    const uint32_t secondInEveryLane = second * kLaneOnes;
    uint32_t at = from;
    for (; end - at >= 2 * kWordBytes; at += 2 * kWordBytes) {
        const uint32_t word = LoadWord(text + at);
        const uint32_t next = LoadWord(text + at + kWordBytes);
        const uint32_t hits =
            ZeroLanes(word ^ firstInEveryLane) | ZeroLanes(word ^ secondInEveryLane);
        const uint32_t nextHits =
            ZeroLanes(next ^ firstInEveryLane) | ZeroLanes(next ^ secondInEveryLane);
        if ((hits | nextHits) != 0) {
            return hits != 0 ? at + LowestLane(hits) : at + kWordBytes + LowestLane(nextHits);
        }
    }
    for (; end - at >= kWordBytes; at += kWordBytes) {
        const uint32_t word = LoadWord(text + at);
        const uint32_t hits =
            ZeroLanes(word ^ firstInEveryLane) | ZeroLanes(word ^ secondInEveryLane);
        if (hits != 0) {
            return at + LowestLane(hits);
        }
    }
    for (; at < end; ++at) {
        if (text[at] == first || text[at] == second) {
            return at;
        }
    }
    return end;
}

#ifdef ZV_SCAN_SSE2
constexpr uint32_t kBlockBytes = 16;

// The SSE2 functions below. The i686 target cannot assume SSE2, and Windows keeps a 32-bit
// thread's stack aligned to 4 bytes only, while SSE2 code keeps vectors in 16-byte aligned
// stack slots: each realigns its stack on entry.
#define SSE2_FUNCTION __attribute__((target("sse2"), force_align_arg_pointer))

// Checked once: the i686 target cannot assume SSE2.
bool HasSse2() {
    static const bool hasSse2 = (__builtin_cpu_init(), __builtin_cpu_supports("sse2"));
    return hasSse2;
}

// The same search sixteen bytes a step with SSE2, which the i686 target may not assume: it is
// called only when the processor has it. Searches for a letter in either case, or for a blank,
// meet a candidate every few hundred bytes, so the scan itself is most of their time.
SSE2_FUNCTION uint32_t FindEitherByteInBlocks(const uint8_t *text, uint32_t from, uint32_t end,
                                              uint8_t first, uint8_t second) {
    const __m128i firstInEveryLane = _mm_set1_epi8(static_cast<char>(first));
    const __m128i secondInEveryLane = _mm_set1_epi8(static_cast<char>(second));
    uint32_t at = from;
    for (; end - at >= kBlockBytes; at += kBlockBytes) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(block, firstInEveryLane),
                                          _mm_cmpeq_epi8(block, secondInEveryLane));
        const auto lanes = static_cast<uint32_t>(_mm_movemask_epi8(hits));
        if (lanes != 0) {
            return at + static_cast<uint32_t>(std::countr_zero(lanes));
        }
    }
    return FindEitherByteInWords(text, at, end, first, second);
}

// The character walk over half a block (eight lanes), as WordWalk is over a word: the lanes
// holding a single-byte character by [lane 0 is a trail byte][high bits], and by [high bits]
// whether the byte after them is a trail byte (bit t for lane 0's being one being t). Both
// answers for the next byte are looked up before the walk state is known, so that the state
// passes from block to block through two shifts.
struct HalfBlockWalk {
    std::array<std::array<uint8_t, 256>, 2> singleLanes{};
    std::array<uint8_t, 256> trailAfter{};
};

constexpr HalfBlockWalk MakeHalfBlockWalk() {
    HalfBlockWalk walk;
    for (uint32_t firstIsTrail = 0; firstIsTrail < 2; ++firstIsTrail) {
        for (uint32_t high = 0; high < 256; ++high) {
            const LaneWalk step = WalkLanes(8, high, firstIsTrail != 0);
            walk.singleLanes[firstIsTrail][high] = static_cast<uint8_t>(step.singleLanes);
            walk.trailAfter[high] |= (step.trailAfter ? 1 : 0) << firstIsTrail;
        }
    }
    return walk;
}

constexpr HalfBlockWalk kHalfBlockWalk = MakeHalfBlockWalk();

// Eight lanes' bits spread into eight bytes: byte k is 0xFF when bit k is set.
constexpr std::array<uint64_t, 256> MakeLaneByteMasks() {
    std::array<uint64_t, 256> masks{};
    for (uint32_t bits = 0; bits < 256; ++bits) {
        for (uint32_t lane = 0; lane < 8; ++lane) {
            masks[bits] |= static_cast<uint64_t>((bits >> lane) & 1) * (0xFFull << (8 * lane));
        }
    }
    return masks;
}

constexpr std::array<uint64_t, 256> kLaneByteMasks = MakeLaneByteMasks();

// CopyWithLowerCaseLetters sixteen bytes a step with SSE2: the walk goes eight lanes a table
// look-up, and the letters are found and folded in all sixteen lanes at once. Returns where the
// blocks end; trail says whether the byte there is a trail byte.
SSE2_FUNCTION uint32_t CopyWithLowerCaseLettersInBlocks(const uint8_t *from, uint32_t length,
                                                        uint8_t *to, uint32_t *trail) {
    // Compared as signed bytes, every byte from 0x80 up lies below 'A'.
    const __m128i beforeA = _mm_set1_epi8('A' - 1);
    const __m128i pastZ = _mm_set1_epi8('Z' + 1);
    const __m128i caseBit = _mm_set1_epi8('a' - 'A');
    uint32_t at = 0;
    for (; length - at >= kBlockBytes; at += kBlockBytes) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + at));
        const auto high = static_cast<uint32_t>(_mm_movemask_epi8(block));
        const uint32_t lowHalf = high & 0xFF;
        const uint32_t highHalf = high >> 8;
        const uint32_t lowSingles = kHalfBlockWalk.singleLanes[*trail][lowHalf];
        const uint32_t middle = (kHalfBlockWalk.trailAfter[lowHalf] >> *trail) & 1;
        const uint32_t highSingles = kHalfBlockWalk.singleLanes[middle][highHalf];
        *trail = (kHalfBlockWalk.trailAfter[highHalf] >> middle) & 1;
        const __m128i singles = _mm_unpacklo_epi64(
            _mm_loadl_epi64(reinterpret_cast<const __m128i *>(&kLaneByteMasks[lowSingles])),
            _mm_loadl_epi64(reinterpret_cast<const __m128i *>(&kLaneByteMasks[highSingles])));
        const __m128i capitals =
            _mm_and_si128(_mm_cmpgt_epi8(block, beforeA), _mm_cmpgt_epi8(pastZ, block));
        const __m128i fold = _mm_and_si128(_mm_and_si128(capitals, singles), caseBit);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + at), _mm_or_si128(block, fold));
    }
    return at;
}
#endif

uint32_t HighByteRunBeforeInWords(const uint8_t *text, uint32_t floor, uint32_t at) {
    uint32_t p = at;
    while (p - floor >= kWordBytes) {
        const uint32_t lowLanes = ~LoadWord(text + p - kWordBytes) & kLaneHighBits;
        if (lowLanes != 0) {
            return at - p + (kWordBytes - 1 - HighestLane(lowLanes));
        }
        p -= kWordBytes;
    }
    while (p > floor && IsLeadByte(text[p - 1])) {
        --p;
    }
    return at - p;
}

// The walks below visit each byte in [from, end) that is first or second and begins a
// character, text[from] beginning one. A visitor gets the byte's offset and returns where the
// walk goes on, at a character start behind it, or end to stop there. Walks that copy put
// text[i] at to[i + shift] for the bytes they pass, and a visitor may change shift (modulo 2^32)
// for the bytes behind the one it got.
struct WalkStep {
    uint32_t resume;
    uint32_t shift;
};

#ifdef ZV_SCAN_SSE2
// The same count sixteen bytes a step with SSE2. Each match that a character-aware search
// checks costs one such count, over the run of double-byte characters in front of it.
SSE2_FUNCTION uint32_t HighByteRunBeforeInBlocks(const uint8_t *text, uint32_t floor, uint32_t at) {
    uint32_t p = at;
    for (; p - floor >= kBlockBytes; p -= kBlockBytes) {
        const __m128i block =
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + p - kBlockBytes));
        const auto lowLanes = static_cast<uint32_t>(~_mm_movemask_epi8(block)) & 0xFFFF;
        if (lowLanes != 0) {
            // The last low byte ends the run.
            return at - p + static_cast<uint32_t>(std::countl_zero(lowLanes)) - kBlockBytes;
        }
    }
    return at - p + HighByteRunBeforeInWords(text, floor, p);
}

// HighByteRunBeforeInBlocks for the walks below, whose loops it would leave short of registers
// on i686 if it were inlined there.
__attribute__((noinline)) uint32_t HighByteRunBeforeOutOfLine(const uint8_t *text, uint32_t floor,
                                                              uint32_t at) {
    return HighByteRunBeforeInBlocks(text, floor, at);
}

// Whether text[candidate] begins a character, given that text[*knownStart] does
// (*knownStart <= candidate): whether the run of high bytes in front of it, back to
// *knownStart, has even length. A trail byte moves *knownStart up behind it, so that no byte is
// counted backwards twice. The 32 bytes in front of the candidate nearly always hold a low byte,
// which ends the run, even in text of double-byte characters with a letter here and there (the
// sixteen in front of it miss one about a third of the time there); only longer runs, or a
// candidate close to *knownStart, are counted out of line.
SSE2_FUNCTION inline bool BeginsCharacter(const uint8_t *text, uint32_t candidate,
                                          uint32_t *knownStart) {
    // Bit 31 - k says that text[candidate - 1 - k] is a low byte.
    uint32_t lowLanes = 0;
    const uint32_t known = candidate - *knownStart;
    if (known >= kBlockBytes) {
        const auto near = static_cast<uint32_t>(_mm_movemask_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + candidate - kBlockBytes))));
        const auto far =
            known >= 2 * kBlockBytes
                ? static_cast<uint32_t>(_mm_movemask_epi8(_mm_loadu_si128(
                      reinterpret_cast<const __m128i *>(text + candidate - 2 * kBlockBytes))))
                : 0xFFFF;
        lowLanes = ~(near << 16 | far);
    }
    const uint32_t run = lowLanes != 0 ? static_cast<uint32_t>(std::countl_zero(lowLanes))
                                       : HighByteRunBeforeOutOfLine(text, *knownStart, candidate);
    if (run % 2 == 0) {
        return true;
    }
    *knownStart = candidate + 1; // a trail byte: the byte behind it begins a character
    return false;
}

// The lanes of a block that hold first or second.
SSE2_FUNCTION uint32_t EitherByteLanes(__m128i block, __m128i firstInEveryLane,
                                       __m128i secondInEveryLane) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(block, firstInEveryLane), _mm_cmpeq_epi8(block, secondInEveryLane))));
}

// Sixteen bytes a step with SSE2: a block without a candidate costs what it costs FindEitherByte,
// and a candidate is judged from the bytes in front of it. A copying walk stores whole blocks,
// also past the byte visited, so to must have room up to end + shift for every shift the walk
// takes. Returns where the walk ended, with the shift there.
template <bool copies, typename Visitor>
SSE2_FUNCTION WalkStep WalkCharacterStartsInBlocks(const uint8_t *text, uint32_t from, uint32_t end,
                                                   uint8_t first, uint8_t second, uint8_t *to,
                                                   uint32_t shift, Visitor visit) {
    const __m128i firstInEveryLane = _mm_set1_epi8(static_cast<char>(first));
    const __m128i secondInEveryLane = _mm_set1_epi8(static_cast<char>(second));
    uint32_t knownStart = from;
    uint32_t at = from;
    while (end - at >= kBlockBytes) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at));
        if (copies) {
            _mm_storeu_si128(reinterpret_cast<__m128i *>(to + (at + shift)), block);
        }
        uint32_t next = at + kBlockBytes;
        for (uint32_t lanes = EitherByteLanes(block, firstInEveryLane, secondInEveryLane);
             lanes != 0; lanes &= lanes - 1) {
            const uint32_t candidate = at + static_cast<uint32_t>(std::countr_zero(lanes));
            if (BeginsCharacter(text, candidate, &knownStart)) {
                const WalkStep step = visit(candidate, shift);
                if (step.resume >= end) {
                    return step;
                }
                knownStart = step.resume;
                if (!copies && step.resume < next) {
                    // The walk goes on in this block, with its lanes from the resume on (the
                    // candidate's own lane is the one the loop clears next).
                    lanes = (lanes & ~0u << (step.resume - at)) | 1u << (candidate - at);
                    continue;
                }
                next = step.resume;
                shift = step.shift;
                break;
            }
        }
        at = next;
    }
    while (at < end) {
        if ((text[at] == first || text[at] == second) && BeginsCharacter(text, at, &knownStart)) {
            const WalkStep step = visit(at, shift);
            at = step.resume;
            knownStart = step.resume;
            shift = step.shift;
            continue;
        }
        if (copies) {
            to[at + shift] = text[at];
        }
        ++at;
    }
    return WalkStep{at, shift};
}
#endif

// The first offset in [from, end) whose byte is first or second and begins a character, given
// that text[from] begins one, or end: from one matching byte to the next, each checked against
// the last character start known.
uint32_t FindEitherByteAtCharacterStartInWords(const uint8_t *text, uint32_t from, uint32_t end,
                                               uint8_t first, uint8_t second) {
    uint32_t knownStart = from;
    for (uint32_t at = FindEitherByteInWords(text, from, end, first, second); at < end;
         at = FindEitherByteInWords(text, at + 1, end, first, second)) {
        if (HighByteRunBeforeInWords(text, knownStart, at) % 2 == 0) {
            return at;
        }
        knownStart = at + 1; // a trail byte: the byte behind it begins a character
    }
    return end;
}

// The matches of WalkByteMatches as its walk takes them.
class ByteMatchKeeper {
public:
    ByteMatchKeeper(const uint8_t *text, uint32_t from, uint32_t limit, uint32_t *offsets,
                    uint32_t capacity)
        : text_(text), limit_(limit), offsets_(offsets),
          capacity_(capacity), walk_{0, from, 0, false} {}

    // Takes text[at], which is first or second and begins a character; says whether the walk
    // ends there (its length is then known, unless it stops for room).
    bool Take(uint32_t at) {
        if (IsLeadByte(text_[at]) && text_[at + 1] == 0) {
            walk_.length = at + 1; // a lone lead byte
            return true;
        }
        if (walk_.count < capacity_) {
            offsets_[walk_.count] = at;
        }
        ++walk_.count;
        walk_.end = at + 1;
        if (walk_.count == limit_) {
            walk_.length = walk_.end + static_cast<uint32_t>(std::strlen(
                                           reinterpret_cast<const char *>(text_) + walk_.end));
            return true;
        }
        walk_.full = walk_.count == capacity_;
        return walk_.full;
    }
    // The walk, ended at the NUL at length unless Take ended it.
    ByteMatchWalk EndAt(uint32_t length) {
        walk_.length = length;
        return walk_;
    }
    const ByteMatchWalk &Walk() const { return walk_; }

private:
    const uint8_t *text_;
    uint32_t limit_;
    uint32_t *offsets_;
    uint32_t capacity_;
    ByteMatchWalk walk_;
};

// Four bytes of text read as one word.
typedef uint32_t AliasedWord __attribute__((may_alias));

// The first offset from from on whose byte is first, second or the NUL. Aligned words are read
// whole, also past the NUL, which never reaches into the next page; the sanitizer is told so.
__attribute__((no_sanitize_address)) uint32_t
FindEitherByteOrEndInWords(const uint8_t *text, uint32_t from, uint8_t first, uint8_t second) {
    uint32_t at = from;
    for (; reinterpret_cast<uintptr_t>(text + at) % kWordBytes != 0; ++at) {
        if (text[at] == first || text[at] == second || text[at] == 0) {
            return at;
        }
    }
    const uint32_t firstInEveryLane = first * kLaneOnes;
    const uint32_t secondInEveryLane = second * kLaneOnes;
    for (;; at += kWordBytes) {
        const uint32_t word = *reinterpret_cast<const AliasedWord *>(text + at);
        // Each mark's lowest lane is exact, and so is the lowest of all three.
        const uint32_t hits = ZeroLanes(word) | ZeroLanes(word ^ firstInEveryLane) |
                              ZeroLanes(word ^ secondInEveryLane);
        if (hits != 0) {
            return at + LowestLane(hits);
        }
    }
}

ByteMatchWalk WalkByteMatchesInWords(const uint8_t *text, uint32_t from, uint8_t first,
                                     uint8_t second, uint32_t limit, uint32_t *offsets,
                                     uint32_t capacity) {
    ByteMatchKeeper keeper(text, from, limit, offsets, capacity);
    uint32_t knownStart = from;
    uint32_t at = FindEitherByteOrEndInWords(text, from, first, second);
    for (; text[at] != 0; at = FindEitherByteOrEndInWords(text, at + 1, first, second)) {
        if (HighByteRunBeforeInWords(text, knownStart, at) % 2 == 0 && keeper.Take(at)) {
            return keeper.Walk();
        }
        knownStart = at + 1; // behind a match or a trail byte a character begins
    }
    return keeper.EndAt(at);
}

#ifdef ZV_SCAN_SSE2
constexpr uint32_t kPairBytes = 2 * kBlockBytes;

// WalkByteMatchesInWords two blocks a step with SSE2, looking for the NUL together with the
// sought bytes. The steps are aligned pairs of blocks, read whole, also past the NUL, which never
// reaches into the next page; the sanitizer is told so. Lane k of a pair is bit k of its lanes.
SSE2_FUNCTION __attribute__((no_sanitize_address)) ByteMatchWalk
WalkByteMatchesInBlocks(const uint8_t *text, uint32_t from, uint8_t first, uint8_t second,
                        uint32_t limit, uint32_t *offsets, uint32_t capacity) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i firstInEveryLane = _mm_set1_epi8(static_cast<char>(first));
    const __m128i secondInEveryLane = _mm_set1_epi8(static_cast<char>(second));
    ByteMatchKeeper keeper(text, from, limit, offsets, capacity);
    uint32_t knownStart = from;
    // at counts from base, the address of text[from] rounded down to a pair; the lanes in front
    // of text[from] are left out.
    const uintptr_t start = reinterpret_cast<uintptr_t>(text + from);
    const uintptr_t base = start & ~uintptr_t{kPairBytes - 1};
    const uint32_t baseOffset = from - static_cast<uint32_t>(start - base); // modulo 2^32
    uint32_t lanesInText = ~0u << (start - base);
    for (uint32_t at = 0;; at += kPairBytes, lanesInText = ~0u) {
        const auto *pair = reinterpret_cast<const __m128i *>(base + at);
        const __m128i low = _mm_load_si128(pair);
        const __m128i high = _mm_load_si128(pair + 1);
        const __m128i lowEnds = _mm_cmpeq_epi8(low, zero);
        const __m128i highEnds = _mm_cmpeq_epi8(high, zero);
        const __m128i lowHits = _mm_or_si128(_mm_cmpeq_epi8(low, firstInEveryLane),
                                             _mm_cmpeq_epi8(low, secondInEveryLane));
        const __m128i highHits = _mm_or_si128(_mm_cmpeq_epi8(high, firstInEveryLane),
                                              _mm_cmpeq_epi8(high, secondInEveryLane));
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(lowEnds, highEnds),
                                           _mm_or_si128(lowHits, highHits))) == 0) {
            continue;
        }
        const uint32_t ends = (static_cast<uint32_t>(_mm_movemask_epi8(lowEnds)) |
                               static_cast<uint32_t>(_mm_movemask_epi8(highEnds)) << 16) &
                              lanesInText;
        uint32_t hits = (static_cast<uint32_t>(_mm_movemask_epi8(lowHits)) |
                         static_cast<uint32_t>(_mm_movemask_epi8(highHits)) << 16) &
                        lanesInText;
        if (ends != 0) {
            hits &= (ends & (0 - ends)) - 1; // the lanes in front of the NUL
        }
        for (; hits != 0; hits &= hits - 1) {
            const uint32_t candidate =
                baseOffset + at + static_cast<uint32_t>(std::countr_zero(hits));
            if (BeginsCharacter(text, candidate, &knownStart)) {
                if (keeper.Take(candidate)) {
                    return keeper.Walk();
                }
                knownStart = candidate + 1;
            }
        }
        if (ends != 0) {
            return keeper.EndAt(baseOffset + at + static_cast<uint32_t>(std::countr_zero(ends)));
        }
    }
}
#endif

// The same walks from one matching byte to the next, copying with memcpy.
template <bool copies, typename Visitor>
WalkStep WalkCharacterStartsInWords(const uint8_t *text, uint32_t from, uint32_t end, uint8_t first,
                                    uint8_t second, uint8_t *to, uint32_t shift, Visitor visit) {
    uint32_t at = from;
    while (at < end) {
        const uint32_t found = FindEitherByteAtCharacterStartInWords(text, at, end, first, second);
        if (copies) {
            std::memcpy(to + (at + shift), text + at, found - at);
        }
        if (found == end) {
            return WalkStep{end, shift};
        }
        const WalkStep step = visit(found, shift);
        at = step.resume;
        shift = step.shift;
    }
    return WalkStep{at, shift};
}

template <bool copies, typename Visitor>
WalkStep WalkCharacterStarts(const uint8_t *text, uint32_t from, uint32_t end, uint8_t first,
                             uint8_t second, uint8_t *to, uint32_t shift, Visitor visit) {
#ifdef ZV_SCAN_SSE2
    if (HasSse2()) {
        return WalkCharacterStartsInBlocks<copies>(text, from, end, first, second, to, shift,
                                                   visit);
    }
#endif
    return WalkCharacterStartsInWords<copies>(text, from, end, first, second, to, shift, visit);
}

// Writes a replacement; short ones byte by byte, which is cheaper than a call to memcpy.
void PutReplacement(const uint8_t *replacement, uint32_t length, uint8_t *to) {
    constexpr uint32_t kShortReplacement = 16;
    if (length <= kShortReplacement) {
        for (uint32_t i = 0; i < length; ++i) {
            to[i] = replacement[i];
        }
    } else {
        std::memcpy(to, replacement, length);
    }
}

#ifdef ZV_SCAN_SSE2
// Copies length bytes sixteen a step, the last step ending on the last byte (and so writing some
// bytes twice): pieces of a few dozen bytes go without a call to memcpy.
SSE2_FUNCTION void CopyPieceInBlocks(const uint8_t *from, uint32_t length, uint8_t *to) {
    if (length < kBlockBytes) {
        std::memcpy(to, from, length);
        return;
    }
    for (uint32_t at = 0; length - at > kBlockBytes; at += kBlockBytes) {
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + at),
                         _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + at)));
    }
    _mm_storeu_si128(
        reinterpret_cast<__m128i *>(to + length - kBlockBytes),
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + length - kBlockBytes)));
}
#endif

void CopyPiece(const uint8_t *from, uint32_t length, uint8_t *to) {
    std::memcpy(to, from, length);
}

template <void (*copyPiece)(const uint8_t *, uint32_t, uint8_t *)>
uint32_t CopyReplacingBytesAtWith(const uint8_t *text, uint32_t from, const uint32_t *offsets,
                                  uint32_t count, const uint8_t *replacement,
                                  uint32_t replacementLength, uint8_t *to) {
    uint32_t written = 0;
    uint32_t at = from;
    for (uint32_t i = 0; i < count; ++i) {
        copyPiece(text + at, offsets[i] - at, to + written);
        written += offsets[i] - at;
        PutReplacement(replacement, replacementLength, to + written);
        written += replacementLength;
        at = offsets[i] + 1;
    }
    return written;
}

} // namespace

uint32_t HighByteRunBefore(const uint8_t *text, uint32_t floor, uint32_t at) {
#ifdef ZV_SCAN_SSE2
    if (HasSse2()) {
        return HighByteRunBeforeInBlocks(text, floor, at);
    }
#endif
    return HighByteRunBeforeInWords(text, floor, at);
}

uint32_t FindEitherByte(const uint8_t *text, uint32_t from, uint32_t end, uint8_t first,
                        uint8_t second) {
#ifdef ZV_SCAN_SSE2
    if (HasSse2()) {
        return FindEitherByteInBlocks(text, from, end, first, second);
    }
#endif
    return FindEitherByteInWords(text, from, end, first, second);
}

uint32_t CopyWithoutBlanks(const uint8_t *text, uint32_t end, uint8_t *to) {
    // Without a branch on the kind of byte found, which is as likely one as the other: both of
    // its bytes are copied (the second is within the text, or its NUL), and a blank's are then
    // written over by what follows.
    const WalkStep walked = WalkCharacterStarts<true>(
        text, 0, end, ' ', kFullWidthSpaceByte, to, 0, [text, to](uint32_t at, uint32_t shift) {
            const uint32_t space = text[at] == ' ' ? 1 : 0;
            const uint32_t fullWidth = (1 - space) & (text[at + 1] == kFullWidthSpaceByte ? 1 : 0);
            to[at + shift] = text[at];
            to[at + 1 + shift] = text[at + 1];
            // A space is left behind, a full-width blank's two bytes too, and 0xA1 leading
            // another character is kept with its trail byte.
            return WalkStep{at + 2 - space, shift - space - 2 * fullWidth};
        });
    return walked.resume + walked.shift;
}

ByteMatchWalk WalkByteMatches(const uint8_t *text, uint32_t from, uint8_t first, uint8_t second,
                              uint32_t limit, uint32_t *offsets, uint32_t capacity) {
#ifdef ZV_SCAN_SSE2
    if (HasSse2()) {
        return WalkByteMatchesInBlocks(text, from, first, second, limit, offsets, capacity);
    }
#endif
    return WalkByteMatchesInWords(text, from, first, second, limit, offsets, capacity);
}

uint32_t CopyReplacingByteMatches(const uint8_t *text, uint32_t from, uint32_t length,
                                  uint8_t first, uint8_t second, uint32_t count,
                                  const uint8_t *replacement, uint32_t replacementLength,
                                  uint8_t *to) {
    if (count == 0) {
        return 0;
    }
    uint32_t replaced = 0;
    uint32_t behind = from; // behind the last match replaced
    WalkCharacterStarts<true>(
        text, from, length, first, second, to, 0 - from, [&](uint32_t at, uint32_t shift) {
            PutReplacement(replacement, replacementLength, to + (at + shift));
            behind = at + 1;
            return WalkStep{++replaced == count ? length : at + 1, shift + replacementLength - 1};
        });
    return behind - from + count * (replacementLength - 1);
}

uint32_t CopyReplacingBytesAt(const uint8_t *text, uint32_t from, const uint32_t *offsets,
                              uint32_t count, const uint8_t *replacement,
                              uint32_t replacementLength, uint8_t *to) {
#ifdef ZV_SCAN_SSE2
    if (HasSse2()) {
        return CopyReplacingBytesAtWith<CopyPieceInBlocks>(text, from, offsets, count, replacement,
                                                           replacementLength, to);
    }
#endif
    return CopyReplacingBytesAtWith<CopyPiece>(text, from, offsets, count, replacement,
                                               replacementLength, to);
}

void CopyWithLowerCaseLetters(const uint8_t *from, uint32_t length, uint8_t *to) {
    uint32_t trail = 0;
    uint32_t at = 0;
#ifdef ZV_SCAN_SSE2
    if (HasSse2()) {
        at = CopyWithLowerCaseLettersInBlocks(from, length, to, &trail);
    }
#endif
    // Two words a step give the processor independent work while the walk state passes on.
    for (; length - at >= 2 * kWordBytes; at += 2 * kWordBytes) {
        const uint32_t first = LoadWord(from + at);
        const uint32_t second = LoadWord(from + at + kWordBytes);
        StoreWord(to + at, LowerCaseWord(first, &trail));
        StoreWord(to + at + kWordBytes, LowerCaseWord(second, &trail));
    }
    for (; length - at >= kWordBytes; at += kWordBytes) {
        StoreWord(to + at, LowerCaseWord(LoadWord(from + at), &trail));
    }
    if (at < length) {
        // The last one to three bytes, in a word padded with zeros: a zero byte is neither a
        // letter nor a lead byte, and lanes never look at the lanes above them.
        uint32_t word = 0;
        std::memcpy(&word, from + at, length - at);
        word = LowerCaseWord(word, &trail);
        std::memcpy(to + at, &word, length - at);
    }
}
