// Tick counts, file times and calendar fields.
#ifndef ZOP_TIME_CALENDAR_H
#define ZOP_TIME_CALENDAR_H

#include "sys/time.h"

#include <cstdint>

namespace zop::detail {

// Microseconds from 1601-01-01 (the file-time origin) to 1970-01-01.
constexpr long long kFileTimeOffset = 11644473600000000LL;
constexpr long long kTicksPerDay = 86400000000LL;
constexpr long long kTicksPerHour = 3600000000LL;

// 64-bit arithmetic that wraps instead of overflowing.
constexpr long long wrap_add(long long a, long long b) {
    return static_cast<long long>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}
constexpr long long wrap_mul(long long a, long long b) {
    return static_cast<long long>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
}

// A file time read as a signed count, divided by 10 (toward zero), moved to
// the 1970 origin.
constexpr long long ticks_from_file_time(std::uint64_t file_time) {
    return static_cast<long long>(file_time) / 10 - kFileTimeOffset;
}

// (ticks + offset) * 10, wrapping.
constexpr std::uint64_t file_time_from_ticks(long long ticks) {
    return (static_cast<std::uint64_t>(ticks) + static_cast<std::uint64_t>(kFileTimeOffset)) * 10u;
}

// The UTC fields of a tick count; false, with every field 0, outside the
// calendar range.
bool calendar_fields(long long ticks, sys::CalendarTime& fields);

// The ordinal day (1-366) of a valid date.
unsigned day_of_year(unsigned year, unsigned month, unsigned day);

// Whether Date's seven-value constructor accepts these fields.
bool representable(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                   unsigned second, unsigned millisecond);

}  // namespace zop::detail

#endif
