// Text beyond ASCII: case folding with IgnoreCase, and positions counted in UTF-16 units
// (surrogate pairs count two, CJK text one unit a character).
#include "tests/regex/engine/regex_test_support.h"

using RegexEngineTest::Exec;
using RegexEngineTest::ExpectTable;

namespace {

constexpr RegexEngine::Options kIgnoreCase{.ignoreCase = true};

TEST(RegexEngineCaseFolding, FoldsLettersOfEachSupportedBlock) {
    ExpectTable(
        {
            {u"abc", u"xABC", "ABC"},
            {u"[a-z]+", u"HeLLo", "HeLLo"},
            {u"[A-Z]+", u"hello", "hello"},
            {u"\u00E9\u00FF", u"\u00C9\u0178", "\\u00C9\\u0178"}, // Latin-1
            {u"\u0101\u017A", u"\u0100\u0179", "\\u0100\\u0179"}, // Latin Extended-A
            {u"\u03C3\u03C2\u03AC", u"\u03A3\u03A3\u0386", "\\u03A3\\u03A3\\u0386"}, // Greek
            {u"[\u03C3]", u"\u03C2", "\\u03C2"},
            {u"\u043F\u0440\u0438\u0432\u0435\u0442\u0451",
             u"\u041F\u0420\u0418\u0412\u0415\u0422\u0401",
             "\\u041F\\u0420\\u0418\\u0412\\u0415\\u0422\\u0401"},         // Cyrillic
            {u"\uFF41[\uFF42-\uFF43]", u"\uFF21\uFF23", "\\uFF21\\uFF23"}, // fullwidth Latin
            {u"\u00B5", u"\u039C", "\\u039C"},                             // micro sign
            {u"\u00B5", u"\u03BC", "\\u03BC"},
            {u"[^a]", u"A", "NO MATCH"},
            {u"[^\u0430-\u044F]", u"\u0416", "NO MATCH"},
        },
        kIgnoreCase);
}

TEST(RegexEngineCaseFolding, KeepsLettersWhoseUpperCaseIsNotOneUnitOrIsAscii) {
    ExpectTable(
        {
            {u"\u017F", u"s", "NO MATCH"}, // long s
            {u"\u0131", u"I", "NO MATCH"}, // dotless i
            {u"i", u"\u0130", "NO MATCH"},
            {u"\u00DF", u"SS", "NO MATCH"},
            {u"k", u"\u212A", "NO MATCH"}, // Kelvin sign: outside the folded blocks
        },
        kIgnoreCase);
}

TEST(RegexEngineCaseFolding, OnlyWithIgnoreCase) {
    ExpectTable({
        {u"a", u"A", "NO MATCH"},
        {u"[a-z]", u"A", "NO MATCH"},
        {u"\u03C3", u"\u03C2", "NO MATCH"},
    });
}

TEST(RegexEngineUtf16, PositionsCountUnitsAndSurrogatePairsCountTwo) {
    RegexEngineTest::Outcome afterEmoji = Exec(u"x", u"\U0001F600x");
    EXPECT_EQ(afterEmoji.captures.begin(0), 2);
    EXPECT_EQ(Exec(u"^.$", u"\U0001F600").text, "NO MATCH");
    RegexEngineTest::Outcome pair = Exec(u"^..$", u"\U0001F600");
    EXPECT_EQ(pair.captures.end(0), 2);
    EXPECT_EQ(Exec(u"[\\uD800-\\uDBFF]", u"a\U0001F600").captures.begin(0), 1);

    RegexEngineTest::Outcome cjk = Exec(u"\u4e0b\u8f7d(\\d+)", u"\u6211\u8981\u4e0b\u8f7d123");
    EXPECT_EQ(cjk.captures.begin(0), 2);
    EXPECT_EQ(cjk.captures.begin(1), 4);
    EXPECT_EQ(cjk.captures.end(1), 7);
}

} // namespace
