// The window engine as the runtime core uses it, and its life cycle of a window template:
// loading the templates at start-up, LoadWindow in its steps, show-after-load with the nested
// loop of a modal window, re-creation of a unit, the destruction notices that give the template
// back, the windows' idle event and the release of every window at shutdown.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/growable_buffer.h"

class CWnd;
struct ImageHeader;
class WindowTemplate;

// Reads the header's template segment into the WindowCollection; a segment of size 0 holds no
// windows. An unreadable segment is reported and ends the program.
void LoadWindowTemplates(const ImageHeader &header);
// Releases every loaded window and every template.
void ReleaseAllWindows();

// Loads a window from its template; true on success, also when it was loaded already and was
// only activated or restored.
bool LoadWindow(WindowTemplate *window, bool keep, bool modal, HWND parent);
// The start-up window: non-modal, without a parent; false when its template is missing or
// loading fails.
bool LoadWindowNonModal(uint32_t windowId);
// RuntimeNotify 2005: loads a window and, when its record is visible, shows it (running the
// nested loop of a modal window). 0 on success, -1 on failure.
int32_t LoadAndShowWindow(uint32_t windowId, HWND parent, bool modal);
// The first show after a load and the nested loop of a modal window; a plain show otherwise.
void ShowAfterLoad(uint32_t windowId, bool show);
// Replaces the control of record index by a new one made from its saved properties.
bool RecreateUnit(uint32_t windowId, uint32_t index);

// RuntimeNotify 2000: a unit (unitId not the window's own) or the window (0 or its own) is gone.
void NotifyUnitDestroyed(uint32_t windowId, uint32_t unitId);
// A unit object's final clean-up: the notice above, given only while the record's live slot
// holds that object. A unit re-created from inside one of its own messages (its click handler
// writing its picture) is cleaned up when that message returns, and by then its slot, its live
// pointer and its events belong to the new control.
void NotifyUnitObjectDestroyed(uint32_t windowId, uint32_t unitId, const CWnd *object);
// The window unit's final clean-up: the template comes back and, when no window is left after
// the message loop was reached, the quit message is posted.
void NotifyWindowGone(uint32_t windowId);
// Whether any loaded window still has a live window handle.
bool AnyLoadedWindowAlive();

// RuntimeNotify 2018, 2009 and 2010.
void PumpPendingMessages();
void PumpAndSuppressEvents();
void PumpAndResumeEvents();

// Raises event 7 of every live window not in doneWindows with elapsed milliseconds; windows
// whose handler asks for nothing more are added to doneWindows. True when any asked for more.
bool RaiseWindowIdleEvents(uint32_t elapsedMilliseconds, GrowableBuffer &doneWindows);
