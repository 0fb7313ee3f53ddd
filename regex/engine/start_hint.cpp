// Where a match can begin: the literal every match starts with, or the set of units a match
// can start with, so that searches skip the rest of the subject without running a matcher.
#include "regex/engine/case_folding.h"
#include "regex/engine/program_compiler.h"

#include <algorithm>

namespace RegexEngine {
namespace {

struct FirstUnits {
    CharClass units;
    bool unknown = false; // a back-reference can begin with anything
};

// Adds the units node can begin with; returns whether node can match empty (then what follows
// it can begin a match as well).
bool AddFirstUnits(const PatternTree &tree, uint32_t index, FirstUnits &first) {
    const PatternNode &node = tree.nodes[index];
    switch (node.kind) {
    case PatternNode::Kind::Unit:
        first.units.AddRange(static_cast<char16_t>(node.value), static_cast<char16_t>(node.value));
        return false;
    case PatternNode::Kind::AnyButLineFeed:
        first.units.AddRange(0, u'\n' - 1);
        first.units.AddRange(u'\n' + 1, 0xFFFF);
        return false;
    case PatternNode::Kind::Class:
        first.units.AddClass(tree.classes[node.value]);
        return false;
    case PatternNode::Kind::BackReference:
        first.unknown = true;
        return true;
    case PatternNode::Kind::Empty:
    case PatternNode::Kind::Assert:
    case PatternNode::Kind::Lookahead:
        return true;
    case PatternNode::Kind::Group:
        return AddFirstUnits(tree, node.children[0], first);
    case PatternNode::Kind::Repeat:
        if (node.max == 0) {
            return true;
        }
        return AddFirstUnits(tree, node.children[0], first) || node.min == 0;
    case PatternNode::Kind::Concat:
        for (uint32_t child : node.children) {
            if (!AddFirstUnits(tree, child, first)) {
                return false;
            }
        }
        return true;
    case PatternNode::Kind::Alternation: {
        bool nullable = false;
        for (uint32_t child : node.children) {
            nullable = AddFirstUnits(tree, child, first) || nullable;
        }
        return nullable;
    }
    }
    return true;
}

std::u16string LiteralPrefix(const PatternTree &tree) {
    const PatternNode &root = tree.nodes[tree.root];
    std::u16string prefix;
    if (root.kind == PatternNode::Kind::Unit) {
        prefix.push_back(static_cast<char16_t>(root.value));
    } else if (root.kind == PatternNode::Kind::Concat) {
        for (uint32_t child : root.children) {
            if (tree.nodes[child].kind != PatternNode::Kind::Unit) {
                break;
            }
            prefix.push_back(static_cast<char16_t>(tree.nodes[child].value));
        }
    }
    return prefix;
}

} // namespace

StartHint ComputeStartHint(const PatternTree &tree, Options options) {
    StartHint hint;
    hint.prefix = LiteralPrefix(tree);
    if (options.ignoreCase) {
        for (char16_t &unit : hint.prefix) {
            hint.foldPrefix = hint.foldPrefix || HasCasePartner(unit);
            unit = Canonicalize(unit);
        }
    }
    if (hint.foldPrefix) {
        // The units whose canonical form is the prefix's first unit: at most three (sigma).
        std::fill(std::begin(hint.prefixStarts), std::end(hint.prefixStarts), hint.prefix[0]);
        size_t count = 1;
        ForEachFoldingUnit([&](char16_t unit) {
            if (unit != hint.prefix[0] && Canonicalize(unit) == hint.prefix[0] && count < 3) {
                hint.prefixStarts[count++] = unit;
            }
        });
    }
    if (!hint.prefix.empty()) {
        return hint;
    }
    FirstUnits first;
    bool nullable = AddFirstUnits(tree, tree.root, first);
    if (options.ignoreCase) {
        first.units.CloseUnderFolding();
    }
    first.units.Seal();
    hint.useFirstUnits = !nullable && !first.unknown;
    hint.firstUnits = std::move(first.units);
    return hint;
}

} // namespace RegexEngine
