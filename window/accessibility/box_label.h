// What names a unit for a screen reader: a window's own text, and for a box the caption of the
// static text that labels it.
#pragma once

#include <windows.h>

#include <string>

// The documented answer of a static text control to WM_GETOBJECT with OBJID_QUERYCLASSNAMEIDX:
// the platform's accessibility layer then treats the window as one.
constexpr LRESULT kStaticTextClassIndex = 65536 + 3;

// The window's text as UTF-16; empty for a window without one.
std::wstring UnitWindowText(HWND window);

// Whether the window reads as static text: the platform's "Static" control, or a window that
// answers the class query as one (the runtime's labels).
bool ReadsAsStaticText(HWND window);

// The caption of the label of box: the visible static text directly before it in the tab order
// (the sibling directly above it in the z-order, where the platform's dialogs put a box's label)
// that also lies before it on the window (above it, or left of it on its line). Empty when box
// has no such label: a text elsewhere (a notice below the box) never names it.
std::wstring BoxLabelText(HWND box);
