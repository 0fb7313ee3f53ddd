// ParsePattern: turns pattern text of the VBScript/ECMAScript 3 dialect into a PatternTree, or
// names the first syntax error.
#pragma once

#include "regex/engine/pattern_tree.h"
#include "regex/engine/regex_engine.h"

#include <string_view>

namespace RegexEngine {

// Deepest nesting of groups and lookaheads accepted; deeper patterns are a Syntax error, so
// that neither parsing nor compiling can exhaust the stack.
constexpr int kMaxNesting = 200;

struct ParseResult {
    PatternTree tree;
    CompileError error = CompileError::None;
};

ParseResult ParsePattern(std::u16string_view pattern, Options options);

} // namespace RegexEngine
