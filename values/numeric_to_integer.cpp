// NumericToInteger and its non-reporting form.
#include "values/numeric_to_integer.h"

#include <cstring>

#include "runtime/error_report.h"
#include "values/code_helpers.h"

bool TryNumericToInteger(uint32_t value, uint32_t high, TypeCode type, int32_t *out) {
    switch (type) {
    case kTypeByte:
        *out = static_cast<int32_t>(value & 0xFF);
        return true;
    case kTypeShort:
        *out = static_cast<int16_t>(value & 0xFFFF);
        return true;
    case kTypeInteger:
    case kTypeLong:
        *out = static_cast<int32_t>(value);
        return true;
    case kTypeFloat: {
        float number;
        std::memcpy(&number, &value, sizeof number);
        *out = static_cast<int32_t>(CodeFloatToInt(number));
        return true;
    }
    case kTypeDouble: {
        double number;
        const uint64_t bits = (static_cast<uint64_t>(high) << 32) | value;
        std::memcpy(&number, &bits, sizeof number);
        *out = static_cast<int32_t>(CodeFloatToInt(number));
        return true;
    }
    default:
        *out = 0;
        return false;
    }
}

int32_t NumericToInteger(uint32_t value, uint32_t high, TypeCode type) {
    int32_t integer;
    if (!TryNumericToInteger(value, high, type, &integer)) {
        ReportRuntimeError("欲转换数据类型不是数值", 0);
    }
    return integer;
}
