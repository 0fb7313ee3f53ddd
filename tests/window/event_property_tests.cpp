// Event dispatch and property access: clicks, bindings, the event-target chain, the event
// source, conversions, clamps and the errors of a window that is not loaded.
#include "framework/window.h"
#include "runtime/heap.h"
#include "tests/window/engine_fixture.h"
#include "window/event_dispatch.h"
#include "window/font_property.h"
#include "window/property_access.h"

#include "window/window_collection.h"
#include "window/window_engine.h"
#include "window/window_engine_state.h"
#include <cstring>

namespace {

EventSource g_sourceInHandler = {};
uint32_t __stdcall LogClick() {
    g_sourceInHandler = EngineState().eventSource;
    EventLog().push_back("click");
    return 0;
}
uint32_t __stdcall SumArguments(uint32_t a, uint32_t b) {
    return a + b;
}

class EventTest : public EngineTest {};

TEST_F(EventTest, ClickCallsTheBoundHandlerOnceAndClearsTheEventSource) {
    AddWindow(kMainWindowId,
              {WindowSpec(), ButtonSpec(kButton1Id, "按钮1", 10, {{0, Handler(&LogClick)}})});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    EventLog().clear();
    SendMessageA(UnitHandle(kMainWindowId, kButton1Id), BM_CLICK, 0, 0);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"click"});
    EXPECT_EQ(g_sourceInHandler.windowId, kMainWindowId);
    EXPECT_EQ(g_sourceInHandler.unitId, kButton1Id);
    EXPECT_EQ(EngineState().eventSource.windowId, 0u);
}

TEST_F(EventTest, NoHandlerOrMissingBindingCallsNothing) {
    AddWindow(kMainWindowId, {WindowSpec(), ButtonSpec(kButton1Id, "按钮1", 10, {{0, nullptr}})});
    EventRecord record = {kMainWindowId, kButton1Id, 0, 0, {}, 0, 0};
    EXPECT_EQ(FireEvent(&record), 0u);
    EventRecord unbound = {kMainWindowId, kButton1Id, 5, 0, {}, 0, 0};
    EXPECT_EQ(FireEvent(&unbound), 0u);
    EXPECT_EQ(unbound.hasResult, 0u);
}

TEST_F(EventTest, FirstOfTwoBindingsWins) {
    AddWindow(kMainWindowId, {WindowSpec(), ButtonSpec(kButton1Id, "按钮1", 10,
                                                       {{0, Handler(&LogClick)},
                                                        {0, LoggingHandler<"second">()}})});
    EventRecord record = {kMainWindowId, kButton1Id, 0, 0, {}, 0, 0};
    EXPECT_EQ(FireEvent(&record), 1u);
    EXPECT_EQ(EventLog(), std::vector<std::string>{"click"});
}

TEST_F(EventTest, EventTargetOfTheSameTypeIsFollowedOtherTypesIgnored) {
    UnitSpec follower = ButtonSpec(kButton1Id, "按钮1", 10, {{0, Handler(&LogClick)}});
    follower.eventTarget = kButton2Id;
    UnitSpec ignoring = ButtonSpec(kButton3Id, "按钮3", 190, {{0, Handler(&LogClick)}});
    ignoring.eventTarget = kWindowRecordId;
    AddWindow(kMainWindowId,
              {WindowSpec({{0, LoggingHandler<"second">()}}), follower,
               ButtonSpec(kButton2Id, "按钮2", 100, {{0, LoggingHandler<"target">()}}), ignoring});
    EventRecord viaTarget = {kMainWindowId, kButton1Id, 0, 0, {}, 0, 0};
    FireEvent(&viaTarget);
    EventRecord own = {kMainWindowId, kButton3Id, 0, 0, {}, 0, 0};
    FireEvent(&own);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"target", "click"}));
}

TEST_F(EventTest, ArgumentsArePassedInOrderAndTheResultIsReturned) {
    UnitSpec button =
        ButtonSpec(kButton1Id, "按钮1", 10, {{-1, reinterpret_cast<const void *>(&SumArguments)}});
    AddWindow(kMainWindowId, {WindowSpec(), button});
    EventRecord record = {kMainWindowId, kButton1Id, -1, 2, {40, 2}, 0, 0};
    EXPECT_EQ(FireEvent(&record), 1u);
    EXPECT_EQ(record.hasResult, 1u);
    EXPECT_EQ(record.result, 42u);
}

