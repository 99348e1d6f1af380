// Date and TimeSpan: tick counts, their calendar fields and arithmetic.
#include <zop/time.h>

#include "core/error_text.h"
#include "sys/calendar_rules.h"
#include "time/calendar.h"

namespace zop {

using detail::kTicksPerDay;
using detail::kTicksPerHour;

TimeSpan::TimeSpan(const long long& ticks) : ticks_(ticks) {}

TimeSpan::TimeSpan(const TimeSpan& other) = default;
TimeSpan& TimeSpan::operator=(const TimeSpan& other) = default;

int TimeSpan::days() const { return static_cast<int>(ticks_ / kTicksPerDay); }

long long TimeSpan::ticks() const { return ticks_; }

Date::Date() : ticks_(now_time()) {}

Date::Date(const long long& ticks) : ticks_(ticks) {}

Date::Date(const FILETIME& file_time)
    : ticks_(detail::ticks_from_file_time(sys::from_os(file_time))) {}

Date::Date(const SYSTEMTIME& system_time) : ticks_(0) {
    std::uint64_t file_time = 0;
    if (!sys::calendar_to_file_time(sys::from_os(system_time), file_time)) {
        throw ArgumentException(detail::last_error_text(L"Cannot convert SYSTEMTIME: "),
                                std::wstring());
    }
    ticks_ = detail::ticks_from_file_time(file_time);
}

Date::Date(unsigned int year, unsigned int month, unsigned int day, unsigned int hour,
           unsigned int minute, unsigned int second, unsigned int millisecond)
    : ticks_(0) {
    if (!detail::representable(year, month, day, hour, minute, second, millisecond)) {
        throw OutOfRangeException(L"Parameters describe an unrepresentable DateTime.");
    }
    sys::CalendarTime fields;
    fields.year = static_cast<std::uint16_t>(year);
    fields.month = static_cast<std::uint16_t>(month);
    fields.day = static_cast<std::uint16_t>(day);
    fields.hour = static_cast<std::uint16_t>(hour);
    fields.minute = static_cast<std::uint16_t>(minute);
    fields.second = static_cast<std::uint16_t>(second);
    fields.milliseconds = static_cast<std::uint16_t>(millisecond);
    std::uint64_t file_time = 0;
    if (!sys::calendar_to_file_time(fields, file_time)) {
        throw ArgumentException(detail::last_error_text(L"Cannot convert SYSTEMTIME: "),
                                std::wstring());
    }
    ticks_ = detail::ticks_from_file_time(file_time);
}

Date::Date(const Date& other) = default;
Date& Date::operator=(const Date& other) = default;

long long Date::time() const { return ticks_; }

void Date::time(long long ticks) { ticks_ = ticks; }

int Date::from_epoch(int field) const {
    sys::CalendarTime f;
    detail::calendar_fields(ticks_, f);
    switch (static_cast<unsigned>(field)) {
    case 0: return f.year;
    case 1: return f.month;
    case 2: return f.day;
    case 3: return f.month == 0 ? 0 : static_cast<int>(detail::day_of_year(f.year, f.month, f.day));
    case 4: return f.day_of_week;
    case 5: return f.hour;
    case 6: return f.minute;
    case 7: return f.second;
    default: return 0;
    }
}

int Date::year() const { return from_epoch(0); }
unsigned int Date::month() const { return static_cast<unsigned>(from_epoch(1)); }
unsigned int Date::day() const { return static_cast<unsigned>(from_epoch(2)); }
unsigned int Date::day_of_year() const { return static_cast<unsigned>(from_epoch(3)); }
Weekday Date::day_of_week() const { return static_cast<Weekday>(from_epoch(4)); }
unsigned int Date::hours() const { return static_cast<unsigned>(from_epoch(5)); }
unsigned int Date::minutes() const { return static_cast<unsigned>(from_epoch(6)); }
unsigned int Date::seconds() const { return static_cast<unsigned>(from_epoch(7)); }

long long Date::time_of_day() const { return ticks_ % kTicksPerDay; }

TimeSpan Date::subtract(const Date& other) const {
    return TimeSpan(detail::wrap_add(ticks_, detail::wrap_mul(other.ticks_, -1)));
}

void Date::add_days(int days) { ticks_ = detail::wrap_add(ticks_, detail::wrap_mul(days, kTicksPerDay)); }

void Date::add_hours(int hours) {
    ticks_ = detail::wrap_add(ticks_, detail::wrap_mul(hours, kTicksPerHour));
}

bool Date::is_leap_year(unsigned int year) { return sys::is_leap_year(year); }

long long Date::now_time() { return detail::ticks_from_file_time(sys::current_file_time()); }

void Date::to_file_time(FILETIME& file_time) const {
    sys::to_os(detail::file_time_from_ticks(ticks_), file_time);
}

}  // namespace zop

namespace zop {

Date::Date(std::chrono::system_clock::time_point when)
    : ticks_(std::chrono::floor<std::chrono::microseconds>(when.time_since_epoch()).count()) {}

std::chrono::system_clock::time_point Date::to_time_point() const {
    using Clock = std::chrono::system_clock;
    const std::chrono::microseconds since(ticks_);
    // Compared in microseconds, which hold every tick count and every
    // clock time of the coarser or equal clocks in use.
    if (since < std::chrono::duration_cast<std::chrono::microseconds>(Clock::duration::min()) ||
        since > std::chrono::duration_cast<std::chrono::microseconds>(Clock::duration::max())) {
        throw OutOfRangeException(L"The date is outside the range of the clock");
    }
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(since));
}

}  // namespace zop
