// Edit box unit: creation styles, fonts and the minimum height, colours, the content and its
// change event, input modes, selections, the spin button, property clamps, re-creation from its
// own change handler, the block, and the messages it refuses during a wait.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>

#include "runtime/heap.h"
#include "runtime/heap_instrumentation.h"
#include "tests/window/edit_box_blocks.h"
#include "tests/window/engine_fixture.h"
#include "window/keyboard/window_keyboard.h"
#include "window/property_access.h"
#include "window/unit_type.h"
#include "window/units/edit_box/edit_input.h"
#include "window/window_engine.h"

namespace {

constexpr uint32_t kEditId = 0x16010002;
constexpr uint32_t kOtherEditId = 0x16010006;

uint32_t __stdcall LogSpin(int32_t direction) {
    EventLog().push_back("spin:" + std::to_string(direction));
    return 0;
}

// The property that the change handler steps through its values (re-creating the box each
// time), and the number of its values.
int32_t g_rebuildingProperty = 0;
uint32_t g_rebuildingValues = 1;
uint32_t __stdcall StepRebuildingProperty() {
    EventLog().push_back("0");
    const auto value =
        static_cast<uint32_t>(ReadUnitProperty(kMainWindowId, kEditId, g_rebuildingProperty, -1));
    WriteUnitProperty(kMainWindowId, kEditId, g_rebuildingProperty, -1,
                      (value + 1) % g_rebuildingValues, 0);
    return 0;
}

class EditBoxTest : public EngineTest {
protected:
    // Loads the window with one edit box (and a second one to move the focus to).
    void LoadEdit(const EditBoxProperties &properties, int32_t height = 32,
                  std::vector<std::pair<int32_t, const void *>> bindings = {}) {
        AddWindow(kMainWindowId,
                  {WindowSpec(), EditBoxSpec(kOtherEditId, "编辑框2", 10, 100, 200, 32),
                   EditBoxSpec(kEditId, "编辑框1", 10, 20, 200, height, EditBoxBlock(properties),
                               std::move(bindings))});
        ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        edit_ = UnitHandle(kMainWindowId, kEditId);
        ASSERT_NE(edit_, nullptr);
    }
    void LoadEmptyBlockEdit(int32_t height) {
        AddWindow(kMainWindowId,
                  {WindowSpec(), EditBoxSpec(kEditId, "编辑框1", 128, 16, 552, height)});
        ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        edit_ = UnitHandle(kMainWindowId, kEditId);
        ASSERT_NE(edit_, nullptr);
    }
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongA(edit_, GWL_STYLE)); }
    DWORD ExStyle() const { return static_cast<DWORD>(GetWindowLongA(edit_, GWL_EXSTYLE)); }
    int Height() const {
        RECT rect;
        GetWindowRect(edit_, &rect);
        return rect.bottom - rect.top;
    }
    std::string Text() const {
        char text[256] = {};
        GetWindowTextA(edit_, text, sizeof text);
        return text;
    }
    std::string ReadText(int32_t index) {
        auto *text = reinterpret_cast<char *>(
            static_cast<uint32_t>(ReadUnitProperty(kMainWindowId, kEditId, index, -1)));
        std::string result = text != nullptr ? text : "";
        FreeMemory(text);
        return result;
    }
    void WriteText(int32_t index, const char *text) {
        WriteUnitProperty(kMainWindowId, kEditId, index, -1, reinterpret_cast<uint32_t>(text), 0);
    }
    void Write(int32_t index, int32_t value) {
        WriteUnitProperty(kMainWindowId, kEditId, index, -1, static_cast<uint32_t>(value), 0);
    }
    int32_t Read(int32_t index) {
        return static_cast<int32_t>(ReadUnitProperty(kMainWindowId, kEditId, index, -1));
    }
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 0, end = 0;
        SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    void Type(const char *characters) {
        for (const char *c = characters; *c != '\0'; ++c)
            SendMessageA(edit_, WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
    // A left click on the upper (up) or lower (down) arrow of the spin button.
    void PressSpin(HWND spin, bool up) {
        RECT rect;
        GetClientRect(spin, &rect);
        const LPARAM at = MAKELPARAM(rect.right / 2, up ? rect.bottom / 4 : rect.bottom * 3 / 4);
        SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(spin, WM_LBUTTONUP, 0, at);
    }
    HWND SpinOf() const { return GetDlgItem(GetParent(edit_), GetDlgCtrlID(edit_) + 4); }

    HWND edit_ = nullptr;
};

int TextHeight(HFONT font, const char *text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cy;
}

TEST_F(EditBoxTest, UrlBoxFromAnEmptyBlockIsSingleLineSunkenBlackOnWhiteWithTheGuiFont) {
    LoadEmptyBlockEdit(32);
    char className[16] = {};
    GetClassNameA(edit_, className, sizeof className);
    EXPECT_STREQ(className, "Edit");
    EXPECT_EQ(Style() & ES_MULTILINE, 0u);
    EXPECT_NE(Style() & ES_AUTOHSCROLL, 0u);
    EXPECT_NE(Style() & WS_TABSTOP, 0u);
    EXPECT_NE(Style() & WS_CLIPSIBLINGS, 0u);
    EXPECT_EQ(ExStyle() & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE),
              static_cast<DWORD>(WS_EX_CLIENTEDGE));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(edit_, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(Height(), 32);
    // The control's colour question, reflected to the unit: black text on a white brush.
    HDC dc = GetDC(edit_);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(edit_), WM_CTLCOLOREDIT,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(edit_)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    ReleaseDC(edit_, dc);
    LOGBRUSH look = {};
    ASSERT_NE(brush, nullptr);
    GetObjectA(brush, sizeof look, &look);
    EXPECT_EQ(look.lbColor, RGB(255, 255, 255));
}

TEST_F(EditBoxTest, ALowSingleLineBoxIsRaisedToTheHeightOfWuPlusItsEdges) {
    LoadEmptyBlockEdit(8);
    const int wanted = TextHeight(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), "吴") +
                       2 * GetSystemMetrics(SM_CYEDGE);
    EXPECT_EQ(Height(), wanted);
    RECT rect;
    GetWindowRect(edit_, &rect);
    EXPECT_EQ(rect.right - rect.left, 552);
}

