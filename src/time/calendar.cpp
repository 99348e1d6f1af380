// Tick counts and calendar fields.
#include "time/calendar.h"

namespace zop::detail {

bool calendar_fields(long long ticks, sys::CalendarTime& fields) {
    if (sys::file_time_to_calendar(file_time_from_ticks(ticks), fields)) return true;
    fields = sys::CalendarTime();
    return false;
}

unsigned days_in_month(unsigned year, unsigned month) {
    static constexpr unsigned kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && Date::is_leap_year(year) ? 29 : kDays[month];
}

unsigned day_of_year(unsigned year, unsigned month, unsigned day) {
    static constexpr unsigned kDaysBefore[13] = {0,   0,   31,  59,  90,  120, 151,
                                                 181, 212, 243, 273, 304, 334};
    return kDaysBefore[month] + day + (month > 2 && Date::is_leap_year(year) ? 1 : 0);
}

// Years before 1601 lie before the file-time origin, where no calendar
// field could be read back; they are refused like year 0.
bool representable(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                   unsigned second, unsigned millisecond) {
    return year >= 1601 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= days_in_month(year, month) && hour <= 23 && minute <= 59 && second <= 59 &&
           millisecond <= 999;
}

}  // namespace zop::detail
