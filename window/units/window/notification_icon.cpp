// The window's notification-area icon through the shell's notification calls.
#include "window/units/window/notification_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "runtime/program_text_wide.h"

bool NotificationIcon::Show(HWND window, HICON icon, const std::string &tip) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kNotificationIconId;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kNotificationIconMessage;
    data.hIcon = icon;
    // The tip is cut where it fits; every character of code page 936 is one UTF-16 unit.
    const std::wstring wide = ProgramTextToWide(tip);
    std::copy_n(wide.begin(), std::min(wide.size(), std::size(data.szTip) - 1), data.szTip);
    if (window_ == window && Shell_NotifyIconW(NIM_MODIFY, &data))
        return true;
    Remove();
    if (!Shell_NotifyIconW(NIM_ADD, &data))
        return false;
    window_ = window;
    return true;
}

void NotificationIcon::Remove() {
    if (window_ == nullptr)
        return;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = kNotificationIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    window_ = nullptr;
}