TEST_F(EditBoxTest, SingleLineTextSitsInABandOneLineHighCentredInTheWindow) {
    LoadEmptyBlockEdit(40);
    const int line = TextHeight(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), "W");
    RECT window, client;
    GetWindowRect(edit_, &window);
    GetClientRect(edit_, &client);
    MapWindowPoints(edit_, nullptr, reinterpret_cast<POINT *>(&client), 2);
    EXPECT_EQ(client.bottom - client.top, line);
    EXPECT_EQ(client.top - window.top, (40 - line) / 2);
    // The margin above the band belongs to the border.
    const LPARAM margin = MAKELPARAM(window.left + 10, window.top + 3);
    EXPECT_EQ(SendMessageA(edit_, WM_NCHITTEST, 0, margin), HTBORDER);
    const LPARAM inside = MAKELPARAM(window.left + 10, client.top + 1);
    EXPECT_EQ(SendMessageA(edit_, WM_NCHITTEST, 0, inside), HTCLIENT);
}

TEST_F(EditBoxTest, TheMarginAroundTheBandTakesTheBackgroundColour) {
    EditBoxProperties properties;
    properties.border = 0;
    properties.backgroundColour = RGB(255, 0, 0);
    LoadEdit(properties, 40);
    RedrawWindow(edit_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT window, client;
    GetWindowRect(edit_, &window);
    GetClientRect(edit_, &client);
    MapWindowPoints(edit_, nullptr, reinterpret_cast<POINT *>(&client), 2);
    ASSERT_GT(client.top - window.top, 2);
    HDC dc = GetWindowDC(edit_);
    EXPECT_EQ(GetPixel(dc, 5, 1), RGB(255, 0, 0));                              // above the band
    EXPECT_EQ(GetPixel(dc, 5, window.bottom - window.top - 2), RGB(255, 0, 0)); // below it
    ReleaseDC(edit_, dc);
}

TEST_F(EditBoxTest, OutputBoxIsMultiLineWithAVerticalScrollBarAndWrapsItsLines) {
    EditBoxProperties properties;
    properties.multiLine = 1;
    properties.scrollBars = 2;
    properties.font = FontRecord("微软雅黑", -21);
    LoadEdit(properties, 200);
    EXPECT_NE(Style() & ES_MULTILINE, 0u);
    EXPECT_NE(Style() & WS_VSCROLL, 0u);
    EXPECT_EQ(Style() & WS_HSCROLL, 0u);
    EXPECT_EQ(Style() & ES_AUTOHSCROLL, 0u);
    EXPECT_NE(Style() & ES_WANTRETURN, 0u);
    EXPECT_EQ(Height(), 200);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit_, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -21);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
    EXPECT_STREQ(font.lfFaceName, "微软雅黑");
}

