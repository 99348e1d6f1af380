// POSIX backend: the time-zone settings from the C library's zone (the TZ
// variable or the system's zone file).
//
// The current year is walked day by day with localtime_r.  A year with two
// offsets and changes between them in both directions has daylight time:
// the smaller offset is the standard one (the bias) and the larger the
// daylight one, whatever the C library's daylight flag says (the tz database
// marks Irish winter time and Moroccan Ramadan time as daylight time below
// the standard offset; Windows gives both zones standard offset 0).  The
// rules are the first change to the larger offset and the last change to the
// smaller one.  Any other year has no daylight time, and its bias is the
// offset in force on most of its days, so that a shift for part of the year
// never becomes the zone's offset.  Zones without daylight time report a
// daylight bias of -60 and no transition dates, as Windows does for such
// zones.  The names are the C library's abbreviations ("CST").
//
// The offset of one instant is localtime_r's, with the daylight flag turned
// round in the years where the tz database puts daylight time below the
// standard offset, so that the higher offset is daylight time as above.
#include "sys/calendar_rules.h"
#include "sys/error.h"
#include "sys/posix/utf8_path.h"
#include "sys/time.h"

#include <algorithm>
#include <climits>
#include <ctime>
#include <string>
#include <vector>

namespace zop::sys {

namespace {

constexpr std::time_t kDay = 86400;

struct Probe {
    long offset = 0;  // seconds east of UTC
    bool valid = false;
    const char* name = "";
};

Probe probe(std::time_t when) {
    Probe p;
    std::tm tm{};
    if (::localtime_r(&when, &tm) == nullptr) return p;
    p.offset = tm.tm_gmtoff;
    p.valid = true;
    if (tm.tm_zone != nullptr) p.name = tm.tm_zone;
    return p;
}

// The first second after `from` (and at or before `to`) whose offset
// differs from that of `from`; the change is known to happen in between.
std::time_t find_change(std::time_t from, std::time_t to) {
    const long before = probe(from).offset;
    while (to - from > 1) {
        std::time_t mid = from + (to - from) / 2;
        if (probe(mid).offset == before) from = mid; else to = mid;
    }
    return to;
}

// An offset of the year: the days that begin (00:00 UTC) in it and its
// name on the first of them.
struct Span {
    long offset;
    int days;
    std::string name;
};

// A change of offset: the UTC second it happens at and the offset in force
// before it.
struct Change {
    bool found = false;
    std::time_t at = 0;
    long offset_before = 0;
};

// A change at UTC second `at`, as a yearly rule in the local time that was
// in force just before it.
CalendarTime rule_for(std::time_t at, long offset_before) {
    std::time_t local = at + offset_before;
    std::tm tm{};
    ::gmtime_r(&local, &tm);
    CalendarTime rule;
    rule.month = static_cast<std::uint16_t>(tm.tm_mon + 1);
    rule.day_of_week = static_cast<std::uint16_t>(tm.tm_wday);
    const unsigned year = static_cast<unsigned>(tm.tm_year + 1900);
    const unsigned last = days_in_month(year, rule.month);
    rule.day = static_cast<std::uint16_t>(
        static_cast<unsigned>(tm.tm_mday) + 7 > last ? 5 : (tm.tm_mday - 1) / 7 + 1);
    rule.hour = static_cast<std::uint16_t>(tm.tm_hour);
    rule.minute = static_cast<std::uint16_t>(tm.tm_min);
    rule.second = static_cast<std::uint16_t>(tm.tm_sec);
    return rule;
}

}  // namespace

std::uint32_t time_zone_information(TimeZoneSettings& settings) {
    ::tzset();  // the TZ variable may have changed since the last call
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    if (::gmtime_r(&now, &utc) == nullptr) return kZoneIdInvalid;
    // 00:00 UTC of 1 January of this year.
    const std::time_t year_start =
        now - utc.tm_yday * kDay - utc.tm_hour * 3600 - utc.tm_min * 60 - utc.tm_sec;
    const int days = is_leap_year(static_cast<unsigned>(utc.tm_year) + 1900) ? 366 : 365;
    const Probe current = probe(now);
    if (!current.valid) return kZoneIdInvalid;

    // A change of offset between two midnights is pinned down to the second.
    std::vector<Span> spans;
    Change first_rise;
    Change last_fall;
    Probe day = probe(year_start);
    for (int d = 0; d < days; ++d) {
        if (!day.valid) return kZoneIdInvalid;
        auto span = std::find_if(spans.begin(), spans.end(),
                                 [&](const Span& s) { return s.offset == day.offset; });
        if (span == spans.end()) spans.push_back({day.offset, 1, day.name}); else ++span->days;
        const std::time_t start = year_start + d * kDay;
        const Probe next = probe(start + kDay);
        if (next.valid && next.offset != day.offset) {
            const Change change{true, find_change(start, start + kDay), day.offset};
            if (next.offset < day.offset) {
                last_fall = change;
            } else if (!first_rise.found) {
                first_rise = change;
            }
        }
        day = next;
    }

    settings = TimeZoneSettings();
    if (spans.size() != 2 || !first_rise.found || !last_fall.found) {
        const Span& steady = *std::max_element(
            spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.days < b.days; });
        settings.bias = static_cast<std::int32_t>(-steady.offset / 60);
        settings.standard_name = posix::from_system_path(steady.name);
        settings.daylight_name = settings.standard_name;
        settings.daylight_bias = -60;
        return kZoneIdUnknown;
    }
    const bool first_is_standard = spans[0].offset < spans[1].offset;
    const Span& standard = spans[first_is_standard ? 0 : 1];
    const Span& daylight = spans[first_is_standard ? 1 : 0];
    settings.bias = static_cast<std::int32_t>(-standard.offset / 60);
    settings.daylight_bias = static_cast<std::int32_t>(-(daylight.offset - standard.offset) / 60);
    settings.standard_name = posix::from_system_path(standard.name);
    settings.daylight_name = posix::from_system_path(daylight.name);
    settings.daylight_date = rule_for(first_rise.at, first_rise.offset_before);
    settings.standard_date = rule_for(last_fall.at, last_fall.offset_before);
    return current.offset == daylight.offset ? kZoneIdDaylight : kZoneIdStandard;
}

