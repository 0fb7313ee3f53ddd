// Program texts to UTF-16 and back, through code page 936 whatever the system's code page is.
#include "values/automation_text.h"

#include <cstring>

#include "runtime/heap.h"
#include "runtime/program_text_wide.h"

wchar_t *TextToWide(const char *text) {
    const char *source = text != nullptr ? text : "";
    const int bytes = static_cast<int>(std::strlen(source));
    // Two bytes per input byte plus two: room for every byte becoming one UTF-16 unit.
    const int capacity = bytes + 2;
    auto *wide = static_cast<wchar_t *>(AllocateMemory(capacity * sizeof(wchar_t)));
    const int units = ProgramTextToWide(std::string_view(source, bytes), wide, capacity - 1);
    wide[units > 0 ? units : 0] = L'\0';
    return wide;
}

BSTR TextToBstr(const char *text) {
    const std::string_view source = text != nullptr ? text : "";
    // Measured first and converted straight into the string: a page-sized text would otherwise
    // stand three times in memory at once (the text, a UTF-16 copy and the string made from it).
    const int units = ProgramTextToWide(source, nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (result != nullptr && units > 0) {
        ProgramTextToWide(source, result, units);
    }
    return result;
}

char *WideToText(const wchar_t *wide) {
    if (wide == nullptr) {
        return nullptr;
    }
    const int units = lstrlenW(wide);
    if (units == 0) {
        return nullptr;
    }
    const int capacity = units * 2 + 2;
    auto *text = static_cast<char *>(AllocateMemory(capacity));
    const int written =
        WideToProgramText(std::wstring_view(wide, static_cast<size_t>(units)), text, capacity - 1);
    if (written <= 0) {
        FreeMemory(text);
        return nullptr;
    }
    text[written] = '\0';
    return text;
}
