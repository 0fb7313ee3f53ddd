// Small conventions web program code shares: storing into by-reference variables, position
// arithmetic in double precision, and texts that are never null when handed to a command.
#pragma once

#include <cstdint>

#include "program_constants.h"
#include "runtime/heap.h"
#include "values/code_helpers.h"
#include "values/value_blocks.h"

namespace web {

// The image's empty text, handed to kernel commands in place of null.
inline const char *const kEmptyText = ConstantText(Constant::EmptyText);

// A text as kernel commands receive it: never null.
inline const char *Arg(const char *text) {
    return text != nullptr ? text : kEmptyText;
}

// Frees the variable's old value, then stores the new one (which the variable now owns).
inline void Store(Text *variable, Text value) {
    FreeMemory(*variable);
    *variable = value;
}
inline void Store(ByteSet *variable, ByteSet value) {
    FreeMemory(*variable);
    *variable = value;
}

// Position and length arithmetic as compiled code does it: in double precision, truncated.
inline int32_t Whole(double value) {
    return static_cast<int32_t>(CodeFloatToInt(value));
}

// A new heap copy of a text (an allocated empty text for an empty one).
inline Text CopyText(const char *text) {
    return CodeConcatTexts(1, Arg(text));
}

inline bool TextsEqual(const char *a, const char *b) {
    return CodeCompareTexts(a, b) == 0;
}
inline bool IsEmptyText(const char *text) {
    return CodeCompareTexts(text, kEmptyText) == 0;
}

} // namespace web