TEST_F(EventTest, AHandlerWithoutAResultAnswersNothingAndRefusesNoClose) {
    const void *entry = NoResultEntry(reinterpret_cast<const void *>(&NoResultLeavingZero));
    AddWindow(kMainWindowId, {WindowSpec({{12, entry}, {1, entry}}),
                              ButtonSpec(kButton1Id, "按钮1", 10, {{0, entry}})});
    EventRecord click = {kMainWindowId, kButton1Id, 0, 0, {}, 0, 0};
    gNoResultCalls = 0;
    EXPECT_EQ(FireEvent(&click), 1u);
    EXPECT_EQ(click.hasResult, 0u);
    EXPECT_EQ(gNoResultCalls, 1u);
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    HWND window = WindowHandle(kMainWindowId);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(gNoResultCalls, 3u);
}

TEST_F(EventTest, SuppressedEventsReachNoHandler) {
    AddWindow(kMainWindowId,
              {WindowSpec(), ButtonSpec(kButton1Id, "按钮1", 10, {{0, Handler(&LogClick)}})});
    Runtime().eventSuppressionCount = 1;
    EventRecord record = {kMainWindowId, kButton1Id, 0, 0, {}, 0, 0};
    EXPECT_EQ(FireEvent(&record), 0u);
    EXPECT_TRUE(EventLog().empty());
}

TEST_F(EventTest, UnknownWindowOrUnitIsReported) {
    AddWindow(kMainWindowId, {WindowSpec()});
    EventRecord noWindow = {0x52017777, 0, 0, 0, {}, 0, 0};
    EXPECT_THROW(FireEvent(&noWindow), ReportedError);
    EventRecord noUnit = {kMainWindowId, 0x16017777, 0, 0, {}, 0, 0};
    EXPECT_THROW(FireEvent(&noUnit), ReportedError);
}

class PropertyTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        AddWindow(kMainWindowId, {WindowSpec(), ButtonSpec(kButton1Id, "按钮1", 10)});
    }
    std::string ErrorOf(void (*action)()) {
        try {
            action();
        } catch (const ReportedError &error) {
            return error.what();
        }
        return "";
    }
};

TEST_F(PropertyTest, GeometryWritesAreClamped) {
    WriteUnitProperty(kMainWindowId, kButton1Id, 2, -1, 40000, 0);
    WriteUnitProperty(kMainWindowId, kButton1Id, 3, -1, static_cast<uint32_t>(-5), 0);
    WriteUnitProperty(kMainWindowId, kButton1Id, 0, -1, static_cast<uint32_t>(-40000), 0);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, 2, -1), 32627u);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, 3, -1), 0u);
    EXPECT_EQ(static_cast<int32_t>(ReadUnitProperty(kMainWindowId, kButton1Id, 0, -1)), -32627);
}

TEST_F(PropertyTest, LeftWrittenWhileNotLoadedMovesOnlyTheTemplate) {
    WriteUnitProperty(kMainWindowId, kButton1Id, 0, -1, 77, 0);
    EXPECT_FALSE(IsWindowLoaded(*Window(kMainWindowId)));
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    RECT rect;
    GetWindowRect(UnitHandle(kMainWindowId, kButton1Id), &rect);
    MapWindowPoints(nullptr, WindowHandle(kMainWindowId), reinterpret_cast<POINT *>(&rect), 2);
    EXPECT_EQ(rect.left, 77);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, 0, -1), 77u);
}

TEST_F(PropertyTest, OwnPropertyOfAWindowNotLoadedIsReported) {
    EXPECT_EQ(ErrorOf([] { ReadUnitProperty(kMainWindowId, kButton1Id, 8, -1); }),
              "指定窗口尚未载入");
    EXPECT_EQ(ErrorOf([] { ReadUnitProperty(0x52017777, kButton1Id, 0, -1); }),
              "未载入欲访问窗口组件所在的窗口");
    EXPECT_EQ(ErrorOf([] { WriteUnitProperty(0x52017777, kButton1Id, 0, -1, 1, 0); }),
              "未载入欲访问窗口组件所在的窗口");
}

TEST_F(PropertyTest, VisibilityOnAHiddenParentReadsFalse) {
    UnitSpec hiddenWindow = WindowSpec();
    hiddenWindow.flags = 0;
    AddWindow(kSecondWindowId, {hiddenWindow, ButtonSpec(kButton1Id, "按钮1", 10)});
    ASSERT_TRUE(LoadWindow(Window(kSecondWindowId), false, false, nullptr));
    EXPECT_EQ(ReadUnitProperty(kSecondWindowId, kButton1Id, 5, -1), 0u);
    ShowWindow(WindowHandle(kSecondWindowId), SW_SHOWNA);
    EXPECT_EQ(ReadUnitProperty(kSecondWindowId, kButton1Id, 5, -1), 1u);
}

TEST_F(PropertyTest, TagIsReplacedAndReadBackAsANewText) {
    WriteUnitProperty(kMainWindowId, kButton1Id, 4, -1, reinterpret_cast<uint32_t>("长一些的标记"),
                      0);
    auto *tag = reinterpret_cast<char *>(ReadUnitProperty(kMainWindowId, kButton1Id, 4, -1));
    ASSERT_NE(tag, nullptr);
    EXPECT_STREQ(tag, "长一些的标记");
    FreeMemory(tag);
    // The records behind the grown one are still found.
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, 2, -1), 80u);
}

