// CUnitWnd: object query and the destruction notice shared by all units.
#include "window/unit_wnd.h"

#include "window/window_engine.h"

LRESULT CUnitWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kFindUnitObjectMessage)
        return reinterpret_cast<LRESULT>(this);
    return CWnd::WindowProc(message, wParam, lParam);
}

void CUnitWnd::PostNcDestroy() {
    NotifyUnitObjectDestroyed(windowId, unitId, this);
    delete this;
}
