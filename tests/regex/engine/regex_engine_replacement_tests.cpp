// The replacement text of one match: group references with the two-digit rule, the match and
// its surroundings, and everything else kept as written.
#include "regex/engine/regex_engine.h"

#include <gtest/gtest.h>

namespace {

std::u16string Expand(std::u16string_view pattern, std::u16string_view subject,
                      std::u16string_view replacement) {
    RegexEngine::CompileResult compiled = RegexEngine::Compile(pattern, {});
    EXPECT_NE(compiled.program, nullptr);
    RegexEngine::Captures captures;
    EXPECT_EQ(RegexEngine::Search(*compiled.program, subject, 0, captures),
              RegexEngine::SearchResult::Found);
    return RegexEngine::ExpandReplacement(replacement, subject, captures,
                                          RegexEngine::GroupCount(*compiled.program));
}

TEST(RegexEngineReplacement, SubstitutesGroupsMatchAndSurroundings) {
    EXPECT_EQ(Expand(u"(\\w+) (\\w+)", u"<john smith>", u"$2, $1"), u"smith, john");
    EXPECT_EQ(Expand(u"b+", u"abbc", u"[$&]"), u"[bb]");
    EXPECT_EQ(Expand(u"b+", u"abbc", u"[$`|$']"), u"[a|c]");
    EXPECT_EQ(Expand(u"b", u"abc", u"$$1"), u"$1");
    EXPECT_EQ(Expand(u"(a)|b", u"b", u"<$1>"), u"<>");
}

TEST(RegexEngineReplacement, TwoDigitReferencesOnlyWhenThatGroupExists) {
    const std::u16string_view eleven = u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)";
    EXPECT_EQ(Expand(eleven, u"abcdefghijk", u"$11-$10-$1"), u"k-j-a");
    EXPECT_EQ(Expand(u"(a)", u"a", u"$10"), u"a0");
    EXPECT_EQ(Expand(u"(a)", u"a", u"$01"), u"a");
    EXPECT_EQ(Expand(u"(a)", u"a", u"$2$0$"), u"$2$0$");
    EXPECT_EQ(Expand(u"(a)", u"a", u"$x$"), u"$x$");
}

TEST(RegexEngineReplacement, CapturesOfNoMatchGiveEmptyReferencesNotACrash) {
    RegexEngine::Captures none;
    EXPECT_EQ(RegexEngine::ExpandReplacement(u"<$&|$`|$'|$1>", u"abc", none, 1), u"<|||>");
    none.slots.assign(4, -1);
    EXPECT_EQ(RegexEngine::ExpandReplacement(u"<$&|$`|$'|$1>", u"abc", none, 1), u"<|||>");
    RegexEngine::Captures stale;
    stale.slots = {5, 9, 6, 7}; // from a longer subject
    EXPECT_EQ(RegexEngine::ExpandReplacement(u"<$&$1>", u"abc", stale, 1), u"<>");
}

} // namespace
