// Cost bounds without timing: the linear matcher's steps grow in proportion to the subject on
// patterns that make backtracking explode, lookaheads included, every search stops at its budget
// of steps and memory, and a 10 MiB subject needs no deep stack.
#include "regex/engine/regex_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

namespace {

using RegexEngine::SearchResult;

struct Measured {
    SearchResult result;
    uint64_t steps;
    RegexEngine::Captures captures;
};

Measured Measure(std::u16string_view pattern, std::u16string_view subject,
                 RegexEngine::SearchControl control = {}) {
    RegexEngine::CompileResult compiled = RegexEngine::Compile(pattern, {});
    EXPECT_NE(compiled.program, nullptr);
    Measured measured{};
    RegexEngine::SearchStats stats;
    measured.result =
        RegexEngine::Search(*compiled.program, subject, 0, measured.captures, control, &stats);
    measured.steps = stats.steps;
    return measured;
}

TEST(RegexEngineLinearTime, PathologicalPatternsTakeStepsProportionalToTheSubject) {
    struct Case {
        std::u16string_view pattern;
        char16_t filler;
    };
    const Case cases[] = {
        {u"(a*)*b", u'a'},
        {u"(a|a)*b", u'a'},
        {u"(a|aa)*c", u'a'},
        {u"(x+x+)+y", u'x'},
        {u"(.*)*x", u'a'},
        {u"^(a?){25}a{25}$", u'a'},
        // A lookahead reading to the end at every position, and three nested ones.
        {u"(?=.*x)a", u'a'},
        {u"(?=(?=(?=.*c).*b).*a)z", u'z'},
    };
    for (const Case &c : cases) {
        const size_t n = 2000;
        Measured small = Measure(c.pattern, std::u16string(n, c.filler));
        Measured large = Measure(c.pattern, std::u16string(2 * n, c.filler));
        EXPECT_EQ(small.result, SearchResult::NotFound);
        EXPECT_EQ(large.result, SearchResult::NotFound);
        EXPECT_GT(small.steps, n);
        EXPECT_LE(large.steps, 2.2 * small.steps + 1000)
            << std::string(c.pattern.begin(), c.pattern.end()) << ": " << small.steps << " then "
            << large.steps;
    }
}

// The processor time this thread has used, in seconds: a measure of the search's work that does
// not come from the engine's own step counter.
double ThreadProcessorSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME &time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
#else
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
#endif
}

// The least processor time of runs searches of pattern in size fillers.
double SearchSeconds(std::u16string_view pattern, char16_t filler, size_t size, int runs) {
    const std::u16string subject(size, filler);
    double least = 1e9;
    for (int run = 0; run < runs; ++run) {
        const double start = ThreadProcessorSeconds();
        Measure(pattern, subject);
        least = std::min(least, ThreadProcessorSeconds() - start);
    }
    return least;
}

// Two of these patterns timed by the processor: a subject four times as long costs at most ten
// times as much (a quadratic search would cost sixteen times). The shorter subject is made long
// enough to cost 50 ms, well above the clock's tick.
TEST(RegexEngineLinearTime, PathologicalPatternsTakeProcessorTimeProportionalToTheSubject) {
    for (std::u16string_view pattern : {u"(a*)*b", u"(a|aa)*c"}) {
        size_t size = 2000;
        double small = SearchSeconds(pattern, u'a', size, 1);
        while (small < 0.05 && size < (size_t{1} << 22)) {
            size *= 2;
            small = SearchSeconds(pattern, u'a', size, 1);
        }
        small = SearchSeconds(pattern, u'a', size, 3);
        const double large = SearchSeconds(pattern, u'a', 4 * size, 3);
        std::printf("%s: %.3f s on %zu units, %.3f s on four times as many\n",
                    std::string(pattern.begin(), pattern.end()).c_str(), small, size, large);
        EXPECT_LE(large, 10 * small) << std::string(pattern.begin(), pattern.end()) << ": " << small
                                     << " s on " << size << " units, then " << large;
    }
}

TEST(RegexEngineLinearTime, StepsOfTheClassicExplosionArePrinted) {
    // The figures behind the proportionality above, for the record of a run.
    Measured n = Measure(u"(a*)*b", std::u16string(1000, u'a'));
    Measured twice = Measure(u"(a*)*b", std::u16string(2000, u'a'));
    std::printf("(a*)*b: %llu steps on 1000 units, %llu on 2000\n",
                static_cast<unsigned long long>(n.steps),
                static_cast<unsigned long long>(twice.steps));
    EXPECT_LE(twice.steps, 2.2 * n.steps + 1000);
}

