// The steps that the window's pre-translation shares with focus handling: moving the focus in
// focus order and raising the shared mouse, key and wheel events.
#pragma once

#include <windows.h>

#include <cstdint>

#include "window/keyboard/focus_order.h"

// Moves the focus from the unit at from to the next (or previous) unit of scope. With
// checkOption (the arrow keys) the unit moved to becomes the checked option of its group and
// raises its event 0. True when the focus moved.
bool MoveFocus(uint32_t windowId, WindowTemplate &window, uint32_t from, bool forward,
               const FocusScope &scope, bool checkOption);
// Raises event -1 to -6 or -9 to -12 for a message aimed at the window or one of its units;
// true when a handler swallowed the message (a character may be replaced in place instead).
bool RaiseInputEvent(uint32_t windowId, WindowTemplate &window, HWND handle, MSG *message);
// The modifier keys now: 1 Ctrl, 2 Shift, 4 Alt.
uint32_t ModifierKeys();
