// ToLowerCase, TrimSpaces and RemoveAllSpaces: character-aware copies of a text.
#include <cstring>

#include "runtime/heap.h"
#include "values/character_scan.h"
#include "values/command_arguments.h"
#include "values/cp936_text.h"
#include "values/kernel_commands.h"

namespace {

const uint8_t *TextBytes(const char *text) {
    return reinterpret_cast<const uint8_t *>(text);
}

// The offset right behind the last character of text[begin, length) that is not a blank,
// where text[begin] begins a character. Only the end of the text is looked at: the trailing
// blanks consist of spaces and 0xA1 bytes (with perhaps a lone lead byte behind them), so the
// walk starts at the character start at or just before that tail.
uint32_t EndOfLastNonBlank(const uint8_t *text, uint32_t begin, uint32_t length) {
    uint32_t tail = length;
    if (tail > begin && IsLeadByte(text[tail - 1])) {
        --tail; // perhaps a lone lead byte
    }
    while (tail > begin && (text[tail - 1] == ' ' || text[tail - 1] == kFullWidthSpaceByte)) {
        --tail;
    }
    // The byte in front of the tail is neither a space nor 0xA1, so the character that holds it
    // is not a blank; when the tail begins with a trail byte, that character is the first one
    // the walk meets.
    const uint32_t walkStart = StartsCharacter(text, begin, tail) ? tail : tail - 1;
    uint32_t end = walkStart;
    for (uint32_t i = walkStart; text[i] != 0;) {
        const uint32_t blank = BlankWidthAt(text, i);
        if (blank != 0) {
            i += blank;
        } else if (IsLeadByte(text[i])) {
            if (text[i + 1] == 0) {
                break;
            }
            i += 2;
            end = i;
        } else {
            ++i;
            end = i;
        }
    }
    return end;
}

} // namespace

void ToLowerCase(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const char *text = in.TextAt(0);
    const uint32_t length = TextByteLength(text);
    if (length == 0) {
        return;
    }
    // A lead byte before the terminating NUL ends the conversion; nothing behind it is left to
    // convert, and the byte itself is copied as it is.
    auto *out = static_cast<char *>(AllocateMemory(length + 1));
    CopyWithLowerCaseLetters(TextBytes(text), length, reinterpret_cast<uint8_t *>(out));
    out[length] = '\0';
    SetAddressResult(result, out);
}

void TrimSpaces(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const uint8_t *text = TextBytes(in.TextAt(0));
    const uint32_t length = TextByteLength(in.TextAt(0));
    uint32_t begin = 0;
    for (uint32_t width; (width = BlankWidthAt(text, begin)) != 0;) {
        begin += width;
    }
    const uint32_t end = EndOfLastNonBlank(text, begin, length);
    SetAddressResult(result, NewText(text + begin, end - begin));
}

void RemoveAllSpaces(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const uint8_t *text = TextBytes(in.TextAt(0));
    const uint32_t length = TextByteLength(in.TextAt(0));
    if (length == 0) {
        return;
    }
    // A lead byte directly before the terminating NUL ends the walk and is dropped.
    const uint32_t end =
        IsLeadByte(text[length - 1]) && StartsCharacter(text, 0, length - 1) ? length - 1 : length;
    auto *out = static_cast<char *>(AllocateMemory(length + 1));
    const uint32_t written = CopyWithoutBlanks(text, end, reinterpret_cast<uint8_t *>(out));
    SetAddressResult(result, FinishText(out, written, length));
}
