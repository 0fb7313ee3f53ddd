// HiddenOwnerWindow: an invisible tool window ("_LM_HideOwner") that owns the program's
// top-level windows and carries exit requests from other threads to the main thread.
#pragma once

#include "framework/window.h"

// wParam is the exit code; the main thread then ends the program with it.
inline constexpr UINT kExitRequestMessage = 0x83E7;

class HiddenOwnerWindow : public CWnd {
public:
    // Registers the window class unless it exists, then creates the window. False on failure.
    bool Create(HINSTANCE instance);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
