// LinearMatcher: runs a Program over a subject as an automaton simulation (one thread per
// program state, kept in priority order), in time proportional to subject length times
// program size. Patterns with back-references are not for it.
#pragma once

#include "regex/engine/compiled_program.h"

#include <memory>
#include <string_view>
#include <vector>

namespace RegexEngine {

class LinearMatcher {
public:
    LinearMatcher(const Program &program, std::u16string_view subject, uint64_t &steps);
    ~LinearMatcher();

    // The highest-priority match of the code starting at `begin`, at `start` or (unless
    // anchored) at the leftmost later position where one exists. slots holds the starting
    // values and receives the match's.
    bool Run(size_t start, bool anchored, uint32_t begin, std::vector<int32_t> &slots);

private:
    class ThreadList;
    struct LookaheadMemo {
        size_t position = SIZE_MAX;
        bool matched = false;
        std::vector<int32_t> slots; // the slots of the groups inside the lookahead
    };

    void AddThread(ThreadList &list, uint32_t pc, size_t pos, int32_t *slots);
    bool Lookahead(uint32_t pc, size_t pos, const int32_t *slots, LookaheadMemo *&memo);
    bool Consumes(const Instruction &instruction, size_t pos) const;

    const Program &program_;
    std::u16string_view subject_;
    uint64_t &steps_;
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
    std::unique_ptr<LinearMatcher> nested_; // runs lookahead bodies, one level deeper
};

} // namespace RegexEngine
