// The oracle's depth-first evaluation, on a heap stack of frames (a body may read to the end of
// the subject, one frame per position), with the answers kept for the whole search.
#include "regex/engine/lookahead_oracle.h"

#include "regex/engine/instruction_steps.h"

namespace RegexEngine {

namespace {
constexpr size_t kBlockPositions = 4096;
} // namespace

LookaheadOracle::LookaheadOracle(const Program &program, std::u16string_view subject, size_t start,
                                 SearchBudget &budget)
    : program_(program), subject_(subject), budget_(budget), firstBlock_(start / kBlockPositions) {
    if (program.lookaheads.empty()) {
        return;
    }
    const size_t codeSize = program.code.size();
    if (!budget_.Reserve(codeSize * 2 * sizeof(uint32_t))) {
        return;
    }
    entryOf_.assign(codeSize, UINT32_MAX);
    walked_.assign(codeSize, 0);
    for (uint32_t pc = 0; pc < codeSize; ++pc) {
        const Instruction &instruction = program.code[pc];
        if (instruction.op != Op::Lookahead) {
            continue;
        }
        auto mark = [&](uint32_t entry) {
            if (entryOf_[entry] == UINT32_MAX) {
                entryOf_[entry] = entryCount_++;
            }
        };
        mark(pc + 1);
        for (uint32_t inside = pc + 1; inside < instruction.a; ++inside) {
            const Op op = program.code[inside].op;
            if (op == Op::Unit || op == Op::AnyButLineFeed || op == Op::Class) {
                mark(inside + 1);
            }
        }
    }
}

LookaheadOracle::~LookaheadOracle() = default;

LookaheadOracle::Known LookaheadOracle::Get(uint32_t pc, size_t pos) const {
    const size_t index = pos / kBlockPositions - firstBlock_;
    if (index >= blocks_.size() || blocks_[index] == nullptr) {
        return kUnknown;
    }
    const auto &block = blocks_[index];
    const size_t bit = 2 * ((pos % kBlockPositions) * entryCount_ + entryOf_[pc]);
    return static_cast<Known>((block[bit / 8] >> (bit % 8)) & 3);
}

bool LookaheadOracle::Set(uint32_t pc, size_t pos, Known known) {
    const size_t index = pos / kBlockPositions - firstBlock_;
    if (index >= blocks_.size()) {
        if (!budget_.Reserve((index + 1 - blocks_.size()) * sizeof(blocks_[0]))) {
            return false;
        }
        blocks_.resize(index + 1);
    }
    auto &block = blocks_[index];
    if (block == nullptr) {
        const size_t bytes = (2 * kBlockPositions * entryCount_ + 7) / 8;
        if (!budget_.Reserve(bytes)) {
            return false;
        }
        block = std::make_unique<uint8_t[]>(bytes);
    }
    const size_t bit = 2 * ((pos % kBlockPositions) * entryCount_ + entryOf_[pc]);
    block[bit / 8] = static_cast<uint8_t>(block[bit / 8] | (known << (bit % 8)));
    return true;
}

// Grows a working list only within the memory budget, counting what a doubling takes.
template <typename T> bool LookaheadOracle::Push(std::vector<T> &list, const T &value) {
    if (list.size() == list.capacity()) {
        const size_t grown = list.capacity() == 0 ? 64 : list.capacity();
        if (!budget_.Reserve(grown * sizeof(T))) {
            return false;
        }
        list.reserve(list.capacity() + grown);
    }
    list.push_back(value);
    return true;
}

bool LookaheadOracle::BodyMatches(uint32_t pc, size_t pos) {
    if (budget_.exhausted) {
        return false;
    }
    const Known known = Get(pc + 1, pos);
    if (known != kUnknown) {
        return known == kReaches;
    }
    return Evaluate(pc + 1, pos);
}

// Follows the instructions that consume nothing from the frame's entry at its position. Reaches
// when the body's end is among them or behind a unit that matches here and leads to an entry
// known to reach it; NeedsInner (with inner set to that body's entry) when a nested lookahead
// met on the way is not known yet at this position; else Done, with the entries still to ask
// in candidates_.
LookaheadOracle::Walk LookaheadOracle::WalkFrom(const Frame &frame, uint32_t &inner) {
    const size_t pos = frame.pos;
    ++generation_;
    walkStack_.clear();
    walkStack_.push_back(frame.pc);
    while (!walkStack_.empty()) {
        const uint32_t pc = walkStack_.back();
        walkStack_.pop_back();
        if (walked_[pc] == generation_) {
            continue;
        }
        walked_[pc] = generation_;
        if (!budget_.Step()) {
            return Walk::Done;
        }
        const Instruction &instruction = program_.code[pc];
        uint32_t next = UINT32_MAX;
        switch (instruction.op) {
        case Op::Jump:
            next = instruction.a;
            break;
        case Op::Split:
            if (!Push(walkStack_, instruction.b)) {
                return Walk::Done;
            }
            next = instruction.a;
            break;
        case Op::Save:
        case Op::LoopStart:
        case Op::ClearSlots:
        case Op::LoopCheck:
            // An iteration that consumed nothing could as well not have begun: it changes no
            // answer of whether the end can be reached.
            next = pc + 1;
            break;
        case Op::Assert:
            if (AssertionHolds(static_cast<AssertKind>(instruction.flag), subject_, pos)) {
                next = pc + 1;
            }
            break;
        case Op::Lookahead: {
            const Known known = Get(pc + 1, pos);
            if (known == kUnknown) {
                inner = pc + 1;
                return Walk::NeedsInner;
            }
            if ((known == kReaches) != (instruction.flag != 0)) {
                next = instruction.a + 1;
            }
            break;
        }
        case Op::LookaheadEnd:
            // Nested bodies are stepped over, so this is the end of the frame's own body.
            return Walk::Reaches;
        case Op::Unit:
        case Op::AnyButLineFeed:
        case Op::Class:
            if (pos < subject_.size() && UnitMatches(program_, instruction, subject_[pos])) {
                const Known known = Get(pc + 1, pos + 1);
                if (known == kReaches) {
                    return Walk::Reaches;
                }
                if (known == kUnknown && !Push(candidates_, pc + 1)) {
                    return Walk::Done;
                }
            }
            break;
        case Op::BackReference:
        case Op::Match:
            break;
        }
        if (next != UINT32_MAX && !Push(walkStack_, next)) {
            return Walk::Done;
        }
    }
    return Walk::Done;
}

bool LookaheadOracle::Evaluate(uint32_t entryPc, size_t entryPos) {
    frames_.clear();
    candidates_.clear();
    Push(frames_, Frame{entryPc, static_cast<uint32_t>(entryPos), 0, kNotWalked});
    while (!frames_.empty() && !budget_.exhausted) {
        Frame frame = frames_.back();
        Known answer = kFails;
        if (frame.nextCandidate == kNotWalked) {
            uint32_t inner = 0;
            const Walk walk = WalkFrom(frame, inner);
            if (walk == Walk::NeedsInner) {
                // Walked again once the nested body's answer is known here.
                candidates_.resize(frame.firstCandidate);
                Push(frames_, Frame{inner, frame.pos, static_cast<uint32_t>(candidates_.size()),
                                    kNotWalked});
                continue;
            }
            frame.nextCandidate = frame.firstCandidate;
            answer = walk == Walk::Reaches ? kReaches : kFails;
        }
        bool asking = false;
        while (answer == kFails && frame.nextCandidate < candidates_.size()) {
            const uint32_t candidate = candidates_[frame.nextCandidate];
            const Known known = Get(candidate, frame.pos + 1);
            if (known == kReaches) {
                answer = kReaches;
            } else if (known == kFails) {
                ++frame.nextCandidate;
            } else {
                asking = true;
                break;
            }
        }
        frames_.back() = frame;
        if (asking) {
            const uint32_t candidate = candidates_[frame.nextCandidate];
            Push(frames_, Frame{candidate, frame.pos + 1, static_cast<uint32_t>(candidates_.size()),
                                kNotWalked});
            continue;
        }
        if (!Set(frame.pc, frame.pos, answer)) {
            break;
        }
        candidates_.resize(frame.firstCandidate);
        frames_.pop_back();
    }
    if (budget_.exhausted) {
        return false;
    }
    return Get(entryPc, entryPos) == kReaches;
}

} // namespace RegexEngine
