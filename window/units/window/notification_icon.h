// NotificationIcon: a window's icon in the notification area, which reports clicks to the window
// with message 0x8064 and goes with the window.
#pragma once

#include <windows.h>

#include <string>

// The message the notification area sends to the window; lParam names the mouse message.
constexpr UINT kNotificationIconMessage = 0x8064;
// A window shows at most one icon, under this identifier.
constexpr UINT kNotificationIconId = 1;

class NotificationIcon {
public:
    NotificationIcon() = default;
    NotificationIcon(const NotificationIcon &) = delete;
    NotificationIcon &operator=(const NotificationIcon &) = delete;

    // Shows icon with tip (cut to the notification area's length) for window, or changes the
    // one shown. The caller keeps the icon handle; the notification area holds a copy. False
    // when the notification area refused it.
    bool Show(HWND window, HICON icon, const std::string &tip);
    // Takes the icon out of the notification area, if one is shown.
    void Remove();
    bool Shown() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr; // the window the shown icon reports to, or null
};
