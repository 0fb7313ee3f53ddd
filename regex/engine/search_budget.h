// SearchBudget: one search's allowance of machine steps and of working memory, shared by every
// matcher and every lookahead nesting level the search runs. Once either is spent the search
// stops and fails as a pattern too complex, instead of running for hours or taking a gigabyte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace RegexEngine {

struct SearchBudget {
    uint64_t steps = 0;
    uint64_t stepLimit = 0;
    size_t bytes = 0; // working memory taken so far (matcher tables, memo, stacks)
    size_t byteLimit = 0;
    bool exhausted = false;

    // Counts one step; false once the budget is spent.
    bool Step() {
        if (++steps > stepLimit) {
            exhausted = true;
        }
        return !exhausted;
    }
    // Whether the steps taken so far are within the limit (marking the budget spent if not).
    bool StepsLeft() {
        if (steps > stepLimit) {
            exhausted = true;
        }
        return !exhausted;
    }
    // Takes count bytes of working memory; false (and the budget spent) when they do not fit.
    bool Reserve(size_t count) {
        if (exhausted || count > byteLimit - bytes) {
            exhausted = true;
            return false;
        }
        bytes += count;
        return true;
    }
};

} // namespace RegexEngine
