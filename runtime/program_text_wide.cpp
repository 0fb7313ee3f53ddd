// Code page 936 program texts to UTF-16 and back, for every crossing to the platform.
#include "runtime/program_text_wide.h"

#include <limits>

namespace {

constexpr uint32_t kByteBits = 8;
constexpr uint32_t kByteMask = 0xFF;

int Clipped(size_t length) {
    return length > static_cast<size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(length);
}

// The length of text's first run that the platform may convert at once: all of it, or up to and
// including a lead byte followed by a byte that cannot be its trail. The platform's conversion
// pairs a lead byte with whatever byte follows, which would swallow the quote or line feed after
// a text of another encoding that ends on a lead byte (UTF-8 "乐" is E4 B9 90); converted on its
// own, such a lead byte becomes one character and the byte after it stays itself.
size_t PairedRunLength(std::string_view text) {
    constexpr uint8_t kFirstLead = 0x81, kLastLead = 0xFE;
    for (size_t at = 0; at + 1 < text.size(); ++at) {
        const auto byte = static_cast<uint8_t>(text[at]);
        if (byte < kFirstLead || byte > kLastLead) {
            continue;
        }
        if (!IsProgramTrailByte(static_cast<uint8_t>(text[at + 1]))) {
            return at + 1;
        }
        ++at;
    }
    return text.size();
}

} // namespace

int ProgramTextToWide(std::string_view text, wchar_t *wide, int capacity) {
    int total = 0;
    while (!text.empty()) {
        const size_t run = PairedRunLength(text);
        if (capacity > 0 && total >= capacity) {
            return 0;
        }
        const int converted = MultiByteToWideChar(kProgramCodePage, 0, text.data(), Clipped(run),
                                                  capacity > 0 ? wide + total : nullptr,
                                                  capacity > 0 ? capacity - total : 0);
        if (converted == 0) {
            return 0;
        }
        total += converted;
        text.remove_prefix(run);
    }
    return total;
}

int WideToProgramText(std::wstring_view wide, char *text, int capacity) {
    if (wide.empty()) {
        return 0;
    }
    return WideCharToMultiByte(kProgramCodePage, 0, wide.data(), Clipped(wide.size()),
                               capacity > 0 ? text : nullptr, capacity > 0 ? capacity : 0, nullptr,
                               nullptr);
}

std::wstring ProgramTextToWide(std::string_view text) {
    std::wstring wide(static_cast<size_t>(ProgramTextToWide(text, nullptr, 0)), L'\0');
    wide.resize(
        static_cast<size_t>(ProgramTextToWide(text, wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

std::string WideToProgramText(std::wstring_view wide) {
    std::string text(static_cast<size_t>(WideToProgramText(wide, nullptr, 0)), '\0');
    text.resize(
        static_cast<size_t>(WideToProgramText(wide, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsProgramLeadByte(uint8_t byte) {
    return IsDBCSLeadByteEx(kProgramCodePage, byte) != FALSE;
}

uint32_t WideCharacterToProgram(wchar_t character) {
    char bytes[2] = {};
    const int count = WideToProgramText(std::wstring_view(&character, 1), bytes, sizeof bytes);
    const auto lead = static_cast<uint8_t>(bytes[0]);
    if (count == 2) {
        return lead << kByteBits | static_cast<uint8_t>(bytes[1]);
    }
    return count == 1 ? lead : character;
}

wchar_t ProgramCharacterToWide(uint32_t character) {
    const char bytes[2] = {static_cast<char>(character >> kByteBits & kByteMask),
                           static_cast<char>(character & kByteMask)};
    const std::string_view text =
        character > kByteMask ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1);
    wchar_t wide = 0;
    return ProgramTextToWide(text, &wide, 1) == 1 ? wide : static_cast<wchar_t>(character);
}

std::string WindowProgramText(HWND window) {
    std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    wide.resize(
        static_cast<size_t>(GetWindowTextW(window, wide.data(), static_cast<int>(wide.size()))));
    return WideToProgramText(wide);
}

bool SetWindowProgramText(HWND window, std::string_view text) {
    return SetWindowTextW(window, ProgramTextToWide(text).c_str()) != FALSE;
}
