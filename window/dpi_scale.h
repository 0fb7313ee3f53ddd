// The geometry boundary: template and program coordinates are 96-DPI units; windows, fonts and
// what the runtime draws are in the pixels of their window's DPI. Every conversion between the
// two passes through here, and at 96 DPI each one hands its value back unchanged.
#pragma once

#include <windows.h>

// The DPI at which a unit is a pixel.
constexpr int kUnitDpi = 96;

// Sent to every live unit of a window whose DPI changed, after the unit was placed anew: the unit
// remakes what it made for the old DPI (fonts, the spin button's place).
constexpr UINT kUnitDpiChangedMessage = 0x8090;

// Units to pixels at dpi and back, rounded to the nearest (halves away from zero). A value
// converted to pixels and back is the value again at any DPI of 96 or more.
int UnitsToPixels(int units, int dpi);
int PixelsToUnits(int pixels, int dpi);

// The DPI the window's pixels are at: the one a change of DPI last announced to its top-level
// window, else the platform's DPI of the window, else the system's.
int WindowDpi(HWND window);
// The system's DPI (the one a new top-level window opens at).
int SystemDpi();
// Records the DPI a change of DPI announced to the top-level window; ForgetWindowDpi before the
// window is gone.
void RememberWindowDpi(HWND window, int dpi);
void ForgetWindowDpi(HWND window);

// A system metric (icon, cursor, edge sizes) at dpi.
int MetricForDpi(int index, int dpi);

// What decides the thickness of a window's frame.
struct WindowFrameStyle {
    DWORD style;
    DWORD exStyle;
    bool menu;
};
WindowFrameStyle FrameStyleOf(HWND window);

// A window's outer size. A window whose frame the system draws at the DPI (a caption, a dialog or
// sizing frame) scales its client area, and takes the frame of each DPI around it; any other
// window scales whole.
SIZE OuterSizeToPixels(SIZE units, const WindowFrameStyle &frame, int dpi);
SIZE OuterSizeToUnits(SIZE pixels, const WindowFrameStyle &frame, int dpi);

// A unit's rectangle (in its parent's client area, on the screen for a top-level window) between
// units and the pixels of dpi: the position scaled, the size as OuterSizeTo* scales it.
RECT UnitRectToUnits(HWND unit, const RECT &pixels, int dpi);
RECT UnitRectToPixels(HWND unit, const RECT &units, int dpi);