namespace {

constexpr std::time_t kUnixEpochInFileTimeSeconds = 11644473600;

// Whether the tz database flags the lower of `year`'s offsets as daylight
// time: a probe at the start of every week finds an offset flagged as
// daylight time below one that is not.
bool daylight_flag_inverted(int year) {
    std::tm january{};
    january.tm_year = year - 1900;
    january.tm_mday = 1;
    const std::time_t start = ::timegm(&january);
    long lowest_daylight = LONG_MAX;
    long highest_standard = LONG_MIN;
    for (int week = 0; week < 53; ++week) {
        const std::time_t when = start + week * 7 * kDay;
        std::tm tm{};
        if (::localtime_r(&when, &tm) == nullptr) continue;
        if (tm.tm_isdst > 0) {
            lowest_daylight = std::min(lowest_daylight, tm.tm_gmtoff);
        } else {
            highest_standard = std::max(highest_standard, tm.tm_gmtoff);
        }
    }
    return lowest_daylight < highest_standard;
}

// What the calling thread knows of the zone: the second of its last
// tzset() and the last year's daylight_flag_inverted.
struct ZoneMemo {
    std::time_t second = -1;
    bool known = false;
    int year = 0;
    bool inverted = false;
};

}  // namespace

bool zone_offset_at(std::uint64_t file_time, ZoneOffset& out) {
    if (file_time < kZoneFirstFileTime || file_time > kZoneLastFileTime) {
        set_last_error(kErrorInvalidParameter);
        return false;
    }
    // tzset() looks at the zone file again (a stat) each time: once a
    // second per thread is enough for a change of TZ or of the system's
    // zone to show within a second, as on Windows.
    thread_local ZoneMemo memo;
    std::timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    if (now.tv_sec != memo.second) {
        ::tzset();
        memo.second = now.tv_sec;
        memo.known = false;
    }
    const std::time_t when =
        static_cast<std::time_t>(file_time / 10000000) - kUnixEpochInFileTimeSeconds;
    std::tm tm{};
    if (::localtime_r(&when, &tm) == nullptr) {
        set_last_error(kErrorInvalidParameter);
        return false;
    }
    if (!memo.known || memo.year != tm.tm_year + 1900) {
        memo.year = tm.tm_year + 1900;
        memo.inverted = daylight_flag_inverted(memo.year);
        memo.known = true;
    }
    out.minutes = static_cast<std::int32_t>(tm.tm_gmtoff / 60);
    out.daylight = (tm.tm_isdst > 0) != memo.inverted;
    return true;
}

}  // namespace zop::sys
