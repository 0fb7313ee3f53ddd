// Label unit: its class and defaults, the pixels of its paint routine (caption placement and
// colour, gradients, the gradient frame, lettering effects), property clamps, its event message,
// the block, and the boxes it names for a screen reader.
#include <windows.h>

#include <oleacc.h>

#include <cstring>
#include <tuple>

#include "runtime/heap.h"
#include "tests/window/edit_box_blocks.h"
#include "tests/window/engine_fixture.h"
#include "tests/window/label_blocks.h"
#include "window/property_access.h"
#include "window/units/label/label_gradient.h"
#include "window/window_engine.h"

namespace {

constexpr uint32_t kLabelId = 0x16011f0c;
constexpr int kWidth = 200;
constexpr int kHeight = 40;
constexpr uint32_t kUnused = 0xFF000000;

uint32_t __stdcall SumLabelArguments(uint32_t a, uint32_t b) {
    EventLog().push_back("label:0");
    return a + b;
}

// The label's client area rendered into a 32-bit top-down bitmap.
class Rendering {
public:
    explicit Rendering(HWND label) {
        RECT client;
        GetClientRect(label, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        // A colour the label never paints, so that unpainted pixels show.
        for (int i = 0; i < width_ * height_; ++i)
            bits_[i] = 0x00123456;
        SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
        GdiFlush();
    }
    ~Rendering() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const {
        const uint32_t pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // The bounding box of the pixels that match.
    template <typename Match> RECT Bounds(Match match) const {
        RECT box = {width_, height_, -1, -1};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (match(At(x, y))) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x);
                    box.bottom = std::max<LONG>(box.bottom, y);
                }
        return box;
    }
    bool SameAs(const Rendering &other) const {
        return width_ == other.width_ && height_ == other.height_ &&
               std::memcmp(bits_, other.bits_, sizeof(uint32_t) * width_ * height_) == 0;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t *bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

bool IsRed(COLORREF c) {
    return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60;
}
bool IsBlack(COLORREF c) {
    return GetRValue(c) < 40 && GetGValue(c) < 40 && GetBValue(c) < 40;
}

class LabelTest : public EngineTest {
protected:
    HWND LoadLabel(const std::vector<uint8_t> &block, int width = kWidth, int height = kHeight,
                   std::vector<std::pair<int32_t, const void *>> bindings = {}) {
        AddWindow(kMainWindowId, {WindowSpec(), LabelSpec(kLabelId, "标签2", 8, 8, width, height,
                                                          block, std::move(bindings))});
        EXPECT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        return UnitHandle(kMainWindowId, kLabelId);
    }
    void Write(int32_t index, int32_t value) {
        WriteUnitProperty(kMainWindowId, kLabelId, index, -1, static_cast<uint32_t>(value), 0);
    }
    int32_t Read(int32_t index) {
        return static_cast<int32_t>(ReadUnitProperty(kMainWindowId, kLabelId, index, -1));
    }
};

LabelProperties Plain(const std::string &caption) {
    LabelProperties p;
    p.caption = caption;
    p.backgroundColour = 0xFFFFFF;
    return p;
}

TEST_F(LabelTest, AnEmptyBlockShowsTheDefaultCaptionLeftAndCentredOnButtonFace) {
    HWND label = LoadLabel({});
    ASSERT_NE(label, nullptr);
    char className[16] = {}, text[16] = {};
    GetClassNameA(label, className, sizeof className);
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(className, "_LM_Label");
    EXPECT_STREQ(text, "标签");
    EXPECT_EQ(GetWindowLongA(label, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(GetWindowLongA(label, GWL_EXSTYLE) &
                  (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME),
              0);
    const Rendering image(label);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(image.At(0, 0), face);
    EXPECT_EQ(image.At(kWidth - 1, kHeight - 1), face);
    const RECT text_ = image.Bounds(IsBlack);
    ASSERT_GE(text_.right, 0) << "no caption drawn";
    EXPECT_LE(text_.left, 3);
    EXPECT_LE(std::abs((text_.top + text_.bottom) / 2 - kHeight / 2), 2);
}

TEST_F(LabelTest, TheProgramsNoticeIsRedCentredOnOneLine) {
    LabelProperties p;
    p.caption = "Zorvin网音乐下载器，纯属练习学习，一切后果与作者无关！^_^ !";
    p.textColour = 0x0000FF;
    p.horizontalAlignment = 1;
    p.font = FontRecord("微软雅黑", -20);
    HWND label = LoadLabel(LabelBlock(p), 776, 80);
    const Rendering image(label);
    const RECT red = image.Bounds(IsRed);
    ASSERT_GE(red.right, 0) << "no red caption";
    EXPECT_LE(std::abs((red.left + red.right) / 2 - 776 / 2), 3);
    EXPECT_LE(std::abs((red.top + red.bottom) / 2 - 80 / 2), 3);
    EXPECT_LT(red.bottom - red.top, 30); // one line
    EXPECT_EQ(image.At(0, 0), GetSysColor(COLOR_BTNFACE));
}

TEST_F(LabelTest, AVerticalGradientRunsFromTheFirstColourAtTheTop) {
    LabelProperties p = Plain("");
    p.gradientStyle = 1;
    p.gradientColours[0] = RGB(255, 0, 0);
    p.gradientColours[1] = RGB(0, 0, 255);
    p.gradientColours[2] = kUnused;
    HWND label = LoadLabel(LabelBlock(p));
    const Rendering image(label);
    for (int x : {0, 49, 50, kWidth - 1}) {
        EXPECT_EQ(image.At(x, 0), RGB(255, 0, 0)) << x;
        // Row 39 of 40: 39/40 of the way, each channel truncated.
        EXPECT_EQ(image.At(x, kHeight - 1), RGB(255 - 248, 0, 248)) << x;
        EXPECT_EQ(image.At(x, 20), RGB(255 - 127, 0, 127)) << x;
    }
}

TEST_F(LabelTest, GradientColoursSpreadEvenlyOverTheirSpans) {
    const std::vector<COLORREF> three = {RGB(0, 0, 0), RGB(200, 100, 0), RGB(0, 0, 0)};
    EXPECT_EQ(GradientColourAt(three, 0, 100), RGB(0, 0, 0));
    EXPECT_EQ(GradientColourAt(three, 25, 100), RGB(100, 50, 0));
    EXPECT_EQ(GradientColourAt(three, 50, 100), RGB(200, 100, 0));
    EXPECT_EQ(GradientColourAt(three, 75, 100), RGB(100, 50, 0));
    EXPECT_EQ(GradientColourAt(three, 100, 100), RGB(0, 0, 0));
    EXPECT_EQ(GradientColourAt(three, 0, 1), RGB(0, 0, 0)); // spans of 0 pixels
    const uint32_t colours[3] = {kUnused, RGB(1, 2, 3), kUnused};
    EXPECT_EQ(UsableGradientColours(colours), std::vector<COLORREF>{RGB(1, 2, 3)});
}

TEST_F(LabelTest, DiagonalAndReversedGradientsStartAtTheirCorner) {
    LabelProperties p = Plain("");
    p.gradientColours[0] = RGB(0, 255, 0);
    p.gradientColours[1] = RGB(0, 0, 0);
    p.gradientColours[2] = kUnused;
    HWND label = LoadLabel(LabelBlock(p));
    for (const auto &[style, x, y] :
         {std::tuple{5, 0, kHeight - 1}, std::tuple{6, kWidth - 1, 0}, std::tuple{3, 0, 0},
          std::tuple{4, kWidth - 1, 0}, std::tuple{7, kWidth - 1, kHeight - 1},
          std::tuple{8, 0, kHeight - 1}}) {
        Write(20, style);
        const Rendering image(label);
        EXPECT_EQ(image.At(x, y), RGB(0, 255, 0)) << "style " << style;
        if (style == 3) { // the far part of a long rectangle takes the last colour
            EXPECT_EQ(image.At(kWidth - 1, kHeight / 2), RGB(0, 0, 0));
        }
    }
}

TEST_F(LabelTest, LetteringEffectThreeLeavesABlackShadowTwoPixelsRightAndDown) {
    LabelProperties p = Plain("IIII");
    p.textColour = RGB(255, 0, 0);
    p.letteringEffect = 3;
    p.font = FontRecord("Tahoma", -24);
    HWND label = LoadLabel(LabelBlock(p));
    const Rendering image(label);
    const RECT red = image.Bounds(IsRed);
    const RECT black = image.Bounds(IsBlack);
    ASSERT_GE(red.right, 0);
    ASSERT_GE(black.right, 0);
    EXPECT_EQ(black.right, red.right + 2);
    EXPECT_EQ(black.bottom, red.bottom + 2);
    // Right of the caption's last stroke, two pixels down, lies the shadow of that stroke.
    const int y = (red.top + red.bottom) / 2;
    int x = red.right;
    while (x > red.left && !IsRed(image.At(x, y)))
        --x;
    EXPECT_TRUE(IsBlack(image.At(x + 2, y + 2)));
    EXPECT_FALSE(IsBlack(image.At(x, y)));
}

TEST_F(LabelTest, RaisedLetteringDrawsWhiteOnePixelRightAndDown) {
    LabelProperties p = Plain("IIII");
    p.backgroundColour = RGB(0, 0, 128);
    p.textColour = RGB(255, 0, 0);
    p.letteringEffect = 1;
    p.font = FontRecord("Tahoma", -24);
    HWND label = LoadLabel(LabelBlock(p));
    const Rendering image(label);
    const RECT red = image.Bounds(IsRed);
    const RECT white = image.Bounds(
        [](COLORREF c) { return GetRValue(c) > 230 && GetGValue(c) > 230 && GetBValue(c) > 230; });
    ASSERT_GE(white.right, 0);
    EXPECT_EQ(white.right, red.right + 1);
    EXPECT_EQ(white.bottom, red.bottom + 1);
}

TEST_F(LabelTest, GradientFrameOfBorderSixShadesInwardAndShrinksTheCaptionArea) {
    LabelProperties p = Plain("");
    p.border = 6;
    p.frameWidth = 10;
    p.frameColours[0] = RGB(255, 0, 0);
    p.frameColours[1] = RGB(0, 0, 255);
    p.frameColours[2] = kUnused;
    HWND label = LoadLabel(LabelBlock(p));
    EXPECT_EQ(GetWindowLongA(label, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    const Rendering image(label);
    EXPECT_EQ(image.At(kWidth / 2, 0), RGB(255, 0, 0));               // top strip, outer row
    EXPECT_EQ(image.At(kWidth / 2, kHeight - 10), RGB(255, 0, 0));    // bottom strip, top row
    EXPECT_EQ(image.At(0, kHeight / 2), RGB(255, 0, 0));              // left strip, outer column
    EXPECT_EQ(image.At(kWidth - 10, kHeight / 2), RGB(255, 0, 0));    // right strip, its left
    EXPECT_EQ(image.At(kWidth / 2, kHeight / 2), RGB(255, 255, 255)); // inside: background
    EXPECT_EQ(image.At(10, 10), RGB(255, 255, 255));
}

TEST_F(LabelTest, BorderSixWithoutUsableColoursDrawsNoFrameAndKeepsTheCaptionArea) {
    LabelProperties framed = Plain("标签框");
    framed.border = 6;
    for (uint32_t &colour : framed.frameColours)
        colour = kUnused;
    HWND label = LoadLabel(LabelBlock(framed));
    const Rendering withBorderSix(label);
    Write(10, 0);
    const Rendering withoutBorder(label);
    EXPECT_TRUE(withBorderSix.SameAs(withoutBorder));
    EXPECT_EQ(withBorderSix.At(0, 0), RGB(255, 255, 255));
}

TEST_F(LabelTest, WritesClampAsTheTableSays) {
    LoadLabel({});
    Write(11, 2);
    EXPECT_EQ(Read(11), 5);
    Write(11, 9);
    EXPECT_EQ(Read(11), 9);
    Write(9, 7);
    EXPECT_EQ(Read(9), 3);
    Write(10, 9);
    EXPECT_EQ(Read(10), 6);
    Write(10, -1);
    EXPECT_EQ(Read(10), 0);
    Write(19, 3);
    EXPECT_EQ(Read(19), 2);
    Write(20, 12);
    EXPECT_EQ(Read(20), 8);
    Write(24, -4);
    EXPECT_EQ(Read(24), 0);
    Write(26, 5);
    EXPECT_EQ(Read(26), 2);
    Write(10, 1);
    EXPECT_NE(GetWindowLongA(UnitHandle(kMainWindowId, kLabelId), GWL_EXSTYLE) & WS_EX_CLIENTEDGE,
              0);
}

TEST_F(LabelTest, WritingTheCaptionRepaintsWithoutEraseAndReadsBackTheStoredCaption) {
    HWND label = LoadLabel({});
    ValidateRect(label, nullptr);
    const char *caption = "输入下载歌曲地址";
    WriteUnitProperty(kMainWindowId, kLabelId, 8, -1, reinterpret_cast<uint32_t>(caption), 0);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(label, &update, FALSE));
    auto *read = reinterpret_cast<char *>(
        static_cast<uint32_t>(ReadUnitProperty(kMainWindowId, kLabelId, 8, -1)));
    ASSERT_NE(read, nullptr);
    EXPECT_STREQ(read, caption);
    FreeMemory(read);
    char text[64] = {};
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, caption);
    // The label never erases: its class brush is the null brush and it answers the erase itself.
    EXPECT_EQ(GetClassLongPtrA(label, GCLP_HBRBACKGROUND),
              reinterpret_cast<LONG_PTR>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(SendMessageA(label, WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(LabelTest, Message0x8075RaisesEventZeroAndAnswersTheHandlersResult) {
    HWND label =
        LoadLabel({}, kWidth, kHeight, {{0, reinterpret_cast<const void *>(&SumLabelArguments)}});
    EventLog().clear();
    EXPECT_EQ(SendMessageA(label, 0x8075, 3, 4), 7);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"label:0"});
}

TEST_F(LabelTest, Message0x8075WithoutAHandlerAnswersZero) {
    HWND label = LoadLabel({});
    EXPECT_EQ(SendMessageA(label, 0x8075, 3, 4), 0);
}

TEST_F(LabelTest, AStoredFrameWidthBelowTheWritesMinimumIsReadAsStored) {
    LabelProperties narrow = Plain("窄框");
    narrow.frameWidth = 2;
    const std::vector<uint8_t> narrowBlock = LabelBlock(narrow);
    LabelProperties read;
    ASSERT_TRUE(
        ReadLabelProperties(narrowBlock.data(), static_cast<uint32_t>(narrowBlock.size()), &read));
    EXPECT_EQ(read.frameWidth, 2u);
    LoadLabel(narrowBlock);
    EXPECT_EQ(Read(11), 2);
}

TEST_F(LabelTest, BlockVersionAboveTwoOrAShortBlockFailsAndSavingWritesVersionTwo) {
    LabelProperties read;
    const std::vector<uint8_t> v3 = LabelBlock(LabelProperties{}, 3);
    EXPECT_FALSE(ReadLabelProperties(v3.data(), static_cast<uint32_t>(v3.size()), &read));
    std::vector<uint8_t> shortBlock = LabelBlock(LabelProperties{});
    shortBlock.resize(shortBlock.size() - 2);
    EXPECT_FALSE(
        ReadLabelProperties(shortBlock.data(), static_cast<uint32_t>(shortBlock.size()), &read));

    LabelProperties p = Plain("示例：");
    p.dataSource = "源";
    const std::vector<uint8_t> v1 = LabelBlock(p, 1);
    ASSERT_TRUE(ReadLabelProperties(v1.data(), static_cast<uint32_t>(v1.size()), &read));
    EXPECT_EQ(read.caption, "示例：");
    EXPECT_EQ(read.dataSource, "");
    HGLOBAL saved = SaveLabelProperties(read);
    const auto *bytes = static_cast<const uint8_t *>(GlobalLock(saved));
    p.dataSource.clear();
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + GlobalSize(saved)), LabelBlock(p, 2));
    GlobalUnlock(saved);
    GlobalFree(saved);
    // Defaults in block order: version 2, plain, frame width 8, no border, frame colours.
    const std::vector<uint8_t> defaults = LabelBlock(LabelProperties{});
    const uint8_t head[] = {2, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x80, 0x80, 0};
    EXPECT_EQ(std::memcmp(defaults.data(), head, sizeof head), 0);

    AddWindow(kMainWindowId, {WindowSpec(), LabelSpec(kLabelId, "标签", 8, 8, 50, 20, v3)});
    EXPECT_FALSE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
}

// Asked in the program's own apartment, as oleacc asks for a client there: each box is named by
// the label directly above it in the z-order only where that label lies before it on the window,
// and an object a client still holds answers nothing once the window has gone.
TEST_F(LabelTest, ABoxIsNamedOnlyByALabelBeforeItAndItsObjectOutlivesNoWindow) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    // The label's place relative to a box at (100, y, 100, 24), and whether it names the box.
    const std::tuple<int, int, bool> places[] = {
        {-90, 4, true}, {0, -20, true}, {110, 0, false}, {0, 30, false}};
    std::vector<UnitSpec> units = {WindowSpec()};
    for (uint32_t i = 0; i < std::size(places); ++i) {
        const auto [dx, dy, named] = places[i];
        const int y = 30 + 70 * static_cast<int>(i);
        units.push_back(
            LabelSpec(kLabelId + i, "标签", 100 + dx, y + dy, 80, 16, LabelBlock(Plain("地址"))));
        units.push_back(EditBoxSpec(0x16010100 + i, "编辑框", 100, y, 100, 24));
    }
    AddWindow(kMainWindowId, units);
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    IAccessible *held = nullptr;
    for (uint32_t i = 0; i < std::size(places); ++i) {
        IAccessible *box = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(UnitHandle(kMainWindowId, 0x16010100 + i),
                                             static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                             reinterpret_cast<void **>(&box)),
                  S_OK);
        BSTR name = nullptr;
        EXPECT_EQ(box->get_accName(self, &name), std::get<2>(places[i]) ? S_OK : S_FALSE) << i;
        EXPECT_EQ(std::wstring(name != nullptr ? name : L""),
                  std::get<2>(places[i]) ? L"地址" : L"")
            << i;
        SysFreeString(name);
        std::swap(held, box);
        if (box != nullptr)
            box->Release();
    }
    collection_->ReleaseAll();
    Pump();
    BSTR value = nullptr;
    EXPECT_EQ(held->get_accValue(self, &value), CO_E_OBJNOTCONNECTED);
    held->Release();
    CoUninitialize();
}

} // namespace
