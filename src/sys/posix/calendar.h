// POSIX backend: proleptic Gregorian arithmetic on day numbers counted from
// 1601-01-01, the origin of the file time.
#ifndef ZOP_SYS_POSIX_CALENDAR_H
#define ZOP_SYS_POSIX_CALENDAR_H

#include <cstdint>

namespace zop::sys::posix {

// The day number of a date (day 0 is 1601-01-01); the date must be valid
// and not before 1601.
std::int64_t day_number(unsigned year, unsigned month, unsigned day);

// The date of a day number >= 0; `weekday` 0 is Sunday.
void civil_date(std::int64_t days, unsigned& year, unsigned& month, unsigned& day,
                unsigned& weekday);

}  // namespace zop::sys::posix

#endif
