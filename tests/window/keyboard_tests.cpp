// Window keyboard and focus handling through the message pump's pre-translation: the first
// focus and Tab order of the program's own window, Enter and the default button, Esc, Alt with
// a letter, tab-order words, the shared key, character and mouse events with swallowing, and
// activation with its events, the focus restore and the redirect to a running modal window.
#include <windows.h>

#include "image/window/window_template_segment.h"
#include "runtime/runtime_app.h"
#include "tests/window/edit_box_blocks.h"
#include "tests/window/engine_fixture.h"
#include "tests/window/label_blocks.h"
#include "window/template_reader.h"
#include "window/window_engine.h"

namespace {

// The program's window.
constexpr uint32_t kLabel3Id = 0x16011f0e;
constexpr uint32_t kLabel2Id = 0x16011f0c;
constexpr uint32_t kEdit2Id = 0x16010006;
constexpr uint32_t kDownloadButtonId = 0x16010005;
constexpr uint32_t kLabel1Id = 0x16010004;
constexpr uint32_t kEdit1Id = 0x16010002;

HWND g_reactivate = nullptr;
uint32_t __stdcall ActivateAgain() {
    EventLog().push_back("5");
    SendMessageA(g_reactivate, WM_ACTIVATE, WA_ACTIVE, 0);
    return 0;
}
// Key-down handler: swallows Delete, lets every other key through.
uint32_t __stdcall SwallowDelete(uint32_t key, uint32_t) {
    EventLog().push_back("key:" + std::to_string(key));
    return key == VK_DELETE ? 0 : 1;
}
// Character handler: swallows "x", turns "y" into "Y" and "我" into "中" (their code page 936
// character codes), keeps the rest.
uint32_t __stdcall FilterCharacters(uint32_t character) {
    constexpr uint32_t kWo = 0xCED2;
    constexpr uint32_t kZhong = 0xD6D0;
    return character == 'x' ? 0 : character == 'y' ? 'Y' : character == kWo ? kZhong : character;
}
uint32_t __stdcall SwallowClick(uint32_t x, uint32_t y, uint32_t) {
    EventLog().push_back("down:" + std::to_string(x) + "," + std::to_string(y));
    return 0;
}

class KeyboardTest : public EngineTest {
protected:
    void TearDown() override {
        SetShift(false);
        EngineTest::TearDown();
    }
    // The program's window from its own generated template segment.
    void LoadProgramWindow() {
        collection_->Adopt(
            LoadWindowTemplates(kWindowTemplateSegment, kWindowTemplateSegmentSize, 0));
        ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        PumpPendingMessages();
    }
    // Units with the program's layout, its blocks and the given bindings.
    void LoadLikeTheProgram(std::vector<std::pair<int32_t, const void *>> windowBindings = {},
                            std::vector<std::pair<int32_t, const void *>> edit1Bindings = {},
                            uint32_t buttonType = 0) {
        EditBoxProperties output;
        output.multiLine = 1;
        output.scrollBars = 2;
        UnitSpec button =
            ButtonSpec(kDownloadButtonId, "我要下载", 704, {{0, LoggingHandler<"click">()}});
        button.propertyBlock = ButtonBlock("我要下载", buttonType);
        AddWindow(
            kMainWindowId,
            {WindowSpec(std::move(windowBindings)), LabelSpec(kLabel3Id, "标签3", 128, 64, 552, 32),
             LabelSpec(kLabel2Id, "标签2", 8, 328, 776, 80),
             EditBoxSpec(kEdit2Id, "编辑框2", 8, 112, 776, 200, EditBoxBlock(output)), button,
             LabelSpec(kLabel1Id, "标签1", 16, 24, 112, 24),
             EditBoxSpec(kEdit1Id, "编辑框1", 128, 16, 552, 32, {}, std::move(edit1Bindings))});
        ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        PumpPendingMessages();
    }
    HWND Unit(uint32_t unitId) { return UnitHandle(kMainWindowId, unitId); }
    // Posts a key to the focused control and runs the message pump with its pre-translation.
    void Press(WPARAM key, UINT down = WM_KEYDOWN, LPARAM flags = 1) {
        HWND target = GetFocus();
        PostMessageA(target, down, key, flags);
        PostMessageA(target, down == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP, key, flags | 0xC0000000);
        PumpPendingMessages();
    }
    void Type(HWND target, const char *characters) {
        for (const char *c = characters; *c != '\0'; ++c)
            PostMessageA(target, WM_CHAR, static_cast<unsigned char>(*c), 1);
        PumpPendingMessages();
    }
    static void SetShift(bool down) { SetKey(VK_SHIFT, down); }
    static void SetKey(int key, bool down) {
        BYTE state[256];
        GetKeyboardState(state);
        state[key] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }
    std::string Text(HWND control) {
        char text[128] = {};
        GetWindowTextA(control, text, sizeof text);
        return text;
    }
};

TEST_F(KeyboardTest, TheProgramsWindowStartsWithTheFocusInTheUrlBox) {
    LoadProgramWindow();
    EXPECT_EQ(GetFocus(), Unit(kEdit1Id));
}

TEST_F(KeyboardTest, TabCyclesUrlBoxButtonOutputBoxAndNeverStopsOnALabel) {
    LoadProgramWindow();
    const std::vector<HWND> expected = {Unit(kDownloadButtonId), Unit(kEdit2Id), Unit(kEdit1Id),
                                        Unit(kDownloadButtonId), Unit(kEdit2Id), Unit(kEdit1Id)};
    for (HWND wanted : expected) {
        Press(VK_TAB);
        EXPECT_EQ(GetFocus(), wanted);
        for (uint32_t label : {kLabel1Id, kLabel2Id, kLabel3Id})
            EXPECT_NE(GetFocus(), Unit(label));
    }
}

TEST_F(KeyboardTest, ShiftTabGoesTheOtherWay) {
    LoadProgramWindow();
    SetShift(true);
    for (uint32_t wanted : {kEdit2Id, kDownloadButtonId, kEdit1Id, kEdit2Id}) {
        Press(VK_TAB);
        EXPECT_EQ(GetFocus(), Unit(wanted));
    }
}

TEST_F(KeyboardTest, EscClosesTheWindowAndEndsTheLoopWithExitCodeZero) {
    LoadProgramWindow();
    Runtime().loopReached = true;
    HWND window = WindowHandle(kMainWindowId);
    Press(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(window));
    MSG quit = {};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(KeyboardTest, EnterPressesTheDefaultButtonUnlessAMultiLineBoxTakesIt) {
    LoadLikeTheProgram({}, {}, 1);
    EventLog().clear();
    Press(VK_RETURN);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"click"});
    SetFocus(Unit(kEdit2Id));
    SetWindowTextA(Unit(kEdit2Id), "ab");
    SendMessageA(Unit(kEdit2Id), EM_SETSEL, 1, 1);
    EventLog().clear();
    Press(VK_RETURN);
    // TranslateMessage made the line break of the multi-line box from the key itself.
    EXPECT_EQ(EventLog(), std::vector<std::string>{});
    EXPECT_EQ(Text(Unit(kEdit2Id)), "a\r\nb");
}

