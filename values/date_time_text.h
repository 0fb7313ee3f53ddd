// The text of a date-time value: "%d年%d月%d日" and, by what is not zero, the time of day.
#pragma once

#include "values/value_blocks.h"

// Date-time values are days since 1899-12-30; the fraction is the time of day. Values are
// clamped to 1 January 100 .. 31 December 9999 first; a value that is not a number gives the
// empty text.
Text DateTimeToText(double days);
