// Texts of another process's windows and message boxes.
#include "tests/e2e/driver/window_text.h"

#include <cstdio>
#include <iterator>

namespace {

// The control that holds a message box's message.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr UINT kProgramCodePage = 936;

} // namespace

std::string ProgramBytes(const std::wstring &wide) {
    const int bytes =
        WideCharToMultiByte(kProgramCodePage, 0, wide.c_str(), static_cast<int>(wide.size()),
                            nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(kProgramCodePage, 0, wide.c_str(), static_cast<int>(wide.size()),
                        out.data(), bytes, nullptr, nullptr);
    return out;
}

bool ReadWindowText(HWND window, DWORD milliseconds, std::string &text) {
    wchar_t buffer[8192];
    DWORD_PTR length = 0;
    // WM_GETTEXT is copied across the process boundary for a sent message; GetWindowText would
    // not ask another process's window, and a posted message carries no buffer.
    if (SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                            SMTO_NORMAL, milliseconds, &length) == 0) {
        return false;
    }
    text = ProgramBytes(std::wstring(buffer, length));
    return true;
}

std::string ReadWindowText(HWND window, DWORD milliseconds) {
    std::string text;
    ReadWindowText(window, milliseconds, text);
    return text;
}

std::string ReadBoxMessage(HWND box, DWORD milliseconds) {
    return ReadWindowText(GetDlgItem(box, kMessageBoxTextId), milliseconds);
}

std::string Printable(const std::string &bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    return out;
}
