// The bar layout of a window: bar units (type flag 0x100000) styled to the top edge are stacked
// from the top of the client area, those styled to the bottom edge from its bottom, each over
// the full width and keeping its height.
#include <windows.h>

#include <commctrl.h>

#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"

void CWinFormUnit::LayOutBarUnits() {
    WindowTemplate *window = FindWindowTemplate(windowId);
    if (window == nullptr)
        return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    int top = client.top, bottom = client.bottom;
    for (uint32_t i = 1; i < window->UnitCount(); ++i) {
        const UnitRecordView record = window->RecordAt(i);
        CWnd *unit = record.IsMenuItem() ? nullptr : LiveUnitAt(*window, i);
        const UnitTypeDescriptor *descriptor =
            unit != nullptr ? FindUnitTypeDescriptor(record.Type()) : nullptr;
        if (descriptor == nullptr || !(descriptor->flags & kTypeBarUnit) ||
            GetParent(unit->m_hWnd) != m_hWnd)
            continue;
        // CCS_TOP and CCS_BOTTOM share their low bit; CCS_NOMOVEY alone docks to neither edge.
        const DWORD edge = static_cast<DWORD>(GetWindowLongA(unit->m_hWnd, GWL_STYLE)) & CCS_BOTTOM;
        if (edge != CCS_TOP && edge != CCS_BOTTOM)
            continue;
        RECT rect;
        GetWindowRect(unit->m_hWnd, &rect);
        const int height = rect.bottom - rect.top;
        const int y = edge == CCS_TOP ? top : bottom - height;
        if (edge == CCS_TOP)
            top += height;
        else
            bottom -= height;
        SetWindowPos(unit->m_hWnd, nullptr, client.left, y, client.right - client.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
