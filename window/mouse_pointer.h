// Mouse-pointer blocks: pointer numbers and their platform cursors, and the live cursor that a
// loaded unit's record holds.
#pragma once

#include <windows.h>

#include <cstdint>

class WindowTemplate;

// The platform cursor identifier of a pointer index (0 to 14), or the number itself when it is
// already one of the table's identifiers; 0 otherwise.
uint32_t PointerIndexToCursorId(uint32_t number);
// The table index of a platform identifier, or the number unchanged.
uint32_t CursorIdToPointerIndex(uint32_t number);
// A cursor from a mouse-pointer block for a window at dpi, or null for none.
HCURSOR CursorFromPointerBlock(const uint8_t *bytes, uint32_t length, int dpi);
// Builds record index's live cursor from its block (destroying the previous one), for the DPI of
// the unit's window.
void RebuildLivePointer(WindowTemplate &window, uint32_t index);
// Destroys and clears record index's live cursor.
void DestroyLivePointer(WindowTemplate &window, uint32_t index);
// The pointer to show for a set-cursor message that reached the loaded window form: target is
// the window under the mouse, hitTest where on it. The live pointer of the nearest unit that
// holds target (of the window itself over its client area), or null for the platform's choice.
HCURSOR ChoosePointer(WindowTemplate &window, HWND form, HWND target, int hitTest);
