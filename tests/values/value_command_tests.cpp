// ToText, ToByteSet, ToInteger and the byte-set commands over every type they handle.
#include <cmath>
#include <cstring>

#include "tests/values/value_test_support.h"
#include "values/half_width_fold.h"
#include "values/numeric_to_integer.h"

namespace {

class ValueCommands : public HeapBalanceTest {};

// A byte set (or numeric array) block built in test memory.
struct TestBlock {
    std::vector<uint32_t> words;
    explicit TestBlock(const std::string &bytes) {
        words.resize(2 + (bytes.size() + 3) / 4);
        words[0] = 1;
        words[1] = static_cast<uint32_t>(bytes.size());
        std::memcpy(&words[2], bytes.data(), bytes.size());
    }
    ArgumentRecord As(TypeCode type) {
        return ArgumentRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(words.data())), 0,
                              type};
    }
};

std::string TextOf(const ArgumentRecord &value) {
    return TakeText(Kernel::ToText(value));
}

TEST_F(ValueCommands, ToTextOfByteSetsStopsAtTheFirstZeroByte) {
    EXPECT_EQ(TextOf(TestBlock(std::string("AB\0CD", 5)).As(kTypeByteSet)), "AB");
    EXPECT_EQ(TextOf(TestBlock("\xB0\xA1xyz").As(kTypeByteSet)), "\xB0\xA1xyz");
    EXPECT_EQ(Kernel::ToText(ArgumentRecord{0, 0, kTypeByteSet}), nullptr);
    EXPECT_EQ(Kernel::ToText(TestBlock(std::string("\0A", 2)).As(kTypeByteSet)), nullptr);
    // Two 16-bit elements holding "ab" and "c", 0: the raw bytes up to the zero.
    TestBlock shorts("");
    shorts.words = {1, 2, 0x00636261};
    EXPECT_EQ(TextOf(shorts.As(ArrayTypeOf(kTypeShort))), "abc");
    EXPECT_EQ(Kernel::ToText(shorts.As(ArrayTypeOf(kTypeText))), nullptr);
}

TEST_F(ValueCommands, ToTextOfNumbersBooleansAndTexts) {
    EXPECT_EQ(TextOf(ArgumentRecord{0x1FF, 0, kTypeByte}), "255");
    EXPECT_EQ(TextOf(ArgumentRecord{0xFFFF8000, 0, kTypeShort}), "-32768");
    EXPECT_EQ(TextOf(Kernel::IntegerArgument(-2147483647 - 1)), "-2147483648");
    EXPECT_EQ(TextOf(ArgumentRecord{0, 0x80000000, kTypeLong}), "-9223372036854775808");
    EXPECT_EQ(TextOf(ArgumentRecord{0xFFFFFFFF, 0x7FFFFFFF, kTypeLong}), "9223372036854775807");
    EXPECT_EQ(TextOf(ArgumentRecord{0, 0, kTypeLong}), "0");
    float third = 1.0f / 3.0f;
    uint32_t thirdBits;
    std::memcpy(&thirdBits, &third, 4);
    EXPECT_EQ(TextOf(ArgumentRecord{thirdBits, 0, kTypeFloat}), "0.333333");
    EXPECT_EQ(TextOf(DoubleArgument(1.0 / 3.0)), "0.3333333333333");
    EXPECT_EQ(TextOf(DoubleArgument(2.5)), "2.5");
    EXPECT_EQ(TextOf(DoubleArgument(1e20)), "1e+20");
    EXPECT_EQ(TextOf(ArgumentRecord{7, 0, kTypeBoolean}), "真");
    EXPECT_EQ(TextOf(ArgumentRecord{0, 0, kTypeBoolean}), "假");
    EXPECT_EQ(TextOf(Kernel::TextArgument("\xB0\xA1z")), "\xB0\xA1z");
    EXPECT_EQ(Kernel::ToText(Kernel::TextArgument("")), nullptr);
    EXPECT_EQ(Kernel::ToText(ArgumentRecord{1, 0, kTypeComObject}), nullptr);
    EXPECT_EQ(Kernel::ToText(ArgumentRecord{1, 0, kTypeNone}), nullptr);
}

