// The window engine's own state, which the runtime core knows nothing of. The window engine
// writes all of it on the main thread, while it loads, shows, re-creates and destroys windows
// and dispatches their events; the wiring reads the modal window and releases the icons.
#pragma once

#include <windows.h>

#include <cstdint>

class WindowCollection;

// The event whose handler runs: its WindowId (0 while no handler runs) and UnitId.
struct EventSource {
    uint32_t windowId;
    uint32_t unitId;
};

struct WindowEngineState {
    // The templates and live windows; created when the templates are read, released at shutdown.
    WindowCollection *windows = nullptr;
    // WindowId of the modal window whose nested loop runs, 0 for none. The message loop's modal
    // mode ends when it is cleared.
    uint32_t modalWindowId = 0;
    // Set while a unit is re-created: the old control's destruction notice is ignored.
    bool recreatingUnit = false;
    // The modal argument of the load whose window unit is being created (the unit reads it).
    bool modalCreation = false;
    // The event whose handler runs.
    EventSource eventSource{0, 0};
    // The program's icons, loaded from the resource "DEFAULT_ICON" when a window first needs
    // them; destroyed at shutdown.
    HICON programIcon = nullptr;
    HICON smallProgramIcon = nullptr;
};

WindowEngineState &EngineState();
