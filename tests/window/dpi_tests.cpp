// Geometry at any DPI: units to pixels and back, the program's window at the DPI the process runs
// at (CTest runs this once at each of 96, 120, 144 and 192 DPI, ZV_EXPECTED_DPI naming it), a
// change of DPI announced to a loaded window, and a resize handler that places a unit at 150 %.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "image/window/window_template_segment.h"
#include "tests/window/engine_fixture.h"
#include "window/dpi_scale.h"
#include "window/property_access.h"
#include "window/template_reader.h"
#include "window/window_engine.h"

namespace {

constexpr int kScales[] = {96, 120, 144, 168, 192}; // 100, 125, 150, 175 and 200 %
constexpr int32_t kLeft = 0, kTop = 1, kWidth = 2, kHeight = 3;
// The client area of the program's 796 x 446 window with its fixed frame, at 96 DPI.
constexpr SIZE kProgramClientAt96 = {790, 421};

int ExpectedDpi() {
    const char *named = std::getenv("ZV_EXPECTED_DPI");
    return named != nullptr ? std::atoi(named) : kUnitDpi;
}

int32_t Read(uint32_t windowId, uint32_t unitId, int32_t index) {
    return static_cast<int32_t>(ReadUnitProperty(windowId, unitId, index, -1));
}

RECT RectInParent(HWND unit) {
    RECT rect;
    GetWindowRect(unit, &rect);
    MapWindowPoints(nullptr, GetParent(unit), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

LONG FontHeight(HWND unit) {
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(unit, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

int ImageWidth(HICON image) {
    ICONINFO info = {};
    if (image == nullptr || !GetIconInfo(image, &info))
        return 0;
    BITMAP bitmap = {};
    GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    return bitmap.bmWidth;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

TEST(DpiConversion, ValuesAndWindowSizesConvertedToPixelsAndBackAreUnchangedAt100To200Percent) {
    const WindowFrameStyle framed = {WS_CAPTION | WS_SYSMENU | WS_DLGFRAME, 0, true};
    for (int dpi : kScales) {
        int changed = 0;
        for (int units = -5000; units <= 5000; ++units)
            changed += PixelsToUnits(UnitsToPixels(units, dpi), dpi) != units;
        // (Each frame is a system call: a sample of sizes.)
        for (int units = 0; units <= 2000; units += 7) {
            const SIZE pixels = OuterSizeToPixels({units, units}, framed, dpi);
            changed += OuterSizeToUnits(pixels, framed, dpi).cx != units;
        }
        EXPECT_EQ(changed, 0) << dpi;
    }
    // Halves round away from zero; a unit without a caption or dialog frame scales whole.
    EXPECT_EQ(UnitsToPixels(-2, 120), -3);
    EXPECT_EQ(OuterSizeToPixels({796, 446}, {WS_CHILD | WS_BORDER, 0, false}, 144).cx, 1194);
}

class DpiTest : public EngineTest {
protected:
    void LoadProgramWindow() {
        collection_->Adopt(
            LoadWindowTemplates(kWindowTemplateSegment, kWindowTemplateSegmentSize, 0));
        ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        PumpPendingMessages();
    }
    // Every live unit's and the window's position and size as program code reads them equal the
    // template's (the window's place aside: it opens centred).
    void ExpectTemplateGeometry() {
        WindowTemplate &window = *Window(kMainWindowId);
        for (uint32_t i = 0; i < window.UnitCount(); ++i) {
            const UnitRecordView record = window.RecordAt(i);
            if (record.IsMenuItem())
                continue;
            const uint32_t unitId = window.UnitIdAt(i);
            if (i != 0) {
                EXPECT_EQ(Read(kMainWindowId, unitId, kLeft), record.Left()) << record.Name();
                EXPECT_EQ(Read(kMainWindowId, unitId, kTop), record.Top()) << record.Name();
            }
            EXPECT_EQ(Read(kMainWindowId, unitId, kWidth), record.Width()) << record.Name();
            EXPECT_EQ(Read(kMainWindowId, unitId, kHeight), record.Height()) << record.Name();
        }
    }
};

TEST_F(DpiTest, TheProgramsWindowScalesWithTheDpiAndProgramCodeSeesTemplateUnits) {
    const int dpi = ExpectedDpi();
    ASSERT_EQ(SystemDpi(), dpi) << "the prefix's LogPixels did not take effect";
    LoadProgramWindow();
    HWND window = WindowHandle(kMainWindowId);
    ASSERT_EQ(WindowDpi(window), dpi);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_NEAR(client.right, MulDiv(kProgramClientAt96.cx, dpi, 96), 1);
    EXPECT_NEAR(client.bottom, MulDiv(kProgramClientAt96.cy, dpi, 96), 1);
    ExpectTemplateGeometry();

    // Each label's caption, measured with the font it is drawn with, fits in the label.
    WindowTemplate &templ = *Window(kMainWindowId);
    int labels = 0;
    HDC dc = GetDC(window);
    for (uint32_t i = 1; i < templ.UnitCount(); ++i) {
        if (templ.RecordAt(i).IsMenuItem() || templ.RecordAt(i).Type() != kLabelUnitType)
            continue;
        HWND label = UnitHandle(kMainWindowId, templ.UnitIdAt(i));
        const std::wstring text = TextOf(label);
        HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        SIZE extent = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, previous);
        RECT area;
        GetClientRect(label, &area);
        EXPECT_LE(extent.cx, area.right) << templ.RecordAt(i).Name();
        EXPECT_LE(extent.cy, area.bottom) << templ.RecordAt(i).Name();
        ++labels;
    }
    ReleaseDC(window, dc);
    EXPECT_EQ(labels, 3);
}

TEST_F(DpiTest, AChangeOfDpiPlacesTheWindowInTheSuggestedRectangleAndRemakesFontsIconsPointers) {
    LoadProgramWindow();
    HWND window = WindowHandle(kMainWindowId);
    HWND urlBox = UnitHandle(kMainWindowId, 0x16010002);
    HWND prompt = UnitHandle(kMainWindowId, 0x16010004);
    HWND button = UnitHandle(kMainWindowId, 0x16010005);
    const int before = WindowDpi(window);
    const int after = before * 3 / 2;
    const LONG boxFont = FontHeight(urlBox), promptFont = FontHeight(prompt);
    // The button shows the runtime's own hand pointer (pointer index 14).
    const uint8_t hand[] = {1, 0, 0, 0, 4, 0, 0, 0, 14, 0, 0, 0};
    WriteUnitProperty(kMainWindowId, 0x16010005, 7, -1, reinterpret_cast<uint32_t>(hand), 0);

    RECT suggested = {30, 40, 730, 440};
    // A change without its rectangle is not the system's: nothing moves.
    RECT loaded;
    GetWindowRect(window, &loaded);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(after, after), 0);
    RECT unmoved;
    GetWindowRect(window, &unmoved);
    EXPECT_TRUE(EqualRect(&unmoved, &loaded));
    EXPECT_EQ(FontHeight(urlBox), boxFont);

    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(after, after),
                 reinterpret_cast<LPARAM>(&suggested));
    PumpPendingMessages();

    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_TRUE(EqualRect(&placed, &suggested));
    EXPECT_NEAR(FontHeight(urlBox), MulDiv(boxFont, 3, 2), 1);
    EXPECT_NEAR(FontHeight(prompt), MulDiv(promptFont, 3, 2), 1);
    EXPECT_EQ(ImageWidth(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0))),
              MetricForDpi(SM_CXICON, after));
    EXPECT_EQ(ImageWidth(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0))),
              MetricForDpi(SM_CXSMICON, after));
    WindowTemplate &templ = *Window(kMainWindowId);
    const auto buttonIndex = static_cast<uint32_t>(templ.IndexOfUnit(0x16010005));
    EXPECT_EQ(ImageWidth(reinterpret_cast<HICON>(templ.RecordAt(buttonIndex).LivePointer())),
              MetricForDpi(SM_CXCURSOR, after));
    const RECT buttonRect = RectInParent(button);
    EXPECT_EQ(buttonRect.left, MulDiv(704, after, 96));
    EXPECT_EQ(buttonRect.top, MulDiv(16, after, 96));
    EXPECT_EQ(buttonRect.right - buttonRect.left, MulDiv(80, after, 96));
    EXPECT_EQ(buttonRect.bottom - buttonRect.top, MulDiv(32, after, 96));
    // Program code still reads the template's units (the window's own size is the suggested one).
    EXPECT_EQ(Read(kMainWindowId, 0x16010005, kLeft), 704);
    EXPECT_EQ(Read(kMainWindowId, 0x16010005, kWidth), 80);
    EXPECT_EQ(Read(kMainWindowId, 0x16010004, kHeight), 24);

    // Asked for its size at yet another DPI, the window answers its size in units at that DPI.
    const int32_t width = Read(kMainWindowId, kWindowRecordId, kWidth);
    const int32_t height = Read(kMainWindowId, kWindowRecordId, kHeight);
    const int last = after * 4 / 3;
    SIZE wanted = {};
    ASSERT_TRUE(SendMessageW(window, WM_GETDPISCALEDSIZE, last, reinterpret_cast<LPARAM>(&wanted)));
    RECT atLast = {0, 0, wanted.cx, wanted.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(last, last), reinterpret_cast<LPARAM>(&atLast));
    EXPECT_EQ(Read(kMainWindowId, kWindowRecordId, kWidth), width);
    EXPECT_EQ(Read(kMainWindowId, kWindowRecordId, kHeight), height);
}

