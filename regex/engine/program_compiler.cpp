// Code generation from the pattern tree. Loops whose body can match empty carry a register so
// that an iteration beyond the minimum that consumes nothing fails (as ECMAScript requires);
// each iteration first clears the body's groups, so they report the last iteration only.
#include "regex/engine/program_compiler.h"

#include "regex/engine/case_folding.h"

#include <algorithm>

namespace RegexEngine {
namespace {

class Compiler {
public:
    Compiler(const PatternTree &tree, Options options, Program &program)
        : tree_(tree), options_(options), program_(program), nullable_(tree.nodes.size(), Unknown),
          loopRegister_(tree.nodes.size(), kNoRegister) {}

    CompileError Run() {
        program_.classes = tree_.classes;
        program_.groupCount = tree_.groupCount;
        program_.hasBackReferences = tree_.hasBackReferences;
        nextSlot_ = 2 * (tree_.groupCount + 1);
        Emit({Op::Save, 0, 0, 0});
        CompileNode(tree_.root);
        Emit({Op::Save, 0, 1, 0});
        Emit({Op::Match});
        program_.slotCount = nextSlot_;
        program_.threadIndex.assign(program_.code.size(), UINT32_MAX);
        for (size_t pc = 0; pc < program_.code.size(); ++pc) {
            Op op = program_.code[pc].op;
            if (op == Op::Unit || op == Op::AnyButLineFeed || op == Op::Class || op == Op::Match ||
                op == Op::LookaheadEnd) {
                program_.threadIndex[pc] = program_.threadStates++;
            }
        }
        NumberStates();
        if (tooLarge_ || program_.stateCount > kMaxMatcherStates ||
            uint64_t{program_.threadStates} * program_.slotCount > kMaxThreadSlots) {
            return CompileError::Syntax;
        }
        return CompileError::None;
    }

private:
    static constexpr int8_t Unknown = -1;
    static constexpr uint32_t kNoRegister = UINT32_MAX;

    void NumberStates() {
        std::vector<uint32_t> depth(program_.loopSpans.size());
        for (size_t span = 0; span < depth.size(); ++span) {
            uint32_t parent = program_.loopSpans[span].parent;
            depth[span] = parent == UINT32_MAX ? 1 : depth[parent] + 1; // parents come first
        }
        uint64_t next = 0;
        program_.stateBase.clear();
        for (uint32_t span : program_.enclosingLoop) {
            program_.stateBase.push_back(
                static_cast<uint32_t>(std::min<uint64_t>(next, UINT32_MAX)));
            next += 1 + (span == UINT32_MAX ? 0 : depth[span]);
        }
        program_.stateCount = static_cast<uint32_t>(std::min<uint64_t>(next, UINT32_MAX));
    }

    uint32_t Here() const { return static_cast<uint32_t>(program_.code.size()); }

    uint32_t Emit(Instruction instruction) {
        if (program_.code.size() >= kMaxInstructions) {
            tooLarge_ = true;
            return Here();
        }
        program_.code.push_back(instruction);
        program_.enclosingLoop.push_back(openSpans_.empty() ? UINT32_MAX : openSpans_.back());
        return Here() - 1;
    }

    // Counts one copy of a repeated body, so that even bodies that emit nothing (an empty
    // group repeated a billion times) cannot keep the compiler busy.
    bool SpendCopy() {
        if (++copies_ > kMaxInstructions) {
            tooLarge_ = true;
        }
        return !tooLarge_;
    }

    void Patch(uint32_t pc, uint32_t a, uint32_t b) {
        if (pc < program_.code.size()) {
            program_.code[pc].a = a;
            program_.code[pc].b = b;
        }
    }

    bool Nullable(uint32_t index) {
        if (nullable_[index] != Unknown) {
            return nullable_[index] != 0;
        }
        const PatternNode &node = tree_.nodes[index];
        bool result = false;
        switch (node.kind) {
        case PatternNode::Kind::Unit:
        case PatternNode::Kind::AnyButLineFeed:
        case PatternNode::Kind::Class:
            result = false;
            break;
        case PatternNode::Kind::Empty:
        case PatternNode::Kind::Assert:
        case PatternNode::Kind::Lookahead:
        case PatternNode::Kind::BackReference:
            result = true;
            break;
        case PatternNode::Kind::Group:
            result = Nullable(node.children[0]);
            break;
        case PatternNode::Kind::Repeat:
            result = node.min == 0 || Nullable(node.children[0]);
            break;
        case PatternNode::Kind::Concat:
            result = true;
            for (uint32_t child : node.children) {
                result = result && Nullable(child);
            }
            break;
        case PatternNode::Kind::Alternation:
            for (uint32_t child : node.children) {
                result = Nullable(child) || result;
            }
            break;
        }
        nullable_[index] = result ? 1 : 0;
        return result;
    }

