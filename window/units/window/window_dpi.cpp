// A change of the window's DPI (moved to another screen, or the scale changed): every unit is
// placed anew from its place in units and remakes its fonts, pointers are made at the new DPI's
// size, and the window takes the rectangle the system suggests with icons of that DPI's sizes.
#include <vector>

#include "window/dpi_scale.h"
#include "window/mouse_pointer.h"
#include "window/units/edit_box/unit_look.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"

namespace {

struct UnitPlace {
    HWND unit;
    RECT units; // in its parent's client area
};

// The live units' places in units, read at the DPI their pixels are at.
std::vector<UnitPlace> UnitPlaces(WindowTemplate &window, int dpi) {
    std::vector<UnitPlace> places;
    for (uint32_t i = 1; i < window.UnitCount(); ++i) {
        const CWnd *unit = window.RecordAt(i).IsMenuItem() ? nullptr : LiveUnitAt(window, i);
        if (unit == nullptr || !IsWindow(unit->m_hWnd))
            continue;
        RECT rect;
        GetWindowRect(unit->m_hWnd, &rect);
        MapWindowPoints(nullptr, GetParent(unit->m_hWnd), reinterpret_cast<POINT *>(&rect), 2);
        places.push_back({unit->m_hWnd, UnitRectToUnits(unit->m_hWnd, rect, dpi)});
    }
    return places;
}

} // namespace

SIZE CWinFormUnit::SizeAtDpi(int dpi) {
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    const WindowFrameStyle frame = FrameStyleOf(m_hWnd);
    const SIZE units =
        OuterSizeToUnits({rect.right - rect.left, rect.bottom - rect.top}, frame, dpi_);
    return OuterSizeToPixels(units, frame, dpi);
}

void CWinFormUnit::OnDpiChanged(int dpi, RECT suggested) {
    const int oldDpi = dpi_;
    dpi_ = dpi;
    WindowTemplate *window = FindWindowTemplate(windowId);
    const std::vector<UnitPlace> places =
        window != nullptr ? UnitPlaces(*window, oldDpi) : std::vector<UnitPlace>{};
    RememberWindowDpi(m_hWnd, dpi);
    // Pointers of the new DPI's size (the runtime's hand; the system's scale themselves).
    for (uint32_t i = 0; window != nullptr && i < window->UnitCount(); ++i) {
        if (!window->RecordAt(i).IsMenuItem())
            RebuildLivePointer(*window, i);
    }
    // The units first: the resize event of the window then finds them where they belong.
    for (const UnitPlace &place : places) {
        if (!IsWindow(place.unit))
            continue;
        const RECT pixels = UnitRectToPixels(place.unit, place.units, dpi);
        SetWindowPos(place.unit, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
                     pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(place.unit, kUnitDpiChangedMessage, 0, 0);
    }
    if (!Alive())
        return;
    SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultUnitFont(dpi)), FALSE);
    ApplyIcons();
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!Alive())
        return;
    if (barLayoutOn_)
        LayOutBarUnits();
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
