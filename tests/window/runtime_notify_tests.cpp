// RuntimeNotify's window codes: look-ups, event firing and the running-event report, pumping,
// idle callbacks, framework objects, the value-type relay, registered objects, multi-page
// containers and the codes answered with 0.
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/window.h"
#include "runtime/heap.h"
#include "runtime/image_layout.h"
#include "runtime/registered_objects.h"
#include "runtime/runtime_app.h"
#include "runtime/runtime_notify.h"
#include "tests/window/engine_fixture.h"
#include "window/event_dispatch.h"
#include "window/property_access.h"
#include "window/unit_type.h"
#include "window/unit_wnd.h"
#include "window/window_engine.h"
#include "window/window_engine_state.h"

namespace {

constexpr uint32_t kMissingUnitId = 0x16017777;

int32_t Notify(int32_t code, uint32_t argument1 = 0, uint32_t argument2 = 0) {
    return RuntimeNotify(code, argument1, argument2);
}

template <typename T> uint32_t Address(T *value) {
    return reinterpret_cast<uint32_t>(value);
}

// What the click handler saw of the running event through code 2017.
int32_t g_runningInHandler = 0;
EventSource g_sourceSeen = {0, 0};
uint32_t __stdcall ReportRunningEvent() {
    g_runningInHandler = RuntimeNotify(kNotifyRunningEvent, Address(&g_sourceSeen), 0);
    return 0;
}

uint32_t g_idleCalls = 0;
void IdleRoutine(uint32_t argument) {
    g_idleCalls += argument;
}

// An object registered through codes 2011 to 2014 that logs its end; one of them fails to stop.
class LoggedObject : public RegisteredObject {
public:
    LoggedObject(std::string name, bool failsToStop)
        : name_(std::move(name)), fails_(failsToStop) {}
    ~LoggedObject() override { EventLog().push_back(name_ + ":deleted"); }
    void Stop() override {
        EventLog().push_back(name_ + ":stopped");
        if (fails_)
            throw std::runtime_error("stop failed");
    }

private:
    std::string name_;
    bool fails_;
};

// The multi-page container of a test library: its control keeps the current page as the
// platform's tab control does, and every own property write asks for a new control.
constexpr uint32_t kPagesUnitType = 0x00020001;
constexpr uint32_t kPagesId = 0x16010010;
constexpr UINT kGetCurrentPage = 0x130B;
constexpr UINT kSetCurrentPage = 0x130C;

class TestPages : public CUnitWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kGetCurrentPage)
            return page_;
        if (message == kSetCurrentPage) {
            page_ = static_cast<LRESULT>(wParam);
            return 0;
        }
        return CUnitWnd::WindowProc(message, wParam, lParam);
    }

private:
    LRESULT page_ = 0;
};

CWnd *CreatePages(const UnitCreateArguments &a) {
    WNDCLASSW pagesClass = {};
    pagesClass.lpfnWndProc = DefWindowProcW;
    pagesClass.hInstance = GetModuleHandleW(nullptr);
    pagesClass.lpszClassName = L"ZvTestPages";
    RegisterClassW(&pagesClass); // fails harmlessly once the class exists
    auto *unit = new TestPages;
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    if (!unit->CreateEx(0, L"ZvTestPages", L"", a.style | WS_CHILD | WS_CLIPSIBLINGS, a.left, a.top,
                        a.width, a.height, a.parent,
                        reinterpret_cast<HMENU>(static_cast<uintptr_t>(a.controlId)))) {
        delete unit;
        return nullptr;
    }
    return unit;
}
HGLOBAL SavePages(CWnd *) {
    return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
}
int32_t SetPages(CWnd *, int32_t, const PropertyValue &) {
    return 1;
}
void GetPages(CWnd *, int32_t, PropertyValue *) {}
void *PagesInterface(int32_t code) {
    switch (code) {
    case kOperationCreate:
        return reinterpret_cast<void *>(&CreatePages);
    case kOperationSetProperty:
        return reinterpret_cast<void *>(&SetPages);
    case kOperationSaveProperties:
        return reinterpret_cast<void *>(&SavePages);
    case kOperationGetProperty:
        return reinterpret_cast<void *>(&GetPages);
    default:
        return nullptr;
    }
}
const PropertyTableEntry kPagesProperties[9] = {
    {"", "", "", kPropertyInteger2, 0, ""}, {"", "", "", kPropertyInteger2, 0, ""},
    {"", "", "", kPropertyInteger2, 0, ""}, {"", "", "", kPropertyInteger2, 0, ""},
    {"", "", "", kPropertyText, 0, ""},     {"", "", "", kPropertyLogical, 0, ""},
    {"", "", "", kPropertyLogical, 0, ""},  {"", "", "", kPropertyMousePointer, 0, ""},
    {"", "", "", kPropertyInteger2, 0, ""}};
