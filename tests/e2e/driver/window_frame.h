// The driver's checks of a top-level window as a whole: outer size, centring, fixed border, and
// its client area at the screen's DPI.
#pragma once

#include <windows.h>

#include <string>

// Empty when the window's outer rectangle is width × height, centred on the screen (to the
// pixel that halving an odd difference loses), with a fixed border, a minimize box and no
// maximize box; otherwise what differs.
std::string WindowFrameFault(HWND window, int width, int height);

// Makes the driver see the screen's pixels whatever its DPI (per-monitor aware where the system
// knows it, else system aware), so that no scaling of the system's comes between.
void SeeScreenPixels();
// The screen's DPI.
int ScreenDpi();
// Empty when the window's client area is width × height 96-DPI units at the screen's DPI (to
// within a pixel); otherwise what differs.
std::string ClientAreaFault(HWND window, int width, int height);
