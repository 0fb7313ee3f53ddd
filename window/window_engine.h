// Window loading, showing, unit re-creation and the destruction notices: the window engine's
// life cycle of a window template.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct WindowObject;

// Loads a window from its template; true on success (also when it was loaded already and was
// only activated).
bool LoadWindow(WindowObject *object, bool keep, bool modal, HWND parent);
// Loads the start-up window, non-modal without a parent; reports "载入启动窗口失败" on failure.
void LoadStartWindow(uint32_t windowId);
// RuntimeNotify 2005: loads a window and, when its record is visible, shows it (running the
// nested loop of a modal window). 0 on success, -1 on failure.
int32_t LoadAndShowWindow(uint32_t windowId, HWND parent, bool modal);
// First show after a load, the nested loop of a modal window; a plain show otherwise.
void ShowAfterLoad(uint32_t windowId, bool show);
// Replaces the control of record index by a new one made from its saved properties.
bool RecreateUnit(uint32_t windowId, uint32_t index);

// RuntimeNotify 2000: a unit (unitId not the window's own) or the window (0 or its own) is gone.
void NotifyUnitDestroyed(uint32_t windowId, uint32_t unitId);
// Whether any window of the collection still has a live platform window.
bool AnyWindowLoaded();

// RuntimeNotify 2018, 2009 and 2010.
void PumpPendingMessages();
void PumpAndSuppressEvents();
void PumpAndResumeEvents();

// Raises event 7 of every loaded window not in done, with the elapsed milliseconds; windows
// whose handler does not ask for more are added to done. True when any window asked for more.
bool RaiseIdleEvents(uint32_t elapsedMilliseconds, std::vector<HWND> &done);
