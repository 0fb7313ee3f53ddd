// HalfWidthFold: full-width characters with an ASCII twin become that ASCII byte.
#pragma once

#include "values/value_blocks.h"

// A new text (null when empty): 0xA3 x (x in 0xA1..0xFE) becomes x - 0x80, 0xA1 0xA1 a space,
// 0xA1 0xAB '~', 0xA1 0xEE and 0xA1 0xEF '*'; other characters are copied; a lead byte before
// the terminating NUL ends the copy.
Text HalfWidthFold(const char *text);
