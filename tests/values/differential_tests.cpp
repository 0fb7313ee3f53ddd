// The real character-aware commands against the plain reference, on seeded random code page
// 936 texts built to hit the hard places: lead bytes at the very end, full-width blanks,
// sought texts cut out across character boundaries, both letter cases, every sign of the
// start, count and maximum arguments.
#include <random>

#include "tests/values/reference_commands.h"
#include "tests/values/value_test_support.h"

namespace {

constexpr int kRounds = 4000;

class RandomCp936 {
public:
    explicit RandomCp936(uint32_t seed) : engine_(seed) {}

    int32_t Below(int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(engine_); }

    std::string Text(int32_t maxPieces) {
        static const char *const kPieces[] = {
            "a",        "b",        "A",        "B",        "X",           "x",        " ",
            "\t",       ",",        ";",        "1",        "-",           "+",        "9",
            "\xA1\xA1", "\xB0\xA1", "\xA1\xB0", "\xA3\xB1", "\xA3\xC1",    "\xC1\xC1", "\xA1\x41",
            "\xB0\x61", "\xA1\xAB", "\xA1\xEE", "\xA3\xAD", "\xA1\xA1\xA1"};
        std::string text;
        const int32_t pieces = Below(maxPieces + 1);
        for (int32_t i = 0; i < pieces; ++i) {
            text += kPieces[Below(static_cast<int32_t>(std::size(kPieces)))];
        }
        if (Below(4) == 0) {
            text += static_cast<char>(0x80 + Below(0x7F)); // a lone lead byte at the very end
        }
        return text;
    }

    // A sought text: often cut from the text itself at any byte, so across boundaries.
    std::string Sought(const std::string &text) {
        if (text.empty() || Below(3) == 0) {
            return Text(2);
        }
        const int32_t from = Below(static_cast<int32_t>(text.size()));
        const int32_t length =
            1 + Below(std::min<int32_t>(4, static_cast<int32_t>(text.size()) - from));
        std::string sought = text.substr(from, length);
        if (Below(3) == 0) {
            for (char &c : sought) {
                if (c >= 'a' && c <= 'z') {
                    c = static_cast<char>(c - 32);
                } else if (c >= 'A' && c <= 'Z') {
                    c = static_cast<char>(c + 32);
                }
            }
        }
        return sought;
    }

    std::optional<int32_t> Position(const std::string &text) {
        switch (Below(5)) {
        case 0:
            return std::nullopt;
        case 1:
            return -Below(3) - (Below(2) == 0 ? 0 : 0x7FFFFFF0);
        case 2:
            return static_cast<int32_t>(text.size()) + Below(3);
        default:
            return Below(static_cast<int32_t>(text.size()) + 2);
        }
    }

private:
    std::mt19937 engine_;
};

class Differential : public HeapBalanceTest {};

TEST_F(Differential, FindTextAndFindTextBackward) {
    RandomCp936 random(1);
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = random.Text(12);
        const std::string sought = random.Sought(text);
        const auto start = random.Position(text);
        const uint32_t ignoreCase = static_cast<uint32_t>(random.Below(3));
        const ArgumentRecord args[] = {
            Kernel::TextArgument(text.c_str()), Kernel::TextArgument(sought.c_str()),
            Kernel::OptionalIntegerArgument(start), ArgumentRecord{ignoreCase, 0, kTypeBoolean}};
        ASSERT_EQ(Kernel::AsInteger(InvokeKernelCommand(FindText, 4, args)),
                  Reference::FindText(text, sought, start, ignoreCase))
            << testing::PrintToString(text) << " " << testing::PrintToString(sought);
        ASSERT_EQ(Kernel::AsInteger(InvokeKernelCommand(FindTextBackward, 4, args)),
                  Reference::FindTextBackward(text, sought, start, ignoreCase))
            << testing::PrintToString(text) << " " << testing::PrintToString(sought);
    }
}

TEST_F(Differential, ReplaceSubtext) {
    RandomCp936 random(2);
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = random.Text(12);
        const std::string sought = random.Sought(text);
        const std::string replacement = random.Text(2);
        const auto start = random.Position(text);
        const std::optional<int32_t> count =
            random.Below(3) == 0 ? std::nullopt : std::optional<int32_t>(random.Below(5) - 2);
        const uint32_t caseSensitive = static_cast<uint32_t>(random.Below(3));
        const ArgumentRecord args[] = {Kernel::TextArgument(text.c_str()),
                                       Kernel::TextArgument(sought.c_str()),
                                       Kernel::TextArgument(replacement.c_str()),
                                       Kernel::OptionalIntegerArgument(start),
                                       Kernel::OptionalIntegerArgument(count),
                                       ArgumentRecord{caseSensitive, 0, kTypeBoolean}};
        ASSERT_EQ(TakeText(Kernel::AsText(InvokeKernelCommand(ReplaceSubtext, 6, args))),
                  Reference::ReplaceSubtext(text, sought, replacement, start, count, caseSensitive))
            << testing::PrintToString(text) << " " << testing::PrintToString(sought);
    }
}

TEST_F(Differential, SplitText) {
    RandomCp936 random(3);
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = random.Text(12);
        const std::optional<std::string> delimiter =
            random.Below(4) == 0 ? std::nullopt : std::optional<std::string>(random.Sought(text));
        const std::optional<int32_t> maximum =
            random.Below(3) == 0 ? std::nullopt : std::optional<int32_t>(random.Below(6) - 2);
        ASSERT_EQ(TakeTextArray(Kernel::SplitText(
                      text.c_str(), delimiter ? delimiter->c_str() : nullptr, maximum)),
                  Reference::SplitText(text, delimiter, maximum))
            << testing::PrintToString(text);
    }
}

