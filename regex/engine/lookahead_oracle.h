// LookaheadOracle: whether a lookahead's body matches at a position, answered for the linear
// matcher in time linear in the subject for the whole search, nesting included.
//
// Whether the body can still reach its end from an instruction at a position depends on
// nothing else (no back-references run here), so each (instruction, position) pair is worked
// out once per search and remembered: two evaluations of a lookahead at different positions
// that meet at one pair share its answer, where running the body afresh at every position
// would cost the subject's length once per position, and once more per nesting level.
#pragma once

#include "regex/engine/compiled_program.h"
#include "regex/engine/search_budget.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace RegexEngine {

class LookaheadOracle {
public:
    // For a search from start on: lookaheads are asked only at start or later.
    LookaheadOracle(const Program &program, std::u16string_view subject, size_t start,
                    SearchBudget &budget);
    ~LookaheadOracle();

    // Whether the body of the lookahead at pc (a Lookahead instruction) matches at pos, its sign
    // aside. False as well once the budget is spent (budget.exhausted then tells).
    bool BodyMatches(uint32_t pc, size_t pos);

private:
    enum Known : uint8_t { kUnknown = 0, kReaches = 1, kFails = 2 };
    // Working out one (entry, position) pair: the instructions reached without consuming are
    // walked once; the entries behind the units that match here are then asked one by one.
    struct Frame {
        uint32_t pc;
        uint32_t pos;
        uint32_t firstCandidate; // its candidates: candidates_[firstCandidate, end)
        uint32_t nextCandidate;  // kNotWalked until the walk is done
    };
    static constexpr uint32_t kNotWalked = UINT32_MAX;
    enum class Walk { Reaches, NeedsInner, Done };

    Known Get(uint32_t pc, size_t pos) const;
    bool Set(uint32_t pc, size_t pos, Known known);
    bool Evaluate(uint32_t pc, size_t pos);
    Walk WalkFrom(const Frame &frame, uint32_t &inner);
    template <typename T> bool Push(std::vector<T> &list, const T &value);

    const Program &program_;
    std::u16string_view subject_;
    SearchBudget &budget_;
    // Entry number of each instruction a body can be entered at (its first instruction, and the
    // one behind each unit inside it); UINT32_MAX for the others.
    std::vector<uint32_t> entryOf_;
    uint32_t entryCount_ = 0;
    // What is known, two bits per (entry, position), in blocks of kBlockPositions positions made
    // when first written, the first for the block that holds the search's start.
    std::vector<std::unique_ptr<uint8_t[]>> blocks_;
    size_t firstBlock_ = 0;
    std::vector<Frame> frames_;
    std::vector<uint32_t> candidates_;
    std::vector<uint32_t> walkStack_;
    std::vector<uint32_t> walked_; // the walk's generation that reached each instruction
    uint32_t generation_ = 0;
};

} // namespace RegexEngine