const UnitTypeDescriptor kPagesType = {"页",
                                       "Pages",
                                       "",
                                       {0, 0},
                                       kTypeRaisesEventsToo | kTypeContainer | kTypeMultiPage,
                                       {0, 0, 0},
                                       9,
                                       kPagesProperties,
                                       &PagesInterface,
                                       {0, 0}};
LibraryRecord PagesLibrary() {
    LibraryRecord library = {};
    library.dataTypeCount = 1;
    library.dataTypes = &kPagesType;
    return library;
}

class RuntimeNotifyTest : public EngineTest {
protected:
    void LoadButtonWindow() {
        AddWindow(
            kMainWindowId,
            {WindowSpec(), ButtonSpec(kButton1Id, "按钮1", 10,
                                      {{0, reinterpret_cast<const void *>(&ReportRunningEvent)}})});
        ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    }
};

TEST_F(RuntimeNotifyTest, RunningEventIsReportedInsideAHandlerAndNotAfterIt) {
    LoadButtonWindow();
    g_runningInHandler = 0;
    SendMessageA(UnitHandle(kMainWindowId, kButton1Id), BM_CLICK, 0, 0);
    EXPECT_EQ(g_runningInHandler, 1);
    EXPECT_EQ(g_sourceSeen.windowId, kMainWindowId);
    EXPECT_EQ(g_sourceSeen.unitId, kButton1Id);
    EventSource after = {0x11, 0x22};
    EXPECT_EQ(Notify(kNotifyRunningEvent, Address(&after)), 0);
    EXPECT_EQ(after.windowId, 0x11u);
}

TEST_F(RuntimeNotifyTest, FireEventThroughCode2008) {
    LoadButtonWindow();
    EventRecord record = {kMainWindowId, kButton1Id, 0, 0, {}, 0, 0};
    g_runningInHandler = 0;
    EXPECT_EQ(Notify(kNotifyFireEvent, Address(&record)), 1);
    EXPECT_EQ(g_runningInHandler, 1);
    EXPECT_EQ(record.hasResult, 1u);
    EventRecord unbound = {kMainWindowId, kButton1Id, 3, 0, {}, 0, 0};
    EXPECT_EQ(Notify(kNotifyFireEvent, Address(&unbound)), 0);
}

TEST_F(RuntimeNotifyTest, UnitLookUpsAndTheirMisses) {
    LoadButtonWindow();
    CWnd *button = CWnd::FromHandlePermanent(UnitHandle(kMainWindowId, kButton1Id));
    CWnd *window = CWnd::FromHandlePermanent(WindowHandle(kMainWindowId));
    EXPECT_EQ(Notify(kNotifyFindUnit, kMainWindowId, kButton1Id),
              static_cast<int32_t>(Address(button)));
    EXPECT_EQ(Notify(kNotifyFindUnit, kMainWindowId, 0), static_cast<int32_t>(Address(window)));
    EXPECT_EQ(Notify(kNotifyFindUnit, kMainWindowId, kMissingUnitId), 0);
    EXPECT_EQ(Notify(kNotifyFindUnitOrReport, kMainWindowId, kButton1Id),
              static_cast<int32_t>(Address(button)));
    try {
        Notify(kNotifyFindUnitOrReport, kMainWindowId, kMissingUnitId);
        ADD_FAILURE() << "a miss must be reported";
    } catch (const ReportedError &error) {
        EXPECT_STREQ(error.what(), "指定窗口或窗口组件不存在或尚未载入");
    }
    EXPECT_EQ(Notify(kNotifyUnitType, kMainWindowId, kButton1Id),
              static_cast<int32_t>(kButtonUnitType));
    EXPECT_EQ(Notify(kNotifyUnitType, kMainWindowId, 0), static_cast<int32_t>(kWindowUnitType));
    EXPECT_EQ(Notify(kNotifyUnitType, kMainWindowId, kMissingUnitId), 0);
    EXPECT_EQ(Notify(kNotifyWindowHandle, kMainWindowId),
              static_cast<int32_t>(Address(WindowHandle(kMainWindowId))));
    EXPECT_EQ(Notify(kNotifyWindowHandle, kSecondWindowId), 0);
    EXPECT_EQ(Notify(kNotifyWindowCount), 1);
    EXPECT_EQ(Notify(kNotifyWindowCollection), static_cast<int32_t>(Address(collection_)));
    EXPECT_EQ(Notify(kNotifyIsLiveUnitWindow, Address(UnitHandle(kMainWindowId, kButton1Id))), 1);
    EXPECT_EQ(Notify(kNotifyIsLiveUnitWindow, Address(GetDesktopWindow())), 0);
}

