// ReplaceSubtext: character-aware replacement of a sought text, never rescanning what it has
// put in.
#include <algorithm>
#include <cstring>

#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "values/character_match_finder.h"
#include "values/character_scan.h"
#include "values/command_arguments.h"
#include "values/cp936_text.h"
#include "values/kernel_commands.h"
#include "values/text_builder.h"
#include "values/value_blocks.h"

namespace {

constexpr int32_t kReplaceAll = -1;
// A text and its terminating NUL must fit the heap's 32-bit sizes.
constexpr uint64_t kMaxTextLength = UINT32_MAX - 1;

struct ReplaceRequest {
    const uint8_t *text;
    uint32_t length;
    const uint8_t *sought;
    uint32_t soughtLength;
    bool foldCase;
    uint32_t from; // the walk's first offset; text[0, from) is kept as it is
    int32_t limit; // replacements to make; negative for all
};

// Where the walk over the text ended.
struct WalkEnd {
    uint32_t at;     // the offset behind the last replaced text, or from
    bool reachedEnd; // false when the walk stopped at the limit
};

// A sought text of one byte, as the bytes that match it: the byte itself, and the other case of
// a letter when letters are folded (else the byte again).
struct SoughtByte {
    uint8_t byte;
    uint8_t other;
};

SoughtByte SoughtByteOf(const ReplaceRequest &request) {
    const uint8_t byte = request.sought[0];
    const uint8_t folded = FoldAsciiLetter(byte);
    if (!request.foldCase || folded < 'a' || folded > 'z') {
        return SoughtByte{byte, byte};
    }
    return SoughtByte{byte, byte == folded ? static_cast<uint8_t>(folded - ('a' - 'A')) : folded};
}

// Hands each match that the walk replaces to onMatch, in order. Replaced text is never looked
// at again: the walk continues behind it.
template <typename OnMatch>
WalkEnd WalkReplacements(const ReplaceRequest &request, OnMatch onMatch) {
    CharacterMatchFinder finder(request.text, request.length, request.sought, request.soughtLength,
                                request.foldCase);
    uint32_t at = request.from;
    int32_t replaced = 0;
    for (int64_t found = finder.Next(at); found >= 0; found = finder.Next(at)) {
        const auto match = static_cast<uint32_t>(found);
        onMatch(match);
        at = match + request.soughtLength;
        if (++replaced == request.limit) {
            return WalkEnd{at, false};
        }
    }
    return WalkEnd{at, true};
}

// The matches found by the first walk, so that the result can be allocated once at its final
// size without searching the text twice. At most one offset per kTextBytesPerOffset bytes of
// text is kept, so that the list never outgrows the text; denser matches are only counted,
// and the text is then searched again while it is copied.
class MatchOffsets {
public:
    explicit MatchOffsets(uint32_t textLength)
        : capacity_(textLength / kTextBytesPerOffset + kMinimumCapacity),
          offsets_(static_cast<uint32_t *>(AllocateMemory(capacity_ * sizeof(uint32_t)))) {}
    MatchOffsets(const MatchOffsets &) = delete;
    MatchOffsets &operator=(const MatchOffsets &) = delete;
    ~MatchOffsets() { FreeMemory(offsets_); }

    void Add(uint32_t offset) {
        if (count_ < capacity_) {
            offsets_[count_] = offset;
        }
        ++count_;
    }
    uint32_t Count() const { return count_; }
    bool AllKept() const { return count_ <= capacity_; }
    uint32_t At(uint32_t index) const { return offsets_[index]; }
    const uint32_t *Slots() const { return offsets_; }

