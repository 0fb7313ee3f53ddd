// The runtime error report of the Windows program: a modal box without owner, then the exit
// routines are dropped and the program ends with -1.
#include <windows.h>

#include "runtime/error_messages.h"
#include "runtime/error_report.h"
#include "runtime/runtime_app.h"
#include "runtime/wiring_routines.h"

namespace {

constexpr char kCaption[] = "错误";
constexpr UINT kBoxStyle = MB_OK | MB_ICONERROR; // 0x10
constexpr int32_t kErrorExitCode = -1;
constexpr uint32_t kDebugBreakProgramKind = 2;

// Reports begun; a report may come from a blocking routine's worker thread.
volatile LONG gReportsStarted = 0;

} // namespace

void ReportRuntimeError(const char *message, int code) {
    RuntimeApp &app = Runtime();
    InterlockedIncrement(&gReportsStarted);
    InterlockedIncrement(&app.eventSuppressionCount);
    // Composed outside the runtime heap: the report may be about that heap.
    const std::string text = ComposeErrorReport(message, code);
    MessageBoxA(nullptr, text.c_str(), kCaption, kBoxStyle);
    if (app.programKind == kDebugBreakProgramKind && IsDebuggerPresent()) {
        DebugBreak();
    }
    app.exitRoutines.Free();
    ShutDownAndExit(kErrorExitCode);
}

bool RuntimeErrorReportStarted() {
    return gReportsStarted != 0;
}

void ReportError(int index) {
    ReportRuntimeError(ErrorTableMessage(index), index);
}

void ReportMemoryFailure(uint32_t bytes) {
    ReportRuntimeError(MemoryFailureMessage(bytes).c_str(), 0);
}