TEST_F(EditBoxTest, ChoicesBecomeStyles) {
    EditBoxProperties properties;
    properties.hideSelection = 0;
    properties.alignment = 2;
    properties.caseConversion = 2;
    properties.inputMode = kInputReadOnly;
    properties.border = 5;
    LoadEdit(properties);
    EXPECT_NE(Style() & ES_NOHIDESEL, 0u);
    EXPECT_NE(Style() & ES_RIGHT, 0u);
    EXPECT_NE(Style() & ES_UPPERCASE, 0u);
    EXPECT_NE(Style() & ES_READONLY, 0u);
    EXPECT_EQ(ExStyle() & WS_EX_CLIENTEDGE, 0u);
}

TEST_F(EditBoxTest, WritingTheContentReplacesTheTextAndRaisesEventZeroOnce) {
    LoadEdit({}, 32, {{0, LoggingHandler<"changed">()}});
    EventLog().clear();
    WriteText(8, "http://example.test/dance/play/1.html");
    EXPECT_EQ(EventLog(), std::vector<std::string>{"changed"});
    EXPECT_EQ(Text(), "http://example.test/dance/play/1.html");
    EXPECT_EQ(ReadText(8), "http://example.test/dance/play/1.html");
}

// A written line longer than a line holds is cut at its 4,096th character: a double-byte
// character counts one and is never split, the line break after it stays, and the lines around
// keep their text.
TEST_F(EditBoxTest, WritingTheContentCutsEachOverLongLine) {
    EditBoxProperties properties;
    properties.multiLine = 1;
    properties.scrollBars = 2;
    LoadEdit(properties, 200);
    const std::string kept = std::string(4095, 'a') + "\xd6\xd0";
    WriteText(8, ("first\r\n" + kept + "\xd6\xd0tail\r\nlast").c_str());
    EXPECT_EQ(ReadText(8), "first\r\n" + kept + "\r\nlast");
}

TEST_F(EditBoxTest, ReadingTheContentAfterTypingReturnsTheTypedText) {
    LoadEdit({}, 32, {{0, LoggingHandler<"changed">()}});
    EventLog().clear();
    Type("ab");
    EXPECT_EQ(ReadText(8), "ab");
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"changed", "changed"}));
}

TEST_F(EditBoxTest, ByteModeNormalisesOnFocusLossThenRaisesEventMinus8) {
    EditBoxProperties properties;
    properties.inputMode = kInputByte;
    LoadEdit(properties, 32, {{-8, LoggingHandler<"-8">()}, {0, LoggingHandler<"changed">()}});
    SetFocus(edit_);
    SetWindowTextA(edit_, "300");
    EventLog().clear();
    SetFocus(UnitHandle(kMainWindowId, kOtherEditId));
    EXPECT_EQ(Text(), "255");
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"changed", "-8"}));
    for (const char *zero : {"0", "-5"}) {
        SetFocus(edit_);
        SetWindowTextA(edit_, zero);
        SetFocus(UnitHandle(kMainWindowId, kOtherEditId));
        EXPECT_EQ(Text(), "") << zero;
    }
}

