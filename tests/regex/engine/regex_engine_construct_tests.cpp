// Each construct of the dialect, matched by both matchers: escapes, classes, quantifiers,
// alternation, groups and their captures, back-references, lookahead and anchors.
#include "tests/regex/engine/regex_test_support.h"

using RegexEngineTest::Exec;
using RegexEngineTest::ExpectTable;

namespace {

TEST(RegexEngineEscapes, StandForTheirUnitsAndSets) {
    ExpectTable({
        {u"abc", u"xxabcxx", "abc"},
        {u"a\\.c", u"abc a.c", "a.c"},
        {u"\\d+", u"ab123c", "123"},
        {u"\\D+", u"12ab3", "ab"},
        {u"\\w+", u"  foo_1 ", "foo_1"},
        {u"\\W+", u"ab, cd", ", "},
        {u"\\s+", u"a \t\f\v\r\nb", " \\u0009\\u000C\\u000B\\u000D\\u000A"},
        {u"\\S+", u"  xy ", "xy"},
        {u"a\\nb\\tc", u"a\nb\tc", "a\\u000Ab\\u0009c"},
        {u"\\x41\\u0042", u"zAB", "AB"},
        {u"\\101\\60", u"A0", "A0"},
        {u"\\cJ", u"\n", "\\u000A"},
        {u"\\xZ\\u12", u"xZu12", "xZu12"},
        {u"\\q\\/\\[\\]\\(\\)\\{\\}\\*\\+\\?\\|\\^\\$\\\\", u"q/[](){}*+?|^$\\",
         "q/[](){}*+?|^$\\"},
        {u"\\c1", u"\\c1", "\\c1"},
    });
}

TEST(RegexEngineEscapes, OctalZeroIsTheNulUnit) {
    std::u16string subject(u"a\0b", 3);
    EXPECT_EQ(Exec(u"a\\0b", subject).text, "a\\u0000b");
    EXPECT_EQ(Exec(u"\\377", u"\u00FF").text, "\\u00FF");
    EXPECT_EQ(Exec(u"\\400", u"\u00200").text, " 0"); // \40 then the digit 0
}

TEST(RegexEngineEscapes, WhiteSpaceIsTheDocumentedSixUnits) {
    ExpectTable({
        {u"\\s", u"\u00A0\u3000\u2028", "NO MATCH"},
        {u"\\S+", u"\u00A0\u3000 ", "\\u00A0\\u3000"},
    });
}

TEST(RegexEngineClasses, MatchRangesNegationAndEscapes) {
    ExpectTable({
        {u"[a-c]+", u"xxabcd", "abc"},
        {u"[^a-c]+", u"abxyc", "xy"},
        {u"[\\d.]+", u"a1.2b", "1.2"},
        {u"[\\w-]+", u"a-b c", "a-b"},
        {u"[\\d-z]+", u"5-zq", "5-z"},
        {u"[\\d-a-c]+", u"x-b5c", "-b5c"},
        {u"[a-]+", u"-a-b", "-a-"},
        {u"[\\b]", u"\b", "\\u0008"},
        {u"[\\x41-\\x43]+", u"ABCD", "ABC"},
        {u"[\\D]+", u"12ab3", "ab"},
        {u"[^\\W]+", u"..ab_1..", "ab_1"},
        {u"[\\]]", u"]", "]"},
        {u"[.]", u"a.", "."},
        {u"[]a]", u"]a", "NO MATCH"},
        {u"[^]", u"\n", "\\u000A"},
        {u"[\u4e00-\u9fa5]+", u"ab\u4e2d\u6587cd", "\\u4E2D\\u6587"},
    });
}

TEST(RegexEngineDot, MatchesAnythingButALineFeed) {
    ExpectTable({
        {u".", u"\n", "NO MATCH"},
        {u".+", u"ab\r\ncd", "ab\\u000D"},
        {u".+", u"\u2028x", "\\u2028x"},
    });
}

TEST(RegexEngineQuantifiers, GreedyTakeMostLazyTakeLeast) {
    ExpectTable({
        {u"a*", u"aaa", "aaa"},
        {u"a*?", u"aaa", ""},
        {u"a+?", u"aaa", "a"},
        {u"a??b", u"ab", "ab"},
        {u"a{2}", u"aaa", "aa"},
        {u"a{2,}", u"aaaa", "aaaa"},
        {u"a{1,2}", u"aaa", "aa"},
        {u"a{2,3}?", u"aaaa", "aa"},
        {u"a{2,}?", u"aaaa", "aa"},
        {u"a{0}b", u"ab", "b"},
        {u"<.*>", u"<a><b>", "<a><b>"},
        {u"<.*?>", u"<a><b>", "<a>"},
        {u"(a+)(a*)", u"aaa", "aaa|aaa|"},
        {u"(a+?)(a*)", u"aaa", "aaa|a|aa"},
        {u"x*", u"yx", ""},
        {u"a{3}", u"aa", "NO MATCH"},
    });
}

TEST(RegexEngineQuantifiers, BracesThatAreNoQuantifierAreLiterals) {
    ExpectTable({
        {u"a{,2}", u"a{,2}", "a{,2}"},
        {u"x{a}", u"x{a}", "x{a}"},
        {u"a}", u"a}", "a}"},
        {u"a{1", u"a{1", "a{1"},
        {u"]", u"]", "]"},
    });
}

TEST(RegexEngineAlternation, TakesTheFirstAlternativeThatLeadsToAMatch) {
    ExpectTable({
        {u"a|ab", u"abc", "a"},
        {u"ab|a", u"abc", "ab"},
        {u"(a|ab)(c|bcd)", u"abcd", "abcd|a|bcd"},
        {u"x|", u"y", ""},
        {u"|x", u"x", ""},
        {u"b|a", u"ab", "a"},
    });
}

TEST(RegexEngineGroups, CaptureTheLastIterationAndResetEachIteration) {
    ExpectTable({
        {u"(a)|b", u"b", "b|(unset)"},
        {u"(z)((a+)?(b+)?(c))*", u"zaacbbbcac", "zaacbbbcac|z|ac|a|(unset)|c"},
        {u"(a|b)*", u"ab", "ab|b"},
        {u"(?:(a)|b)+", u"ab", "ab|(unset)"},
        {u"(a)?", u"b", "|(unset)"},
        {u"((a)|(b))+", u"ab", "ab|b|(unset)|b"},
        {u"(?:a(b)?)+", u"aba", "aba|(unset)"},
        {u"(.)*", u"abc", "abc|c"},
        {u"(a){2}", u"aa", "aa|a"},
        {u"(?:(a)|(b)){2}", u"ab", "ab|(unset)|b"},
    });
}

TEST(RegexEngineGroups, AnIterationBeyondTheMinimumMustConsume) {
    ExpectTable({
        {u"(a*)*", u"b", "|(unset)"},
        {u"(a*)+", u"b", "|"},
        {u"(a*)*b", u"aab", "aab|aa"},
        {u"(a|)*b", u"aab", "aab|a"},
        {u"(?:a?)*?b", u"ab", "ab"},
        {u"(a*?)*b", u"aab", "aab|a"},
        {u"(?:a|()){2}b", u"b", "b|"},
        {u"(?:(a)|b|())*c", u"abc", "abc|(unset)|(unset)"},
    });
}

TEST(RegexEngineBackReferences, MatchTheGroupsTextOrEmptyWhenUnset) {
    ExpectTable({
        {u"(a)\\1", u"aa", "aa|a"},
        {u"(\\w)\\1", u"abccd", "cc|c"},
        {u"(a)|\\1b", u"b", "b|(unset)"},
        {u"\\1(a)", u"aa", "a|a"},
        {u"(a\\1)", u"aa", "a|a"},
        {u"(?:(a)|b)\\1", u"ba", "b|(unset)"},
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10", u"abcdefghijj", "abcdefghijj|a|b|c|d|e|f|g|h|i|j"},
        {u"(?=(a+))a*b\\1", u"baaabac", "aba|a"},
        {u"(a)\\1", u"aA", "NO MATCH"},
    });
    ExpectTable(
        {{u"(a)\\1", u"aA", "aA|a"}, {u"(\u03C3)\\1", u"\u03C3\u03C2", "\\u03C3\\u03C2|\\u03C3"}},
        {.ignoreCase = true});
}

TEST(RegexEngineBackReferences, NumbersBeyondTheGroupsAreOctalOrLiteral) {
    ExpectTable({
        {u"(a)\\12", u"a\n", "a\\u000A|a"},
        {u"(a)\\11", u"a\t", "a\\u0009|a"},
        {u"\\141|(x)", u"a", "a|(unset)"},
        {u"(a)\\18", u"a\u00018", "a\\u00018|a"},
        {u"\\12", u"\n", "\\u000A"},
        {u"(a)\\8", u"a8", "a8|a"},
        {u"\\1", u"\u0001", "\\u0001"},
        {u"\\9", u"9", "9"},
        {u"[\\1]", u"\u0001", "\\u0001"},
        {u"(a)[\\1]", u"a1", "NO MATCH"},
    });
}

TEST(RegexEngineLookahead, TestsWithoutConsumingAndKeepsPositiveCaptures) {
    ExpectTable({
        {u"a(?=b)", u"acab", "a"},
        {u"a(?!b)", u"abac", "a"},
        {u"(?=(a+))", u"baaabac", "|aaa"},
        {u"(?!(a))b", u"b", "b|(unset)"},
        {u"(.*?)(?=c)", u"abcd", "ab|ab"},
        {u"(?=(a))?b", u"ab", "b|(unset)"},
        {u"(?=a)+a", u"a", "a"},
        {u"(?=(\\d+))\\w+", u"x123y", "123y|123"},
        {u"(?!a|b)\\w", u"abc", "c"},
        {u"(?=a(?=b))ab", u"aab", "ab"},
    });
    EXPECT_EQ(Exec(u"a(?=b)", u"acab").captures.begin(0), 2);
}

TEST(RegexEngineAnchors, CaretAndDollarAtSubjectEdgesOrLineBreaks) {
    ExpectTable({
        {u"^a", u"ba", "NO MATCH"},
        {u"^b", u"a\nb", "NO MATCH"},
        {u"a$", u"a\nb", "NO MATCH"},
        {u"^ab$", u"ab", "ab"},
        {u"^$", u"", ""},
    });
    ExpectTable(
        {
            {u"^b", u"a\nb", "b"},
            {u"^b", u"a\rb", "b"},
            {u"a$", u"a\nb", "a"},
            {u"a$", u"a\rb", "a"},
            {u"^\\w+$", u"a\r\nbc", "a"},
            {u"^c", u"ab", "NO MATCH"},
        },
        {.multiline = true});
    RegexEngineTest::Outcome empty = Exec(u"^$", u"a\n\nb", {.multiline = true});
    EXPECT_EQ(empty.text, "");
    EXPECT_EQ(empty.captures.begin(0), 2);
}

TEST(RegexEngineAnchors, WordBoundariesIncludingSubjectEdges) {
    ExpectTable({
        {u"\\bfoo\\b", u"foo", "foo"},
        {u"\\bfoo", u"afoo", "NO MATCH"},
        {u"foo\\b", u"foo_", "NO MATCH"},
        {u"\\b", u"", "NO MATCH"},
        {u"\\B", u"", ""},
        {u"\\b\\w", u"  x", "x"},
        {u"\\B\\w", u"ab", "b"},
        {u"\\w\\b", u"\u4e2da", "a"},
    });
}

TEST(RegexEngineStart, SeesTheTextBeforeTheStartPosition) {
    EXPECT_EQ(Exec(u"^a", u"aa", {}, 1).text, "NO MATCH");
    RegexEngineTest::Outcome inWord = Exec(u"\\Ba", u"aa", {}, 1);
    EXPECT_EQ(inWord.text, "a");
    EXPECT_EQ(inWord.captures.begin(0), 1);
    EXPECT_EQ(Exec(u"a", u"aa", {}, 3).text, "NO MATCH");
    EXPECT_EQ(Exec(u"$", u"aa", {}, 2).text, "");
}

} // namespace