    void CompileNode(uint32_t index) {
        if (tooLarge_) {
            return;
        }
        const PatternNode &node = tree_.nodes[index];
        switch (node.kind) {
        case PatternNode::Kind::Empty:
            break;
        case PatternNode::Kind::Unit: {
            char16_t unit = static_cast<char16_t>(node.value);
            bool fold = options_.ignoreCase && HasCasePartner(unit);
            Emit({Op::Unit, fold ? uint8_t{1} : uint8_t{0}, fold ? Canonicalize(unit) : unit, 0});
            break;
        }
        case PatternNode::Kind::AnyButLineFeed:
            Emit({Op::AnyButLineFeed});
            break;
        case PatternNode::Kind::Class:
            Emit({Op::Class, 0, node.value, 0});
            break;
        case PatternNode::Kind::Assert:
            Emit({Op::Assert, static_cast<uint8_t>(node.assertKind), 0, 0});
            break;
        case PatternNode::Kind::BackReference:
            Emit({Op::BackReference, options_.ignoreCase ? uint8_t{1} : uint8_t{0}, node.value, 0});
            break;
        case PatternNode::Kind::Group:
            if (node.value != 0) {
                Emit({Op::Save, 0, 2 * node.value, 0});
            }
            CompileNode(node.children[0]);
            if (node.value != 0) {
                Emit({Op::Save, 0, 2 * node.value + 1, 0});
            }
            break;
        case PatternNode::Kind::Lookahead:
            CompileLookahead(node);
            break;
        case PatternNode::Kind::Concat:
            for (uint32_t child : node.children) {
                CompileNode(child);
            }
            break;
        case PatternNode::Kind::Alternation:
            CompileAlternation(node);
            break;
        case PatternNode::Kind::Repeat:
            CompileRepeat(index, node);
            break;
        }
    }

    void CompileLookahead(const PatternNode &node) {
        uint32_t lookahead = static_cast<uint32_t>(program_.lookaheads.size());
        program_.lookaheads.push_back({2 * node.firstGroup, 2 * node.endGroup});
        uint32_t start = Emit({Op::Lookahead, node.negative ? uint8_t{1} : uint8_t{0}, 0, 0});
        CompileNode(node.children[0]);
        uint32_t end = Emit({Op::LookaheadEnd});
        Patch(start, end, lookahead);
    }

    void CompileAlternation(const PatternNode &node) {
        std::vector<uint32_t> jumps;
        for (size_t i = 0; i + 1 < node.children.size(); ++i) {
            uint32_t split = Emit({Op::Split});
            CompileNode(node.children[i]);
            jumps.push_back(Emit({Op::Jump}));
            Patch(split, split + 1, Here());
        }
        CompileNode(node.children.back());
        for (uint32_t jump : jumps) {
            Patch(jump, Here(), 0);
        }
    }

    // One iteration of a loop body: clear its groups, match it, and when the loop may stop
    // here anyway (optional iterations), refuse an iteration that consumed nothing.
    void CompileIteration(uint32_t index, const PatternNode &node, bool optional) {
        uint32_t reg = kNoRegister;
        if (optional && Nullable(node.children[0])) {
            if (loopRegister_[index] == kNoRegister) {
                loopRegister_[index] = nextSlot_++;
            }
            reg = loopRegister_[index];
            Emit({Op::LoopStart, 0, reg, 0});
            uint32_t parent = openSpans_.empty() ? UINT32_MAX : openSpans_.back();
            openSpans_.push_back(static_cast<uint32_t>(program_.loopSpans.size()));
            program_.loopSpans.push_back({reg, parent});
        }
        if (node.endGroup > node.firstGroup) {
            Emit({Op::ClearSlots, 0, 2 * node.firstGroup, 2 * node.endGroup});
        }
        CompileNode(node.children[0]);
        if (reg != kNoRegister) {
            Emit({Op::LoopCheck, 0, reg, 0});
            openSpans_.pop_back();
        }
    }

    void PatchChoice(uint32_t split, uint32_t body, uint32_t exit, bool greedy) {
        if (greedy) {
            Patch(split, body, exit);
        } else {
            Patch(split, exit, body);
        }
    }

    void CompileRepeat(uint32_t index, const PatternNode &node) {
        for (uint32_t i = 0; i < node.min && SpendCopy(); ++i) {
            CompileIteration(index, node, false);
        }
        if (node.max == kUnbounded) {
            uint32_t split = Emit({Op::Split});
            CompileIteration(index, node, true);
            Emit({Op::Jump, 0, split, 0});
            PatchChoice(split, split + 1, Here(), node.greedy);
            return;
        }
        std::vector<uint32_t> splits;
        for (uint32_t i = node.min; i < node.max && SpendCopy(); ++i) {
            splits.push_back(Emit({Op::Split}));
            CompileIteration(index, node, true);
        }
        for (uint32_t split : splits) {
            PatchChoice(split, split + 1, Here(), node.greedy);
        }
    }

    const PatternTree &tree_;
    Options options_;
    Program &program_;
    std::vector<int8_t> nullable_;
    std::vector<uint32_t> loopRegister_; // per Repeat node, when its body can match empty
    std::vector<uint32_t> openSpans_;    // the LoopSpans being emitted, innermost last
    uint32_t nextSlot_ = 0;
    size_t copies_ = 0;
    bool tooLarge_ = false;
};

} // namespace

CompileError CompileTree(const PatternTree &tree, Options options, Program &program) {
    return Compiler(tree, options, program).Run();
}

} // namespace RegexEngine
