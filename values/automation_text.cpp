// Program texts to UTF-16 and back, through the system ANSI code page.
#include "values/automation_text.h"

#include <cstring>

#include "runtime/heap.h"

wchar_t *TextToWide(const char *text) {
    const char *source = text != nullptr ? text : "";
    const int bytes = static_cast<int>(std::strlen(source)) + 1;
    // Two bytes per input byte plus two: room for every byte becoming one UTF-16 unit.
    const int capacity = bytes + 1;
    auto *wide = static_cast<wchar_t *>(AllocateMemory(capacity * sizeof(wchar_t)));
    if (MultiByteToWideChar(CP_ACP, 0, source, bytes, wide, capacity) == 0) {
        wide[0] = L'\0';
    }
    return wide;
}

BSTR TextToBstr(const char *text) {
    const char *source = text != nullptr ? text : "";
    const int bytes = static_cast<int>(std::strlen(source));
    // Measured first and converted straight into the string: a page-sized text would otherwise
    // stand three times in memory at once (the text, a UTF-16 copy and the string made from it).
    const int units = bytes > 0 ? MultiByteToWideChar(CP_ACP, 0, source, bytes, nullptr, 0) : 0;
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (result != nullptr && units > 0) {
        MultiByteToWideChar(CP_ACP, 0, source, bytes, result, units);
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
        WideCharToMultiByte(CP_ACP, 0, wide, units, text, capacity - 1, nullptr, nullptr);
    if (written <= 0) {
        FreeMemory(text);
        return nullptr;
    }
    text[written] = '\0';
    return text;
}
