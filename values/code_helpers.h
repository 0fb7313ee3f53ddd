// The small routines compiled program code calls directly: measuring, joining and comparing
// texts, joining byte sets, counting array elements and converting floating-point values.
#pragma once

#include <cstdint>

#include "values/value_blocks.h"

// 0 for null; otherwise the bytes before the first zero byte.
uint32_t CodeStrLen(const char *text);
// Joins count (>= 1) texts given after it, null ones as empty. Always allocates, even for an
// empty result.
Text CodeConcatTexts(int32_t count, ...);
// -1, 0 or 1 by the first differing byte (unsigned); null equals the empty text.
int32_t CodeCompareTexts(const char *a, const char *b);
// -1, 0 or 1 by the first differing byte among n (unsigned); 0 for n = 0.
int32_t CodeCompareBytes(const void *a, const void *b, uint32_t n);
// Joins count (>= 1) byte sets given after it; null when the result has no bytes.
ByteSet CodeConcatByteSets(int32_t count, ...);
// The element count of an array block (not null) and the address of its first element.
ArrayExtent CodeArrayCount(const void *array);
// As CodeArrayCount; a null array counts 0 elements.
ArrayExtent CodeArrayCountOrZero(const void *array);
// Truncates toward zero whatever rounding mode the floating-point unit is in, and leaves that
// mode as it found it. Values outside the 64-bit range and NaN give 0x8000000000000000.
int64_t CodeFloatToInt(double value);
