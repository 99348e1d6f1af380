// Platform layer: the Gregorian rules that both backends apply when they
// check a broken-down time, so that they refuse the same records.
#ifndef ZOP_SYS_CALENDAR_RULES_H
#define ZOP_SYS_CALENDAR_RULES_H

#include "sys/time.h"

#include <cstdint>

namespace zop::sys {

constexpr bool is_leap_year(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days in each month (1-12) of a common year, and the days of such a
// year before its first day.  Tables at namespace scope, so that a caller
// reads them in place instead of copying them at each call.
inline constexpr unsigned kDaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
inline constexpr unsigned kDaysBeforeMonth[13] = {0,   0,   31,  59,  90,  120, 151,
                                                  181, 212, 243, 273, 304, 334};

// Days in `month` (1-12) of `year`.
constexpr unsigned days_in_month(unsigned year, unsigned month) {
    return month == 2 && is_leap_year(year) ? 29 : kDaysInMonth[month];
}

// Days of `year` before the first of `month` (1-12).
constexpr unsigned days_before_month(unsigned year, unsigned month) {
    return kDaysBeforeMonth[month] + (month > 2 && is_leap_year(year) ? 1 : 0);
}

// The first and last years that a broken-down time may have.
constexpr unsigned kFirstYear = 1601;
constexpr unsigned kLastYear = 30827;

// Whether SystemTimeToFileTime accepts the record: a real date from 1601
// to 30827 and a time of day with milliseconds (the day of week is not
// looked at).
constexpr bool is_convertible(const CalendarTime& t) {
    return t.year >= kFirstYear && t.year <= kLastYear && t.month >= 1 && t.month <= 12 &&
           t.day >= 1 && t.day <= days_in_month(t.year, t.month) && t.hour <= 23 &&
           t.minute <= 59 && t.second <= 59 && t.milliseconds <= 999;
}

// The day number of a date (day 0 is 1601-01-01); the date must be valid
// and not before 1601.  Years are counted from 1 March 1600, so that a
// leap day ends its year: the days before a month then follow one rule
// (153 days every five months from March) and no leap year is looked up.
constexpr std::uint32_t day_number(unsigned year, unsigned month, unsigned day) {
    const bool early = month <= 2;  // January and February end the year before
    const std::uint32_t y = year - (kFirstYear - 1) - early;
    const std::uint32_t m = early ? month + 9 : month - 3;
    // 1601-01-01 is day 306 after 1600-03-01.
    return y * 365 + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + day - 1 - 306;
}

// The file time of a record that is_convertible accepts.
constexpr std::uint64_t file_time_of(const CalendarTime& t) {
    constexpr std::uint64_t kTicksPerMs = 10000;
    constexpr std::uint64_t kTicksPerDay = 864000000000ULL;
    const std::uint64_t ms = ((t.hour * 60ULL + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
    return day_number(t.year, t.month, t.day) * kTicksPerDay + ms * kTicksPerMs;
}

}  // namespace zop::sys

#endif