TEST_F(EngineTest, TheLivePointersOfTheWindowAndItsUnitsAreShown) {
    UnitSpec window = WindowSpec();
    window.pointer = {8, 0, 0, 0}; // size-all, from the template
    AddWindow(kMainWindowId,
              {window, ButtonSpec(kButton1Id, "按钮1", 10), ButtonSpec(kButton2Id, "按钮2", 100)});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    const uint8_t cross[] = {1, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0};
    WriteUnitProperty(kMainWindowId, kButton1Id, 7, -1, reinterpret_cast<uint32_t>(cross), 0);
    const HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    const HCURSOR crossPointer = LoadCursorA(nullptr, MAKEINTRESOURCEA(32515));
    EXPECT_EQ(PointerShownFor(UnitHandle(kMainWindowId, kButton1Id), HTCLIENT), crossPointer);
    // Over a window that refuses input (HTERROR, a negative hit-test code) the unit's pointer
    // is not shown.
    EXPECT_NE(PointerShownFor(UnitHandle(kMainWindowId, kButton1Id), static_cast<WORD>(HTERROR)),
              crossPointer);
    EXPECT_EQ(PointerShownFor(WindowHandle(kMainWindowId), HTCLIENT),
              LoadCursorA(nullptr, MAKEINTRESOURCEA(32646)));
    // A unit without a pointer of its own and the window's frame keep the platform's choice.
    EXPECT_EQ(PointerShownFor(UnitHandle(kMainWindowId, kButton2Id), HTCLIENT), arrow);
    EXPECT_EQ(PointerShownFor(WindowHandle(kMainWindowId), HTCAPTION), arrow);

    // The hand (index 14) is the program's own cursor resource 0x408, not the system's hand.
    const uint8_t hand[] = {1, 0, 0, 0, 4, 0, 0, 0, 14, 0, 0, 0};
    WriteUnitProperty(kMainWindowId, kButton2Id, 7, -1, reinterpret_cast<uint32_t>(hand), 0);
    const HCURSOR own = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(0x408));
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
    EXPECT_EQ(PointerShownFor(UnitHandle(kMainWindowId, kButton2Id), HTCLIENT), own);
}

// A font field written by sub-index through the service starts from the unit's current font,
// reaches the live control, and reads back by the same sub-index; internal command 4 reads by
// its selector the same way.
TEST_F(PropertyTest, FontFieldsWrittenBySubIndexReachTheControl) {
    constexpr int32_t kFont = 13;
    constexpr int32_t kOwnFont = kFont - 8;
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    WriteUnitProperty(kMainWindowId, kButton1Id, kFont, 1, 1, 0);
    WriteUnitProperty(kMainWindowId, kButton1Id, kFont, 6, reinterpret_cast<uint32_t>("黑体"), 0);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, kFont, 1), 1u);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, kFont, 2), 0u);
    auto *face = reinterpret_cast<char *>(ReadUnitProperty(kMainWindowId, kButton1Id, kFont, 6));
    ASSERT_NE(face, nullptr);
    EXPECT_STREQ(face, "黑体");
    FreeMemory(face);

    HWND button = UnitHandle(kMainWindowId, kButton1Id);
    LOGFONTA shown = {};
    ASSERT_EQ(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)),
                         sizeof shown, &shown),
              static_cast<int>(sizeof shown));
    EXPECT_EQ(shown.lfWeight, 700);
    EXPECT_STREQ(shown.lfFaceName, "黑体");

    CWnd *unit = CWnd::FromHandlePermanent(button);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(ReadTypeProperty(kButtonUnitType, unit, kOwnFont, 1), 1u);
    face = reinterpret_cast<char *>(ReadTypeProperty(kButtonUnitType, unit, kOwnFont, 6));
    ASSERT_NE(face, nullptr);
    EXPECT_STREQ(face, "黑体");
    FreeMemory(face);
    auto *whole = reinterpret_cast<ProgramFontRecord *>(
        ReadTypeProperty(kButtonUnitType, unit, kOwnFont, static_cast<uint32_t>(-1)));
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->bold, 1u);
    FreeMemory(const_cast<char *>(whole->faceName));
    FreeMemory(whole);
}

