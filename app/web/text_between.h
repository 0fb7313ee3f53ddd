// Text routines of the page fetch: the text between two markers, and the text after a colon.
#pragma once

#include "values/program_conventions.h"
#include "values/value_blocks.h"

// The bytes between the first left marker (from start, 0 or left out: the beginning) and the
// first right marker behind it; empty when either is missing. "#引号" in a marker stands for a
// double quote. text, left and right are variables passed by reference; start holds an
// integer and ignoreCase a logical.
Text TextBetween(Text *text, Text *left, Text *right, OptionalArgument start,
                 OptionalArgument ignoreCase);
// The text after the first colon, trimmed of blanks at both ends; empty without a colon.
Text TextAfterColon(Text *text);
