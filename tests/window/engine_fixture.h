// The fixture of the engine tests: the runtime with the kernel library and a fresh
// WindowCollection, a runtime error report that throws instead of ending the process, and an
// event log.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/runtime_app.h"
#include "tests/window/template_builder.h"
#include "window/window_collection.h"

// What the test error report throws.
struct ReportedError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Handlers append "name:event" entries here.
std::vector<std::string> &EventLog();

// A handler routine as a template's event binding holds it.
template <typename Routine> const void *Handler(Routine routine) {
    return reinterpret_cast<const void *>(routine);
}

// A text that names a logging handler (a literal, as a template argument).
template <size_t N> struct LogEntry {
    constexpr LogEntry(const char (&text)[N]) { std::copy_n(text, N, entry); }
    char entry[N];
};
// A handler without arguments that appends entry to EventLog() and answers 0.
template <LogEntry entry> uint32_t __stdcall LogEvent() {
    EventLog().push_back(entry.entry);
    return 0;
}
// The binding of LogEvent<entry>.
template <LogEntry entry> const void *LoggingHandler() {
    return Handler(&LogEvent<entry>);
}

// Runs during inside a wait that keeps the windows alive, as a message the wait dispatches; the
// wait then ends with its answer unless during interrupted it. Returns the wait's outcome.
uint32_t WaitRunning(const std::function<void()> &during, uint32_t milliseconds = 10000);

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Adds a window template to the collection.
    void AddWindow(uint32_t windowId, const std::vector<UnitSpec> &units);
    WindowTemplate *Window(uint32_t windowId) { return collection_->Find(windowId); }
    HWND WindowHandle(uint32_t windowId);
    HWND UnitHandle(uint32_t windowId, uint32_t unitId);
    // Dispatches every queued message.
    void Pump();

    WindowCollection *collection_ = nullptr;
};

constexpr uint32_t kMainWindowId = 0x52010001;
constexpr uint32_t kSecondWindowId = 0x52010002;
constexpr uint32_t kWindowRecordId = 0x06010000;
constexpr uint32_t kButton1Id = 0x16010002;
constexpr uint32_t kButton2Id = 0x16010003;
constexpr uint32_t kButton3Id = 0x16010004;

// An entry of a program's entry table that declares routine to have no result ("call routine").
// Each call makes a new entry that lives until the process ends.
const void *NoResultEntry(const void *routine);
// Routines declared without a result that leave 0 in EAX, as one whose last call returned 0
// would; they take no argument or one argument word and count their calls.
extern "C" void __stdcall NoResultLeavingZero();
extern "C" void __stdcall NoResultLeavingZeroOneArgument(uint32_t);
extern "C" uint32_t gNoResultCalls;

// The pointer shown after the set-cursor message that the platform sends to target, which a
// unit passes up to its window.
HCURSOR PointerShownFor(HWND target, WORD hitTest);
// The handles the process holds (Wine reports none through GetProcessHandleCount: there they
// are counted in the system's handle list).
uint32_t ProcessHandleCount();
// The number of windows below window.
uint32_t DescendantCount(HWND window);

UnitSpec WindowSpec(std::vector<std::pair<int32_t, const void *>> bindings = {},
                    std::vector<uint8_t> block = WindowBlock("测试窗口"));
UnitSpec ButtonSpec(uint32_t unitId, const std::string &name, int32_t left,
                    std::vector<std::pair<int32_t, const void *>> bindings = {});
