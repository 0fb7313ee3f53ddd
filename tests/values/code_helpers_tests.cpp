// The compiled-code helpers and the conventions program code follows: measuring, joining,
// comparing, counting, float conversion under every rounding mode, checked indexing.
#include <cfenv>
#include <cmath>
#include <cstring>

#include "tests/values/value_test_support.h"
#include "values/code_helpers.h"
#include "values/program_conventions.h"

namespace {

class CodeHelpers : public HeapBalanceTest {};

TEST_F(CodeHelpers, StrLenIsExactAtEveryAlignment) {
    EXPECT_EQ(CodeStrLen(nullptr), 0u);
    alignas(16) char buffer[32];
    for (uint32_t offset = 0; offset < 8; ++offset) {
        for (uint32_t length = 0; length <= 8; ++length) {
            std::memset(buffer, 'x', sizeof buffer);
            buffer[offset + length] = '\0';
            EXPECT_EQ(CodeStrLen(buffer + offset), length) << offset << " " << length;
        }
    }
}

TEST_F(CodeHelpers, ConcatTextsAlwaysAllocates) {
    Text empty = CodeConcatTexts(2, "", nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty[0], '\0');
    FreeMemory(empty);
    EXPECT_EQ(TakeText(CodeConcatTexts(3, "ab", nullptr, "\xB0\xA1")), "ab\xB0\xA1");
    EXPECT_EQ(TakeText(CodeConcatTexts(6, "1", "2", "", "4", "5", "6")), "12456");
}

TEST_F(CodeHelpers, CompareTextsTreatsNullAsEmpty) {
    char allocatedEmpty[1] = {'\0'};
    EXPECT_EQ(CodeCompareTexts(nullptr, allocatedEmpty), 0);
    EXPECT_EQ(CodeCompareTexts(nullptr, nullptr), 0);
    EXPECT_EQ(CodeCompareTexts("a", nullptr), 1);
    EXPECT_EQ(CodeCompareTexts(nullptr, "a"), -1);
    EXPECT_EQ(CodeCompareTexts("a", "b"), -1);
    EXPECT_EQ(CodeCompareTexts("b", "a"), 1);
    EXPECT_EQ(CodeCompareTexts("ab", "ab"), 0);
    EXPECT_EQ(CodeCompareTexts("ab", "a"), 1);
    EXPECT_EQ(CodeCompareTexts("\x80", "z"), 1);
}

TEST_F(CodeHelpers, CompareBytesIsUnsigned) {
    EXPECT_EQ(CodeCompareBytes("abc", "abd", 0), 0);
    EXPECT_EQ(CodeCompareBytes("abc", "abd", 2), 0);
    EXPECT_EQ(CodeCompareBytes("abc", "abd", 3), -1);
    EXPECT_EQ(CodeCompareBytes("\xFF", "\x01", 1), 1);
}

TEST_F(CodeHelpers, ConcatByteSetsIsNullWhenEmpty) {
    const uint32_t emptySet[2] = {1, 0};
    const auto *empty = reinterpret_cast<const ByteSetHeader *>(emptySet);
    EXPECT_EQ(CodeConcatByteSets(2, empty, nullptr), nullptr);
    ByteSet ab = NewByteSet("ab", 2);
    ByteSet c = NewByteSet("c", 1);
    EXPECT_EQ(TakeByteSet(CodeConcatByteSets(3, ab, empty, c)), "abc");
    FreeMemory(ab);
    FreeMemory(c);
}

TEST_F(CodeHelpers, ArrayCountMultipliesDimensions) {
    const uint32_t twoByThree[3 + 6] = {2, 2, 3};
    const ArrayExtent extent = CodeArrayCount(twoByThree);
    EXPECT_EQ(extent.count, 6u);
    EXPECT_EQ(extent.elements, reinterpret_cast<const uint8_t *>(twoByThree + 3));
    const uint32_t noDimensions[1] = {0};
    EXPECT_EQ(CodeArrayCount(noDimensions).count, 0u);
    EXPECT_EQ(CodeArrayCountOrZero(nullptr).count, 0u);
    const uint32_t huge[3] = {2, 0x10000, 0x10000};
    EXPECT_EQ(CodeArrayCount(huge).count, 0u);
}

TEST_F(CodeHelpers, FloatToIntTruncatesUnderEveryRoundingModeAndRestoresIt) {
    for (const int mode : {FE_TONEAREST, FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(std::fesetround(mode), 0);
        EXPECT_EQ(CodeFloatToInt(2.9), 2) << mode;
        EXPECT_EQ(CodeFloatToInt(-2.9), -2) << mode;
        EXPECT_EQ(CodeFloatToInt(2.5), 2) << mode;
        EXPECT_EQ(CodeFloatToInt(-0.5), 0) << mode;
        EXPECT_EQ(CodeFloatToInt(4294967296.75), 4294967296LL) << mode;
        EXPECT_EQ(std::fegetround(), mode);
    }
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(CodeFloatToInt(1e30), INT64_MIN);
    EXPECT_EQ(CodeFloatToInt(NAN), INT64_MIN);
}

TEST_F(CodeHelpers, CountedLoopFixesItsBoundOnce) {
    int iterations = 0;
    for (int32_t i = 1, n = 0; i <= n; ++i) {
        ++iterations;
    }
    EXPECT_EQ(iterations, 0);
    int32_t bound = 3;
    for (int32_t i = 1, n = bound; i <= n; ++i) {
        bound = 10;
        ++iterations;
    }
    EXPECT_EQ(iterations, 3);
}

TEST_F(CodeHelpers, CheckedElementAddressFindsElements) {
    const uint32_t array[2 + 3] = {1, 3, 10, 20, 30};
    EXPECT_EQ(*static_cast<uint32_t *>(CheckedElementAddress(array, 1, 4)), 10u);
    EXPECT_EQ(*static_cast<uint32_t *>(CheckedElementAddress(array, 3, 4)), 30u);
    EXPECT_EQ(CheckedSelectionIndex(0, 2), 0);
    EXPECT_EQ(CheckedSelectionIndex(1, 2), 1);
}

#ifndef _WIN32
// On Windows the report is a message box; the GUI driver tests that path.
TEST(CodeHelpersDeathTest, BadIndexesEndTheProgramWithTheirErrors) {
    const uint32_t array[2 + 3] = {1, 3, 10, 20, 30};
    EXPECT_EXIT(CheckedElementAddress(array, 0, 4), ::testing::ExitedWithCode(255),
                "数组成员引用下标必须大于等于1");
    EXPECT_EXIT(CheckedElementAddress(array, 4, 4), ::testing::ExitedWithCode(255),
                "数组成员引用下标超出定义范围");
    EXPECT_EXIT(CheckedElementAddress(nullptr, 1, 4), ::testing::ExitedWithCode(255),
                "数组成员引用下标超出定义范围");
    EXPECT_EXIT(CheckedSelectionIndex(2, 2), ::testing::ExitedWithCode(255), "索引值参数");
    EXPECT_EXIT(CheckedSelectionIndex(-1, 2), ::testing::ExitedWithCode(255), "索引值参数");
}
#endif

} // namespace
