// The window's menu: captions, nesting and states from the menu-item records, accelerators from
// their shortcuts, menu commands reaching the item's handler, and the rebuild after a change.
#include <string>
#include <vector>

#include "framework/window.h"
#include "runtime/program_text_wide.h"
#include "runtime/runtime_notify.h"
#include "tests/window/engine_fixture.h"
#include "window/menu_builder.h"
#include "window/property_access.h"
#include "window/window_engine.h"
#include "window/window_engine_state.h"

namespace {

constexpr uint32_t kFileMenuId = 0x26010010;
constexpr uint32_t kOpenId = 0x26010011;
constexpr uint32_t kSeparatorId = 0x26010012;
constexpr uint32_t kQuitId = 0x26010013;
constexpr uint32_t kViewMenuId = 0x26010014;
constexpr uint32_t kToolbarId = 0x26010015;
constexpr uint32_t kHiddenMenuId = 0x26010016;
constexpr uint32_t kHiddenChildId = 0x26010017;
constexpr uint32_t kLaterRunId = 0x26010018;

// Command identifiers of the items by their place in the run.
constexpr UINT kOpenCommand = 20001;
constexpr UINT kQuitCommand = 20003;
constexpr UINT kToolbarCommand = 20005;
constexpr UINT kHiddenChildCommand = 20007;

constexpr uint32_t kLevel1 = 1u << kMenuLevelShift;
constexpr int32_t kCaption = 0;
constexpr int32_t kChecked = 1;
constexpr int32_t kDisabled = 2;
constexpr int32_t kVisible = 3;

uint32_t __stdcall LogOpen() {
    EventLog().push_back("open");
    return 0;
}
uint32_t __stdcall LogQuit() {
    EventLog().push_back("quit");
    return 0;
}
uint32_t __stdcall LogToolbar() {
    EventLog().push_back("toolbar");
    return 0;
}
uint32_t __stdcall LogHiddenChild() {
    EventLog().push_back("hidden child");
    return 0;
}
uint32_t __stdcall LogLaterRun() {
    EventLog().push_back("later run");
    return 0;
}

const void *Handler(uint32_t(__stdcall *routine)()) {
    return reinterpret_cast<const void *>(routine);
}

// Read wide and converted to code page 936 here, so that the system's code page never comes
// between the menu and the comparison (the captions run again under 1252 and 932).
std::string ItemText(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return WideToProgramText(text);
}

class MenuTest : public EngineTest {
protected:
    // 文件 { 打开 Ctrl+O, -, 退出 (disabled) }, 查看 { 工具栏 (checked) }, 隐藏 (hidden) { 子项 },
    // then a button and a menu item after it that is not part of the menu.
    std::vector<UnitSpec> MenuWindow() {
        UnitSpec later = MenuItemSpec(kLaterRunId, "别处", 0, Handler(&LogLaterRun));
        return {WindowSpec(),
                MenuItemSpec(kFileMenuId, "文件", 0),
                MenuItemSpec(kOpenId, "打开", kLevel1, Handler(&LogOpen), 'O' | kShortcutCtrl),
                MenuItemSpec(kSeparatorId, "-", kLevel1),
                MenuItemSpec(kQuitId, "退出", kLevel1 | kMenuItemDisabled, Handler(&LogQuit),
                             VK_F4 | kShortcutAlt),
                MenuItemSpec(kViewMenuId, "查看", 0),
                MenuItemSpec(kToolbarId, "工具栏", kLevel1 | kMenuItemChecked, Handler(&LogToolbar),
                             VK_F5),
                MenuItemSpec(kHiddenMenuId, "隐藏", kMenuItemHidden),
                MenuItemSpec(kHiddenChildId, "子项", kLevel1, Handler(&LogHiddenChild), 'H'),
                ButtonSpec(kButton1Id, "按钮1", 10),
                later};
    }

    HWND LoadMenuWindow() {
        AddWindow(kMainWindowId, MenuWindow());
        EXPECT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        return WindowHandle(kMainWindowId);
    }

