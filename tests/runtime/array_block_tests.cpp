// Array blocks: the bounded length of constant arrays and the release of array values.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/array_block.h"
#include "runtime/heap.h"
#include "runtime/heap_instrumentation.h"
#include "runtime/program_path.h"

namespace {

constexpr uint32_t kTextArray = 0xA0000004;
constexpr uint32_t kIntegerArray = 0xA0000301;

class ConstantArrayTest : public ::testing::Test {
protected:
    void SetUp() override { SetConstantSegment(segment_, sizeof segment_); }
    void TearDown() override { ForgetConstantSegment(); }

    alignas(4) uint32_t segment_[8] = {};
};

TEST_F(ConstantArrayTest, LengthCountsHeaderAndElements) {
    segment_[0] = 2; // dimensions 2 x 1 of 4-byte elements
    segment_[1] = 2;
    segment_[2] = 1;
    EXPECT_EQ(ConstantArrayLength(segment_, 4), 12u + 8u);
}

TEST_F(ConstantArrayTest, NoDimensionsMeansOneElement) {
    segment_[0] = 0;
    EXPECT_EQ(ConstantArrayLength(segment_, 8), 4u + 8u);
}

TEST_F(ConstantArrayTest, ACorruptBlockIsBoundedByTheSegmentEnd) {
    segment_[4] = 1;
    segment_[5] = 0x40000000;
    EXPECT_EQ(ConstantArrayLength(&segment_[4], 4), 16u);
    segment_[4] = 0xFFFFFFFF;
    EXPECT_EQ(ConstantArrayLength(&segment_[4], 4), 16u);
}

TEST(ArrayValueRelease, TextElementsAreFreedWithTheBlock) {
    const int32_t before = HeapInstrumentation::LiveBlocks();
    auto *array = static_cast<uint32_t *>(AllocateMemory(4 + 8 + 6 * 4));
    array[0] = 2;
    array[1] = 2;
    array[2] = 3;
    for (int i = 0; i < 6; ++i) {
        // One element is null, as an unset text is.
        array[3 + i] = i == 4 ? 0 : reinterpret_cast<uint32_t>(AllocateMemory(3));
    }
    FreeArrayValue(kTextArray, array);
    EXPECT_EQ(HeapInstrumentation::LiveBlocks(), before);
}

TEST(ArrayValueRelease, OtherElementsAreNotTakenForBlocks) {
    const int32_t before = HeapInstrumentation::LiveBlocks();
    auto *array = static_cast<uint32_t *>(AllocateMemory(12));
    array[0] = 1;
    array[1] = 1;
    array[2] = 0x12345678; // an integer, not an address
    FreeArrayValue(kIntegerArray, array);
    FreeArrayValue(kTextArray, nullptr);
    EXPECT_EQ(HeapInstrumentation::LiveBlocks(), before);
}

TEST(ProgramPathSplit, DirectoryAndFileNameAtTheLastBackslash) {
    const char path[] = "C:\\Program Files\\Zorvin\\ZorvinDownloader.exe";
    const ProgramPath split = SplitExecutablePath(path, std::strlen(path));
    EXPECT_EQ(split.directory, "C:\\Program Files\\Zorvin");
    EXPECT_EQ(split.fileName, "ZorvinDownloader.exe");
}

TEST(ProgramPathSplit, NoBackslashGivesAnEmptyDirectory) {
    const ProgramPath split = SplitExecutablePath("program.exe", 11);
    EXPECT_EQ(split.directory, "");
    EXPECT_EQ(split.fileName, "program.exe");
}

TEST(ProgramPathSplit, ATrailByteEqualToTheBackslashDoesNotCount) {
    // 0x81 0x5C is one double-byte character whose trail byte is the backslash code.
    const char path[] = "C:\\a\x81\x5C"
                        "b.exe";
    const ProgramPath split = SplitExecutablePath(path, std::strlen(path));
    EXPECT_EQ(split.directory, "C:");
    EXPECT_EQ(split.fileName, "a\x81\x5C"
                              "b.exe");
}

} // namespace
