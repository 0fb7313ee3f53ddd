// The edit box's maximum length in bytes of the program's code page. The platform control
// counts its limit in UTF-16 units, so a limit of 10 would take 10 Chinese characters (20
// bytes): typed characters that do not fit are refused and pasted text is cut to what fits.
#include <algorithm>
#include <string>

#include "runtime/program_text_wide.h"
#include "window/units/edit_box/edit_box_unit.h"

namespace {

// Ctrl+Backspace deletes the word before the caret; it adds nothing.
constexpr wchar_t kControlBackspace = 0x7F;

uint32_t ProgramBytes(const wchar_t *text, size_t count) {
    return static_cast<uint32_t>(WideToProgramText(std::wstring_view(text, count), nullptr, 0));
}

// The longest start of text, in whole characters, that takes at most room bytes.
std::wstring FittingStart(const std::wstring &text, uint32_t room) {
    size_t end = 0;
    uint32_t used = 0;
    while (end < text.size()) {
        const size_t step = IS_HIGH_SURROGATE(text[end]) && end + 1 < text.size() ? 2 : 1;
        const uint32_t bytes = ProgramBytes(text.data() + end, step);
        if (used + bytes > room)
            break;
        used += bytes;
        end += step;
    }
    return text.substr(0, end);
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *wide = static_cast<const wchar_t *>(GlobalLock(data))) {
            // The clipboard's block may be larger than its text; the text ends at its NUL.
            const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
            text.assign(wide, std::find(wide, wide + capacity, L'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace

uint32_t CEditBoxUnit::RoomInBytes() const {
    std::wstring wide(static_cast<size_t>(TextLength()) + 1, L'\0');
    wide.resize(
        static_cast<size_t>(GetWindowTextW(m_hWnd, wide.data(), static_cast<int>(wide.size()))));
    DWORD start = 0, end = 0;
    SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    end = std::min<DWORD>(end, static_cast<DWORD>(wide.size()));
    start = std::min(start, end);
    const uint32_t kept =
        ProgramBytes(wide.data(), wide.size()) - ProgramBytes(wide.data() + start, end - start);
    return properties.maximumLength > kept ? properties.maximumLength - kept : 0;
}

LRESULT CEditBoxUnit::TypeWithinLimit(wchar_t typed) {
    uint32_t bytes = 0;
    if (typed == L'\r')
        bytes = properties.multiLine ? 2 : 0; // a line break is CR LF
    else if (typed == L'\t')
        bytes = properties.multiLine ? 1 : 0;
    else if (typed >= L' ' && typed != kControlBackspace)
        bytes = ProgramBytes(&typed, 1);
    if (bytes > RoomInBytes())
        return 0;
    return Default();
}

void CEditBoxUnit::PasteWithinLimit() {
    if (GetWindowLongW(m_hWnd, GWL_STYLE) & ES_READONLY)
        return;
    std::wstring text = ClipboardText();
    if (SingleLine())
        text = text.substr(0, text.find_first_of(L"\r\n")); // the control takes the first line
    text = FittingStart(text, RoomInBytes());
    if (!text.empty())
        SendMessageW(m_hWnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}
