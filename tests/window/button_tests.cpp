// The button unit: creation styles, the default button, re-creation on a picture write but not on
// a caption write (also from the button's own click handler), one event 0 per click, and the
// focus events in order.
#include <cstring>
#include <vector>

#include "framework/window.h"
#include "runtime/heap_instrumentation.h"
#include "tests/window/engine_fixture.h"
#include "window/property_access.h"
#include "window/unit_type.h"
#include "window/window_engine.h"

namespace {

constexpr int32_t kPictureProperty = 8;
constexpr int32_t kTypeProperty = 9;
constexpr int32_t kCaptionProperty = 10;

std::string WindowTextOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A 2 x 2 pixel 24-bit bitmap file, as a ByteSet block (word 1, word n, n bytes).
std::vector<uint8_t> BitmapByteSet() {
    const uint32_t pixelBytes = 16; // two rows of 6 bytes, each padded to 8
    const uint32_t fileSize = 14 + 40 + pixelBytes;
    std::vector<uint8_t> file(fileSize, 0);
    auto put32 = [&](size_t at, uint32_t value) { std::memcpy(file.data() + at, &value, 4); };
    auto put16 = [&](size_t at, uint16_t value) { std::memcpy(file.data() + at, &value, 2); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, fileSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, 2);
    put32(22, 2);
    put16(26, 1);
    put16(28, 24);
    put32(34, pixelBytes);
    for (uint32_t i = 54; i < fileSize; ++i) {
        file[i] = 0x80;
    }
    std::vector<uint8_t> byteSet(8 + fileSize);
    const uint32_t header[2] = {1, fileSize};
    std::memcpy(byteSet.data(), header, 8);
    std::memcpy(byteSet.data() + 8, file.data(), fileSize);
    return byteSet;
}

const std::vector<uint8_t> &Picture() {
    static const std::vector<uint8_t> picture = BitmapByteSet();
    return picture;
}
uint32_t __stdcall WriteOwnPicture() {
    EventLog().push_back("b1:0");
    WriteUnitProperty(kMainWindowId, kButton1Id, kPictureProperty, -1,
                      reinterpret_cast<uint32_t>(Picture().data()), 0);
    return 0;
}

class ButtonTest : public EngineTest {
protected:
    void LoadTwoButtons() {
        AddWindow(kMainWindowId,
                  {WindowSpec(),
                   ButtonSpec(kButton1Id, "按钮1", 10,
                              {{0, LoggingHandler<"b1:0">()},
                               {-7, LoggingHandler<"b1:-7">()},
                               {-8, LoggingHandler<"b1:-8">()}}),
                   ButtonSpec(kButton2Id, "按钮2", 100, {{-7, LoggingHandler<"b2:-7">()}})});
        ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
        EventLog().clear();
    }
};

TEST_F(ButtonTest, CreatedAsCentredMultiLinePushButtonWithTheDefaultGuiFont) {
    LoadTwoButtons();
    HWND button = UnitHandle(kMainWindowId, kButton1Id);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE));
    EXPECT_EQ(style & 0x1F, static_cast<DWORD>(BS_PUSHBUTTON));
    EXPECT_EQ(style & BS_CENTER, static_cast<DWORD>(BS_CENTER));
    EXPECT_EQ(style & BS_VCENTER, static_cast<DWORD>(BS_VCENTER));
    EXPECT_NE(style & BS_MULTILINE, 0u);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(WindowTextOf(button), "按钮1");
}

TEST_F(ButtonTest, EmptyBlockShowsTheDefaultCaption) {
    UnitSpec plain = ButtonSpec(kButton1Id, "按钮1", 10);
    plain.propertyBlock.clear();
    AddWindow(kMainWindowId, {WindowSpec(), plain});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EXPECT_EQ(WindowTextOf(UnitHandle(kMainWindowId, kButton1Id)), "按钮");
}

TEST_F(ButtonTest, TypeFiveMakesTheDefaultButtonThatCode10Reports) {
    LoadTwoButtons();
    HWND button = UnitHandle(kMainWindowId, kButton1Id);
    const auto isDefault = reinterpret_cast<bool (*)(CWnd *)>(
        UnitOperationOf(FindUnitTypeDescriptor(kButtonUnitType), kOperationIsDefaultButton));
    ASSERT_NE(isDefault, nullptr);
    EXPECT_FALSE(isDefault(CWnd::FromHandlePermanent(button)));
    WriteUnitProperty(kMainWindowId, kButton1Id, kTypeProperty, -1, 5, 0);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, kTypeProperty, -1), 1u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)) & 0x1F,
              static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_TRUE(isDefault(CWnd::FromHandlePermanent(button)));
    WriteUnitProperty(kMainWindowId, kButton1Id, kTypeProperty, -1, static_cast<uint32_t>(-3), 0);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, kTypeProperty, -1), 0u);
    EXPECT_FALSE(isDefault(CWnd::FromHandlePermanent(button)));
}

