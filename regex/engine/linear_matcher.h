// LinearMatcher: runs a Program over a subject as an automaton simulation (one thread per
// program state, kept in priority order), in time proportional to subject length times
// program size. Patterns with back-references are not for it.
#pragma once

#include "regex/engine/compiled_program.h"
#include "regex/engine/lookahead_oracle.h"
#include "regex/engine/search_budget.h"

#include <memory>
#include <string_view>
#include <vector>

namespace RegexEngine {

class LinearMatcher {
public:
    // The working memory a matcher for program takes, which its maker reserves in the budget.
    static size_t BytesFor(const Program &program);

    // Steps and memory count against budget; the oracle answers whether lookahead bodies match.
    LinearMatcher(const Program &program, std::u16string_view subject, SearchBudget &budget,
                  LookaheadOracle &oracle);
    ~LinearMatcher();

    // The highest-priority match of the code starting at `begin`, at `start` or (unless
    // anchored) at the leftmost later position where one exists. slots holds the starting
    // values and receives the match's. False as well when the budget ran out.
    bool Run(size_t start, bool anchored, uint32_t begin, std::vector<int32_t> &slots);

private:
    class ThreadList;
    struct LookaheadMemo {
        size_t position = SIZE_MAX;
        bool matched = false;
        std::vector<int32_t> slots; // the slots of the groups inside the lookahead
    };

    void AddThread(ThreadList &list, uint32_t pc, size_t pos, int32_t *slots);
    // Runs the body of the positive lookahead at pc, which matches at pos, to find where its
    // groups lie (remembered for the last position asked); false when the budget ran out.
    bool LookaheadGroups(uint32_t pc, size_t pos, const int32_t *slots, LookaheadMemo *&memo);
    bool Consumes(const Instruction &instruction, size_t pos) const;

    const Program &program_;
    std::u16string_view subject_;
    SearchBudget &budget_;
    LookaheadOracle &oracle_;
    std::unique_ptr<ThreadList> current_;
    std::unique_ptr<ThreadList> next_;
    std::vector<uint32_t> visitedDense_; // program states reached at the current position
    std::vector<uint32_t> visitedSparse_;
    uint32_t visitedCount_ = 0;
    // Work stack of the closure: states to explore and slot values to restore.
    struct StackEntry {
        uint32_t target; // a program counter, or a slot number for a restore
        int32_t value;
        bool restore;
    };
    std::vector<StackEntry> stack_;
    std::vector<int32_t> scratch_;
    std::vector<LookaheadMemo> memos_;
    // Runs the bodies of lookaheads that hold groups, one level deeper, to find those groups.
    std::unique_ptr<LinearMatcher> nested_;
};

} // namespace RegexEngine
