// Keyboard and mouse handling of a window unit: the pre-translation of every queued message for
// the window or its descendants (accelerators, drag by client area, Tab, Enter, Esc, arrows, F1,
// Alt with a letter, and the shared mouse, key and wheel events), the focus the window passes to
// its units, and what it does on activation.
#pragma once

#include <windows.h>

#include <cstdint>

class CWnd;
class CWinFormUnit;

// Operation 8 of a unit type: true when the focused unit takes the key itself.
using UnitKeyHookOperation = bool (*)(CWnd *unit, uint32_t keyCode);

// The window's pre-translation; true when the window took the message.
bool TranslateWindowMessage(CWinFormUnit *window, MSG *message);
// The window got the focus: gives it to the child that had it at the last deactivation, else to
// the first unit in focus order. False when the window keeps the focus itself.
bool PassFocusToUnit(CWinFormUnit *window);
// After the platform handled the activate message: the redirect to a running modal window, the
// activation events 8, 5 and 6, and the focus remembered on deactivation.
void HandleWindowActivation(CWinFormUnit *window, bool active);
