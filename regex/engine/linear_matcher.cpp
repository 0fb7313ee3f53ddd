// The automaton simulation. Threads live in two lists (this position, next position), each a
// sparse set of program states in priority order with one row of slots per waiting state, all
// allocated once per search. Adding a thread follows its epsilon moves with an explicit stack
// in priority order; a state reached a second time at one position is dropped, since the
// first arrival has the higher priority and the same future. A state is an instruction plus
// the number of enclosing loop iterations that began at this position: those iterations must
// still consume, so two threads differing there do not share a future. That bounds the work
// per subject unit by the program size times the loop nesting. A new thread for a match that
// would begin further on starts only where the pattern's start hint allows a match to begin,
// the next such place found once and kept until passed: on a page the hint skips nearly every
// position, and a long match no longer drags a dead start thread along at each unit.
//
// Whether a lookahead holds comes from the search's LookaheadOracle, which works out each
// (instruction, position) pair of the bodies once, so lookaheads at any depth keep the search
// linear: O(subject length x program size). Only a lookahead that holds groups, where it holds,
// runs its body again as a nested, anchored run of the same machine to find where the groups
// lie; that run's steps and memory count against the same budget as the whole search.
#include "regex/engine/linear_matcher.h"

#include "regex/engine/instruction_steps.h"
#include "regex/engine/start_scan.h"

#include <algorithm>

namespace RegexEngine {

class LinearMatcher::ThreadList {
public:
    ThreadList(const Program &program)
        : program_(program), dense_(program.code.size()), sparse_(program.code.size()),
          slots_(size_t{program.threadStates} * program.slotCount) {}

