// CompileTree: turns a PatternTree into the instructions both matchers run, expanding counted
// repetition within a fixed size budget.
#pragma once

#include "regex/engine/compiled_program.h"

namespace RegexEngine {

// Largest program accepted (instructions), largest product of the linear matcher's thread
// states and slots (its two thread lists hold that many 32-bit positions each), and most
// states of its visited set. A pattern such as (?:a{1000}){1000} exceeds them and is refused
// as a Syntax error instead of eating memory: a search needs at most about 16 MB.
constexpr size_t kMaxInstructions = 100'000;
constexpr size_t kMaxThreadSlots = 1'000'000;
constexpr size_t kMaxMatcherStates = 1'000'000;

CompileError CompileTree(const PatternTree &tree, Options options, Program &program);

// Where matches can begin, for skipping ahead; part of compiling.
StartHint ComputeStartHint(const PatternTree &tree, Options options);

} // namespace RegexEngine
