// The driver's check of a top-level window as a whole: outer size, centring, fixed border.
#pragma once

#include <windows.h>

#include <string>

// Empty when the window's outer rectangle is width × height, centred on the screen (to the
// pixel that halving an odd difference loses), with a fixed border, a minimize box and no
// maximize box; otherwise what differs.
std::string WindowFrameFault(HWND window, int width, int height);
