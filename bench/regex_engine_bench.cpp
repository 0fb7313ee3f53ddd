// Times the regular-expression engine natively: the downloader's pattern over a 4 MiB page
// with the track list at its end, and the linear matcher on 10 MiB subjects, beside a baseline
// of the same run (std::u16string_view::find of the list's opening over the same page).
// Prints the median of several runs in milliseconds. Build without sanitizers for figures
// that mean anything (build/bench, as bench/run-kernel configures it).
#include "regex/engine/regex_engine.h"

#include "bench/median_time.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kRuns = 7;
constexpr size_t kPageUnits = 4u << 20;  // mostly ASCII markup: about one unit a byte
constexpr size_t kLargeUnits = 5u << 20; // 10 MiB of UTF-16

constexpr std::u16string_view kTrackListPattern =
    u"var list=\\[\\{title:\"(.*?)\",artist:\"-\",m4a: s_str\\+\"(.*?).m4a\"\\}\\]";

std::u16string MakePage() {
    std::u16string page = u"<html><head><title>\u821e\u66f2</title></head><body>\n";
    for (size_t i = 0; page.size() < kPageUnits; ++i) {
        page += u"<li><a href=\"/dance/play/" + std::u16string(1, u'0' + i % 10) +
                u".html\" title=\"\u4e0b\u8f7d DJ\">mix " + std::u16string(1, u'a' + i % 26) +
                u"</a> var s=\"x\";</li>\r\n";
    }
    page += u"<script>var list=[{title:\"DJ \u821e\u66f2\",artist:\"-\",m4a: "
            u"s_str+\"/2024/01/abc123.m4a\"}];</script></body></html>\n";
    return page;
}

void TimePattern(const char *name, std::u16string_view pattern, std::u16string_view subject,
                 RegexEngine::Options options, double baseline) {
    RegexEngine::CompileResult compiled = RegexEngine::Compile(pattern, options);
    if (!compiled.program) {
        std::printf("%-44s refused\n", name);
        return;
    }
    RegexEngine::SearchResult result = RegexEngine::SearchResult::NotFound;
    double ms = MedianMilliseconds(kRuns, [&] {
        RegexEngine::Captures captures;
        result = RegexEngine::Search(*compiled.program, subject, 0, captures);
    });
    const char *outcome = result == RegexEngine::SearchResult::Found      ? "found"
                          : result == RegexEngine::SearchResult::NotFound ? "not found"
                                                                          : "budget exhausted";
    std::printf("%-44s %9.2f ms  %7.2f x baseline  %s\n", name, ms, ms / baseline, outcome);
}

} // namespace

int main() {
    const std::u16string page = MakePage();
    size_t found = 0;
    double baseline = MedianMilliseconds(kRuns, [&] { found = page.find(u"var list=[{title:\""); });
    std::printf("baseline: find of the list's opening in %zu units: %.2f ms (at %zu)\n",
                page.size(), baseline, found);
    TimePattern("downloader pattern, 4 MiB page", kTrackListPattern, page, {}, baseline);
    TimePattern("downloader pattern, IgnoreCase + Multiline", kTrackListPattern, page,
                {.ignoreCase = true, .multiline = true}, baseline);

    std::u16string ab(kLargeUnits, u'a');
    for (size_t i = 1; i < ab.size(); i += 2) {
        ab[i] = u'b';
    }
    ab.back() = u'c';
    std::u16string y(kLargeUnits, u'y');
    y.back() = u'x';
    std::u16string quoted(kLargeUnits, u'y');
    quoted.back() = u'"';
    TimePattern("(a|b)*c, 10 MiB", u"(a|b)*c", ab, {}, baseline);
    TimePattern("(.*?)x, 10 MiB", u"(.*?)x", y, {}, baseline);
    TimePattern("([^\"]*)\", 10 MiB", u"([^\"]*)\"", quoted, {}, baseline);
    // A lookahead that reads to the end at every position, and three nested ones over 1 MiB.
    TimePattern("(?=.*x)a, 20,000 units", u"(?=.*x)a", std::u16string(20'000, u'a'), {}, baseline);
    TimePattern("3 nested lookaheads, 1 Mi units", u"(?=(?=(?=[\\s\\S]*c)[\\s\\S]*b)[\\s\\S]*a)z",
                std::u16string(1u << 20, u'z'), {}, baseline);
    // How long the default step budget lets a hostile back-reference pattern run.
    TimePattern("(a*)*\\1b on 30 a, default budget", u"(a*)*\\1b", std::u16string(30, u'a'), {},
                baseline);
    return 0;
}
