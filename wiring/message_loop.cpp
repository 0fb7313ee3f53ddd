// The message loop (normal and modal mode), RunMessageLoop, LoadStartWindow and the idle
// callbacks that library code registers.
#include "runtime/error_report.h"
#include "runtime/library_warm_up.h"
#include "runtime/program_routine_call.h"
#include "runtime/runtime_app.h"
#include "window/window_engine.h"
#include "window/window_engine_state.h"
#include "wiring/runtime_lifecycle.h"

namespace {

constexpr int kModalMode = 1;

bool MessageWaiting() {
    MSG peeked;
    return PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
}

void RemoveIdleCallbackAt(RuntimeApp &app, uint32_t index) {
    app.idleWindows.Remove(static_cast<int32_t>(index * 4), 4);
    app.idleRoutines.Remove(static_cast<int32_t>(index * 4), 4);
    app.idleArguments.Remove(static_cast<int32_t>(index * 4), 4);
}

} // namespace

void RegisterIdleCallback(HWND window, uint32_t routine, uint32_t argument) {
    RuntimeApp &app = Runtime();
    const uint32_t handle = reinterpret_cast<uint32_t>(window);
    if (window == nullptr || routine == 0 || !IsWindow(window) ||
        app.idleWindows.FindWord(handle, app.idleWindows.WordCount()) >= 0) {
        return;
    }
    // The three lists stay parallel: an entry is kept only when all three appends succeed.
    const uint32_t count = app.idleWindows.WordCount();
    if (!app.idleWindows.AppendWord(handle) || !app.idleRoutines.AppendWord(routine) ||
        !app.idleArguments.AppendWord(argument)) {
        app.idleWindows.Resize(count * 4);
        app.idleRoutines.Resize(count * 4);
        app.idleArguments.Resize(count * 4);
    }
}

void UnregisterIdleCallback(HWND window) {
    RuntimeApp &app = Runtime();
    const int32_t index =
        app.idleWindows.FindWord(reinterpret_cast<uint32_t>(window), app.idleWindows.WordCount());
    if (index >= 0) {
        RemoveIdleCallbackAt(app, static_cast<uint32_t>(index));
    }
}

void RunIdleCallbacks() {
    RuntimeApp &app = Runtime();
    for (uint32_t i = app.idleWindows.WordCount(); i-- > 0;) {
        // A callback may unregister entries; i may then lie beyond the end.
        if (i >= app.idleWindows.WordCount()) {
            continue;
        }
        if (!IsWindow(reinterpret_cast<HWND>(app.idleWindows.WordAt(i)))) {
            RemoveIdleCallbackAt(app, i);
            continue;
        }
        CallProgramRoutineWithArgument(app.idleRoutines.WordAt(i), app.idleArguments.WordAt(i));
    }
}

void RunMessageLoopMode(int mode) {
    RuntimeApp &app = Runtime();
    const bool modal = mode == kModalMode;
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        while (idle && !MessageWaiting()) {
            // The window is up and painted: the libraries of the DLL commands can be mapped
            // while the user types, instead of during the first click.
            StartLibraryWarmUp(app.dllCommands);
            RunIdleCallbacks();
            if (!app.OnIdle(idleCount++)) {
                idle = false;
            }
            if (modal && EngineState().modalWindowId == 0) {
                return;
            }
        }
        do {
            if (modal && app.m_msgCur.message == WM_QUIT) {
                return;
            }
            if (!app.PumpMessage()) {
                // A nested loop hands the quit message on to the loop it runs inside.
                if (modal) {
                    PostQuitMessage(static_cast<int>(app.m_msgCur.wParam));
                }
                return;
            }
            if (modal && EngineState().modalWindowId == 0) {
                return;
            }
            if (app.IsIdleMessage(&app.m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (MessageWaiting());
    }
}

void RunMessageLoop() {
    Runtime().loopReached = true;
    if (!AnyLoadedWindowAlive()) {
        return;
    }
    RunMessageLoopMode(0);
}

void LoadStartWindow(uint32_t windowId) {
    if (!LoadWindowNonModal(windowId)) {
        ReportRuntimeError("载入启动窗口失败", 0);
    }
}
