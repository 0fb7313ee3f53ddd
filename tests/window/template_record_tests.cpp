// Record lookup by index and UnitId, the menu-item form, handler relocation and the pristine
// copy of a window template.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "segment_builder.h"
#include "window/template_ids.h"
#include "window/template_reader.h"

namespace {

constexpr uint32_t kWindowId = 0x52010001;
constexpr uint32_t kCodeBase = 0x00401004;

std::vector<TestRecord> WindowWithMenu() {
    TestRecord own = MakeRecord(0x06010000, 0x00010001, "");
    own.propertyBlock = {6, 0, 0, 0};
    // A menu item whose type word claims "window": the UnitId decides its form.
    TestRecord menu = MakeRecord(0x26010007, 0x00010001, "menu1");
    menu.menuItem = true;
    menu.caption = "File";
    menu.menuHandler = 0x20;
    // A control whose type word claims "menu item": still the ordinary form.
    TestRecord button = MakeRecord(0x16010005, 0x00010003, "button1");
    button.children = {0x16010009, 0, 0x1601000a};
    button.bindings = {{0, 0}, {-7, 0xFFFFFFFF}, {1, 0x35}};
    button.propertyBlock = {1, 0, 0, 0, 9, 9};
    TestRecord noMenuHandler = MakeRecord(0x26010008, 0x00010003, "menu2");
    noMenuHandler.menuItem = true;
    return {own, menu, button, noMenuHandler};
}

WindowTemplateList Read(const std::vector<uint8_t> &segment) {
    return ReadWindowTemplates(segment.data(), static_cast<uint32_t>(segment.size()));
}

TEST(TemplateIds, ValidityNeedsSerialAndKind) {
    EXPECT_TRUE(IsValidId(0x52010001));
    EXPECT_TRUE(IsValidId(0x06010000));
    EXPECT_FALSE(IsValidId(0));
    EXPECT_FALSE(IsValidId(0x10010002)); // kind 0
    EXPECT_FALSE(IsValidId(0x16000000)); // serial 0
}

TEST(TemplateIds, MenuItemNeedsKind6AndClass2) {
    EXPECT_TRUE(IsMenuItemId(0x26010007));
    EXPECT_FALSE(IsMenuItemId(0x16010007));
    EXPECT_FALSE(IsMenuItemId(0x22010007));
    EXPECT_FALSE(IsMenuItemId(0x06010000));
}

TEST(TemplateRecords, MenuItemRecordIsWalkedByItsUnitId) {
    auto windows = Read(SegmentBuilder::Segment({{kWindowId, WindowWithMenu()}}));
    ASSERT_EQ(windows.size(), 1u);
    WindowTemplate &window = *windows[0];
    UnitRecordView menu = window.FindRecord(0x26010007);
    ASSERT_TRUE(menu);
    EXPECT_TRUE(menu.IsMenuItem());
    EXPECT_EQ(menu.Type(), 0x00010001u);
    EXPECT_STREQ(menu.Name(), "menu1");
    EXPECT_EQ(menu.Shortcut(), 0x41u);
    EXPECT_EQ(menu.MenuValue(), 7u);
    EXPECT_EQ(menu.MenuFlags(), 1u);
    EXPECT_STREQ(menu.Caption(), "File");
    EXPECT_EQ(menu.MenuHandler(), 0x20u);

    UnitRecordView button = window.FindRecord(0x16010005);
    ASSERT_TRUE(button);
    EXPECT_FALSE(button.IsMenuItem());
    EXPECT_EQ(button.Type(), 0x00010003u);
    EXPECT_EQ(button.Left(), 10);
    EXPECT_EQ(button.Top(), 20);
    EXPECT_EQ(button.Width(), 30);
    EXPECT_EQ(button.Height(), 40);
    ASSERT_EQ(button.ChildCount(), 3u);
    EXPECT_EQ(button.Child(0), 0x16010009u);
    EXPECT_EQ(button.Child(1), 0u);
    EXPECT_EQ(button.Child(2), 0x1601000au);
    EXPECT_EQ(button.MousePointer().size(), 4u);
    EXPECT_EQ(button.Flags(), 5u);
    EXPECT_EQ(button.TabOrder(), 3);
    ASSERT_EQ(button.BindingCount(), 3u);
    EXPECT_EQ(button.Binding(1).eventNumber, -7);
    const std::vector<uint8_t> block(button.PropertyBlock().begin(), button.PropertyBlock().end());
    EXPECT_EQ(block, (std::vector<uint8_t>{1, 0, 0, 0, 9, 9}));
}

TEST(TemplateRecords, RelocationTurnsOffsetsIntoAddresses) {
    auto windows = Read(SegmentBuilder::Segment({{kWindowId, WindowWithMenu()}}));
    windows[0]->RelocateHandlers(kCodeBase);
    UnitRecordView button = windows[0]->FindRecord(0x16010005);
    EXPECT_EQ(button.Binding(0).handler, kCodeBase); // offset 0 is CodeBase itself
    EXPECT_EQ(button.Binding(1).handler, 0u);        // -1 is no handler
    EXPECT_EQ(button.Binding(2).handler, kCodeBase + 0x35);
    EXPECT_EQ(windows[0]->FindRecord(0x26010007).MenuHandler(), kCodeBase + 0x20);
    EXPECT_EQ(windows[0]->FindRecord(0x26010008).MenuHandler(), 0u);
    // Relocation rewrites handler words only: the menu item's other words are untouched.
    EXPECT_EQ(windows[0]->FindRecord(0x26010007).MenuValue(), 7u);
}

TEST(TemplateRecords, InvalidUnitIdsAreNeverFoundEvenInTheTable) {
    std::vector<TestRecord> records = WindowWithMenu();
    records.push_back(MakeRecord(0, 0x0001000a, "zero"));
    records.push_back(MakeRecord(0x10010003, 0x0001000a, "kindless"));
    auto windows = Read(SegmentBuilder::Segment({{kWindowId, records}}));
    EXPECT_EQ(windows[0]->UnitIdAt(4), 0u);
    EXPECT_EQ(windows[0]->IndexOfUnit(0), -1);
    EXPECT_FALSE(windows[0]->FindRecord(0));
    EXPECT_EQ(windows[0]->IndexOfUnit(0x10010003), -1);
    EXPECT_FALSE(windows[0]->FindRecord(0x10010003));
    EXPECT_FALSE(windows[0]->FindRecord(0x16019999));
}

TEST(TemplateRecords, LookupByIndexAndFirstDuplicateWins) {
    std::vector<TestRecord> records = WindowWithMenu();
    records.push_back(MakeRecord(0x16010005, 0x0001000a, "second"));
    auto windows = Read(SegmentBuilder::Segment({{kWindowId, records}}));
    WindowTemplate &window = *windows[0];
    EXPECT_EQ(window.UnitCount(), 5u);
    EXPECT_EQ(window.IndexOfUnit(0x06010000), 0);
    EXPECT_EQ(window.IndexOfUnit(0x16010005), 2);
    EXPECT_STREQ(window.RecordAt(4).Name(), "second");
    EXPECT_FALSE(window.RecordAt(5));
    EXPECT_FALSE(window.RecordAt(0xFFFFFFFF));
}

TEST(TemplateRecords, ReservedWordsAndWindowIdsAreCarried) {
    auto windows = Read(SegmentBuilder::Segment(
        {{kWindowId, WindowWithMenu()}, {0x52010002, {MakeRecord(0x06010000, 0x00010001, "")}}}));
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0]->WindowId(), kWindowId);
    EXPECT_EQ(windows[1]->WindowId(), 0x52010002u);
    EXPECT_EQ(windows[1]->ReservedWord1(), 0x11111111u);
    EXPECT_EQ(windows[1]->ReservedWord2(), 0x22222222u);
    EXPECT_TRUE(windows[1]->Text1().empty());
    EXPECT_EQ(windows[1]->UnitCount(), 1u);
    EXPECT_TRUE(windows[1]->RecordAt(0).PropertyBlock().empty());
}

