// ToLowerCase, TrimSpaces and RemoveAllSpaces: character-aware copies of a text.
#include <cstring>

#include "runtime/heap.h"
#include "values/command_arguments.h"
#include "values/cp936_text.h"
#include "values/kernel_commands.h"

namespace {

const uint8_t *TextBytes(const char *text) {
    return reinterpret_cast<const uint8_t *>(text);
}

// Hands out a block of capacity + 1 bytes for a result of at most capacity bytes, and gives it
// back trimmed to what was written (null when nothing was).
Text FinishText(char *block, uint32_t written, uint32_t capacity) {
    if (written == 0) {
        FreeMemory(block);
        return nullptr;
    }
    block[written] = '\0';
    if (written == capacity) {
        return block;
    }
    return static_cast<char *>(ReallocateMemory(block, written + 1));
}

} // namespace

void ToLowerCase(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const char *text = in.TextAt(0);
    const uint32_t length = TextByteLength(text);
    Text copy = NewText(text, length);
    auto *bytes = reinterpret_cast<uint8_t *>(copy);
    // A lead byte before the terminating NUL ends the conversion; the byte itself stays.
    for (uint32_t i = 0; i < length;) {
        if (IsLeadByte(bytes[i])) {
            i += 2;
        } else {
            bytes[i] = FoldAsciiLetter(bytes[i]);
            ++i;
        }
    }
    SetAddressResult(result, copy);
}

void TrimSpaces(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const uint8_t *text = TextBytes(in.TextAt(0));
    uint32_t begin = 0;
    for (uint32_t width; (width = BlankWidthAt(text, begin)) != 0;) {
        begin += width;
    }
    // end is the offset right behind the last character that is not a blank.
    uint32_t end = begin;
    for (uint32_t i = begin; text[i] != 0;) {
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
    SetAddressResult(result, NewText(text + begin, end - begin));
}

void RemoveAllSpaces(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const uint8_t *text = TextBytes(in.TextAt(0));
    const uint32_t length = TextByteLength(in.TextAt(0));
    if (length == 0) {
        return;
    }
    auto *out = static_cast<char *>(AllocateMemory(length + 1));
    uint32_t written = 0;
    // Runs of characters between blanks are copied whole. A lead byte directly before the
    // terminating NUL ends the walk and is dropped.
    uint32_t runStart = 0;
    uint32_t end = length;
    for (uint32_t i = 0; i < length;) {
        const uint32_t blank = BlankWidthAt(text, i);
        if (blank != 0) {
            std::memcpy(out + written, text + runStart, i - runStart);
            written += i - runStart;
            i += blank;
            runStart = i;
        } else if (!IsLeadByte(text[i])) {
            ++i;
        } else if (text[i + 1] != 0) {
            i += 2;
        } else {
            end = i;
            break;
        }
    }
    std::memcpy(out + written, text + runStart, end - runStart);
    written += end - runStart;
    SetAddressResult(result, FinishText(out, written, length));
}