TEST_F(EditBoxTest, NormalisationByInputMode) {
    EXPECT_EQ(NormaliseEditText(kInputByte, "300"), "255");
    EXPECT_EQ(NormaliseEditText(kInputByte, "0"), "");
    EXPECT_EQ(NormaliseEditText(kInputByte, "-5"), "");
    EXPECT_EQ(NormaliseEditText(kInputByte, "12"), "12");
    EXPECT_EQ(NormaliseEditText(kInputShort, "40000"), "32767");
    EXPECT_EQ(NormaliseEditText(kInputShort, "-40000"), "-32768");
    EXPECT_EQ(NormaliseEditText(kInputInteger, "9999999999"), "2147483647");
    EXPECT_EQ(NormaliseEditText(kInputLong, "9999999999"), "9999999999");
    EXPECT_EQ(NormaliseEditText(kInputLong, "abc"), "");
    EXPECT_EQ(NormaliseEditText(kInputFloat, "3.14159265"), "3.14159");
    EXPECT_EQ(NormaliseEditText(kInputFloat, "1e300"), "inf");
    EXPECT_EQ(NormaliseEditText(kInputDouble, "3.14159265358979"), "3.14159265359");
    EXPECT_EQ(NormaliseEditText(kInputDouble, "-0"), "");
    EXPECT_EQ(NormaliseEditText(kInputNormal, "0"), "0");
    EXPECT_EQ(NormaliseEditText(kInputDecimalText, " 1x"), " 1x");
}

TEST_F(EditBoxTest, DateTimeModeWritesTheRuntimesDateText) {
    EXPECT_EQ(NormaliseEditText(kInputDateTime, "2024年1月2日"), "2024年1月2日");
    EXPECT_EQ(NormaliseEditText(kInputDateTime, "2024年01月02日10时30分"), "2024年1月2日10时30分");
    EXPECT_EQ(NormaliseEditText(kInputDateTime, "2024-01-02"), "2024年1月2日");
    EXPECT_EQ(NormaliseEditText(kInputDateTime, "2024年13月2日"), "");
    EXPECT_EQ(NormaliseEditText(kInputDateTime, "明天"), "");
    EXPECT_EQ(NormaliseEditText(kInputDateTime, ""), "");
    // Day 0, 1899-12-30, is the empty text.
    EXPECT_EQ(NormaliseEditText(kInputDateTime, "1899年12月30日"), "");
}

TEST_F(EditBoxTest, InputModesFilterTypedCharacters) {
    EditBoxProperties properties;
    properties.inputMode = kInputByte;
    LoadEdit(properties);
    Type("1a-.2");
    EXPECT_EQ(Text(), "12");
    EXPECT_TRUE(EditAcceptsCharacter(kInputDecimalText, '.'));
    EXPECT_TRUE(EditAcceptsCharacter(kInputInteger, '-'));
    EXPECT_FALSE(EditAcceptsCharacter(kInputInteger, '.'));
    EXPECT_TRUE(EditAcceptsCharacter(kInputByte, '\b'));
    EXPECT_TRUE(EditAcceptsCharacter(kInputDateTime, 'x'));
}

TEST_F(EditBoxTest, SelectionStartMinusOnePutsTheCaretAfterTheLastCharacter) {
    EditBoxProperties properties;
    properties.content = "abcdef";
    LoadEdit(properties);
    Write(24, -1);
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{6, 6}));
    Write(25, -1);
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 6}));
    EXPECT_EQ(ReadText(26), "abcdef");
    Write(24, 2);
    Write(25, 3);
    EXPECT_EQ(Read(24), 2);
    EXPECT_EQ(Read(25), 3);
    EXPECT_EQ(ReadText(26), "cde");
    Write(24, -7);
    EXPECT_EQ(Read(24), 0);
    WriteText(26, "XY");
    EXPECT_EQ(Text(), "XYdef");
}

TEST_F(EditBoxTest, SelectionPositionsCountBytesOfMixedChineseText) {
    EditBoxProperties properties;
    properties.content = "ab中文cd";
    LoadEdit(properties);
    Write(24, 2);
    Write(25, 4);
    EXPECT_EQ(ReadText(26), "中文");
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{2, 4}));
    EXPECT_EQ(Read(24), 2);
    EXPECT_EQ(Read(25), 4);
    Write(25, -1);
    EXPECT_EQ(Read(25), 8);
    Write(24, -1);
    EXPECT_EQ(Read(24), 8);
    // A position inside a double-byte character counts that character as passed.
    Write(24, 3);
    Write(25, 3);
    EXPECT_EQ(ReadText(26), "文c");
}

