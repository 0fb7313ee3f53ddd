// GrowableBuffer: slack and shrink rules, editing operations, serialization and files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/archive.h"
#include "runtime/growable_buffer.h"

namespace {

std::string Contents(const GrowableBuffer &b) {
    return std::string(reinterpret_cast<const char *>(b.Data()), b.Size());
}

void Fill(GrowableBuffer &b, const char *text) {
    b.Free();
    b.Append(text, static_cast<int32_t>(std::char_traits<char>::length(text)));
}

TEST(GrowableBufferSizing, ReserveKeeps128BytesOfSlack) {
    GrowableBuffer b;
    EXPECT_EQ(b.Reserve(0), nullptr);
    ASSERT_NE(b.Reserve(1000), nullptr);
    EXPECT_EQ(b.Capacity(), 1128u);
    EXPECT_EQ(b.Size(), 1000u);
}

// A size whose block with its slack does not fit 32 bits is refused as the heap would refuse it,
// never wrapped round to a small block.
TEST(GrowableBufferSizing, ASizeWhoseSlackWouldWrapIsRefused) {
    GrowableBuffer b;
    EXPECT_EQ(b.Reserve(0xFFFFFF80u), nullptr);
    EXPECT_EQ(b.Data(), nullptr);
    EXPECT_EQ(b.Capacity(), 0u);
    EXPECT_EQ(b.Size(), 0u);
    Fill(b, "abc");
    EXPECT_EQ(b.Resize(0xFFFFFFFFu), nullptr);
    EXPECT_FALSE(b.Insert(1, nullptr, 0xFFFFFFFEu));
    EXPECT_FALSE(b.Replace(1, 1, nullptr, 0xFFFFFFFFu));
    EXPECT_EQ(Contents(b), "abc");
    EXPECT_EQ(b.Capacity(), 131u);
}

TEST(GrowableBufferSizing, ShrinkingKeepsTheBlockUnlessMoreThan256BytesWouldBeIdle) {
    GrowableBuffer b;
    b.Reserve(1000);
    uint8_t *block = b.Data();
    b.Resize(900);
    EXPECT_EQ(b.Data(), block);
    EXPECT_EQ(b.Capacity(), 1128u);
    EXPECT_EQ(b.Size(), 900u);
    b.Resize(100);
    EXPECT_EQ(b.Capacity(), 228u);
    EXPECT_EQ(b.Size(), 100u);
}

TEST(GrowableBufferSizing, ResizeToZeroFreesTheData) {
    GrowableBuffer b;
    b.Reserve(10);
    EXPECT_EQ(b.Resize(0), nullptr);
    EXPECT_EQ(b.Data(), nullptr);
    EXPECT_EQ(b.Capacity(), 0u);
    EXPECT_EQ(b.Size(), 0u);
}

TEST(GrowableBufferSizing, AppendingWordByWordReallocatesRarely) {
    GrowableBuffer b;
    int moves = 0;
    const uint8_t *last = nullptr;
    for (uint32_t i = 0; i < 1000; ++i) {
        ASSERT_TRUE(b.AppendWord(i));
        if (b.Data() != last) {
            ++moves;
            last = b.Data();
        }
    }
    EXPECT_EQ(b.WordCount(), 1000u);
    EXPECT_EQ(b.WordAt(999), 999u);
    EXPECT_LE(moves, 1000 / 32 + 1);
}

TEST(GrowableBufferEditing, AppendWithoutBytesZeroFills) {
    GrowableBuffer b;
    EXPECT_TRUE(b.Append(nullptr, 3));
    EXPECT_EQ(Contents(b), std::string(3, '\0'));
    EXPECT_TRUE(b.Append("x", 0));
    EXPECT_TRUE(b.Append("x", -5));
    EXPECT_EQ(b.Size(), 3u);
}

TEST(GrowableBufferEditing, InsertMovesTheTailAndAppendsAtTheEnd) {
    GrowableBuffer b;
    Fill(b, "abef");
    EXPECT_TRUE(b.Insert(2, "cd", 2));
    EXPECT_EQ(Contents(b), "abcdef");
    EXPECT_TRUE(b.Insert(6, "g", 1));
    EXPECT_EQ(Contents(b), "abcdefg");
    EXPECT_TRUE(b.Insert(0, nullptr, 1));
    EXPECT_EQ(Contents(b), std::string("\0abcdefg", 8));
}

TEST(GrowableBufferEditing, ReplaceGrowsShrinksAndClipsToTheEnd) {
    GrowableBuffer b;
    Fill(b, "hello world");
    EXPECT_TRUE(b.Replace(0, 5, "goodbye", 7));
    EXPECT_EQ(Contents(b), "goodbye world");
    EXPECT_TRUE(b.Replace(8, 100, "you", 3));
    EXPECT_EQ(Contents(b), "goodbye you");
    EXPECT_TRUE(b.Replace(4, 3, nullptr, 0));
    EXPECT_EQ(Contents(b), "good you");
    EXPECT_TRUE(b.Replace(0, 4, "GOOD", 4));
    EXPECT_EQ(Contents(b), "GOOD you");
}

TEST(GrowableBufferEditing, RemoveFromTheEndAndFromAnOffset) {
    GrowableBuffer b;
    Fill(b, "abcdef");
    EXPECT_TRUE(b.Remove(-1, 2));
    EXPECT_EQ(Contents(b), "abcd");
    EXPECT_TRUE(b.Remove(1, 2));
    EXPECT_EQ(Contents(b), "ad");
    EXPECT_FALSE(b.Remove(2, 1));
    EXPECT_TRUE(b.Remove(1, 50));
    EXPECT_EQ(Contents(b), "a");
    EXPECT_TRUE(b.Remove(-1, 9));
    EXPECT_EQ(b.Data(), nullptr);
}

TEST(GrowableBufferEditing, RemovingEverythingFromTheStartFreesTheData) {
    GrowableBuffer b;
    Fill(b, "abc");
    EXPECT_TRUE(b.Remove(0, 3));
    EXPECT_EQ(b.Data(), nullptr);
    EXPECT_EQ(b.Capacity(), 0u);
}

TEST(GrowableBufferEditing, FindWordLooksOnlyAtTheFirstNEntries) {
    GrowableBuffer b;
    for (uint32_t w : {7u, 8u, 9u, 8u}) {
        b.AppendWord(w);
    }
    EXPECT_EQ(b.FindWord(8, 4), 1);
    EXPECT_EQ(b.FindWord(9, 2), -1);
    EXPECT_EQ(b.FindWord(42, 100), -1);
}

TEST(GrowableBufferEditing, SwapExchangesContents) {
    GrowableBuffer a;
    GrowableBuffer b;
    Fill(a, "one");
    a.Swap(b);
    EXPECT_EQ(a.Data(), nullptr);
    EXPECT_EQ(Contents(b), "one");
}

TEST(GrowableBufferSerialization, RoundTripsThroughAnArchive) {
    GrowableBuffer b;
    Fill(b, "payload");
    ArchiveWriter out;
    b.Serialize(out);
    ASSERT_EQ(out.Bytes().size(), 11u);
    EXPECT_EQ(out.Bytes()[0], 7);

    GrowableBuffer back;
    Fill(back, "old contents");
    ArchiveReader in(out.Bytes().data(), out.Bytes().size());
    back.Serialize(in);
    EXPECT_EQ(Contents(back), "payload");
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(GrowableBufferSerialization, ASizeBeyondTheStreamThrowsAndLeavesTheBufferEmpty) {
    const uint8_t bytes[] = {0xFF, 0xFF, 0xFF, 0x7F, 'a'};
    GrowableBuffer b;
    Fill(b, "old");
    ArchiveReader in(bytes, sizeof bytes);
    EXPECT_THROW(b.Serialize(in), ArchiveException);
    EXPECT_EQ(b.Size(), 0u);
}

TEST(GrowableBufferFiles, SaveAndLoadWholeAndPartial) {
    const std::string path = testing::TempDir() + "growable_buffer_file.bin";
    GrowableBuffer b;
    Fill(b, "0123456789");
    ASSERT_TRUE(b.SaveToFile(path.c_str(), 4, false));
    GrowableBuffer loaded;
    EXPECT_EQ(loaded.LoadFromFile(path.c_str(), -1), 4);
    EXPECT_EQ(Contents(loaded), "0123");
    ASSERT_TRUE(b.SaveToFile(path.c_str(), -1, true));
    EXPECT_EQ(loaded.LoadFromFile(path.c_str(), 100), 10);
    EXPECT_EQ(Contents(loaded), "0123456789");
    EXPECT_EQ(loaded.LoadFromFile(path.c_str(), 0), 0);
    EXPECT_EQ(loaded.Size(), 0u);
    std::remove(path.c_str());
    Fill(loaded, "x");
    EXPECT_EQ(loaded.LoadFromFile(path.c_str(), -1), -1);
    EXPECT_EQ(loaded.Size(), 0u);
}

} // namespace
