// Input filtering and the focus-loss normalisation of the numeric and date-time input modes.
#include "window/units/edit_box/edit_input.h"

#include "window/units/edit_box/edit_date_time.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

bool IsDigit(uint32_t character) {
    return character >= '0' && character <= '9';
}

// A decimal integer from the start of text (sign, digits; anything else ends it); empty or
// unreadable text reads as 0, values beyond 64 bits saturate.
int64_t ReadDecimal(const std::string &text) {
    errno = 0;
    return std::strtoll(text.c_str(), nullptr, 10);
}

double ReadFloating(const std::string &text) {
    const double value = std::strtod(text.c_str(), nullptr);
    return value == 0.0 ? 0.0 : value; // no "-0"
}

// Single precision of value; beyond its range the infinity of that sign.
float ToSingle(double value) {
    if (std::fabs(value) > FLT_MAX && std::isfinite(value))
        return value > 0 ? HUGE_VALF : -HUGE_VALF;
    return static_cast<float>(value);
}

std::string Format(const char *format, auto value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

int64_t Clamp(int64_t value, int64_t low, int64_t high) {
    return value < low ? low : value > high ? high : value;
}

} // namespace

bool EditAcceptsCharacter(uint32_t mode, uint32_t character) {
    if (character < 32)
        return true;
    switch (mode) {
    case kInputIntegerText:
    case kInputShort:
    case kInputInteger:
    case kInputLong:
        return character == '-' || IsDigit(character);
    case kInputDecimalText:
    case kInputFloat:
    case kInputDouble:
        return character == '-' || character == '.' || IsDigit(character);
    case kInputByte:
        return IsDigit(character);
    default:
        return true;
    }
}

std::string NormaliseEditText(uint32_t mode, const std::string &text) {
    std::string result;
    switch (mode) {
    case kInputByte:
        result = Format("%lld", static_cast<long long>(Clamp(ReadDecimal(text), 0, 255)));
        break;
    case kInputShort:
        result = Format("%lld", static_cast<long long>(Clamp(ReadDecimal(text), -32768, 32767)));
        break;
    case kInputInteger:
        result = Format("%lld", static_cast<long long>(Clamp(ReadDecimal(text),
                                                             std::numeric_limits<int32_t>::min(),
                                                             std::numeric_limits<int32_t>::max())));
        break;
    case kInputLong:
        result = Format("%lld", static_cast<long long>(ReadDecimal(text)));
        break;
    case kInputFloat:
        result = Format("%.6g", static_cast<double>(ToSingle(ReadFloating(text))));
        break;
    case kInputDouble:
        result = Format("%.13g", ReadFloating(text));
        break;
    case kInputDateTime:
        return NormaliseDateTimeText(text);
    default:
        return text;
    }
    return result == "0" ? std::string() : result;
}
