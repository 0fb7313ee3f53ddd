// The work that comes due while a wait runs and is carried out once the outermost handler has
// returned: the window events that happened meanwhile, in their order, and the closes and
// log-offs asked for. Nothing is carried out under a running handler; nothing posts itself again.
#pragma once

#include <windows.h>

#include <cstdint>

// Posted to a unit window when the outermost handler has returned: carry out the deferred work.
inline constexpr UINT kDeferredWorkMessage = 0x8390;

// Holds the event of the unit back until the work is carried out. With coalesce, a later event
// of the same unit and number replaces the earlier one (moves and resizes report the last).
void DeferUnitEvent(HWND unitWindow, uint32_t windowId, uint32_t unitId, int32_t event,
                    bool coalesce);
// Drops the deferred events of a window that is gone, so that none reaches a later load of it.
void DropDeferredEvents(uint32_t windowId);
// Notes that window has a close mark: from now on every wait ends at once, until the mark is
// carried out or taken off.
void NoteCloseMark(HWND window);
// Notes a log-off query answered during a wait: every wait ends at once until the outermost
// handler has returned (the session's end, or not, is the window's record to act on).
void NoteLogOffQuery();
// Called by the event dispatch when the outermost handler has returned, however it returned.
void OutermostHandlerReturned();
// Asks for the deferred work by posting kDeferredWorkMessage once, when there is work and no
// handler runs.
void RequestDeferredWork();
// kDeferredWorkMessage: raises the deferred events in order, then carries out each window's
// pending close. Does nothing while a handler or a wait runs.
void RunDeferredWork();
// Whether every wait ends at once: a close is marked on a live window, or a log-off was queried
// during the running handler.
bool WaitsMustEnd();
