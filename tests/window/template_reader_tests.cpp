// The segment reader on empty, truncated, corrupt and oversized input, and the start-up load's
// report.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "framework/archive.h"
#include "image/window/window_template_segment.h"
#include "runtime/heap_instrumentation.h"
#include "segment_builder.h"
#include "window/template_reader.h"

namespace {

std::vector<uint8_t> ProgramSegment() {
    return {kWindowTemplateSegment, kWindowTemplateSegment + kWindowTemplateSegmentSize};
}

// Reads and walks everything a window engine would touch; any out-of-bounds access shows up
// under AddressSanitizer.
void ReadAndWalk(const std::vector<uint8_t> &segment) {
    auto windows = ReadWindowTemplates(segment.data(), static_cast<uint32_t>(segment.size()));
    for (auto &window : windows) {
        window->RelocateHandlers(0x00401004);
        for (uint32_t i = 0; i < window->UnitCount(); ++i) {
            UnitRecordView record = window->RecordAt(i);
            volatile size_t sink = std::strlen(record.Name()) + std::strlen(record.Remark());
            if (record.IsMenuItem()) {
                sink = sink + std::strlen(record.Caption()) + record.MenuHandler();
            } else {
                for (uint32_t k = 0; k < record.ChildCount(); ++k) {
                    sink = sink + record.Child(k);
                }
                for (uint32_t k = 0; k < record.BindingCount(); ++k) {
                    sink = sink + record.Binding(k).handler;
                }
                for (uint8_t byte : record.MousePointer()) {
                    sink = sink + byte;
                }
                for (uint8_t byte : record.PropertyBlock()) {
                    sink = sink + byte;
                }
                sink = sink + std::strlen(record.Tag()) + record.Flags();
            }
            window->FindRecord(window->UnitIdAt(i));
        }
    }
}

TEST(TemplateReader, SizeZeroReadsNothing) {
    const uint8_t never[1] = {0xFF};
    EXPECT_TRUE(ReadWindowTemplates(never, 0).empty());
    EXPECT_TRUE(ReadWindowTemplates(nullptr, 0).empty());
    EXPECT_TRUE(LoadWindowTemplates(nullptr, 0, 0x401004).empty());
}

TEST(TemplateReader, EmptyIdTableMeansNoWindows) {
    for (uint32_t length : {0u, 0x80000000u, 0xFFFFFFFFu}) {
        SegmentBuilder segment;
        segment.Word(length);
        EXPECT_TRUE(ReadWindowTemplates(segment.bytes.data(), 4).empty());
    }
}

TEST(TemplateReader, EveryTruncationOfTheProgramSegmentIsRejected) {
    const std::vector<uint8_t> segment = ProgramSegment();
    for (size_t length = 1; length < segment.size(); ++length) {
        // A copy of exactly length bytes, so that any read beyond it is caught.
        const std::vector<uint8_t> cut(segment.begin(), segment.begin() + length);
        EXPECT_THROW(ReadWindowTemplates(cut.data(), static_cast<uint32_t>(length)),
                     ArchiveException)
            << "length " << length;
    }
    EXPECT_NO_THROW(ReadAndWalk(segment));
}

TEST(TemplateReader, AbsurdCountsAreRejectedBeforeAllocating) {
    const std::vector<uint8_t> segment = ProgramSegment();
    struct Patch {
        size_t offset;
        uint32_t word;
    };
    // Offsets in the program segment: id table length, unit count, UnitList length, first
    // record offset, first record length, and a last record offset whose length word would
    // stand partly or wholly behind the data (the records part is 0x16f9 - 56 = 5825 bytes).
    for (const Patch patch :
         {Patch{0, 0x7FFFFFF8}, Patch{28, 0x7FFFFFFF}, Patch{28, 0x1FFFFFFF}, Patch{32, 0x7FFFFFF0},
          Patch{64, 0xFFFFFFF0}, Patch{64, 0x16f9}, Patch{92, 0x7FFFFFFF}, Patch{88, 5825},
          Patch{88, 5824}, Patch{88, 5822}}) {
        std::vector<uint8_t> bad = segment;
        for (int i = 0; i < 4; ++i) {
            bad[patch.offset + i] = static_cast<uint8_t>(patch.word >> (8 * i));
        }
        EXPECT_THROW(ReadAndWalk(bad), ArchiveException) << "offset " << patch.offset;
    }
}

TEST(TemplateReader, HugeChildAndBindingCountsAreRejected) {
    TestRecord own = MakeRecord(0x06010000, 0x00010001, "");
    for (uint32_t count : {0x40000000u, 0x3FFFFFFFu, 0xFFFFFFFFu, 1000u}) {
        std::vector<uint8_t> segment = SegmentBuilder::Segment({{0x52010001, {own}}});
        // Child count: after the 40 header bytes of the UnitList (U = 1: 8 table bytes and the
        // length word), type..remark (26 bytes) and seven words.
        const size_t childCountAt = 12 + 20 + 4 + 8 + 4 + 26 + 28;
        for (int i = 0; i < 4; ++i) {
            segment[childCountAt + i] = static_cast<uint8_t>(count >> (8 * i));
        }
        EXPECT_THROW(ReadAndWalk(segment), ArchiveException) << count;
    }
}

TEST(TemplateReader, RecordsSharingBytesAreRejected) {
    const TestRecord own = MakeRecord(0x06010000, 0x00010001, "");
    const TestRecord button = MakeRecord(0x16010002, 0x0001000B, "");
    std::vector<uint8_t> segment = SegmentBuilder::Segment({{0x52010001, {own, button}}});
    // The second record's offset, behind the 12-byte id table, the six words of the window
    // record and the two unit ids, made to point at the first record.
    const size_t secondOffsetAt = 12 + 24 + 8 + 4;
    std::fill(segment.begin() + secondOffsetAt, segment.begin() + secondOffsetAt + 4, 0);
    EXPECT_THROW(ReadAndWalk(segment), ArchiveException);
}

TEST(TemplateReader, SeededCorruptionsAreRejectedOrStayInBounds) {
    const std::vector<uint8_t> segment = ProgramSegment();
    std::mt19937 random(20240917);
    int rejected = 0;
    constexpr int kRounds = 3000;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<uint8_t> bad = segment;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f) {
            // Half of the damage goes to the structural head (id table, window record, unit
            // tables and the first records), where it must be noticed.
            const size_t span = round % 2 == 0 ? 160 : bad.size();
            bad[random() % span] = static_cast<uint8_t>(random());
        }
        try {
            ReadAndWalk(bad);
        } catch (const ArchiveException &) {
            ++rejected;
        }
    }
    // Damage to texts, colours or the icon is not detectable; damage to lengths and tables is.
    EXPECT_GT(rejected, kRounds / 5);
}

