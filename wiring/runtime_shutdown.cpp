// RuntimeShutdown and ExitProgram: the orderly end that every exit path goes through. Each step
// empties what it releases, so a second run releases nothing twice.
#include <ole2.h>

#include "runtime/heap.h"
#include "runtime/image_layout.h"
#include "runtime/library_warm_up.h"
#include "runtime/program_events.h"
#include "runtime/program_routine_call.h"
#include "runtime/runtime_app.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_engine.h"
#include "wiring/runtime_lifecycle.h"

namespace {

void ClearIdleCallbacks(RuntimeApp &app) {
    app.idleWindows.Free();
    app.idleRoutines.Free();
    app.idleArguments.Free();
}

void RunExitRoutines(RuntimeApp &app) {
    // Routines registered while the list runs are called too: the count is read each time. The
    // routine's entry stays in the list while it runs, so registering it again adds nothing.
    while (app.nextExitRoutine < app.exitRoutines.WordCount()) {
        CallProgramRoutine(app.exitRoutines.WordAt(app.nextExitRoutine++));
    }
    app.exitRoutines.Free();
    app.nextExitRoutine = 0;
}

void NotifyLibrariesOfShutdown(RuntimeApp &app) {
    for (uint32_t i = 0; i < app.libraries.WordCount(); ++i) {
        const auto *library = reinterpret_cast<const LibraryRecord *>(app.libraries.WordAt(i));
        if (library != nullptr && library->notify != nullptr) {
            const uint32_t slot =
                i < app.libraryValueSlots.WordCount() ? app.libraryValueSlots.WordAt(i) : 0;
            library->notify(kLibraryNotifyShutdown, slot, 0);
        }
    }
    app.libraries.Free();
    app.libraryValueSlots.Free();
}

void ReleaseDllCommands(RuntimeApp &app) {
    UseDllCommandLists(nullptr);
    if (app.dllCommands.count > 0) {
        ReleaseDllCommandModules(app.dllCommands, PlatformModuleLoader());
    }
    ReleaseLibraryWarmUp();
    app.dllCommands = DllCommandLists{0, nullptr, nullptr, nullptr, nullptr, "", ""};
    app.dllLibraryNames.Free();
    app.dllExportNames.Free();
    app.dllModules.Free();
    app.dllEntries.Free();
}

// The shutdown steps, on the main thread.
void ShutDown(RuntimeApp &app) {
    app.shuttingDown = true;
    ClearIdleCallbacks(app);
    ReleaseAllWindows();
    RunExitRoutines(app);
    NotifyLibrariesOfShutdown(app);
    ReleaseDllCommands(app);
    ForgetConstantSegment();
    DestroyProgramIcons();
    app.hiddenOwner.DestroyWindow();
    app.hiddenOwner.m_hWnd = nullptr;
    app.registeredObjects.StopAndDeleteAll();
    // The auxiliary facilities (sound, animation, sockets, printing) hold nothing: this program
    // never starts them.
    if (app.oleInitialized) {
        OleUninitialize();
        app.oleInitialized = false;
    }
}

} // namespace

void RuntimeShutdown(int32_t exitCode) {
    RuntimeApp &app = Runtime();
    HoldProgramEvents();
    if (app.mainThreadId != 0 && GetCurrentThreadId() != app.mainThreadId) {
        // Only the main thread shuts down; it ends the process once it has done so.
        if (app.hiddenOwner.m_hWnd != nullptr) {
            SendMessageA(app.hiddenOwner.m_hWnd, kExitRequestMessage, static_cast<WPARAM>(exitCode),
                         0);
        }
        if (!app.shuttingDown) {
            ExitProcess(static_cast<UINT>(exitCode));
        }
        return;
    }
    ShutDown(app);
}

void ExitProgram(int32_t exitCode) {
    RuntimeShutdown(exitCode);
    ExitProcess(static_cast<UINT>(exitCode));
}