TEST_F(ValueCommands, ToTextOfDateTimes) {
    const auto date = [](double days) { return TextOf(DoubleArgument(days, kTypeDateTime)); };
    EXPECT_EQ(date(0), "1899年12月30日");
    EXPECT_EQ(date(2), "1900年1月1日");
    EXPECT_EQ(date(45000.5), "2023年3月15日12时");
    EXPECT_EQ(date(45000 + (13 * 60 + 5) / 1440.0), "2023年3月15日13时5分");
    EXPECT_EQ(date(45000 + (13 * 3600 + 7) / 86400.0), "2023年3月15日13时0分7秒");
    EXPECT_EQ(date(-1.25), "1899年12月29日6时");
    EXPECT_EQ(date(-657434), "100年1月1日");
    EXPECT_EQ(date(-1e9), "100年1月1日");
    EXPECT_EQ(date(2958465), "9999年12月31日");
    EXPECT_EQ(date(1e300), "9999年12月31日");
    EXPECT_EQ(date(INFINITY), "9999年12月31日");
    EXPECT_EQ(date(59), "1900年2月27日");
    EXPECT_EQ(date(60), "1900年2月28日");
    EXPECT_EQ(date(61), "1900年3月1日");
    EXPECT_EQ(date(36585), "2000年2月29日");
    // Just before midnight rounds to the next day.
    EXPECT_EQ(date(1.9999999999), "1900年1月1日");
    EXPECT_EQ(Kernel::ToText(DoubleArgument(NAN, kTypeDateTime)), nullptr);
}

TEST_F(ValueCommands, ToByteSetGivesInMemoryBytes) {
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(Kernel::TextArgument("ab"))), "ab");
    EXPECT_EQ(Kernel::ToByteSet(Kernel::TextArgument("")), nullptr);
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(TestBlock(std::string("a\0b", 3)).As(kTypeByteSet))),
              std::string("a\0b", 3));
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(ArgumentRecord{0x1234, 0, kTypeByte})), "\x34");
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(ArgumentRecord{0x1234, 0, kTypeShort})), "\x34\x12");
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(Kernel::IntegerArgument(0x01020304))),
              "\x04\x03\x02\x01");
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(ArgumentRecord{1, 0, kTypeBoolean})),
              std::string("\x01\0\0\0", 4));
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(ArgumentRecord{0x44332211, 0x88776655, kTypeLong})),
              "\x11\x22\x33\x44\x55\x66\x77\x88");
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(DoubleArgument(1.0))).size(), 8u);
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(DoubleArgument(1.0, kTypeDateTime))),
              std::string("\0\0\0\0\0\0\xF0\x3F", 8));
    TestBlock integers("");
    integers.words = {1, 2, 0x64636261, 0x00000065};
    EXPECT_EQ(TakeByteSet(Kernel::ToByteSet(integers.As(ArrayTypeOf(kTypeInteger)))),
              std::string("abcde\0\0\0", 8));
    EXPECT_EQ(Kernel::ToByteSet(integers.As(ArrayTypeOf(kTypeText))), nullptr);
    EXPECT_EQ(Kernel::ToByteSet(ArgumentRecord{5, 0, kTypeComObject}), nullptr);
}

TEST_F(ValueCommands, ByteSetCommands) {
    EXPECT_EQ(TakeByteSet(Kernel::BlankByteSet(1024)), std::string(1024, '\0'));
    EXPECT_EQ(Kernel::BlankByteSet(0), nullptr);
    EXPECT_EQ(Kernel::BlankByteSet(-7), nullptr);
    TestBlock set("abcd");
    const auto *header = reinterpret_cast<const ByteSetHeader *>(set.words.data());
    EXPECT_EQ(Kernel::ByteSetLength(header), 4);
    EXPECT_EQ(Kernel::ByteSetLength(nullptr), 0);
    EXPECT_EQ(TakeByteSet(Kernel::LeftBytes(header, 2)), "ab");
    EXPECT_EQ(TakeByteSet(Kernel::LeftBytes(header, 99)), "abcd");
    EXPECT_EQ(Kernel::LeftBytes(header, 0), nullptr);
    EXPECT_EQ(Kernel::LeftBytes(nullptr, 3), nullptr);
}

