// The runtime heap's constant-segment rules and its failure report.
#include <gtest/gtest.h>

#include <cstring>

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
