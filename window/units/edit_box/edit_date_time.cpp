// Reading typed text as a date-time (the runtime's own form first, then the platform's parser)
// and writing it back as the runtime's date text.
#include "window/units/edit_box/edit_date_time.h"

#include <windows.h>

#include <oleauto.h>

#include <cstdio>

#include "runtime/heap.h"
#include "runtime/program_text_wide.h"
#include "values/date_time_text.h"

namespace {

// "Y年M月D日" with "H时", "M分" and "S秒" following as the runtime writes them; nothing may follow.
bool ReadOwnForm(const std::string &text, double *days) {
    int year = 0, month = 0, day = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%d年%d月%d日%n", &year, &month, &day, &consumed) != 3 ||
        consumed == 0)
        return false;
    int parts[3] = {0, 0, 0};
    const char *const units[3] = {"%d时%n", "%d分%n", "%d秒%n"};
    const char *rest = text.c_str() + consumed;
    for (int i = 0; i < 3; ++i) {
        int used = 0;
        if (std::sscanf(rest, units[i], &parts[i], &used) != 1 || used == 0)
            break;
        rest += used;
    }
    if (*rest != '\0' || year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > 31 || parts[0] < 0 || parts[0] > 23 || parts[1] < 0 || parts[1] > 59 ||
        parts[2] < 0 || parts[2] > 59)
        return false;
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(parts[0]);
    time.wMinute = static_cast<WORD>(parts[1]);
    time.wSecond = static_cast<WORD>(parts[2]);
    return SystemTimeToVariantTime(&time, days) != FALSE;
}

bool ReadWithPlatform(const std::string &text, double *days) {
    std::wstring wide = ProgramTextToWide(text);
    if (wide.empty())
        return false;
    return VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, 0, days) == S_OK;
}

} // namespace

std::string NormaliseDateTimeText(const std::string &text) {
    double days = 0.0;
    if (!ReadOwnForm(text, &days) && !ReadWithPlatform(text, &days))
        days = 0.0;
    if (days == 0.0)
        return std::string();
    Text written = DateTimeToText(days);
    std::string result = written != nullptr ? written : "";
    FreeMemory(written);
    return result;
}
