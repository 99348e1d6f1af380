// POSIX backend: the calendar conversion inline, where it is arithmetic.
#ifndef ZOP_SYS_POSIX_CONVERT_CALENDAR_H
#define ZOP_SYS_POSIX_CONVERT_CALENDAR_H

#include "sys/calendar_rules.h"
#include "sys/time.h"

namespace zop::sys {

// calendar_to_file_time with the same answers, for callers with many
// records: here the conversion is the shared arithmetic, run inline;
// a refusal goes to the platform call, which also sets the last error.
inline bool convert_calendar(const CalendarTime& in, std::uint64_t& file_time) {
    // The refusal gets a copy, so that the caller's record may stay in
    // registers.
    if (!is_convertible(in)) {
        const CalendarTime copy = in;
        return calendar_to_file_time(copy, file_time);
    }
    file_time = file_time_of(in);
    return true;
}

}  // namespace zop::sys

#endif