    // The room behind the offsets kept, for a walk that keeps them itself and then hands its
    // count to AddWalked; none once offsets were left out.
    uint32_t *FreeSlots() { return offsets_ + (AllKept() ? count_ : capacity_); }
    uint32_t Room() const { return AllKept() ? capacity_ - count_ : 0; }
    void AddWalked(uint32_t count) { count_ += count; }
    // Doubles the room for a walk that has reached text[walked] (and whose length is not known
    // yet), as far as the text up to there allows; Room stays 0 beyond that.
    void Grow(uint32_t walked) {
        const uint32_t capacity =
            std::min(capacity_ * 2, walked / kTextBytesPerOffset + kMinimumCapacity);
        if (capacity > capacity_) {
            offsets_ =
                static_cast<uint32_t *>(ReallocateMemory(offsets_, capacity * sizeof(uint32_t)));
            capacity_ = capacity;
        }
    }

private:
    static constexpr uint32_t kTextBytesPerOffset = 4 * sizeof(uint32_t);
    static constexpr uint32_t kMinimumCapacity = 16;
    uint32_t capacity_;
    uint32_t *offsets_;
    uint32_t count_ = 0;
};

// The result's length before a lone lead byte is dropped.
uint32_t ResultLength(uint32_t length, uint32_t matches, uint32_t soughtLength,
                      uint32_t replacementLength) {
    const uint64_t result = static_cast<uint64_t>(length) +
                            static_cast<uint64_t>(matches) * replacementLength -
                            static_cast<uint64_t>(matches) * soughtLength;
    if (result > kMaxTextLength) {
        ReportMemoryFailure(UINT32_MAX);
    }
    return static_cast<uint32_t>(result);
}

// Where the result's copy of the text ends: before a lone lead byte at the end of the text that
// the walk meets, which ends the walk and is dropped. The walk meets the last byte only while a
// sought text of one byte still fits there.
uint32_t CopiedTextEnd(const ReplaceRequest &request, const WalkEnd &walk) {
    const uint32_t last = request.length - 1;
    if (walk.reachedEnd && request.soughtLength == 1 && walk.at <= last &&
        IsLeadByte(request.text[last]) && StartsCharacter(request.text, walk.at, last)) {
        return last;
    }
    return request.length;
}

// ReplaceSubtext for a sought text of one byte and a replacement at least as long, over a text
// whose length (request.length) is not known yet: one walk finds both the length and the
// matches, so that the result is allocated once at its final size. The text is then copied
// piece by piece between the matches, or, when there were too many to keep, found again while
// it is copied.
Text ReplaceOneByte(ReplaceRequest request, const uint8_t *replacement,
                    uint32_t replacementLength) {
    const auto *text = reinterpret_cast<const char *>(request.text);
    const auto before = static_cast<uint32_t>(strnlen(text, request.from));
    if (before < request.from) {
        return NewText(text, before); // the start lies beyond the text, which ends there
    }
    const SoughtByte sought = SoughtByteOf(request);
    const auto limit = request.limit < 0 ? UINT32_MAX : static_cast<uint32_t>(request.limit);
    MatchOffsets offsets(0); // grown as the walk asks for room
    ByteMatchWalk walk{0, request.from, 0, true};
    while (walk.full) {
        walk = WalkByteMatches(request.text, walk.end, sought.byte, sought.other,
                               limit - offsets.Count(), offsets.FreeSlots(), offsets.Room());
        offsets.AddWalked(walk.count);
        if (walk.full) {
            offsets.Grow(walk.end);
        }
    }
    request.length = walk.length;
    if (request.length <= request.from) {
        return NewText(text, request.length);
    }
    const uint32_t count = offsets.Count();
    const uint32_t capacity = ResultLength(request.length, count, 1, replacementLength);
    auto *out = static_cast<uint8_t *>(AllocateMemory(capacity + 1));
    std::memcpy(out, request.text, request.from);
    uint8_t *to = out + request.from;
    const uint32_t written =
        request.from +
        (offsets.AllKept()
             ? CopyReplacingBytesAt(request.text, request.from, offsets.Slots(), count, replacement,
                                    replacementLength, to)
             : CopyReplacingByteMatches(request.text, request.from, request.length, sought.byte,
                                        sought.other, count, replacement, replacementLength, to));
    const uint32_t end = CopiedTextEnd(request, WalkEnd{walk.end, count != limit});
    std::memcpy(out + written, request.text + walk.end, end - walk.end);
    return FinishText(reinterpret_cast<char *>(out), written + end - walk.end, capacity);
}

} // namespace

void ReplaceSubtext(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const char *text = in.TextAt(0);
    const char *sought = in.TextAt(1);
    const char *replacement = in.TextAt(2);
    const auto start = in.OptionalIntegerAt(3);
    const int32_t limit = in.OptionalIntegerAt(4).value_or(kReplaceAll);
    const bool caseSensitive = in.At(5).low != 0;
    const uint32_t soughtLength = TextByteLength(sought);
    const uint32_t replacementLength = TextByteLength(replacement);
    const uint32_t from = start && *start > 1 ? static_cast<uint32_t>(*start) - 1 : 0;
    const auto *bytes = reinterpret_cast<const uint8_t *>(text);
    const auto *soughtBytes = reinterpret_cast<const uint8_t *>(sought);
    if (soughtLength == 1 && replacementLength >= 1 && limit != 0) {
        SetAddressResult(
            result,
            ReplaceOneByte(ReplaceRequest{bytes, 0, soughtBytes, 1, !caseSensitive, from, limit},
                           reinterpret_cast<const uint8_t *>(replacement), replacementLength));
        return;
    }
    const uint32_t length = TextByteLength(text);
    if (length == 0 || soughtLength == 0 || from >= length || limit == 0) {
        SetAddressResult(result, NewText(text, length));
        return;
    }
    const ReplaceRequest request{bytes,          length, soughtBytes, soughtLength,
                                 !caseSensitive, from,   limit};
    MatchOffsets matches(length);
    const WalkEnd walk = WalkReplacements(request, [&](uint32_t match) { matches.Add(match); });
    TextBuilder out(ResultLength(length, matches.Count(), soughtLength, replacementLength));
    uint32_t copiedTo = 0; // text[0, copiedTo) is in the result
    auto replaceAt = [&](uint32_t match) {
        out.Append(text + copiedTo, match - copiedTo);
        out.Append(replacement, replacementLength);
        copiedTo = match + soughtLength;
    };
    if (matches.AllKept()) {
        for (uint32_t i = 0; i < matches.Count(); ++i) {
            replaceAt(matches.At(i));
        }
    } else {
        WalkReplacements(request, replaceAt);
    }
    const uint32_t end = CopiedTextEnd(request, walk);
    out.Append(text + copiedTo, end - copiedTo);
    SetAddressResult(result, out.Finish());
}