// The test runs again under the system code pages 1252 and 932: whatever the system's, typed
// characters reach the program as code page 936 bytes, program text reaches the control as the
// same characters, and positions count code page 936 bytes.
TEST_F(EditBoxTest, OnAnyCodePageTypedChineseReadsAsItsCodePage936Bytes) {
    LoadEdit({});
    for (wchar_t c : std::wstring(L"我要ab")) {
        PostMessageW(edit_, WM_CHAR, c, 1);
    }
    PumpPendingMessages();
    EXPECT_EQ(ReadText(8), "\xCE\xD2\xD2\xAA"
                           "ab");
    Write(24, -1);
    EXPECT_EQ(Read(24), 6);
    Write(24, 2);
    Write(25, 3);
    EXPECT_EQ(ReadText(26), "\xD2\xAA"
                            "a");
    WriteText(8, "\xD6\xD0\xCE\xC4"); // 中文
    wchar_t shown[8] = {};
    GetWindowTextW(edit_, shown, 8);
    EXPECT_STREQ(shown, L"中文");
    // A character that code page 936 cannot hold reads as the platform's "?".
    SetWindowTextW(edit_, L"a\u0E01b");
    EXPECT_EQ(ReadText(8), "a?b");
    // Without a font of its own the box draws in a font that holds the program's characters:
    // on a system of another code page the default GUI font would draw empty boxes.
    HDC dc = GetDC(edit_);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit_, WM_GETFONT, 0, 0)));
    WORD glyph = 0;
    GetGlyphIndicesW(dc, L"我", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    ReleaseDC(edit_, dc);
    EXPECT_NE(glyph, 0xFFFF);
    // A font's face name is program text as well.
    WriteUnitProperty(kMainWindowId, kEditId, 12, 6, reinterpret_cast<uint32_t>("\xCB\xCE\xCC\xE5"),
                      0); // 宋体
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit_, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"宋体");
}

TEST_F(EditBoxTest, TheBlockSelectionIsAppliedAtCreationInBytes) {
    EditBoxProperties properties;
    properties.content = "中文abcdef";
    properties.selectionStart = 5;
    properties.selectionLength = 2;
    LoadEdit(properties);
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{3, 5}));
}

TEST_F(EditBoxTest, SpinButtonSitsRightOfTheBoxAndWrapsInAutomaticMode) {
    EditBoxProperties properties;
    properties.spinMode = 1;
    properties.spinMinimum = 10; // the range runs from the smaller to the larger
    properties.spinMaximum = 0;
    properties.content = "10";
    LoadEdit(properties);
    HWND spin = SpinOf();
    ASSERT_NE(spin, nullptr);
    char className[32] = {};
    GetClassNameA(spin, className, sizeof className);
    EXPECT_STREQ(className, UPDOWN_CLASSA);
    RECT box, button;
    GetWindowRect(edit_, &box);
    GetWindowRect(spin, &button);
    EXPECT_EQ(button.left, box.right);
    EXPECT_EQ(button.right - button.left, 18);
    EXPECT_EQ(button.top, box.top);
    EXPECT_EQ(button.bottom, box.bottom);
    EXPECT_TRUE(IsWindowVisible(spin));
    EXPECT_EQ(GetWindow(edit_, GW_HWNDNEXT), spin);
    EXPECT_NE(GetWindowLongA(spin, GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);

    PressSpin(spin, true);
    EXPECT_EQ(Text(), "0");
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 1}));
    EXPECT_EQ(GetFocus(), edit_);
    PressSpin(spin, true);
    EXPECT_EQ(Text(), "1");
    SetWindowTextA(edit_, "0");
    PressSpin(spin, false);
    EXPECT_EQ(Text(), "10");
    // During a wait the arrows take no click.
    WaitRunning([&] { PressSpin(spin, true); });
    EXPECT_EQ(Text(), "10");
}

