// POSIX backend: the date of a day number counted from 1601-01-01, the
// origin of the file time (the other way is day_number in
// sys/calendar_rules.h).
#ifndef ZOP_SYS_POSIX_CALENDAR_H
#define ZOP_SYS_POSIX_CALENDAR_H

#include <cstdint>

namespace zop::sys::posix {

// The date of a day number >= 0; `weekday` 0 is Sunday.
void civil_date(std::int64_t days, unsigned& year, unsigned& month, unsigned& day,
                unsigned& weekday);

}  // namespace zop::sys::posix

#endif