TEST_F(KeyboardTest, EnterWithoutADefaultButtonRaisesNothing) {
    LoadLikeTheProgram();
    EventLog().clear();
    Press(VK_RETURN);
    EXPECT_EQ(EventLog(), std::vector<std::string>{});
    EXPECT_EQ(GetFocus(), Unit(kEdit1Id));
}

TEST_F(KeyboardTest, AKeyDownHandlerSwallowsItsKey) {
    LoadLikeTheProgram({}, {{-9, Handler(&SwallowDelete)}});
    HWND edit = Unit(kEdit1Id);
    SetWindowTextA(edit, "abc");
    SendMessageA(edit, EM_SETSEL, 0, 0);
    EventLog().clear();
    Press(VK_DELETE);
    EXPECT_EQ(Text(edit), "abc");
    Press(VK_RIGHT);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"key:46", "key:39"}));
    Press(VK_NUMPAD7);
    Press(VK_SUBTRACT);
    EXPECT_EQ(EventLog().back(), "key:189");
    EXPECT_EQ(EventLog()[EventLog().size() - 2], "key:55");
}

// Runs again under the system code pages 1252 and 932: a Chinese character typed wide, as a
// keyboard layout or an input method types it, reaches the handler by its code page 936 code,
// and the code the handler returns is typed.
TEST_F(KeyboardTest, ACharacterHandlerSwallowsOrReplacesCharacters) {
    LoadLikeTheProgram({}, {{-11, Handler(&FilterCharacters)}});
    Type(Unit(kEdit1Id), "axyb");
    PostMessageW(Unit(kEdit1Id), WM_CHAR, L'我', 1);
    PumpPendingMessages();
    wchar_t text[16] = {};
    GetWindowTextW(Unit(kEdit1Id), text, 16);
    EXPECT_STREQ(text, L"aYb中");
}

