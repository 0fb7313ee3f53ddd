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

void SeeScreenPixels() {
    using SetContext = BOOL(WINAPI *)(HANDLE);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    // Through the generic function type, which converts to any other without a warning.
    const auto setContext = reinterpret_cast<SetContext>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
    if (setContext == nullptr || !setContext(perMonitorV2)) {
        SetProcessDPIAware();
    }
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::string ClientAreaFault(HWND window, int width, int height) {
    RECT client{};
    if (!GetClientRect(window, &client)) {
        return "cannot read the window's client area";
    }
    const int dpi = ScreenDpi();
    const int expectedWidth = MulDiv(width, dpi, 96), expectedHeight = MulDiv(height, dpi, 96);
    if (std::abs(client.right - expectedWidth) > 1 ||
        std::abs(client.bottom - expectedHeight) > 1) {
        return "client area " + std::to_string(client.right) + " x " +
               std::to_string(client.bottom) + " is not " + std::to_string(expectedWidth) + " x " +
               std::to_string(expectedHeight) + " (" + std::to_string(width) + " x " +
               std::to_string(height) + " at " + std::to_string(dpi) + " DPI)";
    }
    return "";
}
