// What all program code in app/ shares: texts as commands receive them, and position arithmetic
// as compiled code does it.
#pragma once

#include <cstdint>

#include "program_constants.h"
#include "values/code_helpers.h"

// A text as commands receive it: the image's constant empty text in place of null.
inline const char *Arg(const char *text) {
    return text != nullptr ? text : ConstantText(Constant::EmptyText);
}

// Position and length arithmetic as compiled code does it: in double precision, truncated.
inline int32_t Whole(double value) {
    return static_cast<int32_t>(CodeFloatToInt(value));
}