// Only -1 addresses the whole font: any other sub-index that names no field is ignored, so a
// value is never taken for a font record's address by mistake.
TEST_F(PropertyTest, FontSubIndexesThatNameNoFieldAreIgnored) {
    constexpr int32_t kFont = 13;
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    WriteUnitProperty(kMainWindowId, kButton1Id, kFont, 1, 1, 0);
    const ProgramFontRecord plain = {0, 0, 0, 0, 0, 9, "宋体"};
    for (int32_t subIndex : {7, 100, -2, INT32_MIN}) {
        WriteUnitProperty(kMainWindowId, kButton1Id, kFont, subIndex,
                          reinterpret_cast<uint32_t>(&plain), 0);
        EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, kFont, 1), 1u) << subIndex;
        EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, kFont, subIndex), 0u) << subIndex;
    }
    WriteUnitProperty(kMainWindowId, kButton1Id, kFont, -1, reinterpret_cast<uint32_t>(&plain), 0);
    EXPECT_EQ(ReadUnitProperty(kMainWindowId, kButton1Id, kFont, 1), 0u);
}

TEST(PropertyConversion, LogicalReadsTrueOnlyForExactlyOne) {
    EXPECT_EQ(FromPropertyValue(kPropertyLogical, {2, 0}), 0u);
    EXPECT_EQ(FromPropertyValue(kPropertyLogical, {1, 0}), 1u);
    EXPECT_EQ(ToPropertyValue(kPropertyLogical, 7, 0).low, 1u);
}

TEST(PropertyConversion, ScalarsPickIndexAndSixtyFourBitValues) {
    EXPECT_EQ(ToPropertyValue(kPropertyPickIndex, static_cast<uint32_t>(-3), 0).low, 0u);
    EXPECT_EQ(ToPropertyValue(kPropertyInteger2, 123, 9).high, 0u);
    const PropertyValue wide = ToPropertyValue(kPropertyDouble, 0x11111111, 0x22222222);
    EXPECT_EQ(FromPropertyValue(kPropertyDouble, wide), 0x2222222211111111ull);
    EXPECT_EQ(FromPropertyValue(kPropertyColour3, {0xFF000000, 0}), 0xFF000000u);
}

TEST(PropertyConversion, TextsAndByteSetsAreCopied) {
    EXPECT_STREQ(reinterpret_cast<const char *>(ToPropertyValue(kPropertyText, 0, 0).low), "");
    const uint32_t text = static_cast<uint32_t>(
        FromPropertyValue(kPropertyText, {reinterpret_cast<uint32_t>("字"), 0}));
    EXPECT_STREQ(reinterpret_cast<const char *>(text), "字");
    FreeMemory(reinterpret_cast<void *>(text));
    EXPECT_EQ(FromPropertyValue(kPropertyText, {reinterpret_cast<uint32_t>(""), 0}), 0u);

    const uint8_t byteSet[] = {1, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c'};
    const PropertyValue bytes =
        ToPropertyValue(kPropertyPicture, reinterpret_cast<uint32_t>(byteSet), 0);
    EXPECT_EQ(bytes.high, 3u);
    EXPECT_EQ(bytes.low, reinterpret_cast<uint32_t>(byteSet + 8));
    auto *copy =
        reinterpret_cast<uint8_t *>(static_cast<uint32_t>(FromPropertyValue(kPropertyIcon, bytes)));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(0, std::memcmp(copy, byteSet, sizeof(byteSet)));
    FreeMemory(copy);
    EXPECT_EQ(FromPropertyValue(kPropertySound, {0, 0}), 0u);
    EXPECT_EQ(ToPropertyValue(kPropertySound, 0, 0).high, 0u);
}

TEST(PropertyConversion, MousePointerIndexesBecomeCursorIdentifiersAndBack) {
    const uint8_t byteSet[] = {1, 0, 0, 0, 4, 0, 0, 0, 14, 0, 0, 0};
    const PropertyValue written =
        ToPropertyValue(kPropertyMousePointer, reinterpret_cast<uint32_t>(byteSet), 0);
    uint32_t id;
    std::memcpy(&id, reinterpret_cast<const void *>(written.low), 4);
    EXPECT_EQ(id, 32649u);
    auto *read = reinterpret_cast<uint8_t *>(
        static_cast<uint32_t>(FromPropertyValue(kPropertyMousePointer, written)));
    uint32_t index;
    std::memcpy(&index, read + 8, 4);
    EXPECT_EQ(index, 14u);
    FreeMemory(read);
}

TEST(FontProperty, AngleIsTakenModuloAFullCircle) {
    LOGFONTA font = {};
    WriteFontField(&font, 0, static_cast<uint32_t>(-10));
    EXPECT_EQ(font.lfOrientation, 3590);
    EXPECT_EQ(font.lfEscapement, 3590);
    WriteFontField(&font, 1, 1);
    EXPECT_EQ(font.lfWeight, 700);
    WriteFontField(&font, 6, reinterpret_cast<uint32_t>("this face name is far too long for it"));
    EXPECT_STREQ(font.lfFaceName, "宋体");
    WriteFontField(&font, 5, static_cast<uint32_t>(-4));
    EXPECT_EQ(font.lfHeight, 0);
}

} // namespace
