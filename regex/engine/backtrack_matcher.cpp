// The depth-first matcher. A choice pushes the alternative it did not take; every slot change
// pushes the old value, so that failing back to a choice point undoes exactly what happened
// after it. A lookahead runs its body as a separate, nested attempt (lookaheads are atomic:
// nothing backtracks into them), on a stack of its own.
#include "regex/engine/backtrack_matcher.h"

#include "regex/engine/instruction_steps.h"
#include "regex/engine/start_scan.h"

namespace RegexEngine {

BacktrackMatcher::BacktrackMatcher(const Program &program, std::u16string_view subject,
                                   SearchBudget &budget)
    : program_(program), subject_(subject), budget_(budget) {}

bool BacktrackMatcher::MatchBackReference(const Instruction &instruction, const int32_t *slots,
                                          size_t &pos) const {
    int32_t begin = slots[2 * instruction.a];
    int32_t end = slots[2 * instruction.a + 1];
    if (begin < 0 || end < 0) {
        return true; // a group that has not matched matches empty
    }
    size_t length = static_cast<size_t>(end - begin);
    if (length > subject_.size() - pos) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        char16_t captured = subject_[static_cast<size_t>(begin) + i];
        char16_t here = subject_[pos + i];
        if (captured != here &&
            (instruction.flag == 0 || Canonicalize(captured) != Canonicalize(here))) {
            return false;
        }
    }
    pos += length;
    return true;
}

SearchResult BacktrackMatcher::TryAt(size_t start, uint32_t begin, int32_t *slots, size_t depth) {
    if (levels_.size() <= depth) {
        if (!budget_.Reserve(sizeof(Level))) {
            return SearchResult::BudgetExhausted;
        }
        levels_.resize(depth + 1);
    }
    Level &level = levels_[depth];
    std::vector<StackEntry> &stack = level.stack;
    stack.clear();
    auto set = [&](uint32_t slot, int32_t value) {
        stack.push_back({slot, slots[slot], true});
        slots[slot] = value;
    };
    uint32_t pc = begin;
    size_t pos = start;
    for (;;) {
        // The stack grows by doubling, so the memory it took is charged when its capacity
        // changes: the levels together stay within the search's bound.
        if (stack.capacity() > level.chargedCapacity) {
            if (!budget_.Reserve((stack.capacity() - level.chargedCapacity) * sizeof(StackEntry))) {
                return SearchResult::BudgetExhausted;
            }
            level.chargedCapacity = stack.capacity();
        }
        if (!budget_.Step()) {
            return SearchResult::BudgetExhausted;
        }
        const Instruction &instruction = program_.code[pc];
        int32_t position = static_cast<int32_t>(pos);
        bool ok = true;
        switch (instruction.op) {
        case Op::Unit:
        case Op::AnyButLineFeed:
        case Op::Class:
            ok = pos < subject_.size() && UnitMatches(program_, instruction, subject_[pos]);
            ++pos;
            break;
        case Op::Split:
            stack.push_back({instruction.b, position, false});
            pc = instruction.a;
            continue;
        case Op::Jump:
            pc = instruction.a;
            continue;
        case Op::Save:
        case Op::LoopStart:
        case Op::ClearSlots:
        case Op::LoopCheck:
        case Op::Assert:
            ok = StepInPlace(instruction, subject_, pos, slots, set);
            break;
        case Op::Lookahead: {
            std::vector<int32_t> inner(slots, slots + program_.slotCount);
            SearchResult result = TryAt(pos, pc + 1, inner.data(), depth + 1);
            if (result == SearchResult::BudgetExhausted) {
                return result;
            }
            bool negative = instruction.flag != 0;
            ok = (result == SearchResult::Found) != negative;
            if (ok && !negative) {
                const LookaheadInfo &info = program_.lookaheads[instruction.b];
                for (uint32_t slot = info.firstSlot; slot < info.endSlot; ++slot) {
                    if (slots[slot] != inner[slot]) {
                        set(slot, inner[slot]);
                    }
                }
            }
            pc = instruction.a;
            break;
        }
        case Op::BackReference:
            ok = MatchBackReference(instruction, slots, pos);
            break;
        case Op::Match:
        case Op::LookaheadEnd:
            return SearchResult::Found;
        }
        if (ok) {
            ++pc;
            continue;
        }
        for (;;) {
            if (stack.empty()) {
                return SearchResult::NotFound;
            }
            StackEntry entry = stack.back();
            stack.pop_back();
            if (entry.restore) {
                slots[entry.target] = entry.value;
            } else {
                pc = entry.target;
                pos = static_cast<size_t>(entry.value);
                break;
            }
        }
    }
}

SearchResult BacktrackMatcher::Run(size_t start, bool anchored, uint32_t begin,
                                   std::vector<int32_t> &slots) {
    const std::vector<int32_t> initial = slots;
    size_t pos = anchored ? start : FindCandidate(program_.start, subject_, start);
    while (pos <= subject_.size()) {
        slots = initial;
        SearchResult result = TryAt(pos, begin, slots.data(), 0);
        if (result != SearchResult::NotFound || anchored) {
            return result;
        }
        pos = FindCandidate(program_.start, subject_, pos + 1);
    }
    return SearchResult::NotFound;
}

} // namespace RegexEngine
