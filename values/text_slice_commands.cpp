// LeftText, RightText, MiddleText, TextLength, BlankText and CharText: byte-counted slices and
// simple texts (not character-aware: a slice may cut a double-byte character).
#include <cstring>

#include "values/command_arguments.h"
#include "values/kernel_commands.h"

namespace {

uint32_t ClampedCount(int32_t wanted, uint32_t available) {
    if (wanted <= 0) {
        return 0;
    }
    return static_cast<uint32_t>(wanted) < available ? static_cast<uint32_t>(wanted) : available;
}

} // namespace

void LeftText(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const char *text = in.TextAt(0);
    SetAddressResult(result, NewText(text, ClampedCount(in.IntegerAt(1), TextByteLength(text))));
}

void RightText(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const char *text = in.TextAt(0);
    const uint32_t length = TextByteLength(text);
    const uint32_t taken = ClampedCount(in.IntegerAt(1), length);
    SetAddressResult(result, NewText(text + (length - taken), taken));
}

void MiddleText(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const char *text = in.TextAt(0);
    const uint32_t length = TextByteLength(text);
    const int64_t offset = static_cast<int64_t>(in.IntegerAt(1)) - 1;
    if (offset < 0 || offset >= length) {
        return;
    }
    const auto from = static_cast<uint32_t>(offset);
    SetAddressResult(result, NewText(text + from, ClampedCount(in.IntegerAt(2), length - from)));
}

void TextLength(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    SetIntegerResult(result, static_cast<int32_t>(TextByteLength(in.TextAt(0))));
}

void BlankText(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const int32_t wanted = in.IntegerAt(0);
    SetAddressResult(result, NewFilledText(' ', wanted < 1 ? 0 : static_cast<uint32_t>(wanted)));
}

void CharText(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const auto byte = static_cast<char>(in.At(0).low & 0xFF);
    SetAddressResult(result, NewText(&byte, byte == '\0' ? 0 : 1));
}
