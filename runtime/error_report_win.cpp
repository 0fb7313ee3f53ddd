// The runtime error report of the Windows program: a box without owner, modal to the task, then
// the exit routines are dropped and the program ends with -1.
#include <windows.h>

#include "runtime/error_messages.h"
#include "runtime/error_report.h"
#include "runtime/program_events.h"
#include "runtime/program_text_wide.h"
#include "runtime/runtime_app.h"
#include "runtime/wiring_routines.h"

namespace {

constexpr char kCaption[] = "错误";
static_assert(kRuntimeErrorBoxStyle == (MB_OK | MB_ICONERROR | MB_TASKMODAL));
constexpr int32_t kErrorExitCode = -1;
constexpr uint32_t kDebugBreakProgramKind = 2;

} // namespace

void ReportRuntimeError(const char *message, int code) {
    RuntimeApp &app = Runtime();
    if (app.shuttingDown && app.mainThreadId != 0 && GetCurrentThreadId() != app.mainThreadId) {
        // The window thread is ending the program, and has released the DLL commands: a thread
        // left behind (an abandoned transfer closing its handles) only ends itself, quietly.
        ExitThread(static_cast<DWORD>(kErrorExitCode));
    }
    HoldProgramEvents();
    // Composed outside the runtime heap: the report may be about that heap.
    const std::string text = ComposeErrorReport(message, code);
    MessageBoxW(nullptr, ProgramTextToWide(text).c_str(), ProgramTextToWide(kCaption).c_str(),
                kRuntimeErrorBoxStyle);
    if (app.programKind == kDebugBreakProgramKind && IsDebuggerPresent()) {
        DebugBreak();
    }
    app.exitRoutines.Free();
    ShutDownAndExit(kErrorExitCode);
}

void ReportError(int index) {
    ReportRuntimeError(ErrorTableMessage(index), index);
}

void ReportMemoryFailure(uint32_t bytes) {
    ReportRuntimeError(MemoryFailureMessage(bytes).c_str(), 0);
}
