// Tick counts and calendar fields.
#include "time/calendar.h"

#include "sys/calendar_rules.h"

namespace zop::detail {

bool calendar_fields(long long ticks, sys::CalendarTime& fields) {
    if (sys::file_time_to_calendar(file_time_from_ticks(ticks), fields)) return true;
    fields = sys::CalendarTime();
    return false;
}

unsigned day_of_year(unsigned year, unsigned month, unsigned day) {
    return sys::days_before_month(year, month) + day;
}

// Years before 1601 lie before the file-time origin, where no calendar
// field could be read back; they are refused like year 0.
bool representable(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                   unsigned second, unsigned millisecond) {
    return year >= 1601 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= sys::days_in_month(year, month) && hour <= 23 && minute <= 59 && second <= 59 &&
           millisecond <= 999;
}

}  // namespace zop::detail
