// CUnitWnd: the framework window object every unit derives from. It keeps the unit's WindowId
// and UnitId for its events, answers the object query of the pre-translation walk, tells the
// window engine when its platform window is gone, and while a wait runs refuses user input and
// holds its window events back for after the handler.
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

    // During a wait, an event that DeferralDuringWait names is held back for after the
    // outermost handler and reported as not handled; any other is dropped with the held events.
    EventOutcome RaiseEvent(int32_t event, uint32_t argumentCount = 0,
                            const uint32_t *arguments = nullptr);
    // Whether the platform window still exists (a handler may have destroyed it).
    bool Alive() const { return m_hWnd != nullptr && IsWindow(m_hWnd); }

protected:
    // What a wait does with an event of this unit: focus gained and lost are deferred.
    enum class WaitDeferral { kDrop, kDefer, kDeferLastOnly };
    virtual WaitDeferral DeferralDuringWait(int32_t event) const;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // While a wait runs: the input of IsInputRefusedDuringWait.
    bool RefusesMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Tells the engine the unit is gone, unless its record holds a newer control by then, then
    // deletes the object.
    void PostNcDestroy() override;
};
