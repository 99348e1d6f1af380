// Platform layer: the Gregorian rules that both backends apply when they
// check a broken-down time, so that they refuse the same records.
#ifndef ZOP_SYS_CALENDAR_RULES_H
#define ZOP_SYS_CALENDAR_RULES_H

#include "sys/time.h"

namespace zop::sys {

constexpr bool is_leap_year(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days in `month` (1-12) of `year`.
constexpr unsigned days_in_month(unsigned year, unsigned month) {
    constexpr unsigned kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap_year(year) ? 29 : kDays[month];
}

// Days of `year` before the first of `month` (1-12).
constexpr unsigned days_before_month(unsigned year, unsigned month) {
    constexpr unsigned kBefore[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    return kBefore[month] + (month > 2 && is_leap_year(year) ? 1 : 0);
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

}  // namespace zop::sys

#endif
