// What both matchers do alike: test a unit against a consuming instruction, and run the
// instructions that set slots or test the position without consuming or branching.
#pragma once

#include "regex/engine/case_folding.h"
#include "regex/engine/compiled_program.h"
#include "regex/engine/subject_assertions.h"

#include <string_view>

namespace RegexEngine {

// For Unit, AnyButLineFeed and Class.
inline bool UnitMatches(const Program &program, const Instruction &instruction, char16_t c) {
    switch (instruction.op) {
    case Op::Unit:
        return (instruction.flag ? Canonicalize(c) : c) == instruction.a;
    case Op::AnyButLineFeed:
        return c != u'\n';
    case Op::Class:
        return program.classes[instruction.a].Contains(c);
    default:
        return false;
    }
}

// For Save, LoopStart, ClearSlots, LoopCheck and Assert: false when the thread fails here.
// set(slot, value) changes a slot in a way the matcher can undo.
template <typename SetSlot>
bool StepInPlace(const Instruction &instruction, std::u16string_view subject, size_t pos,
                 const int32_t *slots, SetSlot set) {
    int32_t position = static_cast<int32_t>(pos);
    switch (instruction.op) {
    case Op::Save:
    case Op::LoopStart:
        set(instruction.a, position);
        return true;
    case Op::ClearSlots:
        for (uint32_t slot = instruction.a; slot < instruction.b; ++slot) {
            if (slots[slot] != -1) {
                set(slot, -1);
            }
        }
        return true;
    case Op::LoopCheck:
        return slots[instruction.a] != position;
    case Op::Assert:
        return AssertionHolds(static_cast<AssertKind>(instruction.flag), subject, pos);
    default:
        return false;
    }
}

} // namespace RegexEngine
