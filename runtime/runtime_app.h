// RuntimeApp: the runtime's one application object and the state the runtime core shares with
// the layers above it. It is a static object constructed before the framework starts and
// destroyed after it returns. The window engine's own state lives in the window engine
// (window/window_engine_state.h). Beside each field: the layer that writes it and on which
// thread; "main thread" is the thread that runs the message loop and program code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/app_base.h"
#include "runtime/dll_binding.h"
#include "runtime/growable_buffer.h"
#include "runtime/hidden_owner_window.h"
#include "runtime/registered_objects.h"

// A routine of the compiled program that takes no arguments (CodeNullRoutine and the like).
using ProgramRoutine = void (*)();

class RuntimeApp : public CWinApp {
public:
    RuntimeApp();
    ~RuntimeApp() override;

    BOOL InitInstance() override;
    BOOL OnIdle(LONG idleCount) override;
    int ExitInstance() override;

    // The next run-time identifier: each request adds one and hands out the new value.
    uint32_t TakeUniqueId() { return ++nextUniqueId; }

    // From the image header. Wiring (start-up), main thread; read by every layer.
    uint32_t programKind = 0;
    uint32_t reservedWord = 0;
    // Wiring sets the seed at start-up; TakeUniqueId on the main thread.
    uint32_t nextUniqueId = 0;

    // Wiring (start-up), main thread.
    std::string programDirectory; // the executable's path up to its last backslash
    std::string executableName;   // the executable's file name
    // Runtime (InitInstance), main thread.
    std::string moduleDirectory; // the module's path up to and including its last backslash

    // Support libraries: record addresses and their parallel 32-bit value slots. Wiring
    // (start-up and shutdown), main thread.
    GrowableBuffer libraries;
    GrowableBuffer libraryValueSlots;

    // DLL commands, one entry per command index: library file name and export name addresses
    // from the image, loaded module handles and resolved entry addresses (both null until the
    // command is first called). Wiring sizes and releases them (start-up and shutdown, main
    // thread); the binder (runtime) fills a command's module and entry on the thread that first
    // calls it: the main thread, or a blocking routine's worker while the main thread waits.
    GrowableBuffer dllLibraryNames;
    GrowableBuffer dllExportNames;
    GrowableBuffer dllModules;
    GrowableBuffer dllEntries;
    // The binder's view of the four lists and the two folders. Wiring (start-up and shutdown),
    // main thread.
    DllCommandLists dllCommands{0, nullptr, nullptr, nullptr, nullptr, "", ""};

    // No event reaches the program while it is above zero. Interlocked, from any layer and
    // thread: raised by every error report (runtime, on the reporting thread) and by shutdown
    // (wiring), raised and lowered around a blocking routine (wiring) and a load (window engine).
    volatile LONG eventSuppressionCount = 0;
    // Wiring (RunMessageLoop), main thread; the window engine reads it to end the program
    // when the last window closes.
    bool loopReached = false;

    // Objects of the support libraries, each with its byte (RuntimeNotify 2011 to 2014). The
    // window engine's RuntimeNotify codes and the wiring's shutdown, main thread.
    RegisteredObjects registeredObjects;

    // Idle callbacks: window handle, routine and argument, in three parallel lists. Wiring
    // (RuntimeNotify and the message loop), main thread.
    GrowableBuffer idleWindows;
    GrowableBuffer idleRoutines;
    GrowableBuffer idleArguments;

    // Wiring (start-up), main thread.
    DWORD mainThreadId = 0;
    // The window that takes exit requests from other threads; the window engine makes it the
    // owner of top-level program windows. Wiring (created at start-up, destroyed at shutdown),
    // main thread.
    HiddenOwnerWindow hiddenOwner;
    // Wiring (start-up and shutdown), main thread.
    bool oleInitialized = false;
    HANDLE heap = nullptr;
    // Program code registers exit routines (wiring's internal command, main thread); shutdown
    // (wiring) calls and empties the list, an error report (runtime, on the reporting thread)
    // empties it without calling them.
    GrowableBuffer exitRoutines;
    // Index of the next exit routine the shutdown calls: a shutdown started inside an exit
    // routine goes on behind it instead of calling the same routines again. Wiring, main thread.
    uint32_t nextExitRoutine = 0;
    // Wiring (shutdown), main thread.
    bool shuttingDown = false;

    // Hooks of the compiled code that the runtime calls; null routines until start-up sets them.
    // Wiring (start-up), main thread.
    ProgramRoutine codeHooks[3] = {nullptr, nullptr, nullptr};

private:
    // Guards the auxiliary facilities (sound, animation, sockets) across their threads.
    CRITICAL_SECTION auxiliaryLock;

    // Idle period state of OnIdle, main thread: the framework's own idle phase, the period's
    // start tick and the windows whose idle event asked for nothing more in this period.
    bool frameworkIdlePhase = false;
    DWORD idlePeriodStart = 0;
    GrowableBuffer idleDoneWindows;
};

RuntimeApp &Runtime();
