// NumericToInteger: a numeric value to a 32-bit integer; any other type is a runtime error.
#pragma once

#include <cstdint>

#include "values/type_codes.h"

// value is the low word, high the high word of the value. Byte widens with zeros, short with
// the sign, integer and long integer give their low word, floats truncate toward zero (to 64
// bits, then the low word). A type that is not numeric reports "欲转换数据类型不是数值".
int32_t NumericToInteger(uint32_t value, uint32_t high, TypeCode type);
// The same conversion for the numeric types; false (and 0) for any other type, no report.
bool TryNumericToInteger(uint32_t value, uint32_t high, TypeCode type, int32_t *out);