    void Clear() { count_ = 0; }
    bool Contains(uint32_t pc) const { return sparse_[pc] < count_ && dense_[sparse_[pc]] == pc; }
    bool Empty() const { return count_ == 0; }
    uint32_t Size() const { return count_; }
    uint32_t At(uint32_t i) const { return dense_[i]; }
    int32_t *Slots(uint32_t pc) {
        return slots_.data() + size_t{program_.threadIndex[pc]} * program_.slotCount;
    }
    void Add(uint32_t pc, const int32_t *slots) {
        sparse_[pc] = count_;
        dense_[count_++] = pc;
        std::copy(slots, slots + program_.slotCount, Slots(pc));
    }

private:
    const Program &program_;
    std::vector<uint32_t> dense_;
    std::vector<uint32_t> sparse_;
    std::vector<int32_t> slots_;
    uint32_t count_ = 0;
};

size_t LinearMatcher::BytesFor(const Program &program) {
    const size_t threadList = 2 * program.code.size() * sizeof(uint32_t) +
                              size_t{program.threadStates} * program.slotCount * sizeof(int32_t);
    return sizeof(LinearMatcher) + 2 * threadList + 2 * program.stateCount * sizeof(uint32_t) +
           program.slotCount * sizeof(int32_t) + program.lookaheads.size() * sizeof(LookaheadMemo);
}

LinearMatcher::LinearMatcher(const Program &program, std::u16string_view subject,
                             SearchBudget &budget, LookaheadOracle &oracle)
    : program_(program), subject_(subject), budget_(budget), oracle_(oracle),
      current_(std::make_unique<ThreadList>(program)), next_(std::make_unique<ThreadList>(program)),
      visitedDense_(program.stateCount), visitedSparse_(program.stateCount),
      scratch_(program.slotCount), memos_(program.lookaheads.size()) {}

LinearMatcher::~LinearMatcher() = default;

bool LinearMatcher::Consumes(const Instruction &instruction, size_t pos) const {
    return pos < subject_.size() && UnitMatches(program_, instruction, subject_[pos]);
}

bool LinearMatcher::LookaheadGroups(uint32_t pc, size_t pos, const int32_t *slots,
                                    LookaheadMemo *&memo) {
    const Instruction &instruction = program_.code[pc];
    const LookaheadInfo &info = program_.lookaheads[instruction.b];
    memo = &memos_[instruction.b];
    if (memo->position != pos) {
        if (!nested_) {
            if (!budget_.Reserve(BytesFor(program_))) {
                return false;
            }
            nested_ = std::make_unique<LinearMatcher>(program_, subject_, budget_, oracle_);
        }
        std::vector<int32_t> inner(slots, slots + program_.slotCount);
        memo->matched = nested_->Run(pos, true, pc + 1, inner);
        memo->slots.assign(inner.begin() + info.firstSlot, inner.begin() + info.endSlot);
        memo->position = pos;
    }
    return memo->matched;
}

void LinearMatcher::AddThread(ThreadList &list, uint32_t startPc, size_t pos, int32_t *slots) {
    int32_t position = static_cast<int32_t>(pos);
    auto visit = [&](uint32_t pc) {
        uint32_t state = program_.stateBase[pc];
        for (uint32_t span = program_.enclosingLoop[pc];
             span != UINT32_MAX && slots[program_.loopSpans[span].loopRegister] == position;
             span = program_.loopSpans[span].parent) {
            ++state; // one more enclosing iteration that began here
        }
        uint32_t index = visitedSparse_[state];
        if (index < visitedCount_ && visitedDense_[index] == state) {
            return false;
        }
        visitedSparse_[state] = visitedCount_;
        visitedDense_[visitedCount_++] = state;
        return true;
    };
    auto set = [&](uint32_t slot, int32_t value) {
        stack_.push_back({slot, slots[slot], true});
        slots[slot] = value;
    };
    stack_.clear();
    stack_.push_back({startPc, 0, false});
    while (!stack_.empty()) {
        StackEntry entry = stack_.back();
        stack_.pop_back();
        if (entry.restore) {
            slots[entry.target] = entry.value;
            continue;
        }
        uint32_t pc = entry.target;
        while (visit(pc)) {
            ++budget_.steps;
            const Instruction &instruction = program_.code[pc];
            bool alive = true;
            switch (instruction.op) {
            case Op::Jump:
                pc = instruction.a;
                continue;
            case Op::Split:
                stack_.push_back({instruction.b, 0, false});
                pc = instruction.a;
                continue;
            case Op::Save:
            case Op::LoopStart:
            case Op::ClearSlots:
            case Op::LoopCheck:
            case Op::Assert:
                alive = StepInPlace(instruction, subject_, pos, slots, set);
                break;
            case Op::Lookahead: {
                const bool negative = instruction.flag != 0;
                alive = oracle_.BodyMatches(pc, pos) != negative;
                const LookaheadInfo &info = program_.lookaheads[instruction.b];
                LookaheadMemo *memo = nullptr;
                if (alive && !negative && info.firstSlot < info.endSlot &&
                    LookaheadGroups(pc, pos, slots, memo)) {
                    for (uint32_t slot = info.firstSlot; slot < info.endSlot; ++slot) {
                        set(slot, memo->slots[slot - info.firstSlot]);
                    }
                }
                pc = instruction.a;
                break;
            }
            case Op::BackReference:
                alive = false; // such programs go to the backtracking matcher
                break;
            case Op::Unit:
            case Op::AnyButLineFeed:
            case Op::Class:
            case Op::Match:
            case Op::LookaheadEnd:
                // After this unit every iteration has consumed, so one thread per state suffices.
                if (!list.Contains(pc)) {
                    list.Add(pc, slots);
                }
                alive = false;
                break;
            }
            if (!alive) {
                break;
            }
            ++pc;
        }
    }
}

bool LinearMatcher::Run(size_t start, bool anchored, uint32_t begin, std::vector<int32_t> &slots) {
    const std::vector<int32_t> initial = slots;
    bool matched = false;
    size_t pos = start;
    if (!anchored) {
        pos = FindCandidate(program_.start, subject_, pos);
    }
    if (pos > subject_.size()) {
        return false;
    }
    size_t candidate = pos;
    current_->Clear();
    visitedCount_ = 0;
    std::copy(initial.begin(), initial.end(), scratch_.begin());
    AddThread(*current_, begin, pos, scratch_.data());
    for (;;) {
        next_->Clear();
        visitedCount_ = 0;
        for (uint32_t i = 0; i < current_->Size(); ++i) {
            uint32_t pc = current_->At(i);
            const Instruction &instruction = program_.code[pc];
            ++budget_.steps;
            if (instruction.op == Op::Match || instruction.op == Op::LookaheadEnd) {
                const int32_t *found = current_->Slots(pc);
                std::copy(found, found + program_.slotCount, slots.begin());
                matched = true;
                break; // the remaining threads have lower priority
            }
            if (Consumes(instruction, pos)) {
                // AddThread restores every slot it changes, so the row can serve directly.
                AddThread(*next_, pc + 1, pos + 1, current_->Slots(pc));
            }
        }
        if (pos >= subject_.size() || !budget_.StepsLeft()) {
            break;
        }
        ++pos;
        if (!matched && !anchored) {
            if (next_->Empty()) {
                pos = FindCandidate(program_.start, subject_, pos);
                if (pos > subject_.size()) {
                    break;
                }
                candidate = pos;
                visitedCount_ = 0;
            }
            if (pos > candidate) {
                candidate = FindCandidate(program_.start, subject_, pos);
            }
            if (pos == candidate) {
                std::copy(initial.begin(), initial.end(), scratch_.begin());
                AddThread(*next_, begin, pos, scratch_.data());
            }
        }
        if (next_->Empty() && (matched || anchored)) {
            break;
        }
        std::swap(current_, next_);
    }
    return matched;
}

} // namespace RegexEngine
