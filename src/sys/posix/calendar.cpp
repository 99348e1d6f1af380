// POSIX backend: the system clock and calendar conversion, with the
// Windows conversions' range and refusals.
#include "sys/posix/calendar.h"

#include "sys/calendar_rules.h"
#include "sys/error.h"
#include "sys/os_records.h"
#include "sys/time.h"

#include <ctime>

namespace zop::sys {

namespace posix {

namespace {

// The Gregorian calendar repeats every 400 years, and 1601 starts such a
// cycle, so a day number splits into cycles, centuries, four-year groups
// and years with no special case but the last day of a longer period.
constexpr std::uint32_t kDaysPer400 = 146097;
constexpr std::uint32_t kDaysPer100 = 36524;
constexpr std::uint32_t kDaysPer4 = 1461;

}  // namespace

void civil_date(std::int64_t days, unsigned& year, unsigned& month, unsigned& day,
                unsigned& weekday) {
    // Day numbers up to 30828 fit in 32 bits, whose divisions are cheaper.
    std::uint32_t rest = static_cast<std::uint32_t>(days);
    weekday = (rest + 1) % 7;  // 1601-01-01 was a Monday
    const std::uint32_t cycles = rest / kDaysPer400;
    rest %= kDaysPer400;
    std::uint32_t centuries = rest / kDaysPer100;
    if (centuries == 4) centuries = 3;  // 31 December of a year divisible by 400
    rest -= centuries * kDaysPer100;
    const std::uint32_t groups = rest / kDaysPer4;
    rest %= kDaysPer4;
    std::uint32_t years = rest / 365;
    if (years == 4) years = 3;  // 31 December of a leap year
    rest -= years * 365;
    year = 1601 + cycles * 400 + centuries * 100 + groups * 4 + years;
    // No month is longer than 32 days, so rest / 32 is at most one or two
    // months short.
    month = rest / 32 + 1;
    while (month < 12 && rest >= days_before_month(year, month + 1)) ++month;
    day = rest - days_before_month(year, month) + 1;
}

}  // namespace posix

namespace {

constexpr std::uint64_t kTicksPerMs = 10000;
constexpr std::uint64_t kTicksPerDay = 864000000000ULL;
// 1970-01-01 as a file time.
constexpr std::uint64_t kUnixEpoch = 116444736000000000ULL;
constexpr std::uint32_t kInvalidParameter = 87;

bool refuse() {
    set_last_error(kInvalidParameter);
    return false;
}

}  // namespace

CalendarTime from_os(const SYSTEMTIME& record) { return calendar_from(record); }

std::uint64_t from_os(const FILETIME& record) { return file_time_from(record); }

void to_os(std::uint64_t file_time, FILETIME& record) { file_time_to(file_time, record); }

std::uint64_t current_file_time() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000 +
                             static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
    return kUnixEpoch + ms * kTicksPerMs;
}

bool file_time_to_calendar(std::uint64_t file_time, CalendarTime& out) {
    if (file_time >> 63 != 0) return refuse();
    const std::uint64_t ms_of_day = file_time % kTicksPerDay / kTicksPerMs;
    unsigned year, month, day, weekday;
    posix::civil_date(static_cast<std::int64_t>(file_time / kTicksPerDay), year, month, day,
                      weekday);
    out.year = static_cast<std::uint16_t>(year);
    out.month = static_cast<std::uint16_t>(month);
    out.day_of_week = static_cast<std::uint16_t>(weekday);
    out.day = static_cast<std::uint16_t>(day);
    out.hour = static_cast<std::uint16_t>(ms_of_day / 3600000);
    out.minute = static_cast<std::uint16_t>(ms_of_day / 60000 % 60);
    out.second = static_cast<std::uint16_t>(ms_of_day / 1000 % 60);
    out.milliseconds = static_cast<std::uint16_t>(ms_of_day % 1000);
    return true;
}

bool calendar_to_file_time(const CalendarTime& in, std::uint64_t& file_time) {
    if (!is_convertible(in)) return refuse();
    file_time = file_time_of(in);
    return true;
}

}  // namespace zop::sys
