// RegexEngine: the program's own regular-expression engine, used by its automation component
// where the platform's scripting component is missing. It speaks the dialect of that component
// (VBScript regular expressions) over UTF-16 text, the component's own string unit, so that
// positions and lengths come out in UTF-16 units exactly as the component reports them.
//
// Patterns without back-references run in time linear in the subject (an automaton simulation
// with capture slots and thread priorities, giving the leftmost match that backtracking would
// give, greedy or lazy), lookaheads at any depth included: whether a lookahead holds is worked
// out once per instruction and position for the whole search. Patterns with back-references run
// on a backtracking matcher with an explicit heap stack. Every search has one budget of steps
// and one bound of working memory across all its nesting levels; a search that would pass
// either fails (BudgetExhausted) instead of running for hours or taking a gigabyte. Neither
// path recurses on the subject's length.
//
// Portable: no <windows.h>; builds and is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace RegexEngine {

struct Options {
    bool ignoreCase = false;
    bool multiline = false; // ^ and $ also match at line breaks
};

// Why a pattern was refused, one reason per message of the platform component.
enum class CompileError {
    None,
    Syntax,               // "Syntax error in regular expression"
    UnexpectedQuantifier, // a quantifier with nothing to repeat, or quantifier after quantifier
    ExpectedBracket,      // "Expected ']' in regular expression"
    ExpectedParenthesis,  // "Expected ')' in regular expression"
    InvalidRange,         // "Invalid range in character set"
};

class Program;

struct CompileResult {
    std::shared_ptr<const Program> program; // null when error != None
    CompileError error = CompileError::None;
};

CompileResult Compile(std::u16string_view pattern, Options options);

// Number of capturing groups of a compiled pattern (not counting the whole match).
uint32_t GroupCount(const Program &program);

// Whether the pattern has back-references (and so runs on the backtracking matcher).
bool HasBackReferences(const Program &program);

// Where a match and its groups lie: begin/end pairs in UTF-16 units, group 0 first;
// -1 for a group that took no part in the match.
struct Captures {
    std::vector<int32_t> slots; // 2 * (GroupCount + 1) entries after a match
    int32_t begin(uint32_t group) const { return slots[2 * group]; }
    int32_t end(uint32_t group) const { return slots[2 * group + 1]; }
};

enum class SearchResult {
    Found,
    NotFound,
    BudgetExhausted, // the search gave up (steps or memory); callers treat it as a failure
};

// The leftmost match that starts at or after `start` in `subject` (the whole subject stays
// visible, so ^, \b and \B see the text before `start`).
SearchResult Search(const Program &program, std::u16string_view subject, size_t start,
                    Captures &captures);

// Which matcher runs a search. Automatic picks the linear matcher unless the pattern has
// back-references; the other two force one matcher (tests compare them on the same pattern).
enum class Matcher {
    Automatic,
    Linear, // refused (NotFound) for a pattern with back-references
    Backtracking,
};

// The back-reference matcher's default step budget: far more than any sound pattern needs on
// a page of several MiB, yet a bound on the work of a hostile pattern.
constexpr uint64_t kDefaultStepBudget = 100'000'000;

// The linear matcher's steps per subject unit searched, as a multiple of the program's size.
// The simulation itself takes at most about two per instruction and unit, and the lookahead
// memo a few for ordinary lookaheads; what passes this is the runs that find the groups of
// lookaheads again at every position, or lookahead bodies that each unit leads back into whole,
// and such a search fails as too complex.
constexpr uint64_t kLinearStepsPerUnitAndInstruction = 8;

// The working memory one search may take (matcher tables, the lookahead memo, stacks), beside
// the subject and the program.
constexpr size_t kDefaultSearchBytes = size_t{128} << 20;

struct SearchControl {
    Matcher matcher = Matcher::Automatic;
    // The backtracking matcher's steps; the linear matcher's steps beyond its allowance of
    // kLinearStepsPerUnitAndInstruction x program size per unit from the start on.
    uint64_t stepBudget = kDefaultStepBudget;
    size_t byteBudget = kDefaultSearchBytes;
};

// What a search cost: machine steps (instructions the matcher executed, including those of
// lookahead runs and of the lookahead memo). Tests use it to show linear growth without
// measuring time.
struct SearchStats {
    uint64_t steps = 0;
};

SearchResult Search(const Program &program, std::u16string_view subject, size_t start,
                    Captures &captures, const SearchControl &control, SearchStats *stats);

// The replacement text for one match: $1..$99 (a two-digit group when the pattern has that
// many, else one digit), $& the match, $` the text before it, $' the text after it, $$ a
// dollar sign; anything else stays as written.
std::u16string ExpandReplacement(std::u16string_view replacement, std::u16string_view subject,
                                 const Captures &captures, uint32_t groupCount);

} // namespace RegexEngine