TEST_F(RuntimeNotifyTest, UnitTypesAndTheirEventKinds) {
    EXPECT_EQ(Notify(kNotifyUnitTypeDescriptor, kButtonUnitType),
              static_cast<int32_t>(Address(FindUnitTypeDescriptor(kButtonUnitType))));
    EXPECT_NE(Notify(kNotifyUnitTypeDescriptor, kButtonUnitType), 0);
    EXPECT_EQ(Notify(kNotifyUnitTypeDescriptor, 0x00020001), 0);
    EXPECT_EQ(Notify(kNotifyUnitTypeDescriptor, 0x00010000), 0);
    // Window 0x800000d0 and button 0x80000840 raise events through bit 0x40, the menu item
    // through bit 0x4.
    EXPECT_EQ(Notify(kNotifyEventKind, kButtonUnitType), 1);
    EXPECT_EQ(Notify(kNotifyEventKind, kWindowUnitType), 1);
    EXPECT_EQ(Notify(kNotifyEventKind, kMenuItemUnitType), 2);
    EXPECT_EQ(Notify(kNotifyEventKind, 0x00010002), 0);
}

TEST_F(RuntimeNotifyTest, FixedAnswersAndTheValueTypeRelay) {
    EXPECT_EQ(Notify(kNotifyAnswerOne), 1);
    EXPECT_EQ(Notify(kNotifyVersionWord), 0x30005);
    EXPECT_EQ(Notify(kNotifyAnswerZero), 0);
    EXPECT_EQ(Notify(kNotifyProgramKind), 3);
    // The kernel library answers -1 to message 8; a type of no library is not relayed.
    EXPECT_EQ(Notify(kNotifyDescribeValueType, 0x00010030, 0), -1);
    EXPECT_EQ(Notify(kNotifyDescribeValueType, 0x00050001, 0), 0);
    EXPECT_EQ(Notify(kNotifyDescribeValueType, 0x80000004, 0), 0);
}

TEST_F(RuntimeNotifyTest, RegisteredObjectsKeepTheirByteAndAreStoppedThenDeleted) {
    auto *first = new LoggedObject("first", true);
    auto *second = new LoggedObject("second", false);
    EXPECT_EQ(Notify(kNotifyRegisteredByte, Address(first)), -1);
    Notify(kNotifyRegisterObject, Address(first), 7);
    Notify(kNotifyRegisterObject, Address(first), 9);
    EXPECT_EQ(Notify(kNotifyRegisteredByte, Address(first)), 7);
    Notify(kNotifyRegisterObject, Address(second), 0x1FF);
    EXPECT_EQ(Notify(kNotifyRegisteredByte, Address(second)), 0xFF);
    EXPECT_EQ(Notify(kNotifyUnregisterObject, Address(second)), 1);
    EXPECT_EQ(Notify(kNotifyUnregisterObject, Address(second)), 0);
    Notify(kNotifyRegisterObject, Address(second), 2);
    // A failing stop is ignored: the object is deleted and the sweep goes on.
    Notify(kNotifyStopRegisteredObjects);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"first:stopped", "first:deleted",
                                                    "second:stopped", "second:deleted"}));
    EXPECT_EQ(Notify(kNotifyRegisteredByte, Address(first)), -1);
}

