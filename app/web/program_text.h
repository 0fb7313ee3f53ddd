// Small conventions web program code shares: its heap calls, storing into by-reference
// variables, and copying and comparing texts.
#pragma once

#include "app/program_code.h"
#include "program_constants.h"
#include "runtime/program_calls.h"
#include "values/code_helpers.h"
#include "values/value_blocks.h"

namespace web {

// Program code reaches the runtime heap through the service table, as compiled code does.
using ProgramCall::AllocateMemory;
using ProgramCall::FreeMemory;
using ProgramCall::ReallocateMemory;

// The image's empty text, handed to kernel commands in place of null.
inline const char *const kEmptyText = ConstantText(Constant::EmptyText);

// Frees the variable's old value, then stores the new one (which the variable now owns).
inline void Store(Text *variable, Text value) {
    FreeMemory(*variable);
    *variable = value;
}
inline void Store(ByteSet *variable, ByteSet value) {
    FreeMemory(*variable);
    *variable = value;
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
