// Date-time values to text: clamping, the proleptic Gregorian calendar and the time suffixes.
#include "values/date_time_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr double kFirstDay = -657434.0; // 100-01-01
constexpr double kLastDay = 2958465.0;  // 9999-12-31
constexpr int64_t kSecondsPerDay = 86400;
// 1899-12-30, the day 0 of date-time values, counted from 1970-01-01.
constexpr int64_t kDayZeroFromUnixEpoch = -25569;
constexpr size_t kTextCapacity = 64;

struct CivilDate {
    int64_t year;
    int month;
    int day;
};

// The Gregorian date of a day counted from 1970-01-01 (valid far beyond our range).
CivilDate CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month =
        static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    return CivilDate{yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

} // namespace

Text DateTimeToText(double days) {
    if (std::isnan(days)) {
        return nullptr;
    }
    const double clamped = days < kFirstDay ? kFirstDay : (days > kLastDay ? kLastDay : days);
    // The whole part names the day (toward zero) and the fraction's magnitude the time of day,
    // so -1.25 is 1899-12-29 06:00. Times round to the nearest second.
    const double wholeDays = std::trunc(clamped);
    int64_t dayNumber = static_cast<int64_t>(wholeDays);
    int64_t seconds = std::llround(std::fabs(clamped - wholeDays) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++dayNumber;
    }
    const CivilDate date = CivilFromDays(dayNumber + kDayZeroFromUnixEpoch);
    const int hour = static_cast<int>(seconds / 3600);
    const int minute = static_cast<int>(seconds / 60 % 60);
    const int second = static_cast<int>(seconds % 60);
    char text[kTextCapacity];
    int length = std::snprintf(text, sizeof text, "%d年%d月%d日", static_cast<int>(date.year),
                               date.month, date.day);
    const size_t room = sizeof text - static_cast<size_t>(length);
    if (second != 0) {
        length += std::snprintf(text + length, room, "%d时%d分%d秒", hour, minute, second);
    } else if (minute != 0) {
        length += std::snprintf(text + length, room, "%d时%d分", hour, minute);
    } else if (hour != 0) {
        length += std::snprintf(text + length, room, "%d时", hour);
    }
    return NewText(text, static_cast<uint32_t>(length));
}
