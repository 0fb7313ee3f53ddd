// ToInteger and BitOr.
#include "runtime/heap.h"
#include "values/command_arguments.h"
#include "values/half_width_fold.h"
#include "values/kernel_commands.h"
#include "values/numeric_to_integer.h"

namespace {

bool IsDecimalWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A decimal number after optional white space and sign; 0 without digits; saturated to the
// 32-bit range.
int32_t ReadDecimal(const char *text) {
    constexpr int64_t kMagnitudeLimit = static_cast<int64_t>(INT32_MAX) + 1;
    while (IsDecimalWhiteSpace(*text)) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (magnitude <= kMagnitudeLimit) {
            magnitude = magnitude * 10 + (*text - '0');
        }
    }
    if (negative) {
        return magnitude >= kMagnitudeLimit ? INT32_MIN : static_cast<int32_t>(-magnitude);
    }
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
}

} // namespace

void ToInteger(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const ArgumentRecord value = in.At(0);
    int32_t integer = 0;
    if (value.type == kTypeText) {
        Text folded = HalfWidthFold(in.TextAt(0));
        integer = folded == nullptr ? 0 : ReadDecimal(folded);
        FreeMemory(folded);
    } else if (value.type == kTypeBoolean) {
        integer = value.low != 0 ? 1 : 0;
    } else {
        TryNumericToInteger(value.low, value.high, value.type, &integer);
    }
    SetIntegerResult(result, integer);
}

void BitOr(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    uint32_t bits = 0;
    for (int32_t i = 0; i < in.Count(); ++i) {
        bits |= in.At(i).low;
    }
    SetIntegerResult(result, static_cast<int32_t>(bits));
}
