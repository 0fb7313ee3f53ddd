// Patterns the engine refuses, each with the reason the component reports, including
// hostile ones that must be refused quickly instead of exhausting the stack or memory.
#include "regex/engine/regex_engine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using RegexEngine::CompileError;

CompileError ErrorOf(std::u16string_view pattern) {
    RegexEngine::CompileResult result = RegexEngine::Compile(pattern, {});
    EXPECT_EQ(result.program == nullptr, result.error != CompileError::None);
    return result.error;
}

TEST(RegexEngineCompileErrors, NameTheReasonOfEachSyntaxError) {
    struct Case {
        std::u16string_view pattern;
        CompileError expected;
    };
    const Case cases[] = {
        {u"(a", CompileError::ExpectedParenthesis},
        {u"((a)", CompileError::ExpectedParenthesis},
        {u"(?:a", CompileError::ExpectedParenthesis},
        {u"a)", CompileError::Syntax},
        {u"[a", CompileError::ExpectedBracket},
        {u"[\\", CompileError::ExpectedBracket},
        {u"[a-", CompileError::ExpectedBracket},
        {u"*a", CompileError::UnexpectedQuantifier},
        {u"a**", CompileError::UnexpectedQuantifier},
        {u"a*??", CompileError::UnexpectedQuantifier},
        {u"a{2}{3}", CompileError::UnexpectedQuantifier},
        {u"a|*", CompileError::UnexpectedQuantifier},
        {u"(*)", CompileError::UnexpectedQuantifier},
        {u"^*", CompileError::UnexpectedQuantifier},
        {u"$+", CompileError::UnexpectedQuantifier},
        {u"\\b+", CompileError::UnexpectedQuantifier},
        {u"{2}", CompileError::UnexpectedQuantifier},
        {u"a{3,1}", CompileError::Syntax},
        {u"[z-a]", CompileError::InvalidRange},
        {u"[\\x42-\\x41]", CompileError::InvalidRange},
        {u"[1-\\d]", CompileError::InvalidRange},
        {u"[a-\\W]", CompileError::InvalidRange},
        {u"a\\", CompileError::Syntax},
        {u"(?<a)", CompileError::Syntax},
        {u"(?", CompileError::Syntax},
        {u"a{2,3}", CompileError::None},
        {u"[a-a]", CompileError::None},
        {u"", CompileError::None},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ErrorOf(c.pattern), c.expected)
            << std::string(c.pattern.begin(), c.pattern.end());
    }
}

TEST(RegexEngineCompileErrors, DeepNestingIsRefusedNotOverflowed) {
    EXPECT_EQ(ErrorOf(std::u16string(100'000, u'(')), CompileError::Syntax);
    std::u16string deep = std::u16string(1000, u'(') + u"a" + std::u16string(1000, u')');
    EXPECT_EQ(ErrorOf(deep), CompileError::Syntax);
    std::u16string fine = std::u16string(100, u'(') + u"a" + std::u16string(100, u')');
    EXPECT_EQ(ErrorOf(fine), CompileError::None);
}

TEST(RegexEngineCompileErrors, HugeCountedRepetitionIsRefusedNotExpanded) {
    EXPECT_EQ(ErrorOf(u"(?:a{1000}){1000}"), CompileError::Syntax);
    EXPECT_EQ(ErrorOf(u"(?:){1000000000}"), CompileError::Syntax);
    EXPECT_EQ(ErrorOf(u"a{99999999999999999999}"), CompileError::Syntax);
    EXPECT_EQ(ErrorOf(u"a{1000}"), CompileError::None);
    EXPECT_EQ(ErrorOf(u"a{0,1000}"), CompileError::None);
}

TEST(RegexEngineCompileErrors, PatternsWhoseMatcherStateWouldBeHugeAreRefused) {
    auto groupsThenDots = [](int groups) {
        std::u16string pattern;
        for (int i = 0; i < groups; ++i) {
            pattern += u"(a)";
        }
        return pattern + u".{3000}";
    };
    EXPECT_EQ(ErrorOf(groupsThenDots(100)), CompileError::None);
    EXPECT_EQ(ErrorOf(groupsThenDots(400)), CompileError::Syntax);
}

TEST(RegexEngineCompileErrors, GroupCountCountsCapturingGroupsOnly) {
    RegexEngine::CompileResult result = RegexEngine::Compile(u"(a)(?:b)(?=(c))[(]\\(", {});
    ASSERT_NE(result.program, nullptr);
    EXPECT_EQ(RegexEngine::GroupCount(*result.program), 2u);
}

} // namespace
