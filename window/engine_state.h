// The window engine's share of the runtime state: event suppression, the modal window, the
// event source, the loop-reached flag and the registered libraries' unit type tables.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "window/unit_type.h"

class WindowCollection;

struct EventSource {
    uint32_t windowId; // 0 while no handler runs
    uint32_t unitId;
};

struct UnitTypeTable {
    const UnitTypeDescriptor *types; // indexed by type number - 1
    uint32_t count;
};

struct WindowEngineState {
    WindowCollection *collection = nullptr; // owned by the runtime application
    int32_t eventSuppressionCount = 0;      // while above 0 no handler runs
    bool recreating = false;                // unit destruction notices are ignored meanwhile
    uint32_t modalWindow = 0;               // WindowId whose nested loop runs, 0 = none
    EventSource eventSource = {};
    bool loopReached = false;             // set when the message loop was entered
    uint32_t programKind = 3;             // from the image header
    HWND hiddenOwner = nullptr;           // owner of windows kept off the taskbar
    bool modalCreation = false;           // the modal argument while a window unit is created
    std::vector<UnitTypeTable> libraries; // library number - 1
    // Runs the nested message loop until the modal-window field is cleared (mode 1 of the
    // message loop); null runs the engine's own.
    void (*runNestedLoop)() = nullptr;
    // The program's default big and small icons (resource "DEFAULT_ICON").
    HICON defaultIcon = nullptr;
    HICON defaultSmallIcon = nullptr;
};

WindowEngineState &Engine();
