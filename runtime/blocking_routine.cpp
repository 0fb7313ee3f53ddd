// The worker thread of a blocking program routine and the window thread's loop while it runs.
#include "runtime/blocking_routine.h"

#include <objbase.h>

#include <algorithm>

#include "runtime/error_report.h"
#include "runtime/program_routine_call.h"

namespace {

// More heaps than a process of this program ever has; any beyond are not locked.
constexpr DWORD kMaxLockedHeaps = 64;

struct Work {
    uint32_t routine;
    uint32_t argument;
    uint32_t result;
};

BlockingRoutineHooks gHooks{nullptr, nullptr, nullptr};

DWORD WINAPI WorkerMain(void *parameter) {
    auto *work = static_cast<Work *>(parameter);
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    work->result = CallProgramRoutineWithArgument(work->routine, work->argument);
    if (SUCCEEDED(apartment)) {
        CoUninitialize();
    }
    return 0;
}

// Keyboard and mouse input to the windows' contents. The system keys stay (Alt+F4 closes the
// window, Alt+Space opens its window menu), and so does the mouse on the frames: the caption
// moves the window, the close box closes it.
bool IsRefusedInput(UINT message) {
    const bool systemKey = message == WM_SYSKEYDOWN || message == WM_SYSKEYUP ||
                           message == WM_SYSCHAR || message == WM_SYSDEADCHAR;
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST && !systemKey) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// Stops the worker where it is. Every heap of the process is locked while it stops, so it holds
// none of their locks afterwards and the window thread may still allocate and free.
void StopWorker(HANDLE worker) {
    HANDLE heaps[kMaxLockedHeaps];
    const DWORD count = std::min(GetProcessHeaps(kMaxLockedHeaps, heaps), kMaxLockedHeaps);
    for (DWORD i = 0; i < count; ++i) {
        HeapLock(heaps[i]);
    }
    SuspendThread(worker);
    // Returns only once the thread has really stopped; SuspendThread alone may return before.
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(worker, &context);
    for (DWORD i = count; i-- > 0;) {
        HeapUnlock(heaps[i]);
    }
}

bool Finished(HANDLE worker) {
    return WaitForSingleObject(worker, 0) != WAIT_TIMEOUT;
}

// The quit message came: the last window was closed while the worker runs.
void OnQuit(HANDLE worker, int32_t exitCode) {
    if (Finished(worker)) {
        // The routine has just ended: the quit message belongs to the loop the caller returns to.
        PostQuitMessage(exitCode);
        return;
    }
    if (RuntimeErrorReportStarted()) {
        // The worker reports a runtime error; the report ends the program with its own code.
        return;
    }
    StopWorker(worker);
    gHooks.endProgram(exitCode);
}

// Dispatches the window thread's messages until the worker has ended.
void WaitForWorker(HANDLE worker) {
    while (!Finished(worker)) {
        MsgWaitForMultipleObjectsEx(1, &worker, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG message;
        while (!Finished(worker) && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                OnQuit(worker, static_cast<int32_t>(message.wParam));
            } else if (!IsRefusedInput(message.message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
}

} // namespace

void SetBlockingRoutineHooks(const BlockingRoutineHooks &hooks) {
    gHooks = hooks;
}

uint32_t RunBlockingRoutine(uint32_t routine, uint32_t argument) {
    if (BlockingRoutineRunning() || gHooks.endProgram == nullptr) {
        return CallProgramRoutineWithArgument(routine, argument);
    }
    Work work{routine, argument, 0};
    HANDLE worker = CreateThread(nullptr, 0, &WorkerMain, &work, CREATE_SUSPENDED, nullptr);
    if (worker == nullptr) {
        return CallProgramRoutineWithArgument(routine, argument);
    }
    // Set before the worker starts, so that a call on the worker itself sees it.
    SetBlockingRoutineWorker(worker);
    gHooks.holdEvents();
    HCURSOR shown = SetCursor(BusyPointer());
    ResumeThread(worker);
    WaitForWorker(worker);
    CloseHandle(worker);
    SetBlockingRoutineWorker(nullptr);
    SetCursor(shown);
    gHooks.releaseEvents();
    return work.result;
}
