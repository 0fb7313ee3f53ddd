// Checks a top-level window's outer size, its centring on the screen and its border style.
#include "tests/e2e/driver/window_frame.h"

#include <cstdlib>

namespace {

std::string Rectangle(const RECT &r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

} // namespace

std::string WindowFrameFault(HWND window, int width, int height) {
    RECT outer{};
    if (!GetWindowRect(window, &outer)) {
        return "cannot read the window's rectangle";
    }
    std::string fault;
    if (outer.right - outer.left != width || outer.bottom - outer.top != height) {
        fault += "outer rectangle " + Rectangle(outer) + " is not " + std::to_string(width) +
                 " x " + std::to_string(height) + "; ";
    }
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int leftOver = outer.left - (screenWidth - outer.right);
    const int topOver = outer.top - (screenHeight - outer.bottom);
    if (std::abs(leftOver) > 1 || std::abs(topOver) > 1) {
        fault += "outer rectangle " + Rectangle(outer) + " is not centred on the " +
                 std::to_string(screenWidth) + " x " + std::to_string(screenHeight) + " screen; ";
    }
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    if ((style & WS_THICKFRAME) != 0) {
        fault += "the border can be sized; ";
    }
    if ((style & WS_MINIMIZEBOX) == 0) {
        fault += "no minimize box; ";
    }
    if ((style & WS_MAXIMIZEBOX) != 0) {
        fault += "a maximize box; ";
    }
    return fault;
}