TEST_F(RuntimeNotifyTest, TheCurrentPageIsShownAndKeptWhenItsContainerIsRecreated) {
    const LibraryRecord library = PagesLibrary();
    Runtime().libraries.AppendWord(Address(&library));
    UnitSpec pages;
    pages.unitId = kPagesId;
    pages.type = kPagesUnitType;
    pages.width = 280;
    pages.height = 150;
    pages.children = {kButton1Id, 0, kButton2Id};
    UnitSpec first = ButtonSpec(kButton1Id, "按钮1", 10);
    UnitSpec second = ButtonSpec(kButton2Id, "按钮2", 100);
    first.parent = second.parent = kPagesId;
    AddWindow(kMainWindowId, {WindowSpec(), pages, first, second});
    ASSERT_TRUE(LoadWindow(Window(kMainWindowId), false, false, nullptr));
    HWND container = UnitHandle(kMainWindowId, kPagesId);
    HWND firstButton = UnitHandle(kMainWindowId, kButton1Id);
    HWND secondButton = UnitHandle(kMainWindowId, kButton2Id);
    EXPECT_FALSE(IsWindowVisible(secondButton));

    SetFocus(firstButton);
    SendMessageA(container, kSetCurrentPage, 1, 0);
    EXPECT_EQ(Notify(kNotifyShowCurrentPage, kMainWindowId, kPagesId), 1);
    EXPECT_FALSE(IsWindowVisible(firstButton));
    EXPECT_TRUE(IsWindowVisible(secondButton));
    EXPECT_EQ(GetFocus(), secondButton);
    EXPECT_EQ(Notify(kNotifyShowCurrentPage, kMainWindowId, kButton1Id), 0);

    WriteUnitProperty(kMainWindowId, kPagesId, 8, -1, 5, 0);
    HWND fresh = UnitHandle(kMainWindowId, kPagesId);
    ASSERT_NE(fresh, container);
    EXPECT_EQ(SendMessageA(fresh, kGetCurrentPage, 0, 0), 1);
    EXPECT_EQ(GetParent(secondButton), fresh);
    collection_->ReleaseAll();
    Pump();
    Runtime().libraries.Free();
}

TEST_F(RuntimeNotifyTest, CodesOfFacilitiesNotCarriedAnswerZero) {
    uint8_t buffer[16] = {};
    for (int32_t code : {1003, 1006, 2015, 2016, 2019, 2020, 2021, 2034, 2035, 2038, 2041, 999}) {
        EXPECT_EQ(Notify(code, Address(buffer), 0), 0) << code;
    }
    EXPECT_EQ(std::count(buffer, buffer + sizeof buffer, 0), 16);
}

TEST_F(RuntimeNotifyTest, ProgramDirectoryAndFileNameAreNewTexts) {
    Runtime().programDirectory = "C:\\程序";
    Runtime().executableName = "下载.exe";
    auto *directory = reinterpret_cast<char *>(Notify(kNotifyProgramDirectory));
    auto *name = reinterpret_cast<char *>(Notify(kNotifyProgramFileName));
    ASSERT_NE(directory, nullptr);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(directory, "C:\\程序");
    EXPECT_STREQ(name, "下载.exe");
    FreeMemory(directory);
    FreeMemory(name);
    Runtime().programDirectory.clear();
    EXPECT_EQ(Notify(kNotifyProgramDirectory), 0);
}

TEST_F(RuntimeNotifyTest, MarkingTheMenuSetsBit3OfTheWindowsRecord) {
    AddWindow(kMainWindowId, {WindowSpec()});
    EXPECT_EQ(Window(kMainWindowId)->RecordAt(0).Flags() & 0x8, 0u);
    Notify(kNotifyMarkWindowMenu, kMainWindowId);
    EXPECT_EQ(Window(kMainWindowId)->RecordAt(0).Flags() & 0x8, 0x8u);
    Notify(kNotifyMarkWindowMenu, kSecondWindowId);
}