// The resize handler: the button 100 units left of the window's right edge, 60 from the top.
uint32_t __stdcall KeepButtonAtTheRight() {
    const int32_t width = Read(kMainWindowId, kWindowRecordId, kWidth);
    WriteUnitProperty(kMainWindowId, kButton1Id, kLeft, -1, static_cast<uint32_t>(width - 100), 0);
    WriteUnitProperty(kMainWindowId, kButton1Id, kTop, -1, 60, 0);
    return 0;
}

uint32_t __stdcall LogPress(uint32_t x, uint32_t y, uint32_t) {
    EventLog().push_back("down:" + std::to_string(static_cast<int16_t>(x)) + "," +
                         std::to_string(static_cast<int16_t>(y)));
    return 0;
}

TEST_F(DpiTest, At150PercentAResizeHandlerPlacesAUnitInUnitsAndAPressReportsUnits) {
    constexpr int kDpi = 144;
    constexpr int32_t kResizedEvent = 4, kLeftPressedEvent = -1;
    AddWindow(kMainWindowId,
              {WindowSpec({{kResizedEvent, Handler(&KeepButtonAtTheRight)}}),
               ButtonSpec(kButton1Id, "按钮", 10, {{kLeftPressedEvent, Handler(&LogPress)}})});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    PumpPendingMessages();
    HWND window = WindowHandle(kMainWindowId);
    if (WindowDpi(window) != kDpi) {
        RECT rect;
        GetWindowRect(window, &rect);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(kDpi, kDpi),
                     reinterpret_cast<LPARAM>(&rect));
    }
    WriteUnitProperty(kMainWindowId, kWindowRecordId, kWidth, -1, 500, 0);
    PumpPendingMessages();

    EXPECT_EQ(Read(kMainWindowId, kWindowRecordId, kWidth), 500);
    EXPECT_EQ(Read(kMainWindowId, kButton1Id, kLeft), 400);
    EXPECT_EQ(Read(kMainWindowId, kButton1Id, kTop), 60);
    const RECT placed = RectInParent(UnitHandle(kMainWindowId, kButton1Id));
    EXPECT_EQ(placed.left, 600);
    EXPECT_EQ(placed.top, 90);
    EXPECT_EQ(placed.right - placed.left, 120);
    EXPECT_EQ(placed.bottom - placed.top, 45);

    // Mouse positions in pixels of the button reach the handler in units, negative ones too.
    HWND button = UnitHandle(kMainWindowId, kButton1Id);
    EventLog().clear();
    for (const int x : {45, -3}) {
        PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 31));
        PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(x, 31));
    }
    PumpPendingMessages();
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"down:30,21", "down:-2,21"}));
}

} // namespace
