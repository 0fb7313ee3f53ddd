// Word-at-a-time scanning over 32-bit little-endian words: lane k of a word is the byte at
// offset k, and "lanes" values below mark a lane by its high bit (0x80 << 8k). Each has an SSE2
// path as well, chosen at run time.
#include "values/character_scan.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
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

#if defined(__i386__) || defined(__x86_64__)
constexpr uint32_t kBlockBytes = 16;

// Checked once: the i686 target cannot assume SSE2.
bool HasSse2() {
    static const bool hasSse2 = (__builtin_cpu_init(), __builtin_cpu_supports("sse2"));
    return hasSse2;
}

// The same search sixteen bytes a step with SSE2, which the i686 target may not assume: it is
// called only when the processor has it. Searches for a letter in either case, or for a blank,
// meet a candidate every few hundred bytes, so the scan itself is most of their time.
__attribute__((target("sse2"))) uint32_t FindEitherByteInBlocks(const uint8_t *text, uint32_t from,
                                                                uint32_t end, uint8_t first,
                                                                uint8_t second) {
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
__attribute__((target("sse2"))) uint32_t CopyWithLowerCaseLettersInBlocks(const uint8_t *from,
                                                                          uint32_t length,
                                                                          uint8_t *to,
                                                                          uint32_t *trail) {
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

#if defined(__i386__) || defined(__x86_64__)
// The same count sixteen bytes a step with SSE2. Each match that a character-aware search
// checks costs one such count, over the run of double-byte characters in front of it.
__attribute__((target("sse2"))) uint32_t HighByteRunBeforeInBlocks(const uint8_t *text,
                                                                   uint32_t floor, uint32_t at) {
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
#endif

} // namespace

uint32_t HighByteRunBefore(const uint8_t *text, uint32_t floor, uint32_t at) {
#if defined(__i386__) || defined(__x86_64__)
    if (HasSse2()) {
        return HighByteRunBeforeInBlocks(text, floor, at);
    }
#endif
    return HighByteRunBeforeInWords(text, floor, at);
}

uint32_t FindEitherByte(const uint8_t *text, uint32_t from, uint32_t end, uint8_t first,
                        uint8_t second) {
#if defined(__i386__) || defined(__x86_64__)
    if (HasSse2()) {
        return FindEitherByteInBlocks(text, from, end, first, second);
    }
#endif
    return FindEitherByteInWords(text, from, end, first, second);
}

void CopyWithLowerCaseLetters(const uint8_t *from, uint32_t length, uint8_t *to) {
    uint32_t trail = 0;
    uint32_t at = 0;
#if defined(__i386__) || defined(__x86_64__)
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