TEST_F(KeyboardTest, HandlersWithoutAResultSwallowNoKeyAndNoCharacter) {
    const void *characters =
        NoResultEntry(reinterpret_cast<const void *>(&NoResultLeavingZeroOneArgument));
    const void *keys = NoResultEntry(reinterpret_cast<const void *>(&NoResultLeavingZero));
    LoadLikeTheProgram({}, {{-11, characters}, {-9, keys}});
    gNoResultCalls = 0;
    Type(Unit(kEdit1Id), "ab");
    SendMessageA(Unit(kEdit1Id), EM_SETSEL, 0, 0);
    Press(VK_DELETE);
    EXPECT_EQ(Text(Unit(kEdit1Id)), "b");
    EXPECT_EQ(gNoResultCalls, 3u);
}

TEST_F(KeyboardTest, AClickReachesAUnitWithoutAHandlerAndAHandlerCanSwallowIt) {
    LoadLikeTheProgram({}, {{-1, Handler(&SwallowClick)}});
    HWND output = Unit(kEdit2Id);
    PostMessageA(output, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    PostMessageA(output, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    PumpPendingMessages();
    EXPECT_EQ(GetFocus(), output);
    EventLog().clear();
    HWND url = Unit(kEdit1Id);
    PostMessageA(url, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 5));
    PostMessageA(url, WM_LBUTTONUP, 0, MAKELPARAM(7, 5));
    PumpPendingMessages();
    EXPECT_EQ(EventLog(), std::vector<std::string>{"down:7,5"});
    EXPECT_EQ(GetFocus(), output);
}

TEST_F(KeyboardTest, TabOrderWordsOrderTheTabStops) {
    UnitSpec first = EditBoxSpec(kEdit1Id, "编辑框1", 10, 10, 100, 24);
    first.tabOrder = 2;
    UnitSpec second = EditBoxSpec(kEdit2Id, "编辑框2", 10, 40, 100, 24);
    second.tabOrder = 0;
    UnitSpec third = ButtonSpec(kDownloadButtonId, "按钮1", 10);
    third.tabOrder = 1;
    AddWindow(kMainWindowId, {WindowSpec(), first, second, third});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    PumpPendingMessages();
    EXPECT_EQ(GetFocus(), Unit(kEdit2Id));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Unit(kDownloadButtonId));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Unit(kEdit1Id));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Unit(kEdit2Id));
}

