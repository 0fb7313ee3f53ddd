// CUnitWnd: object query, input refusal and deferred events during a wait, and the destruction
// notice shared by all units.
#include "window/unit_wnd.h"

#include "runtime/windows_alive_wait.h"
#include "window/deferred_work.h"
#include "window/window_engine.h"

namespace {

constexpr int32_t kFocusGainedEvent = -7;
constexpr int32_t kFocusLostEvent = -8;

} // namespace

EventOutcome CUnitWnd::RaiseEvent(int32_t event, uint32_t argumentCount,
                                  const uint32_t *arguments) {
    if (WindowsAliveWaitRunning() && argumentCount == 0) {
        const WaitDeferral deferral = DeferralDuringWait(event);
        if (deferral != WaitDeferral::kDrop) {
            DeferUnitEvent(m_hWnd, windowId, unitId, event,
                           deferral == WaitDeferral::kDeferLastOnly);
            return {};
        }
    }
    return RaiseUnitEvent(windowId, unitId, event, argumentCount, arguments);
}

CUnitWnd::WaitDeferral CUnitWnd::DeferralDuringWait(int32_t event) const {
    return event == kFocusGainedEvent || event == kFocusLostEvent ? WaitDeferral::kDefer
                                                                  : WaitDeferral::kDrop;
}

bool CUnitWnd::RefusesMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowsAliveWaitRunning() &&
           IsInputRefusedDuringWait(MSG{m_hWnd, message, wParam, lParam, 0, {}});
}

LRESULT CUnitWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kFindUnitObjectMessage)
        return reinterpret_cast<LRESULT>(this);
    if (message == kDeferredWorkMessage) {
        RunDeferredWork();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CUnitWnd::PostNcDestroy() {
    NotifyUnitObjectDestroyed(windowId, unitId, this);
    delete this;
}
