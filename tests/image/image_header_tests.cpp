// The downloader's ImageHeader points at the generated template segment, and the click handler
// bound in it reaches DownloadButtonClick through the entry table.
#include <gtest/gtest.h>

#include <cstring>

#include "app/download_button_click.h"
#include "image/window/window_template_segment.h"
#include "runtime/image_layout.h"
#include "window/template_reader.h"

extern "C" void CodeBase();

namespace {

constexpr uint32_t kMainWindowId = 0x52010001;
constexpr uint32_t kDownloadButtonId = 0x16010005;
constexpr uint8_t kNoResultEntry = 0xE8;

// The routine the 5-byte entry names.
uintptr_t JumpTarget(const uint8_t *entry) {
    int32_t displacement;
    std::memcpy(&displacement, entry + 1, 4);
    return reinterpret_cast<uintptr_t>(entry) + 5 + displacement;
}

TEST(ImageHeader, TemplateSegmentIsTheGeneratedOne) {
    EXPECT_EQ(ProgramImageHeader.templateSegment, kWindowTemplateSegment);
    EXPECT_EQ(ProgramImageHeader.templateSegmentSize, kWindowTemplateSegmentSize);
    EXPECT_EQ(ProgramImageHeader.templateSegmentSize, 0x171Du);
}

TEST(ImageHeader, CodeBaseFollowsTheNullRoutine) {
    const auto *code = reinterpret_cast<const uint8_t *>(ProgramImageHeader.codeBase);
    EXPECT_EQ(reinterpret_cast<const void *>(&CodeBase), ProgramImageHeader.codeBase);
    // xor eax, eax; ret; padded to 4 bytes.
    EXPECT_EQ(code[-4], 0x31);
    EXPECT_EQ(code[-3], 0xC0);
    EXPECT_EQ(code[-2], 0xC3);
}

TEST(ImageHeader, ButtonClickReachesDownloadButtonClickThroughTheEntryTable) {
    WindowTemplateList windows = ReadWindowTemplates(ProgramImageHeader.templateSegment,
                                                     ProgramImageHeader.templateSegmentSize);
    ASSERT_EQ(windows.size(), 1u);
    ASSERT_EQ(windows[0]->WindowId(), kMainWindowId);
    const uint32_t codeBase = reinterpret_cast<uint32_t>(ProgramImageHeader.codeBase);
    windows[0]->RelocateHandlers(codeBase);
    const UnitRecordView button = windows[0]->FindRecord(kDownloadButtonId);
    ASSERT_TRUE(button);
    ASSERT_EQ(button.BindingCount(), 1u);
    EXPECT_EQ(button.Binding(0).eventNumber, 0);
    // The first entry of the table names the handler, declared without a result.
    const uint32_t handler = button.Binding(0).handler;
    EXPECT_EQ(handler, codeBase);
    const auto *entry = reinterpret_cast<const uint8_t *>(handler);
    EXPECT_EQ(entry[0], kNoResultEntry);
    EXPECT_EQ(JumpTarget(entry), reinterpret_cast<uintptr_t>(&DownloadButtonClick));
}

} // namespace