TEST_F(RuntimeNotifyTest, SuppressionCountRisesAndFallsButNeverBelowZero) {
    Notify(kNotifyPumpAndSuppress);
    Notify(kNotifyPumpAndSuppress);
    EXPECT_EQ(Runtime().eventSuppressionCount, 2);
    Notify(kNotifyPumpAndResume);
    Notify(kNotifyPumpAndResume);
    Notify(kNotifyPumpAndResume);
    EXPECT_EQ(Runtime().eventSuppressionCount, 0);
}

TEST_F(RuntimeNotifyTest, PumpingDispatchesPendingMessagesAndKeepsTheQuitMessage) {
    LoadButtonWindow();
    g_runningInHandler = 0;
    PostMessageA(UnitHandle(kMainWindowId, kButton1Id), BM_CLICK, 0, 0);
    PostQuitMessage(5);
    Notify(kNotifyPumpMessages);
    EXPECT_EQ(g_runningInHandler, 1);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5u);
}

TEST_F(RuntimeNotifyTest, IdleCallbacksAreAddedOnceAndRemoved) {
    LoadButtonWindow();
    struct {
        HWND window;
        uint32_t routine;
        uint32_t argument;
    } record = {WindowHandle(kMainWindowId), Address(&IdleRoutine), 3};
    Notify(kNotifyAddIdleCallback, Address(&record));
    Notify(kNotifyAddIdleCallback, Address(&record));
    EXPECT_EQ(Runtime().idleWindows.WordCount(), 1u);
    EXPECT_EQ(Runtime().idleArguments.WordAt(0), 3u);
    Notify(kNotifyRemoveIdleCallback, Address(WindowHandle(kMainWindowId)));
    EXPECT_EQ(Runtime().idleWindows.WordCount(), 0u);
    record.window = reinterpret_cast<HWND>(0x1234);
    Notify(kNotifyAddIdleCallback, Address(&record));
    EXPECT_EQ(Runtime().idleWindows.WordCount(), 0u);
}

TEST_F(RuntimeNotifyTest, FrameworkObjectsAttachDetachAndDelete) {
    HWND foreign =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    auto *object = reinterpret_cast<CWnd *>(Notify(kNotifyNewWindowObject, Address(foreign)));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), object);
    EXPECT_EQ(Notify(kNotifyNewWindowObject, Address(foreign)), 0);
    EXPECT_EQ(Notify(kNotifyWindowObjectHandle, Address(object)),
              static_cast<int32_t>(Address(foreign)));
    EXPECT_EQ(Notify(kNotifyDetachWindowObject, Address(object)),
              static_cast<int32_t>(Address(foreign)));
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    EXPECT_EQ(Notify(kNotifyAttachWindowObject, Address(foreign), Address(object)), 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), object);
    Notify(kNotifyDeleteObject, Address(object));
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    EXPECT_TRUE(IsWindow(foreign));
    DestroyWindow(foreign);
}

TEST_F(RuntimeNotifyTest, DestructionNoticeOfAUnitClearsItsLiveSlot) {
    LoadButtonWindow();
    HWND button = UnitHandle(kMainWindowId, kButton1Id);
    DestroyWindow(button);
    EXPECT_EQ(Window(kMainWindowId)->FindRecord(kButton1Id).LiveUnit(), 0u);
    EXPECT_EQ(Notify(kNotifyFindUnit, kMainWindowId, kButton1Id), 0);
}

TEST_F(RuntimeNotifyTest, LoadWindowThroughCode2005) {
    AddWindow(kMainWindowId, {WindowSpec(), ButtonSpec(kButton1Id, "按钮1", 10)});
    struct {
        uint32_t windowId;
        CWnd *parent;
        uint32_t modal;
    } record = {kMainWindowId, nullptr, 0}, missing = {kSecondWindowId, nullptr, 0};
    EXPECT_EQ(Notify(kNotifyLoadWindow, Address(&record)), 0);
    EXPECT_TRUE(IsWindowVisible(WindowHandle(kMainWindowId)));
    EXPECT_EQ(Notify(kNotifyLoadWindow, Address(&missing)), -1);
}

} // namespace
