// Compile and Search: parsing and code generation, then the choice of matcher.
#include "regex/engine/regex_engine.h"

#include "regex/engine/backtrack_matcher.h"
#include "regex/engine/linear_matcher.h"
#include "regex/engine/pattern_parser.h"
#include "regex/engine/program_compiler.h"

#include <limits>

namespace RegexEngine {

CompileResult Compile(std::u16string_view pattern, Options options) {
    CompileResult result;
    ParseResult parsed = ParsePattern(pattern, options);
    if (parsed.error != CompileError::None) {
        result.error = parsed.error;
        return result;
    }
    auto program = std::make_shared<Program>();
    CompileError error = CompileTree(parsed.tree, options, *program);
    if (error != CompileError::None) {
        result.error = error;
        return result;
    }
    program->start = ComputeStartHint(parsed.tree, options);
    result.program = std::move(program);
    return result;
}

uint32_t GroupCount(const Program &program) {
    return program.groupCount;
}

bool HasBackReferences(const Program &program) {
    return program.hasBackReferences;
}

SearchResult Search(const Program &program, std::u16string_view subject, size_t start,
                    Captures &captures) {
    return Search(program, subject, start, captures, SearchControl{}, nullptr);
}

SearchResult Search(const Program &program, std::u16string_view subject, size_t start,
                    Captures &captures, const SearchControl &control, SearchStats *stats) {
    uint32_t captureSlots = 2 * (program.groupCount + 1);
    captures.slots.assign(captureSlots, -1);
    bool backtrack = control.matcher == Matcher::Backtracking ||
                     (control.matcher == Matcher::Automatic && program.hasBackReferences);
    // Positions are 32-bit in the results (and in the component's interface).
    if (start > subject.size() || subject.size() > size_t{std::numeric_limits<int32_t>::max()} ||
        (!backtrack && program.hasBackReferences)) {
        return SearchResult::NotFound;
    }
    SearchBudget budget;
    budget.byteLimit = control.byteBudget;
    budget.stepLimit = control.stepBudget;
    if (!backtrack) {
        const uint64_t perUnit = kLinearStepsPerUnitAndInstruction *
                                 (program.code.size() + program.stateCount + program.threadStates);
        const uint64_t allowance = perUnit * (subject.size() - start + 1);
        budget.stepLimit = allowance > UINT64_MAX - control.stepBudget
                               ? UINT64_MAX
                               : control.stepBudget + allowance;
    }
    std::vector<int32_t> slots(program.slotCount, -1);
    SearchResult result = SearchResult::NotFound;
    if (backtrack) {
        result = BacktrackMatcher(program, subject, budget).Run(start, false, 0, slots);
    } else if (budget.Reserve(LinearMatcher::BytesFor(program))) {
        LookaheadOracle oracle(program, subject, start, budget);
        if (LinearMatcher(program, subject, budget, oracle).Run(start, false, 0, slots)) {
            result = SearchResult::Found;
        }
    }
    if (budget.exhausted) {
        result = SearchResult::BudgetExhausted;
    }
    if (stats != nullptr) {
        stats->steps = budget.steps;
    }
    if (result != SearchResult::Found) {
        return result;
    }
    for (uint32_t group = 0; group <= program.groupCount; ++group) {
        bool complete = slots[2 * group] >= 0 && slots[2 * group + 1] >= 0;
        captures.slots[2 * group] = complete ? slots[2 * group] : -1;
        captures.slots[2 * group + 1] = complete ? slots[2 * group + 1] : -1;
    }
    return result;
}

} // namespace RegexEngine
