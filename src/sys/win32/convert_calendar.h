// Windows backend: the calendar conversion, which the system makes.
#ifndef ZOP_SYS_WIN32_CONVERT_CALENDAR_H
#define ZOP_SYS_WIN32_CONVERT_CALENDAR_H

#include "sys/calendar_rules.h"
#include "sys/time.h"

namespace zop::sys {

// calendar_to_file_time with the same answers, for callers with many
// records: Windows asks the system for
// each one, so that every answer is its own.
inline bool convert_calendar(const CalendarTime& in, std::uint64_t& file_time) {
    return calendar_to_file_time(in, file_time);
}

}  // namespace zop::sys

#endif
