// CUnitWnd: the framework window object every unit derives from. It keeps the unit's WindowId
// and UnitId for its events, answers the object query of the pre-translation walk, and tells the
// window engine when its platform window is gone.
#pragma once

#include "framework/window.h"
#include "window/event_dispatch.h"

// Messages the loader sends to every live unit.
constexpr UINT kUnitLoadedMessage = 0x806F;   // after creation, parenting and z-order
constexpr UINT kWindowLayoutMessage = 0x8004; // to the window: lay out bar units
constexpr UINT kUnitsShownMessage = 0x8076;   // after the window was shown
// Sent to a unit whose type holds a player (flag 0x80000) when its window is destroyed.
constexpr UINT kStopPlayerMessage = 0x8070;

class CUnitWnd : public CWnd {
public:
    uint32_t windowId = 0;
    uint32_t unitId = 0;

    EventOutcome RaiseEvent(int32_t event, uint32_t argumentCount = 0,
                            const uint32_t *arguments = nullptr) {
        return RaiseUnitEvent(windowId, unitId, event, argumentCount, arguments);
    }
    // Whether the platform window still exists (a handler may have destroyed it).
    bool Alive() const { return m_hWnd != nullptr && IsWindow(m_hWnd); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Tells the engine the unit is gone, unless its record holds a newer control by then, then
    // deletes the object.
    void PostNcDestroy() override;
};