TEST_F(EditBoxTest, SpinButtonFollowsTheBoxWhenMovedHiddenOrDisabled) {
    EditBoxProperties properties;
    properties.spinMode = 1;
    LoadEdit(properties);
    HWND spin = SpinOf();
    ASSERT_NE(spin, nullptr);
    WriteUnitProperty(kMainWindowId, kEditId, 0, -1, 50, 0);
    RECT box, button;
    GetWindowRect(edit_, &box);
    GetWindowRect(spin, &button);
    EXPECT_EQ(button.left, box.right);
    WriteUnitProperty(kMainWindowId, kEditId, 6, -1, 1, 0);
    EXPECT_FALSE(IsWindowEnabled(spin));
    WriteUnitProperty(kMainWindowId, kEditId, 5, -1, 0, 0);
    EXPECT_FALSE(IsWindowVisible(spin));
    Write(9, 2); // raised border: no thin edge for the spin button
    EXPECT_EQ(GetWindowLongA(spin, GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);
}

TEST_F(EditBoxTest, ManualSpinModeRaisesEventOneWithTheDirection) {
    EditBoxProperties properties;
    properties.spinMode = 2;
    properties.content = "5";
    LoadEdit(properties, 32, {{1, Handler(&LogSpin)}});
    EventLog().clear();
    PressSpin(SpinOf(), true);
    PressSpin(SpinOf(), false);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"spin:1", "spin:-1"}));
    EXPECT_EQ(Text(), "5");
}

TEST_F(EditBoxTest, AMultiLineBoxHasNoSpinButton) {
    EditBoxProperties properties;
    properties.spinMode = 1;
    properties.multiLine = 1;
    LoadEdit(properties, 80);
    EXPECT_EQ(SpinOf(), nullptr);
    EXPECT_EQ(Read(21), 1);
}

TEST_F(EditBoxTest, FocusEventsMinus7ThenMinus8) {
    LoadEdit({}, 32, {{-7, LoggingHandler<"-7">()}, {-8, LoggingHandler<"-8">()}});
    SetFocus(UnitHandle(kMainWindowId, kOtherEditId));
    EventLog().clear();
    SetFocus(edit_);
    SetFocus(UnitHandle(kMainWindowId, kOtherEditId));
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"-7", "-8"}));
}