TEST_F(KeyboardTest, AltWithALetterActivatesTheUnitWhoseCaptionMarksIt) {
    LabelProperties marked;
    marked.caption = "地址(&U)";
    UnitSpec label = LabelSpec(kLabel1Id, "标签1", 10, 10, 80, 20, LabelBlock(marked));
    label.tabOrder = 2;
    UnitSpec before = EditBoxSpec(kEdit1Id, "编辑框1", 100, 10, 100, 24);
    before.tabOrder = 1;
    UnitSpec after = EditBoxSpec(kEdit2Id, "编辑框2", 100, 40, 100, 24);
    after.tabOrder = 2;
    UnitSpec go = ButtonSpec(kDownloadButtonId, "&Go", 10, {{0, LoggingHandler<"click">()}});
    go.propertyBlock = ButtonBlock("&Go");
    AddWindow(kMainWindowId, {WindowSpec(), label, before, after, go});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    PumpPendingMessages();
    SetFocus(Unit(kEdit1Id));
    SetKey(VK_MENU, true);
    Press('U', WM_SYSKEYDOWN, 0x20000001);
    EXPECT_EQ(GetFocus(), Unit(kEdit2Id)); // the first tab stop whose word is not smaller
    EventLog().clear();
    Press(VK_NUMPAD7, WM_SYSKEYDOWN, 0x20000001); // 0x67, the code of "g", is no letter key
    Press('G', WM_SYSKEYDOWN, 0x20000001);
    SetKey(VK_MENU, false);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"click"});
}

TEST_F(KeyboardTest, ActivationRaisesEightThenFiveAndSixAndRestoresTheFocus) {
    LoadLikeTheProgram(
        {{8, LoggingHandler<"8">()}, {5, LoggingHandler<"5">()}, {6, LoggingHandler<"6">()}});
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"8", "5"}));
    Press(VK_TAB);
    ASSERT_EQ(GetFocus(), Unit(kDownloadButtonId));
    EventLog().clear();
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    SetActiveWindow(WindowHandle(kMainWindowId));
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"6", "5"}));
    EXPECT_EQ(GetFocus(), Unit(kDownloadButtonId));
    DestroyWindow(other);
}

// The window passes the focus on to a unit at each activation: having never announced the
// focus, it announces no loss either. A window that keeps the focus itself raises both.
TEST_F(KeyboardTest, TheWindowRaisesFocusLostOnlyAfterItRaisedFocusGained) {
    LoadLikeTheProgram({{-7, LoggingHandler<"window:-7">()}, {-8, LoggingHandler<"window:-8">()}});
    ASSERT_EQ(GetFocus(), Unit(kEdit1Id));
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    SetActiveWindow(WindowHandle(kMainWindowId));
    EXPECT_EQ(GetFocus(), Unit(kEdit1Id));
    EXPECT_EQ(EventLog(), std::vector<std::string>{});

    for (uint32_t unit : {kEdit1Id, kEdit2Id, kDownloadButtonId})
        EnableWindow(Unit(unit), FALSE);
    SetActiveWindow(other);
    SetActiveWindow(WindowHandle(kMainWindowId));
    EXPECT_EQ(GetFocus(), WindowHandle(kMainWindowId));
    SetActiveWindow(other);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"window:-7", "window:-8"}));
    DestroyWindow(other);
}

TEST_F(KeyboardTest, AnActivateMessageDuringTheActivatedHandlerRaisesNothing) {
    LoadLikeTheProgram({{5, Handler(&ActivateAgain)}});
    g_reactivate = WindowHandle(kMainWindowId);
    EventLog().clear();
    SendMessageA(g_reactivate, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"5"});
}

TEST_F(KeyboardTest, ActivatingAWindowThatAModalWindowDisabledActivatesTheModalWindow) {
    LoadLikeTheProgram();
    AddWindow(kSecondWindowId, {WindowSpec({}, WindowBlock("模态窗口"))});
    ASSERT_TRUE(LoadWindow(Window(kSecondWindowId), false, true, nullptr));
    PumpPendingMessages();
    HWND main = WindowHandle(kMainWindowId);
    HWND modal = WindowHandle(kSecondWindowId);
    ASSERT_FALSE(IsWindowEnabled(main));
    SendMessageA(main, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetActiveWindow(), modal);
}

} // namespace