TEST_F(ValueCommands, ToIntegerOfTexts) {
    EXPECT_EQ(Kernel::TextToInteger("  -12ab"), -12);
    EXPECT_EQ(Kernel::TextToInteger("\xA3\xB8\xA3\xB0\xA3\xB8\xA3\xB0"), 8080);
    EXPECT_EQ(Kernel::TextToInteger("\xA1\xA1\xA3\xAD"
                                    "5"),
              -5);
    EXPECT_EQ(Kernel::TextToInteger("99999999999"), 2147483647);
    EXPECT_EQ(Kernel::TextToInteger("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(Kernel::TextToInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(Kernel::TextToInteger("2147483648"), 2147483647);
    EXPECT_EQ(Kernel::TextToInteger("\t\n\v\f\r +7"), 7);
    EXPECT_EQ(Kernel::TextToInteger("x1"), 0);
    EXPECT_EQ(Kernel::TextToInteger(""), 0);
    EXPECT_EQ(Kernel::TextToInteger("- 1"), 0);
}

TEST_F(ValueCommands, ToIntegerOfOtherTypes) {
    EXPECT_EQ(Kernel::ToInteger(ArgumentRecord{5, 0, kTypeBoolean}), 1);
    EXPECT_EQ(Kernel::ToInteger(ArgumentRecord{0x1FF, 0, kTypeByte}), 255);
    EXPECT_EQ(Kernel::ToInteger(ArgumentRecord{0xFFFF, 0, kTypeShort}), -1);
    EXPECT_EQ(Kernel::ToInteger(ArgumentRecord{7, 1, kTypeLong}), 7);
    EXPECT_EQ(Kernel::ToInteger(DoubleArgument(-2.9)), -2);
    float value = 2.9f;
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    EXPECT_EQ(Kernel::ToInteger(ArgumentRecord{bits, 0, kTypeFloat}), 2);
    EXPECT_EQ(Kernel::ToInteger(DoubleArgument(NAN)), 0);
    EXPECT_EQ(Kernel::ToInteger(ArgumentRecord{9, 0, kTypeComObject}), 0);
    EXPECT_EQ(Kernel::ToInteger(DoubleArgument(3.5, kTypeDateTime)), 0);
}

TEST_F(ValueCommands, HalfWidthFoldTurnsFullWidthTwinsIntoAscii) {
    EXPECT_EQ(TakeText(HalfWidthFold("\xA3\xC1\xA3\xA1\xA3\xFE\xA1\xA1\xA1\xAB\xA1\xEE\xA1\xEF")),
              "A!~ ~**");
    EXPECT_EQ(TakeText(HalfWidthFold("\xA3\xA0\xB0\xA1x\xA3")), "\xA3\xA0\xB0\xA1x");
    EXPECT_EQ(HalfWidthFold("\xA3"), nullptr);
}

TEST_F(ValueCommands, NumericToIntegerConvertsNumbers) {
    EXPECT_EQ(NumericToInteger(0xFFFFFF80, 0, kTypeByte), 0x80);
    EXPECT_EQ(NumericToInteger(0xFF80, 0, kTypeShort), -128);
    EXPECT_EQ(NumericToInteger(0xFFFFFFFE, 5, kTypeLong), -2);
    const ArgumentRecord minusHalf = DoubleArgument(-7.99);
    EXPECT_EQ(NumericToInteger(minusHalf.low, minusHalf.high, kTypeDouble), -7);
}

#ifndef _WIN32
// On Windows the report is a message box; the GUI driver tests that path.
TEST(ValueCommandsDeathTest, NumericToIntegerReportsOtherTypes) {
    EXPECT_EXIT(NumericToInteger(1, 0, kTypeText), ::testing::ExitedWithCode(255),
                "欲转换数据类型不是数值");
}
#endif

} // namespace