TEST(TemplateRecords, PristineCopyUndoesWhatALoadedWindowWrote) {
    auto windows = Read(SegmentBuilder::Segment({{kWindowId, WindowWithMenu()}}));
    WindowTemplate &window = *windows[0];
    window.RelocateHandlers(kCodeBase);
    const std::vector<uint8_t> before(window.UnitListData().begin(), window.UnitListData().end());

    window.KeepPristineCopy();
    EXPECT_TRUE(window.HasPristineCopy());
    window.FindRecord(0x16010005).SetLiveUnit(0x12345678);
    window.FindRecord(0x16010005).SetLivePointer(0x9ABC);
    window.RecordAt(0).SetFlags(window.RecordAt(0).Flags() | kWindowMenuMarked);
    EXPECT_EQ(window.FindRecord(0x16010005).LiveUnit(), 0x12345678u);

    window.RestorePristineCopy();
    EXPECT_FALSE(window.HasPristineCopy());
    const std::vector<uint8_t> after(window.UnitListData().begin(), window.UnitListData().end());
    EXPECT_EQ(after, before);
    EXPECT_EQ(window.FindRecord(0x16010005).LiveUnit(), 0u);
    EXPECT_EQ(window.FindRecord(0x16010005).Binding(0).handler, kCodeBase);
    // Restoring without a kept copy changes nothing.
    window.RestorePristineCopy();
    EXPECT_EQ(window.FindRecord(0x16010005).Binding(2).handler, kCodeBase + 0x35);
}

TEST(TemplateRecords, NegativeMousePointerLengthIsAnEmptyBlock) {
    std::vector<TestRecord> records = WindowWithMenu();
    records[2].mousePointer = {};
    std::vector<uint8_t> segment = SegmentBuilder::Segment({{kWindowId, records}});
    // Find the button's mouse-pointer length word (0) and make it negative.
    auto windows = Read(segment);
    const uint8_t *data = windows[0]->UnitListData().data();
    const uint8_t *pointerField = windows[0]->FindRecord(0x16010005).MousePointer().data() - 4;
    const size_t inSegment = std::search(segment.begin(), segment.end(), data,
                                         data + windows[0]->UnitListData().size()) -
                             segment.begin();
    const size_t at = inSegment + (pointerField - data);
    std::memset(&segment[at], 0xFF, 4);
    windows = Read(segment);
    EXPECT_TRUE(windows[0]->FindRecord(0x16010005).MousePointer().empty());
    EXPECT_EQ(windows[0]->FindRecord(0x16010005).TabOrder(), 3);
}

} // namespace
