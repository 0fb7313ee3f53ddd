// The edit box's selection in bytes of the program's text. The platform control counts its
// positions in UTF-16 characters; program code counts code page 936 bytes, as every text
// command does.
#include <algorithm>
#include <string>

#include "runtime/program_text_wide.h"
#include "window/units/edit_box/edit_box_unit.h"

int32_t CEditBoxUnit::PositionToByte(DWORD position) const {
    std::wstring wide(static_cast<size_t>(TextLength()) + 1, L'\0');
    wide.resize(
        static_cast<size_t>(GetWindowTextW(m_hWnd, wide.data(), static_cast<int>(wide.size()))));
    const int count = static_cast<int>(std::min<size_t>(position, wide.size()));
    return WideToProgramText(std::wstring_view(wide.data(), static_cast<size_t>(count)), nullptr,
                             0);
}

DWORD CEditBoxUnit::ByteToPosition(int32_t byte) const {
    // A byte offset inside a double-byte character counts that character as passed.
    const std::string text = WindowText();
    const size_t end = std::min(static_cast<size_t>(std::max(byte, 0)), text.size());
    DWORD position = 0;
    for (size_t i = 0; i < end;) {
        const size_t step =
            IsProgramLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
        position += static_cast<DWORD>(
            ProgramTextToWide(std::string_view(text.data() + i, step), nullptr, 0));
        i += step;
    }
    return position;
}

EditSelection CEditBoxUnit::Selection() const {
    DWORD start = 0, end = 0;
    SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const int32_t startByte = PositionToByte(start);
    return {startByte, PositionToByte(end) - startByte};
}

void CEditBoxUnit::Select(int32_t start, int32_t length) {
    const DWORD from = ByteToPosition(start);
    const LPARAM to = length < 0 ? -1 : static_cast<LPARAM>(ByteToPosition(start + length));
    SendMessageW(m_hWnd, EM_SETSEL, from, to);
    SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
}
