// The runtime heap's constant-segment rules and its failure report, and the texts of the
// runtime error report (the GUI tests prove the box that shows them).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/error_messages.h"
#include "runtime/heap.h"
#include "runtime/heap_instrumentation.h"

namespace {

class ConstantSegmentTest : public ::testing::Test {
protected:
    void SetUp() override { SetConstantSegment(segment_, sizeof segment_); }
    void TearDown() override { ForgetConstantSegment(); }

    alignas(4) uint8_t segment_[32] = {1, 0, 0, 0, 0, 0, 0, 0, 'a', 'b', 'c', 0};
};

TEST_F(ConstantSegmentTest, FreeIgnoresNullAndConstantsEvenTwice) {
    FreeMemory(nullptr);
    FreeMemory(segment_);
    FreeMemory(segment_ + 8);
    FreeMemory(segment_ + 8);
    EXPECT_EQ(segment_[8], 'a');
}

TEST_F(ConstantSegmentTest, RangeIsHalfOpen) {
    EXPECT_TRUE(IsConstantAddress(segment_));
    EXPECT_TRUE(IsConstantAddress(segment_ + 31));
    EXPECT_FALSE(IsConstantAddress(segment_ + 32));
    EXPECT_FALSE(IsConstantAddress(segment_ - 1));
}

TEST_F(ConstantSegmentTest, ReallocateCopiesAConstantOnlyUpToTheSegmentEnd) {
    std::memset(segment_ + 28, 0x5A, 4);
    auto *copy = static_cast<uint8_t *>(ReallocateMemory(segment_ + 28, 64));
    ASSERT_NE(copy, segment_ + 28);
    EXPECT_FALSE(IsConstantAddress(copy));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(copy[i], 0x5A);
    }
    EXPECT_EQ(segment_[28], 0x5A);
    FreeMemory(copy);
}

TEST_F(ConstantSegmentTest, ReallocateShrinkingAConstantCopiesTheRequestedBytes) {
    auto *copy = static_cast<char *>(ReallocateMemory(segment_ + 8, 2));
    EXPECT_EQ(copy[0], 'a');
    EXPECT_EQ(copy[1], 'b');
    FreeMemory(copy);
}

TEST(EmptyConstantSegment, ContainsNothing) {
    ForgetConstantSegment();
    EXPECT_FALSE(IsConstantAddress(nullptr));
    uint8_t byte = 0;
    SetConstantSegment(&byte, 0);
    EXPECT_FALSE(IsConstantAddress(&byte));
}

TEST(RuntimeHeap, ReallocateOfNullAllocatesAndHeapBlocksKeepTheirBytes) {
    auto *block = static_cast<char *>(ReallocateMemory(nullptr, 4));
    std::memcpy(block, "xyz", 4);
    block = static_cast<char *>(ReallocateMemory(block, 4096));
    EXPECT_STREQ(block, "xyz");
    FreeMemory(block);
}

TEST(ErrorReportText, EachTableEntryIsReportedUnderItsIndex) {
    const struct {
        int index;
        const char *message;
    } kEntries[] = {
        {2, "未得到所需要的数值型数据"},
        {3, "引用数组成员时维数不为1且不等于该数组目前所具有的维数"},
        {5, "数据或数组类型不匹配"},
        {7, "子语句参数未返回数据或者返回了非系统基本类型或数组型数据"},
        {8, "被比较数据只能使用等于或不等于命令比较"},
        {10, "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零"},
        {11, "所提供参数的数据类型不符合要求"},
    };
    for (const auto &entry : kEntries) {
        SCOPED_TRACE(entry.index);
        const char *message = ErrorTableMessage(entry.index);
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(ComposeErrorReport(message, entry.index),
                  "运行时出错!\r\n\r\n错误代码：" + std::to_string(entry.index) +
                      "\r\n\r\n错误信息：" + entry.message + "\r\n");
    }
    EXPECT_EQ(ErrorTableMessage(0), nullptr);
    EXPECT_EQ(ErrorTableMessage(kErrorTableSize + 1), nullptr);
}

TEST(ErrorReportText, NoCodeLineForCodeZeroAndNoMessageLineWithoutAMessage) {
    EXPECT_EQ(ComposeErrorReport("分配 8 字节内存失败!", 0),
              "运行时出错!\r\n\r\n错误信息：分配 8 字节内存失败!\r\n");
    EXPECT_EQ(ComposeErrorReport(nullptr, 6), "运行时出错!\r\n\r\n错误代码：6\r\n\r\n");
    EXPECT_EQ(ComposeErrorReport("", 6), "运行时出错!\r\n\r\n错误代码：6\r\n\r\n");
}

#ifndef _WIN32
// On Windows the report is a message box; the GUI driver tests that path.
TEST(RuntimeHeapDeathTest, AFailedAllocationIsReportedWithItsByteCount) {
    // A 32-bit process on a 64-bit Linux kernel may really get 2 GiB; make the failure certain.
    EXPECT_EXIT(
        {
            HeapInstrumentation::FailAllocationNumber(1);
            AllocateMemory(0x7FFFFFF0);
        },
        ::testing::ExitedWithCode(255),
        "\xB7\xD6\xC5\xE4 2147483632 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}
#endif

} // namespace
