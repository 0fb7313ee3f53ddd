// Border styles of the edit box and the label, applied in place with a frame change.
#include "window/units/edit_box/unit_border.h"

namespace {

struct BorderStyles {
    DWORD style;
    DWORD exStyle;
};

constexpr BorderStyles kBorders[] = {
    {0, 0},                                      // 0 none
    {0, WS_EX_CLIENTEDGE},                       // 1 sunken
    {0, WS_EX_DLGMODALFRAME},                    // 2 raised
    {0, WS_EX_STATICEDGE},                       // 3 thin sunken
    {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME}, // 4 sunken and raised
    {WS_BORDER, 0},                              // 5 single line
};

constexpr DWORD kAllExStyles = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;

} // namespace

void ApplyUnitBorder(HWND control, uint32_t border) {
    const BorderStyles wanted = border <= kLastWindowBorder ? kBorders[border] : BorderStyles{0, 0};
    const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE));
    SetWindowLongA(control, GWL_STYLE, static_cast<LONG>((style & ~WS_BORDER) | wanted.style));
    SetWindowLongA(control, GWL_EXSTYLE,
                   static_cast<LONG>((exStyle & ~kAllExStyles) | wanted.exStyle));
    SetWindowPos(control, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
