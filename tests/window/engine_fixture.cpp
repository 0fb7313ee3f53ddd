// The engine test fixture and the error report the tests use.
#include "tests/window/engine_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/window.h"
#include "image/kernel_library.h"
#include "runtime/error_report.h"
#include "runtime/runtime_app.h"
#include "runtime/windows_alive_wait.h"
#include "window/event_dispatch.h"
#include "window/unit_type.h"
#include "window/window_engine_state.h"

[[noreturn]] void ReportRuntimeError(const char *message, int) {
    throw ReportedError(message != nullptr ? message : "");
}

[[noreturn]] void ReportError(int index) {
    throw ReportedError("error " + std::to_string(index));
}

[[noreturn]] void ReportMemoryFailure(uint32_t bytes) {
    throw ReportedError("memory " + std::to_string(bytes));
}

namespace {

constexpr UINT kRunDuringWaitMessage = WM_APP + 7;
const std::function<void()> *gDuring = nullptr;
HANDLE gWaitAnswer = nullptr;

LRESULT CALLBACK RunDuringWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunDuringWaitMessage)
        return DefWindowProcA(window, message, wParam, lParam);
    (*gDuring)();
    SetEvent(gWaitAnswer);
    return 0;
}

} // namespace

uint32_t WaitRunning(const std::function<void()> &during, uint32_t milliseconds) {
    static const HWND runner = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &RunDuringWait;
        windowClass.lpszClassName = "ZvRunDuringWait";
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, "ZvRunDuringWait", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               nullptr, nullptr);
    }();
    const std::function<void()> *outer = gDuring;
    HANDLE outerAnswer = gWaitAnswer;
    gDuring = &during;
    gWaitAnswer = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    PostMessageA(runner, kRunDuringWaitMessage, 0, 0);
    const uint32_t outcome = WaitKeepingWindowsAlive(gWaitAnswer, milliseconds);
    // A wait that ended at once (a close already marked) left the message undispatched.
    MSG left;
    PeekMessageA(&left, runner, kRunDuringWaitMessage, kRunDuringWaitMessage, PM_REMOVE);
    CloseHandle(gWaitAnswer);
    gDuring = outer;
    gWaitAnswer = outerAnswer;
    return outcome;
}

std::vector<std::string> &EventLog() {
    static std::vector<std::string> log;
    return log;
}

void EngineTest::SetUp() {
    // A run under another system code page names it, and proves that Wine took it.
    if (const char *codePage = std::getenv("ZV_EXPECT_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(codePage)));
    }
    RuntimeApp &app = Runtime();
    app.libraries.Free();
    app.libraries.AppendWord(reinterpret_cast<uint32_t>(&KernelLibraryRecord));
    app.programKind = 3;
    app.eventSuppressionCount = 0;
    app.loopReached = false;
    WindowEngineState &state = EngineState();
    state.modalWindowId = 0;
    state.eventSource = {0, 0};
    collection_ = new WindowCollection;
    state.windows = collection_;
    EventLog().clear();
}

void EngineTest::TearDown() {
    collection_->ReleaseAll();
    Pump();
    EngineState().windows = nullptr;
    delete collection_;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void EngineTest::AddWindow(uint32_t windowId, const std::vector<UnitSpec> &units) {
    collection_->Adopt(BuildWindow(windowId, units));
}

HWND EngineTest::WindowHandle(uint32_t windowId) {
    CWnd *window = LiveWindowOf(*Window(windowId));
    return window != nullptr ? window->m_hWnd : nullptr;
}

HWND EngineTest::UnitHandle(uint32_t windowId, uint32_t unitId) {
    WindowTemplate *window = Window(windowId);
    const int32_t index = RecordIndexOf(*window, unitId);
    CWnd *unit = index >= 0 ? LiveUnitAt(*window, static_cast<uint32_t>(index)) : nullptr;
    return unit != nullptr ? unit->m_hWnd : nullptr;
}

void EngineTest::Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

extern "C" {
uint32_t gNoResultCalls = 0;
}
asm(R"(
    .text
    .globl _NoResultLeavingZero@0
_NoResultLeavingZero@0:
    incl _gNoResultCalls
    xorl %eax, %eax
    ret
    .globl _NoResultLeavingZeroOneArgument@4
_NoResultLeavingZeroOneArgument@4:
    incl _gNoResultCalls
    xorl %eax, %eax
    ret $4
)");

const void *NoResultEntry(const void *routine) {
    auto *entry = new uint8_t[5];
    entry[0] = kNoResultEntry;
    const int32_t displacement = static_cast<int32_t>(reinterpret_cast<uintptr_t>(routine) -
                                                      (reinterpret_cast<uintptr_t>(entry) + 5));
    std::memcpy(entry + 1, &displacement, sizeof displacement);
    return entry;
}

HCURSOR PointerShownFor(HWND target, WORD hitTest) {
    SetCursor(nullptr);
    SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                 MAKELPARAM(hitTest, WM_MOUSEMOVE));
    return GetCursor();
}

uint32_t ProcessHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) {
        return count;
    }
    // NtQuerySystemInformation's SystemHandleInformation: a count, then one entry per handle.
    struct HandleEntry {
        USHORT processId;
        USHORT creatorBackTraceIndex;
        UCHAR objectType;
        UCHAR attributes;
        USHORT handle;
        void *object;
        ULONG grantedAccess;
    };
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    using Query = LONG(WINAPI *)(ULONG, void *, ULONG, ULONG *);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<uint8_t> buffer(1 << 16);
    LONG status = kInfoLengthMismatch;
    while (query != nullptr && status == kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
        status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                       nullptr);
    }
    if (status != 0) {
        return 0;
    }
    ULONG entries = 0;
    std::memcpy(&entries, buffer.data(), sizeof entries);
    const auto *entry = reinterpret_cast<const HandleEntry *>(buffer.data() + sizeof(void *));
    for (ULONG i = 0; i < entries; ++i) {
        count += entry[i].processId == GetCurrentProcessId() ? 1 : 0;
    }
    return count;
}

uint32_t DescendantCount(HWND window) {
    uint32_t count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        count += 1 + DescendantCount(child);
    }
    return count;
}

UnitSpec WindowSpec(std::vector<std::pair<int32_t, const void *>> bindings,
                    std::vector<uint8_t> block) {
    UnitSpec unit;
    unit.unitId = kWindowRecordId;
    unit.type = kWindowUnitType;
    unit.left = 40;
    unit.top = 40;
    unit.width = 320;
    unit.height = 200;
    unit.bindings = std::move(bindings);
    unit.propertyBlock = std::move(block);
    return unit;
}

UnitSpec ButtonSpec(uint32_t unitId, const std::string &name, int32_t left,
                    std::vector<std::pair<int32_t, const void *>> bindings) {
    UnitSpec unit;
    unit.unitId = unitId;
    unit.type = kButtonUnitType;
    unit.name = name;
    unit.left = left;
    unit.top = 20;
    unit.width = 80;
    unit.height = 30;
    unit.flags = 5;
    unit.bindings = std::move(bindings);
    unit.propertyBlock = ButtonBlock(name);
    return unit;
}
