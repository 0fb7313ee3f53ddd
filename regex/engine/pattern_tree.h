// PatternTree: the parsed form of a pattern, nodes in one arena and children by index, so
// that neither building nor destroying it recurses.
#pragma once

#include "regex/engine/char_class.h"

#include <cstdint>
#include <vector>

namespace RegexEngine {

enum class AssertKind : uint8_t {
    SubjectStart,
    LineStart, // ^ with Multiline
    SubjectEnd,
    LineEnd, // $ with Multiline
    WordBoundary,
    NotWordBoundary,
};

constexpr uint32_t kUnbounded = UINT32_MAX;

struct PatternNode {
    enum class Kind : uint8_t {
        Empty,
        Unit, // value: the UTF-16 unit
        AnyButLineFeed,
        Class,         // value: index into PatternTree::classes
        Assert,        // assertKind
        Group,         // value: group number, 0 for a non-capturing group; one child
        Lookahead,     // negative; one child
        BackReference, // value: group number
        Concat,
        Alternation,
        Repeat, // min, max, greedy; one child
    };
    Kind kind = Kind::Empty;
    AssertKind assertKind = AssertKind::SubjectStart;
    bool negative = false;
    bool greedy = true;
    uint32_t value = 0;
    uint32_t min = 0;
    uint32_t max = 0;
    // Capturing groups numbered inside this node: [firstGroup, endGroup).
    uint32_t firstGroup = 0;
    uint32_t endGroup = 0;
    std::vector<uint32_t> children;
};

struct PatternTree {
    std::vector<PatternNode> nodes;
    std::vector<CharClass> classes; // sealed, already closed under folding for IgnoreCase
    uint32_t root = 0;
    uint32_t groupCount = 0;
    bool hasBackReferences = false;
};

} // namespace RegexEngine
