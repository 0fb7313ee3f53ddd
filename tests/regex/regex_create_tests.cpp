// Create, GetPattern, Replace, Clone and the operation table of the regular-expression class
// over the component it creates.
#include "regex_test_support.h"

#include "regex/component/regexp_component.h"
#include "values/automation_status.h"
#include "values/kernel_calls.h"

namespace {

using namespace RegexTest;

TEST_F(RegexObjectTest, OperationTableStandsInSlotOrder) {
    EXPECT_EQ(&RegexOperations, regex_->operations);
    const RegexOperationTable &table = RegexOperations;
    EXPECT_EQ(&Regex::Dispose, table.dispose);
    EXPECT_EQ(&Regex::Clone, table.clone);
    EXPECT_EQ(&Regex::Create, table.create);
    EXPECT_EQ(&Regex::EmptyOperation, table.emptyOperation);
    EXPECT_EQ(&Regex::GetPattern, table.getPattern);
    EXPECT_EQ(&Regex::Replace, table.replace);
    EXPECT_EQ(&Regex::MatchCount, table.matchCount);
    EXPECT_EQ(&Regex::MatchText, table.matchText);
    EXPECT_EQ(&Regex::SubMatchText, table.subMatchText);
    EXPECT_EQ(&Regex::SubMatchCount, table.subMatchCount);
}

TEST_F(RegexObjectTest, NewInstanceHoldsEmptyObjectsAndTheIntegerZero) {
    const auto *regexWords = reinterpret_cast<const uint32_t *>(regex_->regex);
    const auto *matchesWords = reinterpret_cast<const uint32_t *>(regex_->matches);
    const auto *subject = reinterpret_cast<const VARIANT *>(regex_->subject);
    EXPECT_EQ(0u, regexWords[0] | regexWords[1]);
    EXPECT_EQ(0u, matchesWords[0] | matchesWords[1]);
    EXPECT_EQ(VT_I4, V_VT(subject));
    EXPECT_EQ(0, V_I4(subject));
    regex_->operations->emptyOperation(&regex_);
    EXPECT_EQ(0u, regexWords[0]);
}

TEST_F(RegexObjectTest, CreateMakesTheProgramsOwnComponentEvenWhereThePlatformsExists) {
    const LONG before = RegExpComponent::LiveObjects();
    ASSERT_TRUE(Create("a", "a"));
    EXPECT_GT(RegExpComponent::LiveObjects(), before)
        << "the platform's backtracking component was made in place of the program's own";
}

TEST_F(RegexObjectTest, OptionsLeftOutIgnoreCaseMatchLinesAndFindEveryMatch) {
    ASSERT_TRUE(Create("^ab$", "AB\nab\nxab\naB"));
    EXPECT_EQ(3, MatchCount());
    EXPECT_EQ("AB", MatchText(1));
    EXPECT_EQ("ab", MatchText(2));
    EXPECT_EQ("aB", MatchText(3));
}

TEST_F(RegexObjectTest, GivenOptionsReachTheComponent) {
    ASSERT_TRUE(Create("^ab$", "AB\nab", 1, 1, 1));
    EXPECT_EQ(1, MatchCount());
    EXPECT_EQ("ab", MatchText(1));
    ASSERT_TRUE(Create("^ab$", "ab\nab", 0, 0, 1));
    EXPECT_EQ(0, MatchCount()) << "without multi-line ^ and $ are the subject's ends";
    ASSERT_TRUE(Create("b$", "ab\nab", 0, 0, 1));
    EXPECT_EQ(1, MatchCount());
}

TEST_F(RegexObjectTest, GlobalFalseGivesAtMostOneMatch) {
    ASSERT_TRUE(Create("a", "aaa", -1, -1, 0));
    EXPECT_EQ(1, MatchCount());
    EXPECT_EQ("", MatchText(2));
    ASSERT_TRUE(Create("a", "aaa", -1, -1, 1));
    EXPECT_EQ(3, MatchCount());
}

TEST_F(RegexObjectTest, DotNeverMatchesALineFeed) {
    for (int multiLine : {-1, 0, 1}) {
        ASSERT_TRUE(Create("a.b", "a\nb", -1, multiLine));
        EXPECT_EQ(0, MatchCount()) << "multi-line option " << multiLine;
    }
    ASSERT_TRUE(Create("a.b", "a\nb axb"));
    EXPECT_EQ(1, MatchCount());
    EXPECT_EQ("axb", MatchText(1));
}

TEST_F(RegexObjectTest, SinglelineIsUnknownToTheComponentAndChangesNothing) {
    ASSERT_TRUE(Create("a.b", "a\nb"));
    EXPECT_FALSE(Kernel::ObjectWriteProperty(regex_->regex, ConstantText(Constant::NameSingleline),
                                             Kernel::BooleanArgument(true)));
    EXPECT_EQ(kAutomationNameNotBound, GetAutomationStatus());
    EXPECT_EQ(0, MatchCount());
    EXPECT_EQ("a.b", Take(regex_->operations->getPattern(&regex_)));
}

TEST_F(RegexObjectTest, QuoteMarkerBecomesADoubleQuote) {
    ASSERT_TRUE(Create("title:#引号(.*?)#引号", "title:\"x\" title:\"yz\"", -1, -1, -1, 1));
    EXPECT_EQ("title:\"(.*?)\"", Take(regex_->operations->getPattern(&regex_)));
    EXPECT_EQ(2, MatchCount());
    EXPECT_EQ("x", SubMatchText(1, 1));
    EXPECT_EQ("yz", SubMatchText(2, 1));
}

TEST_F(RegexObjectTest, QuoteMarkerLeftOutKeepsThePattern) {
    ASSERT_TRUE(Create("title:#引号(.*?)#引号", "title:\"x\" title:#引号y#引号"));
    EXPECT_EQ("title:#引号(.*?)#引号", Take(regex_->operations->getPattern(&regex_)));
    EXPECT_EQ(1, MatchCount());
    EXPECT_EQ("y", SubMatchText(1, 1));
}

TEST_F(RegexObjectTest, QuoteMarkerIsReplacedWithLetterCaseAndOnlyWhole) {
    ASSERT_TRUE(Create("#引号a#引#引号", "\"a#引\"", -1, -1, -1, 1));
    EXPECT_EQ("\"a#引\"", Take(regex_->operations->getPattern(&regex_)));
    EXPECT_EQ(1, MatchCount());
}

TEST_F(RegexObjectTest, InvalidPatternMakesCreateFalse) {
    EXPECT_FALSE(Create("(a", "aaa"));
    EXPECT_EQ(0, MatchCount());
    EXPECT_EQ(0, regex_->operations->subMatchCount(&regex_));
    EXPECT_EQ("", MatchText(1));
}

TEST_F(RegexObjectTest, CreateAgainReplacesComponentAndCollection) {
    ASSERT_TRUE(Create("a", "aaa"));
    IUnknown *first = *reinterpret_cast<IUnknown **>(regex_->regex);
    EXPECT_EQ(1u, ReferenceCount(first)) << "the instance holds the component's only reference";
    ASSERT_TRUE(Create("b", "abcb"));
    EXPECT_EQ(2, MatchCount());
    EXPECT_EQ("b", Take(regex_->operations->getPattern(&regex_)));
}

TEST_F(RegexObjectTest, GetPatternBeforeCreateIsEmpty) {
    EXPECT_EQ(nullptr, regex_->operations->getPattern(&regex_));
}

TEST_F(RegexObjectTest, ReplaceUsesTheLastSubjectAndPattern) {
    ASSERT_TRUE(Create("a(b)", "xabyAB"));
    TextVariable replacement("<$1>");
    EXPECT_EQ("x<b>y<B>", Take(regex_->operations->replace(&regex_, replacement.given())));
    EXPECT_EQ("xy", Take(regex_->operations->replace(&regex_, kLeftOut)));
}

TEST_F(RegexObjectTest, ReplaceCarriesChineseTextBothWays) {
    ASSERT_TRUE(Create("文(.)", "中文字和文本"));
    TextVariable replacement("[$1]");
    EXPECT_EQ("中[字]和[本]", Take(regex_->operations->replace(&regex_, replacement.given())));
}

TEST_F(RegexObjectTest, ReplaceBeforeCreateIsEmpty) {
    TextVariable replacement("x");
    EXPECT_EQ(nullptr, regex_->operations->replace(&regex_, replacement.given()));
}

TEST_F(RegexObjectTest, CloneSharesTheComponentAndCopiesTheSubject) {
    ASSERT_TRUE(Create("X", "aXbXc"));
    IUnknown *component = *reinterpret_cast<IUnknown **>(regex_->regex);
    RegexObject *copy = regex_->operations->clone(regex_);
    EXPECT_EQ(&RegexOperations, copy->operations);
    EXPECT_EQ(component, *reinterpret_cast<IUnknown **>(copy->regex));
    EXPECT_EQ(2u, ReferenceCount(component)) << "the copy holds one more reference";
    EXPECT_NE(static_cast<void *>(regex_->subject), static_cast<void *>(copy->subject));
    EXPECT_EQ(2, copy->operations->matchCount(&copy));
    int32_t position = 0;
    EXPECT_EQ("X", Take(copy->operations->matchText(&copy, 2, PositionOf(&position))));
    EXPECT_EQ(3, position);

    copy->operations->dispose(copy);
    FreeMemory(copy);
    EXPECT_EQ(1u, ReferenceCount(component));
    // The original keeps working, and the library is still started on this thread.
    EXPECT_EQ(2, MatchCount());
    EXPECT_EQ("X", MatchText(1));
    EXPECT_EQ(S_FALSE, CoInitialize(nullptr));
    CoUninitialize();
}

} // namespace
