// Internal commands through slot 12: MakeArrayWritable and the file search.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "program_constants.h"
#include "runtime/heap.h"
#include "wiring/internal_commands.h"
#include "runtime/program_calls.h"

namespace {

class ArrayWritableTest : public ::testing::Test {
protected:
    void SetUp() override { SetConstantSegment(ConstantSegment, kConstantSegmentSize); }
    void TearDown() override { ForgetConstantSegment(); }
};

TEST_F(ArrayWritableTest, AConstantArrayIsCopiedToTheHeap) {
    void *array = const_cast<void *>(ConstantBlock(Constant::EmptyArray));
    ProgramCall::MakeArrayWritable(4, &array);
    ASSERT_FALSE(IsConstantAddress(array));
    const auto *words = static_cast<const uint32_t *>(array);
    EXPECT_EQ(words[0], 1u);
    EXPECT_EQ(words[1], 0u);
    // Program code then grows it by one element.
    array = ProgramCall::ReallocateMemory(array, 8 + 4);
    ProgramCall::FreeMemory(array);
}

TEST_F(ArrayWritableTest, AHeapArrayIsLeftAlone) {
    auto *heapArray = static_cast<uint32_t *>(ProgramCall::AllocateMemory(12));
    heapArray[0] = 1;
    heapArray[1] = 1;
    heapArray[2] = 7;
    void *variable = heapArray;
    ProgramCall::MakeArrayWritable(4, &variable);
    EXPECT_EQ(variable, heapArray);
    ProgramCall::FreeMemory(heapArray);
}

class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "zv_search_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir_.c_str(), nullptr);
        CreateDirectoryA((dir_ + "\\sub.txt").c_str(), nullptr);
        for (const char *name : {"a.txt", "b.txt", "c.dat"}) {
            HANDLE file = CreateFileA((dir_ + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
            CloseHandle(file);
        }
    }
    void TearDown() override {
        for (const char *name : {"a.txt", "b.txt", "c.dat"}) {
            DeleteFileA((dir_ + "\\" + name).c_str());
        }
        RemoveDirectoryA((dir_ + "\\sub.txt").c_str());
        RemoveDirectoryA(dir_.c_str());
    }

    // Every name the search yields, continuing with an empty pattern.
    std::vector<std::string> SearchAll(const std::string &pattern, uint32_t mask, bool noDirs) {
        std::vector<std::string> names;
        void *slot = nullptr;
        char *name = ProgramCall::FileSearchStep(pattern.c_str(), mask, noDirs, &slot);
        while (name != nullptr) {
            names.push_back(name);
            ProgramCall::FreeMemory(name);
            name = ProgramCall::FileSearchStep(nullptr, mask, noDirs, &slot);
        }
        EXPECT_EQ(slot, nullptr) << "the slot is cleared when the entries run out";
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
};

TEST_F(FileSearchTest, ExcludingDirectoriesYieldsTheMatchingFiles) {
    EXPECT_EQ(SearchAll(dir_ + "\\*.txt", 0, true), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(FileSearchTest, TheMaskSelectsByAttribute) {
    EXPECT_EQ(SearchAll(dir_ + "\\*.txt", FILE_ATTRIBUTE_DIRECTORY, false),
              (std::vector<std::string>{"sub.txt"}));
    EXPECT_EQ(SearchAll(dir_ + "\\*", FILE_ATTRIBUTE_ARCHIVE, false),
              (std::vector<std::string>{"a.txt", "b.txt", "c.dat"}));
}

// A plain file on Windows reports FILE_ATTRIBUTE_NORMAL (Wine reports the archive bit), so a
// mask of 0 takes only entries that report no attribute at all.
TEST(FileSearchAccepts, AMaskOfZeroTakesOnlyEntriesWithoutAttributes) {
    EXPECT_TRUE(FileSearchAccepts(0, 0, false));
    EXPECT_FALSE(FileSearchAccepts(FILE_ATTRIBUTE_NORMAL, 0, false));
    EXPECT_FALSE(FileSearchAccepts(FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, 0, false));
    EXPECT_FALSE(FileSearchAccepts(FILE_ATTRIBUTE_ARCHIVE, 0, false));
    EXPECT_TRUE(FileSearchAccepts(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL,
                                  FILE_ATTRIBUTE_ARCHIVE, false));
    EXPECT_FALSE(FileSearchAccepts(FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_NORMAL, false));
    EXPECT_TRUE(FileSearchAccepts(FILE_ATTRIBUTE_NORMAL, 0, true));
}

TEST_F(FileSearchTest, NoMatchAndNoHeldSearchGiveNull) {
    void *slot = nullptr;
    EXPECT_EQ(ProgramCall::FileSearchStep((dir_ + "\\*.none").c_str(), 0, true, &slot), nullptr);
    EXPECT_EQ(ProgramCall::FileSearchStep("", 0, true, &slot), nullptr);
    EXPECT_EQ(slot, nullptr);
}

TEST_F(FileSearchTest, ANewPatternClosesTheHeldSearch) {
    void *slot = nullptr;
    char *first = ProgramCall::FileSearchStep((dir_ + "\\*.txt").c_str(), 0, true, &slot);
    ASSERT_NE(first, nullptr);
    ProgramCall::FreeMemory(first);
    char *other = ProgramCall::FileSearchStep((dir_ + "\\*.dat").c_str(), 0, true, &slot);
    ASSERT_NE(other, nullptr);
    EXPECT_STREQ(other, "c.dat");
    ProgramCall::FreeMemory(other);
    ProgramCall::FileSearchClose(slot);
}

} // namespace
