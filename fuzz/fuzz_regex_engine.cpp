// Fuzz target for the regular-expression engine. The first byte chooses the mode:
// - even: the rest is a pattern of raw UTF-16 units (Compile must never crash on anything);
// - odd: the bytes pick a pattern from the dialect's constructs and a subject over a small
//   alphabet; for patterns without back-references the linear matcher and the backtracking
//   matcher must find the same match with the same captures at every start position the
//   component's global search would use.
#include "regex/engine/regex_engine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr const char16_t *kTokens[] = {
    u"a",     u"b",    u"c",     u".",    u"\\d",      u"\\w", u"\\s",   u"\\b",   u"\\B",
    u"^",     u"$",    u"[ab]",  u"[^a]", u"[a-c]",    u"(",   u"(?:",   u"(?=",   u"(?!",
    u")",     u"|",    u"*",     u"+",    u"?",        u"*?",  u"+?",    u"??",    u"{2}",
    u"{1,3}", u"{0,}", u"{2,}?", u"\\1",  u"\\2",      u"\\n", u"\\x41", u"A",     u")*",
    u")+",    u")?",   u"()",    u"\\W",  u"[\\s\\d]", u"a*",  u"(a|)",  u"{0,2}",
};
constexpr char16_t kSubjectUnits[] = {u'a', u'b', u'c', u'A', u'\n', u'\r', u' ', u'1', u'_'};
constexpr size_t kMaxSubject = 48;

struct Reader {
    const uint8_t *data;
    size_t size;
    size_t at = 0;
    bool Done() const { return at >= size; }
    uint8_t Next() { return at < size ? data[at++] : 0; }
};

void CheckAgreement(const RegexEngine::Program &program, std::u16string_view subject) {
    uint32_t groups = RegexEngine::GroupCount(program);
    size_t start = 0;
    while (start <= subject.size()) {
        RegexEngine::Captures linear;
        RegexEngine::Captures backtrack;
        RegexEngine::SearchControl control;
        control.matcher = RegexEngine::Matcher::Linear;
        RegexEngine::SearchResult linearResult =
            RegexEngine::Search(program, subject, start, linear, control, nullptr);
        control.matcher = RegexEngine::Matcher::Backtracking;
        control.stepBudget = 2'000'000;
        RegexEngine::SearchResult backtrackResult =
            RegexEngine::Search(program, subject, start, backtrack, control, nullptr);
        if (backtrackResult == RegexEngine::SearchResult::BudgetExhausted) {
            return;
        }
        if (linearResult != backtrackResult ||
            (linearResult == RegexEngine::SearchResult::Found && linear.slots != backtrack.slots)) {
            abort();
        }
        if (linearResult != RegexEngine::SearchResult::Found) {
            return;
        }
        RegexEngine::ExpandReplacement(u"$1$&$`$'$$$10$", subject, linear, groups);
        // The next search starts behind the match, one unit further after an empty match.
        size_t end = static_cast<size_t>(linear.end(0));
        start = linear.begin(0) == linear.end(0) ? end + 1 : end;
    }
}

void FuzzStructured(Reader &reader) {
    uint8_t flags = reader.Next();
    RegexEngine::Options options{.ignoreCase = (flags & 1) != 0, .multiline = (flags & 2) != 0};
    size_t tokens = reader.Next() % 16;
    std::u16string pattern;
    for (size_t i = 0; i < tokens; ++i) {
        pattern += kTokens[reader.Next() % std::size(kTokens)];
    }
    std::u16string subject;
    while (!reader.Done() && subject.size() < kMaxSubject) {
        subject.push_back(kSubjectUnits[reader.Next() % std::size(kSubjectUnits)]);
    }
    RegexEngine::CompileResult compiled = RegexEngine::Compile(pattern, options);
    if (!compiled.program) {
        return;
    }
    RegexEngine::Captures captures;
    RegexEngine::SearchControl control;
    control.stepBudget = 200'000;
    if (RegexEngine::Search(*compiled.program, subject, 0, captures, control, nullptr) ==
        RegexEngine::SearchResult::Found) {
        RegexEngine::ExpandReplacement(u"$2$'", subject, captures,
                                       RegexEngine::GroupCount(*compiled.program));
    }
    if (!RegexEngine::HasBackReferences(*compiled.program)) {
        CheckAgreement(*compiled.program, subject);
    }
}

void FuzzRawPattern(Reader &reader) {
    std::u16string pattern;
    while (reader.at + 1 < reader.size) {
        uint8_t low = reader.Next();
        pattern.push_back(static_cast<char16_t>(low | (reader.Next() << 8)));
    }
    RegexEngine::CompileResult compiled = RegexEngine::Compile(pattern, {.ignoreCase = true});
    if (compiled.program) {
        RegexEngine::Captures captures;
        RegexEngine::SearchControl control;
        control.stepBudget = 100'000;
        RegexEngine::Search(*compiled.program, u"ab\nAB 12_\u00E9\u4e2d", 0, captures, control,
                            nullptr);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Reader reader{data, size};
    if (reader.Next() % 2 == 0) {
        FuzzRawPattern(reader);
    } else {
        FuzzStructured(reader);
    }
    return 0;
}
