// BacktrackMatcher: runs a Program depth-first, trying alternatives in priority order, with
// its choice points on a heap stack and a step budget. It serves patterns with
// back-references, which no automaton can match in linear time.
#pragma once

#include "regex/engine/compiled_program.h"
#include "regex/engine/search_budget.h"

#include <deque>
#include <string_view>
#include <vector>

namespace RegexEngine {

class BacktrackMatcher {
public:
    // Steps, and the memory of the choice points of every nesting level, count against budget.
    BacktrackMatcher(const Program &program, std::u16string_view subject, SearchBudget &budget);

    // As LinearMatcher::Run, and BudgetExhausted when the budget runs out.
    SearchResult Run(size_t start, bool anchored, uint32_t begin, std::vector<int32_t> &slots);

private:
    struct StackEntry {
        uint32_t target; // where to resume, or a slot number for a restore
        int32_t value;   // the position to resume at, or the slot's old value
        bool restore;
    };

    SearchResult TryAt(size_t start, uint32_t begin, int32_t *slots, size_t depth);
    bool MatchBackReference(const Instruction &instruction, const int32_t *slots,
                            size_t &pos) const;

    const Program &program_;
    std::u16string_view subject_;
    SearchBudget &budget_;
    // The choice points of one lookahead nesting level, and how much of their memory the
    // budget has been charged for.
    struct Level {
        std::vector<StackEntry> stack;
        size_t chargedCapacity = 0;
    };
    // One per nesting level; a deque, so that adding a level keeps references valid.
    std::deque<Level> levels_;
};

} // namespace RegexEngine