TEST_F(ButtonTest, PictureWriteRecreatesTheControlCaptionWriteDoesNot) {
    LoadTwoButtons();
    HWND before = UnitHandle(kMainWindowId, kButton1Id);
    const int controlId = GetDlgCtrlID(before);
    WriteUnitProperty(kMainWindowId, kButton1Id, kCaptionProperty, -1,
                      reinterpret_cast<uint32_t>("新标题"), 0);
    EXPECT_EQ(UnitHandle(kMainWindowId, kButton1Id), before);
    EXPECT_EQ(WindowTextOf(before), "新标题");

    const std::vector<uint8_t> picture = BitmapByteSet();
    WriteUnitProperty(kMainWindowId, kButton1Id, kPictureProperty, -1,
                      reinterpret_cast<uint32_t>(picture.data()), 0);
    HWND after = UnitHandle(kMainWindowId, kButton1Id);
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    // The new control keeps the identifier, the caption and the place, and shows the picture.
    EXPECT_EQ(GetDlgCtrlID(after), controlId);
    EXPECT_EQ(WindowTextOf(after), "新标题");
    EXPECT_NE(static_cast<DWORD>(GetWindowLongA(after, GWL_STYLE)) & BS_BITMAP, 0u);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, 0, -1), 10u);
    EXPECT_EQ(Runtime().eventSuppressionCount, 0);
    // The re-created unit still raises its events (the click focuses it first).
    SendMessageA(after, BM_CLICK, 0, 0);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"b1:-7", "b1:0"}));
}

// The handler runs inside the old button's own click, whose final clean-up comes after it: the
// new button keeps the unit's slot, its pointer, its tab stop and its events, and a thousand
// such clicks leave no runtime heap block, handle or window behind.
TEST_F(ButtonTest, AClickHandlerWritingItsOwnPictureLeavesTheNewButtonInItsPlace) {
    AddWindow(kMainWindowId,
              {WindowSpec(), ButtonSpec(kButton1Id, "按钮1", 10, {{0, Handler(&WriteOwnPicture)}}),
               ButtonSpec(kButton2Id, "按钮2", 100)});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    const uint8_t cross[] = {1, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0};
    WriteUnitProperty(kMainWindowId, kButton1Id, 7, -1, reinterpret_cast<uint32_t>(cross), 0);
    HWND before = UnitHandle(kMainWindowId, kButton1Id);
    SendMessageA(before, BM_CLICK, 0, 0);
    HWND after = UnitHandle(kMainWindowId, kButton1Id);
    ASSERT_NE(after, nullptr);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_NE(static_cast<DWORD>(GetWindowLongA(after, GWL_STYLE)) & BS_BITMAP, 0u);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, 0, -1), 10u);
    EXPECT_EQ(PointerShownFor(after, HTCLIENT), LoadCursorA(nullptr, IDC_CROSS));
    SetFocus(UnitHandle(kMainWindowId, kButton2Id));
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    PumpPendingMessages();
    EXPECT_EQ(GetFocus(), after);

    const int32_t blocks = HeapInstrumentation::LiveBlocks();
    const uint32_t handles = ProcessHandleCount();
    for (int click = 0; click < 1000; ++click) {
        SendMessageA(UnitHandle(kMainWindowId, kButton1Id), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(EventLog(), std::vector<std::string>(1001, "b1:0"));
    EXPECT_EQ(HeapInstrumentation::LiveBlocks(), blocks);
    EXPECT_EQ(ProcessHandleCount(), handles);
    EXPECT_EQ(DescendantCount(WindowHandle(kMainWindowId)), 2u);
}

TEST_F(ButtonTest, EachClickRaisesEvent0Once) {
    LoadTwoButtons();
    HWND button = UnitHandle(kMainWindowId, kButton1Id);
    SendMessageA(button, BM_CLICK, 0, 0);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(std::count(EventLog().begin(), EventLog().end(), "b1:0"), 2);
}

TEST_F(ButtonTest, FocusMovingOnRaisesGainedThenLost) {
    LoadTwoButtons();
    SetFocus(UnitHandle(kMainWindowId, kButton1Id));
    SetFocus(UnitHandle(kMainWindowId, kButton2Id));
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"b1:-7", "b1:-8", "b2:-7"}));
}

} // namespace
