// ReplaceSubtext: character-aware replacement of a sought text, never rescanning what it has
// put in.
#include <cstring>

#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "values/character_match_finder.h"
#include "values/character_scan.h"
#include "values/command_arguments.h"
#include "values/cp936_text.h"
#include "values/kernel_commands.h"
#include "values/text_builder.h"

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

} // namespace

void ReplaceSubtext(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const char *text = in.TextAt(0);
    const char *sought = in.TextAt(1);
    const char *replacement = in.TextAt(2);
    const auto start = in.OptionalIntegerAt(3);
    const int32_t limit = in.OptionalIntegerAt(4).value_or(kReplaceAll);
    const bool caseSensitive = in.At(5).low != 0;
    const uint32_t length = TextByteLength(text);
    const uint32_t soughtLength = TextByteLength(sought);
    const uint32_t replacementLength = TextByteLength(replacement);
    const uint32_t from = start && *start > 1 ? static_cast<uint32_t>(*start) - 1 : 0;
    if (length == 0 || soughtLength == 0 || from >= length || limit == 0) {
        SetAddressResult(result, NewText(text, length));
        return;
    }
    const auto *bytes = reinterpret_cast<const uint8_t *>(text);
    const ReplaceRequest request{
        bytes, length, reinterpret_cast<const uint8_t *>(sought), soughtLength, !caseSensitive,
        from,  limit};
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
    uint32_t end = length;
    // A lone lead byte before the terminating NUL that the walk meets ends it and is dropped;
    // the walk meets the last byte only while a sought text of one byte still fits there.
    if (walk.reachedEnd && soughtLength == 1 && walk.at < length && IsLeadByte(bytes[length - 1]) &&
        StartsCharacter(bytes, walk.at, length - 1)) {
        end = length - 1;
    }
    out.Append(text + copiedTo, end - copiedTo);
    SetAddressResult(result, out.Finish());
}