TEST_F(Differential, BlanksCaseAndIntegers) {
    RandomCp936 random(4);
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = random.Text(10);
        const char *bytes = text.c_str();
        ASSERT_EQ(TakeText(Kernel::TrimSpaces(bytes)), Reference::TrimSpaces(text))
            << testing::PrintToString(text);
        ASSERT_EQ(TakeText(Kernel::RemoveAllSpaces(bytes)), Reference::RemoveAllSpaces(text))
            << testing::PrintToString(text);
        ASSERT_EQ(TakeText(Kernel::ToLowerCase(bytes)), Reference::ToLowerCase(text))
            << testing::PrintToString(text);
        ASSERT_EQ(Kernel::TextToInteger(bytes), Reference::ToInteger(text))
            << testing::PrintToString(text);
    }
}

// A run of blanks, perhaps followed by a lone lead byte, to end a text with.
std::string BlankTail(RandomCp936 &random) {
    std::string tail;
    for (int32_t i = random.Below(6); i > 0; --i) {
        tail += random.Below(2) == 0 ? " " : "\xA1\xA1";
    }
    if (random.Below(3) == 0) {
        tail += random.Below(2) == 0 ? "\xA1" : "\xC3";
    }
    return tail;
}

TEST_F(Differential, LongTextsAgreeAcrossWordBoundaries) {
    // Hundreds of bytes per text: the scans that read a word at a time cross many words, with
    // characters, blanks and trail bytes at every position of a word.
    RandomCp936 random(5);
    for (int round = 0; round < kRounds / 8; ++round) {
        const std::string text = random.Text(300) + BlankTail(random);
        const char *bytes = text.c_str();
        ASSERT_EQ(TakeText(Kernel::TrimSpaces(bytes)), Reference::TrimSpaces(text))
            << testing::PrintToString(text);
        ASSERT_EQ(TakeText(Kernel::RemoveAllSpaces(bytes)), Reference::RemoveAllSpaces(text))
            << testing::PrintToString(text);
        ASSERT_EQ(TakeText(Kernel::ToLowerCase(bytes)), Reference::ToLowerCase(text))
            << testing::PrintToString(text);
        const std::string sought = random.Sought(text);
        const std::string replacement = random.Text(3);
        const auto start = random.Position(text);
        const bool foldCase = random.Below(2) == 0;
        ASSERT_EQ(Kernel::FindText(bytes, sought.c_str(), start, foldCase),
                  Reference::FindText(text, sought, start, foldCase))
            << testing::PrintToString(text) << " " << testing::PrintToString(sought);
        ASSERT_EQ(Kernel::FindTextBackward(bytes, sought.c_str(), start, foldCase),
                  Reference::FindTextBackward(text, sought, start, foldCase))
            << testing::PrintToString(text) << " " << testing::PrintToString(sought);
        ASSERT_EQ(
            TakeText(Kernel::ReplaceSubtext(bytes, sought.c_str(), replacement.c_str(), start,
                                            std::nullopt, !foldCase)),
            Reference::ReplaceSubtext(text, sought, replacement, start, std::nullopt, !foldCase))
            << testing::PrintToString(text) << " " << testing::PrintToString(sought);
        ASSERT_EQ(TakeTextArray(Kernel::SplitText(bytes, sought.c_str(), std::nullopt)),
                  Reference::SplitText(text, sought, std::nullopt))
            << testing::PrintToString(text) << " " << testing::PrintToString(sought);
    }
}

TEST_F(Differential, DenseReplacementsAgree) {
    // More matches than one per sixteen bytes of text, with replacements longer and shorter
    // than the sought text, a count limit and a lone lead byte at the end.
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += i % 3 == 0 ? "a\xB0"
                             "a"
                           : "aA";
    }
    text += "a\xC3";
    for (const char *replacement : {"", "x", "xyz", "\xA1\xA1-\xA1\xA1"}) {
        for (const std::optional<int32_t> count : {std::optional<int32_t>(), std::optional(700)}) {
            for (const uint32_t caseSensitive : {0u, 1u}) {
                ASSERT_EQ(TakeText(Kernel::ReplaceSubtext(text.c_str(), "a", replacement,
                                                          std::nullopt, count, caseSensitive)),
                          Reference::ReplaceSubtext(text, "a", replacement, std::nullopt, count,
                                                    caseSensitive))
                    << replacement << " " << caseSensitive;
            }
        }
    }
    EXPECT_EQ(
        TakeText(Kernel::ReplaceSubtext("aAaA", "a", "bc", std::nullopt, std::nullopt, false)),
        "bcbcbcbc");
}

TEST_F(Differential, LongRepetitiveTextsStayLinearAndAgree) {
    // Runs that defeat first-byte scanning: the searcher must switch to its automaton.
    const std::string text = std::string(200000, 'a') + "b";
    const std::string sought = std::string(500, 'a') + "b";
    EXPECT_EQ(Kernel::FindText(text.c_str(), sought.c_str(), std::nullopt, false),
              Reference::FindText(text, sought, std::nullopt, 0));
    EXPECT_EQ(Kernel::FindTextBackward(text.c_str(), sought.c_str(), std::nullopt, true), 199501);
    const std::string wide = std::string(100000, '\xB0') + "\xB0\xB0";
    EXPECT_EQ(Kernel::FindText(wide.c_str(), "\xB0\xB0\xB0\xB0", 2, false), 2);
    EXPECT_EQ(Kernel::FindTextBackward(wide.c_str(), "\xB0\xB0\xB0", std::nullopt, false), 99999);
    EXPECT_EQ(TakeText(Kernel::ReplaceSubtext(wide.c_str(), "\xB0\xB0", "", std::nullopt,
                                              std::nullopt, true)),
              "");
}

} // namespace
