// ToText: the text of a value of any type.
#include <cstdio>
#include <cstring>

#include "values/command_arguments.h"
#include "values/date_time_text.h"
#include "values/kernel_commands.h"
#include "values/raw_value_bytes.h"

namespace {

constexpr size_t kNumberTextCapacity = 64;

Text FormattedText(const char *format, double value) {
    char text[kNumberTextCapacity];
    const int length = std::snprintf(text, sizeof text, format, value);
    return NewText(text, length > 0 ? static_cast<uint32_t>(length) : 0);
}

Text SignedText(int64_t value) {
    char text[kNumberTextCapacity];
    char *end = text + sizeof text;
    char *at = end;
    // Digits come from the magnitude as unsigned, so the most negative value needs no special
    // case.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : value;
    do {
        *--at = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        *--at = '-';
    }
    return NewText(at, static_cast<uint32_t>(end - at));
}

double DoubleOf(const ArgumentRecord &value) {
    double number;
    const uint64_t bits = (static_cast<uint64_t>(value.high) << 32) | value.low;
    std::memcpy(&number, &bits, sizeof number);
    return number;
}

float FloatOf(const ArgumentRecord &value) {
    float number;
    std::memcpy(&number, &value.low, sizeof number);
    return number;
}

Text TextOfValue(const CommandArguments &in) {
    const ArgumentRecord value = in.At(0);
    switch (value.type) {
    case kTypeText: {
        const char *text = in.TextAt(0);
        return NewText(text, TextByteLength(text));
    }
    case kTypeByte:
        return SignedText(value.low & 0xFF);
    case kTypeShort:
        return SignedText(static_cast<int16_t>(value.low & 0xFFFF));
    case kTypeInteger:
        return SignedText(static_cast<int32_t>(value.low));
    case kTypeLong:
        return SignedText(
            static_cast<int64_t>((static_cast<uint64_t>(value.high) << 32) | value.low));
    case kTypeFloat:
        return FormattedText("%.6g", FloatOf(value));
    case kTypeDouble:
        return FormattedText("%.13g", DoubleOf(value));
    case kTypeBoolean: {
        const char *word = value.low != 0 ? "真" : "假";
        return NewText(word, static_cast<uint32_t>(std::strlen(word)));
    }
    case kTypeDateTime:
        return DateTimeToText(DoubleOf(value));
    default:
        break;
    }
    // Byte sets and numeric arrays: their bytes up to the first zero byte, as they stand.
    RawBytes raw;
    if (!ReadBlockBytes(value, &raw) || raw.count == 0) {
        return nullptr;
    }
    const void *zero = std::memchr(raw.bytes, 0, raw.count);
    const uint32_t length =
        zero == nullptr ? raw.count
                        : static_cast<uint32_t>(static_cast<const uint8_t *>(zero) - raw.bytes);
    return NewText(raw.bytes, length);
}

} // namespace

void ToText(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    SetAddressResult(result, TextOfValue(in));
}
