// The text commands on the cases their rules single out: slices, searches, replacement,
// splitting, blanks and letter case.
#include "tests/values/value_test_support.h"

namespace {

using Kernel::FindText;
using Kernel::FindTextBackward;

class TextCommands : public HeapBalanceTest {};

TEST_F(TextCommands, SlicesClampToTheText) {
    EXPECT_EQ(TakeText(Kernel::LeftText("abc", 5)), "abc");
    EXPECT_EQ(Kernel::LeftText("abc", 0), nullptr);
    EXPECT_EQ(Kernel::LeftText("abc", -3), nullptr);
    EXPECT_EQ(TakeText(Kernel::LeftText("abc", 2)), "ab");
    EXPECT_EQ(TakeText(Kernel::RightText("abc", 2)), "bc");
    EXPECT_EQ(TakeText(Kernel::RightText("abc", 9)), "abc");
    EXPECT_EQ(Kernel::RightText("abc", 0), nullptr);
    EXPECT_EQ(TakeText(Kernel::MiddleText("abcdef", 3, 10)), "cdef");
    EXPECT_EQ(TakeText(Kernel::MiddleText("abcdef", 1, 2)), "ab");
    EXPECT_EQ(Kernel::MiddleText("abcdef", 7, 1), nullptr);
    EXPECT_EQ(Kernel::MiddleText("abcdef", 0, 3), nullptr);
    EXPECT_EQ(Kernel::MiddleText("abcdef", INT32_MIN, 3), nullptr);
    EXPECT_EQ(Kernel::MiddleText("abcdef", 2, 0), nullptr);
    EXPECT_EQ(TakeText(Kernel::MiddleText("abcdef", 6, INT32_MAX)), "f");
}

TEST_F(TextCommands, LengthsAndSimpleTexts) {
    EXPECT_EQ(Kernel::TextLength(""), 0);
    EXPECT_EQ(Kernel::TextLength("\xC4\xEA"
                                 "ab"),
              4);
    EXPECT_EQ(TakeText(Kernel::BlankText(5000)), std::string(5000, ' '));
    EXPECT_EQ(Kernel::BlankText(0), nullptr);
    EXPECT_EQ(Kernel::BlankText(-1), nullptr);
    EXPECT_EQ(Kernel::CharText(0), nullptr);
    EXPECT_EQ(TakeText(Kernel::CharText('A')), "A");
    EXPECT_EQ(TakeText(Kernel::CharText(0xB0)), "\xB0");
    EXPECT_EQ(Kernel::BitOr(0x0F00, 0x00F0), 0x0FF0);
}

TEST_F(TextCommands, BitOrCombinesEveryArgument) {
    const ArgumentRecord three[] = {Kernel::IntegerArgument(1), Kernel::IntegerArgument(2),
                                    Kernel::IntegerArgument(0x40000000)};
    EXPECT_EQ(Kernel::AsInteger(InvokeKernelCommand(BitOr, 3, three)), 0x40000003);
    EXPECT_EQ(Kernel::AsInteger(InvokeKernelCommand(BitOr, 1, three + 2)), 0x40000000);
}

TEST_F(TextCommands, FindTextFollowsItsStart) {
    EXPECT_EQ(FindText("abcabc", "bc", std::nullopt, false), 2);
    EXPECT_EQ(FindText("abcabc", "bc", 3, false), 5);
    EXPECT_EQ(FindText("abcabc", "bc", 6, false), -1);
    EXPECT_EQ(FindText("abcabc", "bc", 0, false), 2);
    EXPECT_EQ(FindText("abcabc", "bc", -4, false), 2);
    EXPECT_EQ(FindText("abcabc", "bc", INT32_MIN, false), 2);
    EXPECT_EQ(FindText("abcabc", "bc", INT32_MAX, false), -1);
}

TEST_F(TextCommands, FindTextBackwardKeepsMatchesInsideTheRegion) {
    EXPECT_EQ(FindTextBackward("abcabc", "bc", std::nullopt, false), 5);
    EXPECT_EQ(FindTextBackward("abcabc", "bc", 5, false), 2);
    EXPECT_EQ(FindTextBackward("abcabc", "bc", 7, false), 5);
    EXPECT_EQ(FindTextBackward("abcabc", "bc", 1, false), -1);
    EXPECT_EQ(FindTextBackward("abcabc", "bc", -2, false), -1);
    EXPECT_EQ(FindTextBackward("aaaa", "aa", std::nullopt, false), 3);
}

TEST_F(TextCommands, EmptySoughtTextDependsOnTheRegion) {
    EXPECT_EQ(FindText("abc", "", std::nullopt, false), 1);
    EXPECT_EQ(FindText("abc", "", 3, false), 1);
    EXPECT_EQ(FindText("abc", "", 4, false), -1);
    EXPECT_EQ(FindText("", "", std::nullopt, false), -1);
    EXPECT_EQ(FindTextBackward("abc", "", std::nullopt, false), 1);
    EXPECT_EQ(FindTextBackward("abc", "", 1, false), -1);
}

TEST_F(TextCommands, IgnoreCaseFoldsOnlyAsciiLettersAndOnlyForOne) {
    EXPECT_EQ(FindText("SET-COOKIE: a", "set-cookie", std::nullopt, true), 1);
    EXPECT_EQ(FindText("SET-COOKIE: a", "set-cookie", std::nullopt, false), -1);
    const ArgumentRecord two[] = {Kernel::TextArgument("ABC"), Kernel::TextArgument("b"),
                                  ArgumentRecord{0, 0, kTypeNone},
                                  ArgumentRecord{2, 0, kTypeBoolean}};
    EXPECT_EQ(Kernel::AsInteger(InvokeKernelCommand(::FindText, 4, two)), -1);
    // 0xC1 and 0xE1 differ only by 0x20 but are not letters.
    EXPECT_EQ(FindText("\xC1\xC1", "\xE1\xE1", std::nullopt, true), -1);
    EXPECT_EQ(FindTextBackward("Xx", "X", std::nullopt, true), 2);
}

TEST_F(TextCommands, MatchesNeverStartInsideADoubleByteCharacter) {
    // B0 A1 | B0 A2: the pair A1 B0 straddles the boundary.
    EXPECT_EQ(FindText("\xB0\xA1\xB0\xA2", "\xA1\xB0", std::nullopt, false), -1);
    EXPECT_EQ(FindTextBackward("\xB0\xA1\xB0\xA2", "\xA1\xB0", std::nullopt, false), -1);
    EXPECT_EQ(FindText("\xB0\x41"
                       "A",
                       "A", std::nullopt, false),
              3);
    EXPECT_EQ(FindText("\xB0\xA1\xB0\xA2", "\xB0\xA2", std::nullopt, false), 3);
    // A start inside a character begins the walk there.
    EXPECT_EQ(FindText("\xB0\xA1\xB0\xA2", "\xA1\xB0", 2, false), 2);
    // A lone lead byte at the end ends the walk.
    EXPECT_EQ(FindText("a\xB0", "\xB0", std::nullopt, false), -1);
    EXPECT_EQ(FindTextBackward("a\xB0"
                               "b",
                               "\xB0", 3, false),
              2);
}

TEST_F(TextCommands, ReplaceSubtextCases) {
    auto replace = [](const char *sought, const char *replacement, std::optional<int32_t> start,
                      std::optional<int32_t> count, bool caseSensitive) {
        return TakeText(
            Kernel::ReplaceSubtext("aXbXc", sought, replacement, start, count, caseSensitive));
    };
    EXPECT_EQ(replace("X", "--", std::nullopt, std::nullopt, true), "a--b--c");
    EXPECT_EQ(replace("X", "--", std::nullopt, 1, true), "a--bXc");
    EXPECT_EQ(replace("X", "--", 3, std::nullopt, true), "aXb--c");
    EXPECT_EQ(replace("X", "--", std::nullopt, 0, true), "aXbXc");
    EXPECT_EQ(replace("X", nullptr, std::nullopt, std::nullopt, true), "abc");
    EXPECT_EQ(replace("x", "--", std::nullopt, std::nullopt, false), "a--b--c");
    EXPECT_EQ(replace("x", "--", std::nullopt, std::nullopt, true), "aXbXc");
    EXPECT_EQ(replace("X", "--", std::nullopt, -5, true), "a--b--c");
    EXPECT_EQ(replace("X", "--", 99, std::nullopt, true), "aXbXc");
    EXPECT_EQ(replace("", "--", std::nullopt, std::nullopt, true), "aXbXc");
    EXPECT_EQ(TakeText(Kernel::ReplaceSubtext("aaa", "a", "aa", std::nullopt, std::nullopt, true)),
              "aaaaaa");
    EXPECT_EQ(Kernel::ReplaceSubtext("XX", "X", "", std::nullopt, std::nullopt, true), nullptr);
    EXPECT_EQ(Kernel::ReplaceSubtext("", "X", "y", std::nullopt, std::nullopt, true), nullptr);
}

TEST_F(TextCommands, ReplaceSubtextDropsALoneLeadByteItsWalkMeets) {
    EXPECT_EQ(TakeText(Kernel::ReplaceSubtext("ab\xB0", "b", "B", std::nullopt, std::nullopt, 1)),
              "aB");
    // A two-byte sought text never reaches the last byte: it stays.
    EXPECT_EQ(TakeText(Kernel::ReplaceSubtext("ab\xB0", "ab", "", std::nullopt, std::nullopt, 1)),
              "\xB0");
}

TEST_F(TextCommands, SplitTextCases) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(TakeTextArray(Kernel::SplitText("a,,b,", nullptr, std::nullopt)),
              (Pieces{"a", "", "b"}));
    EXPECT_EQ(TakeTextArray(Kernel::SplitText(",a", nullptr, std::nullopt)), (Pieces{"", "a"}));
    EXPECT_EQ(TakeTextArray(Kernel::SplitText("a;b;c", ";", 2)), (Pieces{"a", "b"}));
    EXPECT_EQ(TakeTextArray(Kernel::SplitText("a;b;c", ";", -1)), Pieces{});
    EXPECT_EQ(TakeTextArray(Kernel::SplitText("", nullptr, std::nullopt)), Pieces{});
    EXPECT_EQ(TakeTextArray(Kernel::SplitText("a;b", "", std::nullopt)), Pieces{"a;b"});
    EXPECT_EQ(TakeTextArray(Kernel::SplitText("a;b", ";", 5)), (Pieces{"a", "b"}));
    EXPECT_EQ(TakeTextArray(Kernel::SplitText("a\r\nb\r\n", "\r\n", std::nullopt)),
              (Pieces{"a", "b"}));
    // More pieces than the list of pieces holds at first: it grows while they are made.
    Pieces numbers;
    std::string joined;
    for (int i = 0; i < 40; ++i) {
        numbers.push_back(std::to_string(i));
        joined += (i == 0 ? "" : ",") + numbers.back();
    }
    EXPECT_EQ(TakeTextArray(Kernel::SplitText(joined.c_str(), nullptr, std::nullopt)), numbers);
}

