// Deferred window events and the closes carried out after the outermost handler.
#include "window/deferred_work.h"

#include <algorithm>
#include <vector>

#include "runtime/windows_alive_wait.h"
#include "window/event_dispatch.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"

namespace {

struct DeferredEvent {
    uint32_t windowId;
    uint32_t unitId;
    int32_t event;
};

// Window-thread state, like the waits and handlers it follows.
std::vector<DeferredEvent> gEvents; // in the order they happened
std::vector<HWND> gMarked;          // windows that had a close mark set
HWND gWorkWindow = nullptr;         // the unit window that last had work deferred
bool gLogOffQueried = false;        // a log-off query came since the outermost handler began

bool UnitLive(const DeferredEvent &deferred) {
    WindowTemplate *window = FindWindowTemplate(deferred.windowId);
    const int32_t index = window != nullptr ? RecordIndexOf(*window, deferred.unitId) : -1;
    return index >= 0 && LiveUnitAt(*window, static_cast<uint32_t>(index)) != nullptr;
}

CWinFormUnit *FormOf(HWND window) {
    return IsWindow(window) ? dynamic_cast<CWinFormUnit *>(CWnd::FromHandlePermanent(window))
                            : nullptr;
}

// Forgets the windows that are gone or carry no mark any more.
void ForgetUnmarked() {
    std::erase_if(gMarked, [](HWND window) {
        const CWinFormUnit *form = FormOf(window);
        return form == nullptr || !form->closePending;
    });
}

// The first live window with a close mark, or null.
CWinFormUnit *FirstClosePending() {
    ForgetUnmarked();
    for (HWND window : gMarked)
        if (CWinFormUnit *form = FormOf(window); form->closePending)
            return form;
    return nullptr;
}

bool WorkPending() {
    return !gEvents.empty() || FirstClosePending() != nullptr;
}

} // namespace

void DeferUnitEvent(HWND unitWindow, uint32_t windowId, uint32_t unitId, int32_t event,
                    bool coalesce) {
    if (coalesce) {
        std::erase_if(gEvents, [&](const DeferredEvent &deferred) {
            return deferred.windowId == windowId && deferred.unitId == unitId &&
                   deferred.event == event;
        });
    }
    gEvents.push_back({windowId, unitId, event});
    // The unit's top-level window outlives the unit, and is a unit window that runs the work.
    gWorkWindow = GetAncestor(unitWindow, GA_ROOT);
}

void DropDeferredEvents(uint32_t windowId) {
    std::erase_if(gEvents, [windowId](const DeferredEvent &deferred) {
        return deferred.windowId == windowId;
    });
}

void NoteCloseMark(HWND window) {
    if (std::find(gMarked.begin(), gMarked.end(), window) == gMarked.end())
        gMarked.push_back(window);
    SetWaitEndCondition(&WaitsMustEnd);
    gWorkWindow = window;
    // A wait outside any handler (a start or idle routine's) has no handler return to follow.
    RequestDeferredWork();
}

void NoteLogOffQuery() {
    gLogOffQueried = true;
    SetWaitEndCondition(&WaitsMustEnd);
}

void OutermostHandlerReturned() {
    gLogOffQueried = false;
    RequestDeferredWork();
}

void RequestDeferredWork() {
    if (EventHandlerRunning() || !WorkPending())
        return;
    if (CWinFormUnit *form = FirstClosePending())
        gWorkWindow = form->m_hWnd;
    // The events of units that are gone are dropped when the work runs; asked for again on the
    // next handler's return if no window is left to post to now.
    if (IsWindow(gWorkWindow))
        PostMessageW(gWorkWindow, kDeferredWorkMessage, 0, 0);
}

void RunDeferredWork() {
    if (EventHandlerRunning() || WindowsAliveWaitRunning())
        return;
    std::vector<DeferredEvent> events;
    events.swap(gEvents);
    for (const DeferredEvent &deferred : events)
        if (UnitLive(deferred))
            RaiseUnitEvent(deferred.windowId, deferred.unitId, deferred.event);
    // A close refused by its query clears its mark too, so this ends.
    while (CWinFormUnit *form = FirstClosePending()) {
        form->closePending = false;
        form->CarryOutClose();
    }
}

bool WaitsMustEnd() {
    ForgetUnmarked();
    return !gMarked.empty() || gLogOffQueried;
}
