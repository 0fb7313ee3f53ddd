// Edits that change a record's length: the tag, the mouse-pointer block and a menu caption move
// the later records, keep every look-up working, and the pristine copy undoes them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "segment_builder.h"
#include "window/template_reader.h"

namespace {

constexpr uint32_t kWindowId = 0x52010001;
constexpr uint32_t kButtonId = 0x16010005;
constexpr uint32_t kLastId = 0x16010006;
constexpr uint32_t kMenuId = 0x26010007;

std::vector<TestRecord> Records() {
    TestRecord own = MakeRecord(0x06010000, 0x00010001, "");
    own.propertyBlock = {6, 0, 0, 0};
    TestRecord button = MakeRecord(kButtonId, 0x0001000b, "按钮1");
    button.bindings = {{0, 0x10}};
    button.propertyBlock = {1, 0, 0, 0, 7};
    TestRecord menu = MakeRecord(kMenuId, 0x00010003, "菜单1");
    menu.menuItem = true;
    menu.caption = "文件";
    menu.menuHandler = 0x20;
    TestRecord last = MakeRecord(kLastId, 0x0001000b, "按钮2");
    last.propertyBlock = {1, 0, 0, 0, 8};
    return {own, button, menu, last};
}

std::unique_ptr<WindowTemplate> ReadWindow() {
    const std::vector<uint8_t> segment = SegmentBuilder::Segment({{kWindowId, Records()}});
    WindowTemplateList windows =
        ReadWindowTemplates(segment.data(), static_cast<uint32_t>(segment.size()));
    return std::move(windows[0]);
}

std::vector<uint8_t> Bytes(std::span<const uint8_t> span) {
    return {span.begin(), span.end()};
}

TEST(TemplateEdits, LongerTagMovesTheLaterRecords) {
    auto window = ReadWindow();
    window->FindRecord(kLastId).SetLeft(-123);
    ASSERT_TRUE(window->ReplaceTag(1, "一个更长的标记"));
    EXPECT_STREQ(window->FindRecord(kButtonId).Tag(), "一个更长的标记");
    // The fields behind the tag and the records behind this one read as before.
    EXPECT_EQ(window->FindRecord(kButtonId).Flags(), 5u);
    EXPECT_EQ(window->FindRecord(kButtonId).Binding(0).handler, 0x10u);
    EXPECT_EQ(Bytes(window->FindRecord(kButtonId).PropertyBlock()),
              (std::vector<uint8_t>{1, 0, 0, 0, 7}));
    EXPECT_STREQ(window->FindRecord(kMenuId).Caption(), "文件");
    EXPECT_EQ(window->FindRecord(kLastId).Left(), -123);
    EXPECT_EQ(Bytes(window->FindRecord(kLastId).PropertyBlock()),
              (std::vector<uint8_t>{1, 0, 0, 0, 8}));
    ASSERT_TRUE(window->ReplaceTag(1, nullptr));
    EXPECT_STREQ(window->FindRecord(kButtonId).Tag(), "");
    EXPECT_EQ(window->FindRecord(kLastId).Left(), -123);
}

TEST(TemplateEdits, MousePointerBlockIsReplacedWithItsLength) {
    auto window = ReadWindow();
    const uint8_t block[] = {14, 0, 0, 0, 0xAA, 0xBB};
    ASSERT_TRUE(window->ReplaceMousePointer(1, block));
    EXPECT_EQ(Bytes(window->FindRecord(kButtonId).MousePointer()),
              (std::vector<uint8_t>(block, block + sizeof block)));
    EXPECT_EQ(window->FindRecord(kButtonId).TabOrder(), 3);
    ASSERT_TRUE(window->ReplaceMousePointer(1, {}));
    EXPECT_TRUE(window->FindRecord(kButtonId).MousePointer().empty());
    EXPECT_EQ(Bytes(window->FindRecord(kLastId).PropertyBlock()),
              (std::vector<uint8_t>{1, 0, 0, 0, 8}));
}

TEST(TemplateEdits, MenuCaptionAndTheRecordFormsAreKeptApart) {
    auto window = ReadWindow();
    ASSERT_TRUE(window->ReplaceMenuCaption(2, "打开文件"));
    EXPECT_STREQ(window->FindRecord(kMenuId).Caption(), "打开文件");
    EXPECT_EQ(window->FindRecord(kMenuId).MenuHandler(), 0x20u);
    EXPECT_FALSE(window->ReplaceMenuCaption(1, "x"));
    EXPECT_FALSE(window->ReplaceTag(2, "x"));
    EXPECT_FALSE(window->ReplaceTag(9, "x"));
    EXPECT_FALSE(window->ReplaceMousePointer(9, {}));
}

TEST(TemplateEdits, PristineCopyUndoesEditsThatChangedLengths) {
    auto window = ReadWindow();
    const std::vector<uint8_t> before = Bytes(window->UnitListData());
    window->KeepPristineCopy();
    ASSERT_TRUE(window->ReplaceTag(3, "标记"));
    ASSERT_TRUE(window->ReplaceMenuCaption(2, ""));
    window->FindRecord(kLastId).SetLiveUnit(0x1234);
    window->RestorePristineCopy();
    EXPECT_EQ(Bytes(window->UnitListData()), before);
    EXPECT_STREQ(window->FindRecord(kLastId).Tag(), "");
    EXPECT_EQ(window->FindRecord(kLastId).LiveUnit(), 0u);
    EXPECT_STREQ(window->FindRecord(kMenuId).Caption(), "文件");
}

TEST(TemplateEdits, DiscardedCopyKeepsTheWorkingData) {
    auto window = ReadWindow();
    window->KeepPristineCopy();
    ASSERT_TRUE(window->ReplaceTag(1, "留下"));
    window->DiscardPristineCopy();
    EXPECT_FALSE(window->HasPristineCopy());
    window->RestorePristineCopy();
    EXPECT_STREQ(window->FindRecord(kButtonId).Tag(), "留下");
}

} // namespace
