// The window's notification-area icon through the shell's notification calls.
#include "window/units/window/notification_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "runtime/program_text_wide.h"
#include "window/system_routine.h"

namespace {

// The shell's notification call, looked up when a window first shows an icon.
BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW *data) {
    using Routine = BOOL(WINAPI *)(DWORD, NOTIFYICONDATAW *);
    static const Routine notify = SystemRoutine<Routine>("shell32", "Shell_NotifyIconW");
    return notify != nullptr && notify(message, data);
}

} // namespace

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
    if (window_ == window && NotifyIcon(NIM_MODIFY, &data))
        return true;
    Remove();
    if (!NotifyIcon(NIM_ADD, &data))
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
    NotifyIcon(NIM_DELETE, &data);
    window_ = nullptr;
}