TEST_F(EditBoxTest, WritesClampAndApply) {
    LoadEdit({});
    Write(9, 9);
    EXPECT_EQ(Read(9), 5);
    EXPECT_NE(Style() & WS_BORDER, 0u);
    Write(9, -2);
    EXPECT_EQ(Read(9), 0);
    EXPECT_EQ(ExStyle() & WS_EX_CLIENTEDGE, 0u);
    Write(14, -3);
    EXPECT_EQ(Read(14), 0);
    Write(14, 4);
    SetWindowTextA(edit_, "");
    Type("abcdef");
    EXPECT_EQ(Text(), "abcd");
    Write(18, 40);
    EXPECT_EQ(Read(18), 11);
    Write(18, kInputPassword);
    EXPECT_EQ(SendMessageA(edit_, EM_GETPASSWORDCHAR, 0, 0), '*');
    WriteText(19, "#x");
    EXPECT_EQ(SendMessageA(edit_, EM_GETPASSWORDCHAR, 0, 0), '#');
    EXPECT_EQ(ReadText(19), "#");
    WriteText(19, "");
    EXPECT_EQ(ReadText(19), "#");
    Write(18, kInputReadOnly);
    EXPECT_EQ(SendMessageA(edit_, EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_NE(Style() & ES_READONLY, 0u);
    Write(10, 0x0000FF);
    EXPECT_EQ(Read(10), 0x0000FF);
    Write(22, 3);
    Write(23, -4);
    EXPECT_EQ(Read(22), 3);
    EXPECT_EQ(Read(23), -4);
    WriteText(27, "数据源");
    WriteText(28, "列");
    EXPECT_EQ(ReadText(27), "数据源");
    EXPECT_EQ(ReadText(28), "列");
}

void PutOnClipboard(const std::wstring &text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

// The maximum length counts bytes of the program's text, two for a Chinese character: typed
// characters that would pass it are refused, pasted text keeps its first line and is cut before
// the character that does not fit.
TEST_F(EditBoxTest, TheMaximumLengthCountsBytesOfTypedAndPastedText) {
    EditBoxProperties properties;
    properties.maximumLength = 10;
    LoadEdit(properties);
    WriteText(8, "中文字");
    SendMessageA(edit_, EM_SETSEL, 3, 3);
    Type("abcdef");
    EXPECT_EQ(ReadText(8), "中文字abcd");

    WriteText(8, "abcdefghi");
    SendMessageA(edit_, EM_SETSEL, 9, 9);
    Type("中");
    EXPECT_EQ(ReadText(8), "abcdefghi");
    Type("jk");
    EXPECT_EQ(ReadText(8), "abcdefghij");

    SendMessageA(edit_, EM_SETSEL, 0, -1);
    PutOnClipboard(L"ab中文字符串\r\nxyz");
    SendMessageA(edit_, WM_PASTE, 0, 0);
    EXPECT_EQ(ReadText(8), "ab中文字符");
    SendMessageA(edit_, EM_SETSEL, 5, 6); // the last character, "符"
    PutOnClipboard(L"串x");
    SendMessageA(edit_, WM_PASTE, 0, 0);
    EXPECT_EQ(ReadText(8), "ab中文字串");
}

// Shift+F10 (the context menu with its Paste), and the clipboard and undo messages that tools
// send, bypass any queue: the boxes refuse them in their own window procedures during a wait.
TEST_F(EditBoxTest, DuringAWaitTheBoxesRefuseTheContextMenuClipboardAndUndo) {
    LoadEdit({});
    const HWND boxes[] = {edit_, UnitHandle(kMainWindowId, kOtherEditId)};
    for (HWND box : boxes) {
        SetWindowTextA(box, "typed");
        SendMessageA(box, EM_SETSEL, 0, -1);
    }
    PutOnClipboard(L"PASTED");
    bool menuOpened = false;
    WaitRunning([&] {
        for (HWND box : boxes) {
            // The keyboard's context menu: if the box took it, its menu would run here until
            // Escape, and the next message would paste.
            PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0x10001);
            SendMessageA(box, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), -1);
            MSG escape;
            menuOpened |= !PeekMessageA(&escape, box, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
            for (UINT message : {WM_PASTE, WM_CUT, WM_CLEAR, WM_UNDO})
                SendMessageA(box, message, 0, 0);
        }
    });
    EXPECT_FALSE(menuOpened);
    for (HWND box : boxes) {
        char text[16] = {};
        GetWindowTextA(box, text, sizeof text);
        EXPECT_STREQ(text, "typed");
    }
    // Outside a wait the same message reaches the box.
    SendMessageA(edit_, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(), "PASTED");
}

TEST_F(EditBoxTest, StyleChoicesRecreateTheControlWithTheCurrentText) {
    LoadEdit({});
    SetWindowTextA(edit_, "kept");
    Write(15, 1);
    Write(16, 7);
    HWND fresh = UnitHandle(kMainWindowId, kEditId);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(GetWindowLongA(fresh, GWL_STYLE) & ES_MULTILINE, 0);
    EXPECT_NE(GetWindowLongA(fresh, GWL_STYLE) & WS_HSCROLL, 0);
    EXPECT_NE(GetWindowLongA(fresh, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(Read(16), 3);
    char text[16] = {};
    GetWindowTextA(fresh, text, sizeof text);
    EXPECT_STREQ(text, "kept");
}

// The handler runs inside the old box's own typing, whose final clean-up comes after it: for
// each property that re-creates the box, the new box keeps the unit's slot, its pointer, its tab
// stop and its events; a thousand re-creations in a row leave no runtime heap block, handle or
// window behind.
TEST_F(EditBoxTest, AChangeHandlerRecreatingItsBoxLeavesTheNewBoxInItsPlace) {
    const struct {
        int32_t property;
        uint32_t values;
    } cases[] = {{13, 2}, {15, 2}, {16, 4}, {17, 3}, {20, 3}, {21, 3}};
    const uint8_t cross[] = {1, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0};
    for (const auto &c : cases) {
        g_rebuildingProperty = c.property;
        g_rebuildingValues = c.values;
        LoadEdit({}, 32, {{0, Handler(&StepRebuildingProperty)}});
        WriteUnitProperty(kMainWindowId, kEditId, 7, -1, reinterpret_cast<uint32_t>(cross), 0);
        HWND before = edit_;
        const int32_t initial = Read(c.property);
        Type("a");
        edit_ = UnitHandle(kMainWindowId, kEditId);
        ASSERT_NE(edit_, nullptr) << c.property;
        EXPECT_FALSE(IsWindow(before)) << c.property;
        EXPECT_EQ(Read(c.property), (initial + 1) % static_cast<int32_t>(c.values)) << c.property;
        EXPECT_EQ(ReadText(8), "a") << c.property;
        EXPECT_EQ(PointerShownFor(edit_, HTCLIENT), LoadCursorA(nullptr, IDC_CROSS));
        SetFocus(UnitHandle(kMainWindowId, kOtherEditId));
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        PumpPendingMessages();
        EXPECT_EQ(GetFocus(), edit_) << c.property;
        if (c.property != 21) {
            DestroyWindow(WindowHandle(kMainWindowId));
            collection_->ReleaseAll();
        }
    }

    // The spin button comes and goes with the spin property's values.
    EventLog().clear();
    const int32_t blocks = HeapInstrumentation::LiveBlocks();
    const uint32_t handles = ProcessHandleCount();
    for (int change = 0; change < 1000; ++change) {
        SetWindowTextA(UnitHandle(kMainWindowId, kEditId), change % 2 ? "b" : "c");
    }
    EXPECT_EQ(EventLog(), std::vector<std::string>(1000, "0"));
    EXPECT_EQ(HeapInstrumentation::LiveBlocks(), blocks);
    EXPECT_EQ(ProcessHandleCount(), handles);
    EXPECT_EQ(Read(21), 2);
    // The other box, this box and its spin button.
    EXPECT_EQ(DescendantCount(WindowHandle(kMainWindowId)), 3u);
}

TEST_F(EditBoxTest, KeyHookTakesEnterOnlyInAWritableMultiLineBox) {
    const UnitTypeDescriptor *descriptor = FindUnitTypeDescriptor(kEditBoxUnitType);
    auto hook =
        reinterpret_cast<UnitKeyHookOperation>(UnitOperationOf(descriptor, kOperationKeyHook));
    ASSERT_NE(hook, nullptr);
    EditBoxProperties properties;
    properties.multiLine = 1;
    LoadEdit(properties, 80);
    CWnd *unit = CWnd::FromHandlePermanent(edit_);
    EXPECT_TRUE(hook(unit, VK_RETURN));
    EXPECT_FALSE(hook(unit, VK_TAB));
    Write(18, kInputReadOnly);
    EXPECT_FALSE(hook(unit, VK_RETURN));
}

TEST_F(EditBoxTest, BlockVersionAboveTwoOrAShortBlockFailsTheLoad) {
    EditBoxProperties properties;
    EditBoxProperties read;
    const std::vector<uint8_t> v3 = EditBoxBlock(properties, 3);
    EXPECT_FALSE(ReadEditBoxProperties(v3.data(), static_cast<uint32_t>(v3.size()), &read));
    std::vector<uint8_t> shortBlock = EditBoxBlock(properties);
    shortBlock.resize(shortBlock.size() - 1);
    EXPECT_FALSE(
        ReadEditBoxProperties(shortBlock.data(), static_cast<uint32_t>(shortBlock.size()), &read));
    AddWindow(kMainWindowId, {WindowSpec(), EditBoxSpec(kEditId, "编辑框1", 10, 20, 200, 32, v3)});
    EXPECT_FALSE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
}

TEST_F(EditBoxTest, VersionOneBlocksHaveNoNamesAndSavingWritesVersionTwo) {
    EditBoxProperties properties;
    properties.content = "abc";
    properties.passwordCharacter = '#';
    const std::vector<uint8_t> v1 = EditBoxBlock(properties, 1);
    EditBoxProperties read;
    ASSERT_TRUE(ReadEditBoxProperties(v1.data(), static_cast<uint32_t>(v1.size()), &read));
    EXPECT_EQ(read.content, "abc");
    EXPECT_EQ(read.passwordCharacter, '#');
    HGLOBAL saved = SaveEditBoxProperties(read);
    ASSERT_NE(saved, nullptr);
    const auto *bytes = static_cast<const uint8_t *>(GlobalLock(saved));
    const std::vector<uint8_t> expected = EditBoxBlock(properties, 2);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + GlobalSize(saved)), expected);
    GlobalUnlock(saved);
    GlobalFree(saved);
    // Defaults: version 2, sunken, black on white, hide selection, "*", spin range 0..100.
    const std::vector<uint8_t> defaults = EditBoxBlock(EditBoxProperties{});
    const uint8_t head[] = {2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 0};
    EXPECT_EQ(std::memcmp(defaults.data(), head, sizeof head), 0);
}

} // namespace