TEST_F(TextCommands, BlanksAreSpacesAndFullWidthSpacesOnly) {
    EXPECT_EQ(TakeText(Kernel::TrimSpaces(" \xA1\xA1"
                                          "a b\xA1\xA1 ")),
              "a b");
    EXPECT_EQ(TakeText(Kernel::TrimSpaces("\ta\t")), "\ta\t");
    EXPECT_EQ(Kernel::TrimSpaces("  \xA1\xA1 "), nullptr);
    EXPECT_EQ(TakeText(Kernel::TrimSpaces(" a\xB0")), "a");
    // A1 A1 inside B0 A1 | A1 41 is not a blank: it straddles two characters.
    EXPECT_EQ(TakeText(Kernel::TrimSpaces("\xB0\xA1\xA1\x41")), "\xB0\xA1\xA1\x41");
    EXPECT_EQ(TakeText(Kernel::RemoveAllSpaces(" a \xA1\xA1 b\t\xA1\xA1")), "ab\t");
    EXPECT_EQ(TakeText(Kernel::RemoveAllSpaces("a b\xB0")), "ab");
    EXPECT_EQ(Kernel::RemoveAllSpaces(" \xA1\xA1"), nullptr);
}

TEST_F(TextCommands, LowerCaseLeavesDoubleByteCharactersAlone) {
    EXPECT_EQ(TakeText(Kernel::ToLowerCase("AbC-Z@[")), "abc-z@[");
    EXPECT_EQ(TakeText(Kernel::ToLowerCase("\xB0\x41"
                                           "A")),
              "\xB0\x41"
              "a");
    EXPECT_EQ(TakeText(Kernel::ToLowerCase("A\xB0")), "a\xB0");
    EXPECT_EQ(Kernel::ToLowerCase(""), nullptr);
}

TEST_F(TextCommands, MissingAndMistypedArgumentsReadAsEmpty) {
    ArgumentRecord none{0, 0, kTypeNone};
    EXPECT_EQ(Kernel::AsInteger(InvokeKernelCommand(::FindText, 0, &none)), -1);
    EXPECT_EQ(Kernel::AsText(InvokeKernelCommand(::ToLowerCase, 0, &none)), nullptr);
    const ArgumentRecord nullText{0, 0, kTypeText};
    EXPECT_EQ(Kernel::AsInteger(InvokeKernelCommand(::TextLength, 1, &nullText)), 0);
    const ArgumentRecord integerAsText = Kernel::IntegerArgument(12345);
    EXPECT_EQ(Kernel::AsText(InvokeKernelCommand(::TrimSpaces, 1, &integerAsText)), nullptr);
}

} // namespace