TEST(RegexEngineBudget, BackReferenceExplosionStopsAtTheBudget) {
    RegexEngine::SearchControl control;
    control.stepBudget = 100'000;
    Measured exploded = Measure(u"(a*)*\\1b", std::u16string(30, u'a'), control);
    EXPECT_EQ(exploded.result, SearchResult::BudgetExhausted);
    EXPECT_LE(exploded.steps, 100'001u);

    Measured fine = Measure(u"(a+)\\1b", u"aaaab", control);
    EXPECT_EQ(fine.result, SearchResult::Found);
    EXPECT_EQ(fine.captures.begin(0), 0);
    EXPECT_EQ(fine.captures.end(1), 2);
}

// Nested lookaheads over 1 MiB of units stay within the linear matcher's allowance of steps
// and the search's memory; lookaheads whose groups must be found again at every position, and
// a search given too little memory, fail as too complex instead of running on.
TEST(RegexEngineBudget, LookaheadsStayLinearOrFailAtTheBudget) {
    const std::u16string mebi(1 << 20, u'z');
    Measured nested = Measure(u"(?=(?=(?=[\\s\\S]*c)[\\s\\S]*b)[\\s\\S]*a)z", mebi);
    EXPECT_EQ(nested.result, SearchResult::NotFound);
    std::u16string found = mebi;
    found[found.size() - 3] = u'a';
    found[found.size() - 2] = u'b';
    found.back() = u'c';
    Measured holds = Measure(u"(?=(?=(?=[\\s\\S]*c)[\\s\\S]*b)[\\s\\S]*a)(z)", found);
    ASSERT_EQ(holds.result, SearchResult::Found);
    EXPECT_EQ(holds.captures.begin(1), 0);

    RegexEngine::SearchControl control;
    control.stepBudget = 1'000'000;
    Measured regrouped = Measure(u"(?=(.*))a$", std::u16string(20'000, u'a') + u"b", control);
    EXPECT_EQ(regrouped.result, SearchResult::BudgetExhausted);
    EXPECT_LT(regrouped.steps, 20'000'000u);
    Measured grouped = Measure(u"(?=(.*))a$", u"aab", control);
    EXPECT_EQ(grouped.result, SearchResult::NotFound);

    RegexEngine::SearchControl small;
    small.byteBudget = 1 << 20;
    EXPECT_EQ(Measure(u"(?=[\\s\\S]*c)z", mebi, small).result, SearchResult::BudgetExhausted);
    EXPECT_EQ(Measure(u"(?=[\\s\\S]*c)z", u"zzc", small).result, SearchResult::Found);
}

TEST(RegexEngineBudget, LinearMatcherRefusesBackReferences) {
    RegexEngine::SearchControl control;
    control.matcher = RegexEngine::Matcher::Linear;
    EXPECT_EQ(Measure(u"(a)\\1", u"aa", control).result, SearchResult::NotFound);
    EXPECT_EQ(Measure(u"(a)\\1", u"aa").result, SearchResult::Found);
}

TEST(RegexEngineLargeSubject, TenMebibytesNeedNoDeepStack) {
    const size_t units = 10 * 1024 * 1024 / 2;
    std::u16string ab(units, u'a');
    for (size_t i = 1; i < units; i += 2) {
        ab[i] = u'b';
    }
    ab.back() = u'c';
    Measured alternation = Measure(u"(a|b)*c", ab);
    ASSERT_EQ(alternation.result, SearchResult::Found);
    EXPECT_EQ(alternation.captures.end(0), static_cast<int32_t>(units));
    EXPECT_EQ(alternation.captures.begin(1), static_cast<int32_t>(units - 2));

    std::u16string text(units, u'y');
    text.back() = u'x';
    Measured lazy = Measure(u"(.*?)x", text);
    ASSERT_EQ(lazy.result, SearchResult::Found);
    EXPECT_EQ(lazy.captures.end(1), static_cast<int32_t>(units - 1));

    text.back() = u'"';
    Measured quoted = Measure(u"([^\"]*)\"", text);
    ASSERT_EQ(quoted.result, SearchResult::Found);
    EXPECT_EQ(quoted.captures.end(1), static_cast<int32_t>(units - 1));

    // The backtracking matcher on the same subject: its choice points live on the heap.
    RegexEngine::SearchControl backtrack;
    backtrack.matcher = RegexEngine::Matcher::Backtracking;
    Measured deep = Measure(u"(y|z)*x", std::u16string(1'000'000, u'y') + u"x", backtrack);
    ASSERT_EQ(deep.result, SearchResult::Found);
    EXPECT_EQ(deep.captures.end(0), 1'000'001);
}

} // namespace
