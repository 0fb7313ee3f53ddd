// The edit box's selection in bytes of the program's text. The platform control counts its
// positions in UTF-16 characters; program code counts bytes, as every text command does.
#include <algorithm>
#include <string>

#include "window/units/edit_box/edit_box_unit.h"

int32_t CEditBoxUnit::PositionToByte(DWORD position) const {
    std::wstring wide(static_cast<size_t>(TextLength()) + 1, L'\0');
    wide.resize(
        static_cast<size_t>(GetWindowTextW(m_hWnd, wide.data(), static_cast<int>(wide.size()))));
    const int count = static_cast<int>(std::min<size_t>(position, wide.size()));
    if (count == 0)
        return 0;
    return WideCharToMultiByte(CP_ACP, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
}

DWORD CEditBoxUnit::ByteToPosition(int32_t byte) const {
    // A byte offset inside a double-byte character counts that character as passed.
    const std::string text = WindowText();
    const size_t end = std::min(static_cast<size_t>(std::max(byte, 0)), text.size());
    DWORD position = 0;
    for (size_t i = 0; i < end;) {
        const size_t step =
            IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
        position += static_cast<DWORD>(
            MultiByteToWideChar(CP_ACP, 0, text.data() + i, static_cast<int>(step), nullptr, 0));
        i += step;
    }
    return position;
}

EditSelection CEditBoxUnit::Selection() const {
    DWORD start = 0, end = 0;
    SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const int32_t startByte = PositionToByte(start);
    return {startByte, PositionToByte(end) - startByte};
}

void CEditBoxUnit::Select(int32_t start, int32_t length) {
    const DWORD from = ByteToPosition(start);
    const LPARAM to = length < 0 ? -1 : static_cast<LPARAM>(ByteToPosition(start + length));
    SendMessageA(m_hWnd, EM_SETSEL, from, to);
    SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
}