    void Command(UINT id) {
        SendMessageA(WindowHandle(kMainWindowId), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    std::vector<ACCEL> Accelerators(HACCEL table) {
        std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
        CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
        return entries;
    }
};

TEST_F(MenuTest, LoadingBuildsTheMenuBarWithCaptionsNestingAndStates) {
    HWND window = LoadMenuWindow();
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(ItemText(bar, 0), "文件");
    EXPECT_EQ(ItemText(bar, 1), "查看");

    HMENU file = GetSubMenu(bar, 0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(ItemText(file, 0), "打开\tCtrl+O");
    EXPECT_EQ(GetMenuItemID(file, 0), kOpenCommand);
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(ItemText(file, 2), "退出\tAlt+F4");
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(file, 0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED));

    HMENU view = GetSubMenu(bar, 1);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(GetMenuItemCount(view), 1);
    EXPECT_EQ(ItemText(view, 0), "工具栏\tF5");
    EXPECT_TRUE(GetMenuState(view, 0, MF_BYPOSITION) & MF_CHECKED);
}

TEST_F(MenuTest, AcceleratorsComeFromTheShortcutsOfChoosableItems) {
    AddWindow(kMainWindowId, MenuWindow());
    const WindowMenu built = BuildWindowMenu(*Window(kMainWindowId));
    ASSERT_NE(built.accelerators, nullptr);
    const std::vector<ACCEL> entries = Accelerators(built.accelerators);
    // The disabled 退出 and the child of the hidden item have none.
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, 'O');
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FCONTROL);
    EXPECT_EQ(entries[0].cmd, kOpenCommand);
    EXPECT_EQ(entries[1].key, VK_F5);
    EXPECT_EQ(entries[1].fVirt, FVIRTKEY);
    EXPECT_EQ(entries[1].cmd, kToolbarCommand);
    DestroyWindowMenu(built);
}

TEST_F(MenuTest, AnAcceleratorKeyRunsTheItemsHandlerThroughTheTable) {
    HWND window = LoadMenuWindow();
    const WindowMenu built = BuildWindowMenu(*Window(kMainWindowId));
    MSG key = {window, WM_KEYDOWN, VK_F5, 0x003F0001, 0, {0, 0}};
    EXPECT_TRUE(TranslateAcceleratorA(window, built.accelerators, &key));
    DestroyWindowMenu(built);
    Pump();
    EXPECT_EQ(EventLog(), std::vector<std::string>{"toolbar"});
}

TEST_F(MenuTest, AMenuCommandRunsTheBoundHandlerOnce) {
    LoadMenuWindow();
    Command(kOpenCommand);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"open"});
    EventSource source = {1, 1};
    EXPECT_EQ(RuntimeNotify(kNotifyRunningEvent, reinterpret_cast<uint32_t>(&source), 0), 0);
}

TEST_F(MenuTest, DisabledHiddenAndPopupItemsDoNothing) {
    LoadMenuWindow();
    Command(kQuitCommand);        // disabled
    Command(kHiddenChildCommand); // under a hidden item
    Command(20000);               // 文件 opens a pop-up and has no command
    Command(20002);               // the separator
    Command(20008);               // beyond the run: the later menu item is not in the menu
    EXPECT_TRUE(EventLog().empty());
}

TEST_F(MenuTest, WritingACaptionRebuildsTheMenu) {
    HWND window = LoadMenuWindow();
    char caption[] = "打开文件";
    WriteUnitProperty(kMainWindowId, kOpenId, kCaption, -1, reinterpret_cast<uint32_t>(caption), 0);
    EXPECT_EQ(ItemText(GetSubMenu(GetMenu(window), 0), 0), "打开文件\tCtrl+O");
}

TEST_F(MenuTest, WritingVisibilityRemovesAndRestoresAnItem) {
    HWND window = LoadMenuWindow();
    WriteUnitProperty(kMainWindowId, kViewMenuId, kVisible, -1, 0, 0);
    ASSERT_EQ(GetMenuItemCount(GetMenu(window)), 1);
    EXPECT_EQ(ItemText(GetMenu(window), 0), "文件");
    // Items under a hidden one cannot be chosen, not even by a posted command.
    Command(kToolbarCommand);
    EXPECT_TRUE(EventLog().empty());

    WriteUnitProperty(kMainWindowId, kHiddenMenuId, kVisible, -1, 1, 0);
    WriteUnitProperty(kMainWindowId, kViewMenuId, kVisible, -1, 1, 0);
    HMENU bar = GetMenu(window);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(ItemText(bar, 2), "隐藏");
    EXPECT_EQ(ItemText(GetSubMenu(bar, 2), 0), "子项\tH");
    Command(kHiddenChildCommand);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"hidden child"});
}

