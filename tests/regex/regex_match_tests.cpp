// Match counts, match and group texts and their byte positions, in single-byte and code page 936
// text, and the program's own pattern on a sample page and on a hostile one.
#include "regex_test_support.h"

namespace {

using namespace RegexTest;

// The processor time the calling thread has used, user and kernel, in milliseconds.
uint64_t ThreadMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto hundredNanoseconds = [](const FILETIME &time) {
        return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    };
    return (hundredNanoseconds(kernel) + hundredNanoseconds(user)) / 10000;
}

TEST_F(RegexObjectTest, BeforeCreateEveryReadIsEmpty) {
    EXPECT_EQ(0, MatchCount());
    EXPECT_EQ(0, regex_->operations->subMatchCount(&regex_));
    EXPECT_EQ("", MatchText(1));
    EXPECT_EQ("", SubMatchText(1, 1));
}

TEST_F(RegexObjectTest, SecondMatchAndItsBytePosition) {
    ASSERT_TRUE(Create("X", "aXbXc"));
    int32_t position = -100;
    EXPECT_EQ("X", MatchText(2, &position));
    EXPECT_EQ(3, position);
    EXPECT_EQ("X", MatchText(1, &position));
    EXPECT_EQ(1, position);
}

TEST_F(RegexObjectTest, MatchOutOfRangeIsEmpty) {
    ASSERT_TRUE(Create("X", "aXbXc"));
    EXPECT_EQ("", MatchText(3));
    EXPECT_EQ("", MatchText(0));
    EXPECT_EQ("", SubMatchText(3, 1));
}

TEST_F(RegexObjectTest, GroupsAndTheirPositions) {
    ASSERT_TRUE(Create("(\\w+)=(\\d+)", "a=1; bb=22"));
    EXPECT_EQ(2, MatchCount());
    EXPECT_EQ(2, regex_->operations->subMatchCount(&regex_));
    int32_t position = -100;
    EXPECT_EQ("bb", SubMatchText(2, 1, &position));
    EXPECT_EQ(5, position);
    EXPECT_EQ("22", SubMatchText(2, 2, &position));
    EXPECT_EQ(8, position);
}

TEST_F(RegexObjectTest, SecondGroupOfAOneGroupPatternIsEmpty) {
    ASSERT_TRUE(Create("a(b)", "ab"));
    EXPECT_EQ(1, regex_->operations->subMatchCount(&regex_));
    EXPECT_EQ("b", SubMatchText(1, 1));
    EXPECT_EQ("", SubMatchText(1, 2));
}

TEST_F(RegexObjectTest, SubMatchCountDescribesTheFirstMatch) {
    ASSERT_TRUE(Create("(a)(b)?", "ab"));
    EXPECT_EQ(2, regex_->operations->subMatchCount(&regex_));
    ASSERT_TRUE(Create("x", "abc"));
    EXPECT_EQ(0, regex_->operations->subMatchCount(&regex_));
}

TEST_F(RegexObjectTest, ChineseTextReachesTheComponentAsTheSameCharacters) {
    // Three characters of six bytes: the component sees characters, not bytes.
    ASSERT_TRUE(Create("^.{3}$", "中文字"));
    EXPECT_EQ(1, MatchCount());
    EXPECT_EQ("中文字", MatchText(1));
    ASSERT_TRUE(Create("[\\u4e2d\\u6587]+", "这是中文文本"));
    EXPECT_EQ("中文文", MatchText(1));
}

TEST_F(RegexObjectTest, ChineseMatchesComeBackWithBytePositions) {
    ASSERT_TRUE(Create("中(文+)", "这是中文文本，中文"));
    EXPECT_EQ(2, MatchCount());
    int32_t position = -100;
    EXPECT_EQ("中文文", MatchText(1, &position));
    EXPECT_EQ(4, position);
    EXPECT_EQ("中文", MatchText(2, &position));
    EXPECT_EQ(14, position);
    EXPECT_EQ("文", SubMatchText(2, 1, &position));
    EXPECT_EQ(16, position);
}

TEST_F(RegexObjectTest, PositionAfterDoubleByteCharactersIsExact) {
    // The match is character 2 but byte 4: a search begun at byte 2 would start inside the
    // first character and read the bytes out of step.
    ASSERT_TRUE(Create("X", "中中X"));
    int32_t position = -100;
    EXPECT_EQ("X", MatchText(1, &position));
    EXPECT_EQ(4, position);
}

TEST_F(RegexObjectTest, PositionIgnoresAnEarlierTextInAnotherLetterCase) {
    ASSERT_TRUE(Create("a", "中中aA"));
    ASSERT_EQ(2, MatchCount());
    int32_t position = -100;
    EXPECT_EQ("A", MatchText(2, &position));
    EXPECT_EQ(5, position);
}

TEST_F(RegexObjectTest, ProgramPatternFindsTitleAndPathOnASamplePage) {
    const char *page = "<html><head><script type=\"text/javascript\">\r\n"
                       "var s_str=\"http://mix.example\";\r\n"
                       "var list=[{title:\"DJ 阿杰 - 夜之舞曲 \"2024\" 版\",artist:\"-\",m4a: "
                       "s_str+\"/2024/05/dj_ajie_0517.m4a\"}];\r\n"
                       "</script></head><body>播放</body></html>";
    ASSERT_TRUE(Create(
        "var list=\\[\\{title:\"(.*?)\",artist:\"-\",m4a: s_str\\+\"(.*?).m4a\"\\}\\]", page));
    ASSERT_EQ(1, MatchCount());
    EXPECT_EQ("DJ 阿杰 - 夜之舞曲 \"2024\" 版", SubMatchText(1, 1));
    EXPECT_EQ("/2024/05/dj_ajie_0517", SubMatchText(1, 2));
    EXPECT_EQ("/2024/05/dj_ajie_0517", SubMatchText(1, 2));
}

TEST_F(RegexObjectTest, ProgramPatternMissesATitleWithALineFeed) {
    ASSERT_TRUE(
        Create("var list=\\[\\{title:\"(.*?)\",artist:\"-\",m4a: s_str\\+\"(.*?).m4a\"\\}\\]",
               "var list=[{title:\"a\nb\",artist:\"-\",m4a: s_str+\"/p.m4a\"}]"));
    EXPECT_EQ(0, MatchCount());
}

TEST_F(RegexObjectTest, ProgramPatternOnAHostileMegabyteEndsWithinASecond) {
    // Openings of the track list, then the text between title and address, without a closing:
    // a backtracking matcher tries every pair of them, hours for a megabyte.
    const std::string opening = "var list=[{title:\"";
    const std::string middle = "\",artist:\"-\",m4a: s_str+\"";
    const size_t copies = (1u << 20) / (opening.size() + middle.size());
    std::string page;
    for (size_t i = 0; i < copies; ++i) {
        page += opening;
    }
    for (size_t i = 0; i < copies; ++i) {
        page += middle;
    }
    // The thread's own processor time: on a machine busy with other work the wall clock would
    // measure the others too.
    const uint64_t start = ThreadMilliseconds();
    Create("var list=\\[\\{title:\"(.*?)\",artist:\"-\",m4a: s_str\\+\"(.*?).m4a\"\\}\\]",
           page.c_str());
    EXPECT_EQ(0, MatchCount());
    EXPECT_LT(ThreadMilliseconds() - start, 1000u);
}

} // namespace
