// ReplaceSubtext: character-aware replacement of a sought text, never rescanning what it has
// put in.
#include <cstring>

#include "values/character_match_finder.h"
#include "values/command_arguments.h"
#include "values/cp936_text.h"
#include "values/kernel_commands.h"
#include "values/text_builder.h"

namespace {

constexpr int32_t kReplaceAll = -1;

// Whether the walk, standing at the character start from, reaches the last byte of text
// (length bytes) as a character start: true when the run of high bytes in front of it, back to
// from or to a byte below 0x80, has even length.
bool LastByteStartsCharacter(const uint8_t *text, uint32_t from, uint32_t length) {
    uint32_t runStart = length - 1;
    while (runStart > from && IsLeadByte(text[runStart - 1])) {
        --runStart;
    }
    return (length - 1 - runStart) % 2 == 0;
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
    CharacterMatchFinder finder(bytes, length, reinterpret_cast<const uint8_t *>(sought),
                                soughtLength, !caseSensitive);
    TextBuilder out(length);
    uint32_t copiedTo = 0; // text[0, copiedTo) is in the result
    uint32_t at = from;
    int32_t replaced = 0;
    bool walkedToEnd = true;
    for (int64_t found = finder.Next(at); found >= 0; found = finder.Next(at)) {
        const auto match = static_cast<uint32_t>(found);
        out.Append(text + copiedTo, match - copiedTo);
        out.Append(replacement, replacementLength);
        at = match + soughtLength;
        copiedTo = at;
        if (++replaced == limit) {
            walkedToEnd = false;
            break;
        }
    }
    uint32_t end = length;
    // A lone lead byte before the terminating NUL that the walk meets ends it and is dropped;
    // the walk meets the last byte only while a sought text of one byte still fits there.
    if (walkedToEnd && soughtLength == 1 && at < length && IsLeadByte(bytes[length - 1]) &&
        LastByteStartsCharacter(bytes, at, length)) {
        end = length - 1;
    }
    out.Append(text + copiedTo, end - copiedTo);
    SetAddressResult(result, out.Finish());
}
