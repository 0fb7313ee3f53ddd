// RuntimeApp: the runtime's one application object and the state every runtime service shares.
// It is a static object constructed before the framework starts and destroyed after it returns.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/app_base.h"
#include "runtime/dll_binding.h"
#include "runtime/growable_buffer.h"
#include "runtime/hidden_owner_window.h"
#include "runtime/registered_objects.h"

class WindowCollection;

// A routine of the compiled program that takes no arguments (CodeNullRoutine and the like).
using ProgramRoutine = void (*)();

// The event whose handler runs: its WindowId (0 while no handler runs) and UnitId.
struct EventSource {
    uint32_t windowId;
    uint32_t unitId;
};

class RuntimeApp : public CWinApp {
public:
    RuntimeApp();
    ~RuntimeApp() override;

    BOOL InitInstance() override;
    BOOL OnIdle(LONG idleCount) override;
    int ExitInstance() override;

    // The next run-time identifier: each request adds one and hands out the new value.
    uint32_t TakeUniqueId() { return ++nextUniqueId; }

    uint32_t programKind = 0;
    uint32_t reservedWord = 0;
    uint32_t nextUniqueId = 0;

    std::string programDirectory; // the executable's path up to its last backslash
    std::string executableName;   // the executable's file name
    std::string moduleDirectory;  // the module's path up to and including its last backslash

    // Owned by the window engine, which creates it when it loads templates.
    WindowCollection *windowCollection = nullptr;

    // Support libraries: record addresses and their parallel 32-bit value slots.
    GrowableBuffer libraries;
    GrowableBuffer libraryValueSlots;

    // DLL commands, one entry per command index: library file name and export name addresses
    // from the image, loaded module handles and resolved entry addresses (both null until the
    // command is first called).
    GrowableBuffer dllLibraryNames;
    GrowableBuffer dllExportNames;
    GrowableBuffer dllModules;
    GrowableBuffer dllEntries;
    // The binder's view of the four lists and the two folders, handed to it at start-up.
    DllCommandLists dllCommands{0, nullptr, nullptr, nullptr, nullptr, "", ""};

    // Raised by every runtime error report and shutdown; no event reaches the program while it
    // is above zero. Interlocked: an error report may come from another thread.
    volatile LONG eventSuppressionCount = 0;
    bool loopReached = false;
    EventSource eventSource{0, 0};
    // Set while a unit is re-created: the old control's destruction notice is ignored.
    bool recreatingUnit = false;
    // The modal argument of the load whose window unit is being created (the unit reads it).
    bool modalCreation = false;

    // Objects of the support libraries, each with its byte (RuntimeNotify 2011 to 2014).
    RegisteredObjects registeredObjects;

    // Idle callbacks: window handle, routine and argument, in three parallel lists.
    GrowableBuffer idleWindows;
    GrowableBuffer idleRoutines;
    GrowableBuffer idleArguments;

    // WindowId of the modal window whose nested loop runs, 0 for none.
    uint32_t modalWindowId = 0;
    DWORD mainThreadId = 0;
    HiddenOwnerWindow hiddenOwner;
    bool oleInitialized = false;
    HANDLE heap = nullptr;
    GrowableBuffer exitRoutines;
    // Index of the next exit routine the shutdown calls: a shutdown started inside an exit
    // routine goes on behind it instead of calling the same routines again.
    uint32_t nextExitRoutine = 0;
    HICON programIcon = nullptr;
    HICON smallProgramIcon = nullptr;
    bool shuttingDown = false;

    // Hooks of the compiled code that the runtime calls; null routines until start-up sets them.
    ProgramRoutine codeHooks[3] = {nullptr, nullptr, nullptr};

    // Guards the auxiliary facilities (sound, animation, sockets) across their threads.
    CRITICAL_SECTION auxiliaryLock;

    // Idle period state of OnIdle: the framework's own idle phase, the period's start tick and
    // the windows whose idle event asked for nothing more in this period.
    bool frameworkIdlePhase = false;
    DWORD idlePeriodStart = 0;
    GrowableBuffer idleDoneWindows;
};

RuntimeApp &Runtime();
