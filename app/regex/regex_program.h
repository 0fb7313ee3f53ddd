// What the regular-expression class's program code shares: its constants and making and
// freeing member blocks.
#pragma once

#include <cstdint>

#include "app/program_code.h"
#include "program_constants.h"
#include "runtime/program_calls.h"
#include "values/automation_calls.h"
#include "values/code_helpers.h"

namespace Regex {

inline const char *Named(uint32_t constant) {
    return ConstantText(constant);
}

// A new Variant block as compiled code starts one: 16 zero bytes, then the type VT_I4.
inline VariantBlock *NewVariantBlock() {
    constexpr uint32_t kVariantBytes = 16;
    constexpr uint32_t kTypeI4 = 3;
    auto *words = static_cast<uint32_t *>(ProgramCall::AllocateMemory(kVariantBytes));
    words[0] = kTypeI4;
    words[1] = words[2] = words[3] = 0;
    return reinterpret_cast<VariantBlock *>(words);
}

// A new empty ComObject block: both words null.
inline ComObject *NewObjectBlock() {
    auto *words = static_cast<uint32_t *>(ProgramCall::AllocateMemory(2 * sizeof(uint32_t)));
    words[0] = words[1] = 0;
    return reinterpret_cast<ComObject *>(words);
}

inline void FreeObject(ComObject *object) {
    Kernel::ObjectClear(object);
    ProgramCall::FreeMemory(object);
}

inline void FreeVariant(VariantBlock *variant) {
    Kernel::VariantReset(variant);
    ProgramCall::FreeMemory(variant);
}

} // namespace Regex