TEST_F(MenuTest, WritingDisabledAndCheckedChangesTheStatesAndTheCommands) {
    HWND window = LoadMenuWindow();
    WriteUnitProperty(kMainWindowId, kOpenId, kDisabled, -1, 1, 0);
    WriteUnitProperty(kMainWindowId, kQuitId, kDisabled, -1, 0, 0);
    WriteUnitProperty(kMainWindowId, kToolbarId, kChecked, -1, 0, 0);
    HMENU bar = GetMenu(window);
    EXPECT_TRUE(GetMenuState(GetSubMenu(bar, 0), 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(GetSubMenu(bar, 0), 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(GetSubMenu(bar, 1), 0, MF_BYPOSITION) & MF_CHECKED);
    Command(kOpenCommand);
    Command(kQuitCommand);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"quit"});
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kOpenId, kDisabled, -1), 1u);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kToolbarId, kChecked, -1), 0u);
}

TEST_F(MenuTest, AnUnchangedWriteKeepsTheSameMenu) {
    HWND window = LoadMenuWindow();
    HMENU before = GetMenu(window);
    char caption[] = "打开";
    WriteUnitProperty(kMainWindowId, kOpenId, kCaption, -1, reinterpret_cast<uint32_t>(caption), 0);
    WriteUnitProperty(kMainWindowId, kToolbarId, kChecked, -1, 1, 0);
    EXPECT_EQ(GetMenu(window), before);
    WriteUnitProperty(kMainWindowId, kToolbarId, kChecked, -1, 0, 0);
    EXPECT_NE(GetMenu(window), before);
    EXPECT_FALSE(IsMenu(before));
}

TEST_F(MenuTest, Code2040RebuildsFromTheRecordsAndCode2037KeepsAnEmptyBar) {
    HWND window = LoadMenuWindow();
    WindowTemplate *templ = Window(kMainWindowId);
    for (uint32_t id : {kFileMenuId, kViewMenuId}) {
        UnitRecordView record = templ->FindRecord(id);
        record.SetMenuFlags(record.MenuFlags() | kMenuItemHidden);
    }
    EXPECT_EQ(GetMenuItemCount(GetMenu(window)), 2);
    EXPECT_EQ(RuntimeNotify(kNotifyRebuildWindowMenu, kMainWindowId, 0), 0);
    EXPECT_EQ(GetMenu(window), nullptr);

    RuntimeNotify(kNotifyMarkWindowMenu, kMainWindowId, 0);
    EXPECT_TRUE(templ->RecordAt(0).Flags() & kWindowMenuMarked);
    ASSERT_NE(GetMenu(window), nullptr);
    EXPECT_EQ(GetMenuItemCount(GetMenu(window)), 0);
}

TEST_F(MenuTest, LevelsDeeperThanOneBelowThePreviousItemCountAsOneBelow) {
    AddWindow(kMainWindowId, {WindowSpec(), MenuItemSpec(kFileMenuId, "文件", 0),
                              MenuItemSpec(kOpenId, "打开", 3u << kMenuLevelShift)});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    HMENU bar = GetMenu(WindowHandle(kMainWindowId));
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    ASSERT_NE(GetSubMenu(bar, 0), nullptr);
    EXPECT_EQ(ItemText(GetSubMenu(bar, 0), 0), "打开");
}

TEST_F(MenuTest, AWindowWithoutMenuItemsHasNoMenu) {
    AddWindow(kMainWindowId, {WindowSpec(), ButtonSpec(kButton1Id, "按钮1", 10)});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EXPECT_EQ(GetMenu(WindowHandle(kMainWindowId)), nullptr);
}

TEST_F(MenuTest, ControlIdentifiersSkipMenuItems) {
    LoadMenuWindow();
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kMainWindowId, kButton1Id)), 100);
}

TEST_F(MenuTest, ChangesWhileLoadedAreGoneWhenTheWindowIsLoadedAgain) {
    HWND window = LoadMenuWindow();
    WriteUnitProperty(kMainWindowId, kViewMenuId, kVisible, -1, 0, 0);
    DestroyWindow(window);
    Pump();
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EXPECT_EQ(GetMenuItemCount(GetMenu(WindowHandle(kMainWindowId))), 2);
}

TEST(ShortcutText, NamesModifiersLettersAndFunctionKeys) {
    EXPECT_EQ(ShortcutText(0), "");
    EXPECT_EQ(ShortcutText(kShortcutCtrl), "");
    EXPECT_EQ(ShortcutText('S' | kShortcutCtrl | kShortcutShift), "Ctrl+Shift+S");
    EXPECT_EQ(ShortcutText(VK_F12), "F12");
    EXPECT_EQ(ShortcutText('7' | kShortcutAlt), "Alt+7");
}

} // namespace