#ifdef ZV_HEAP_INSTRUMENTATION
TEST(TemplateReader, FailedAllocationIsAReadFailureAndLeaksNothing) {
    const std::vector<uint8_t> segment = ProgramSegment();
    const int32_t live = HeapInstrumentation::LiveBlocks();
    // The window's two texts are empty and take no block: the first block is its UnitList data.
    HeapInstrumentation::FailAllocationNumber(1);
    EXPECT_THROW(ReadWindowTemplates(segment.data(), static_cast<uint32_t>(segment.size())),
                 ArchiveException);
    HeapInstrumentation::FailAllocationNumber(0);
    EXPECT_EQ(HeapInstrumentation::LiveBlocks(), live);
    {
        auto windows = ReadWindowTemplates(segment.data(), static_cast<uint32_t>(segment.size()));
        windows[0]->KeepPristineCopy();
        EXPECT_EQ(HeapInstrumentation::LiveBlocks(), live + 2);
    }
    EXPECT_EQ(HeapInstrumentation::LiveBlocks(), live);
}
#endif

using TemplateLoadDeathTest = ::testing::Test;

TEST_F(TemplateLoadDeathTest, UnreadableSegmentIsReportedAndEndsTheProcess) {
    const std::vector<uint8_t> segment = ProgramSegment();
    EXPECT_EXIT(LoadWindowTemplates(segment.data(), 100, 0x401004), ::testing::ExitedWithCode(255),
                ::testing::HasSubstr("载入窗口模板数据段出错!"));
}

TEST(TemplateLoad, LoadRelocatesTheButtonHandler) {
    const std::vector<uint8_t> segment = ProgramSegment();
    auto windows = LoadWindowTemplates(segment.data(), kWindowTemplateSegmentSize, 0x00401004);
    ASSERT_EQ(windows.size(), 1u);
    UnitRecordView button = windows[0]->FindRecord(0x16010005);
    ASSERT_EQ(button.BindingCount(), 1u);
    EXPECT_EQ(button.Binding(0).eventNumber, 0);
    // DownloadButtonClick is entry 0 of the entry table: CodeBase itself.
    EXPECT_EQ(button.Binding(0).handler, 0x00401004u);
}

} // namespace
