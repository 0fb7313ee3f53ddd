// BacktrackMatcher: runs a Program depth-first, trying alternatives in priority order, with
// its choice points on a heap stack and a step budget. It serves patterns with
// back-references, which no automaton can match in linear time.
#pragma once

#include "regex/engine/compiled_program.h"

#include <deque>
#include <string_view>
#include <vector>

namespace RegexEngine {

// Most choice points kept at once; a search that needs more gives up like one that exhausts
// its step budget, so that memory stays bounded (12 bytes an entry).
constexpr size_t kMaxBacktrackEntries = 8'000'000;

class BacktrackMatcher {
public:
    BacktrackMatcher(const Program &program, std::u16string_view subject, uint64_t &steps,
                     uint64_t budget);

    // As LinearMatcher::Run, and BudgetExhausted when the budget or the stack runs out.
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
    uint64_t &steps_;
    uint64_t stepLimit_;
    // One per lookahead nesting level; a deque, so that adding a level keeps references valid.
    std::deque<std::vector<StackEntry>> stacks_;
};

} // namespace RegexEngine
