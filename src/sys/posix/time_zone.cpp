// POSIX backend: the time-zone settings from the C library's zone (the TZ
// variable or the system's zone file).
//
// The standard and daylight offsets are read from the local time at two
// probes half a year apart; the transition rules from the days on which the
// daylight flag changes in the current year.  Zones without daylight time
// report a daylight bias of -60 and no transition dates, as Windows does
// for such zones.  The names are the C library's abbreviations ("CST").
#include "sys/calendar_rules.h"
#include "sys/posix/utf8_path.h"
#include "sys/time.h"

#include <ctime>

namespace zop::sys {

namespace {

constexpr std::time_t kDay = 86400;

struct Probe {
    long offset = 0;  // seconds east of UTC
    bool daylight = false;
    bool valid = false;
    std::string name;
};

Probe probe(std::time_t when) {
    Probe p;
    std::tm tm{};
    if (::localtime_r(&when, &tm) == nullptr) return p;
    p.offset = tm.tm_gmtoff;
    p.daylight = tm.tm_isdst > 0;
    p.valid = true;
    if (tm.tm_zone != nullptr) p.name = tm.tm_zone;
    return p;
}

// The first second at or after `from` (and before `to`) whose daylight flag
// differs from that of `from`; the change is known to happen in between.
std::time_t find_change(std::time_t from, std::time_t to) {
    const bool before = probe(from).daylight;
    while (to - from > 1) {
        std::time_t mid = from + (to - from) / 2;
        if (probe(mid).daylight == before) from = mid; else to = mid;
    }
    return to;
}

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
    // Noon UTC of 1 January of this year, and half a year later.
    const std::time_t new_year = now - utc.tm_yday * kDay - utc.tm_hour * 3600 -
                                 utc.tm_min * 60 - utc.tm_sec + kDay / 2;
    const Probe current = probe(now);
    const Probe winter = probe(new_year);
    const Probe summer = probe(new_year + 182 * kDay);
    if (!current.valid || !winter.valid || !summer.valid) return kZoneIdInvalid;

    const bool has_daylight = winter.daylight != summer.daylight;
    const Probe& standard = has_daylight ? (winter.daylight ? summer : winter) : current;
    const Probe& daylight = has_daylight ? (winter.daylight ? winter : summer) : current;

    settings = TimeZoneSettings();
    settings.bias = static_cast<std::int32_t>(-standard.offset / 60);
    settings.standard_name = posix::from_system_path(standard.name);
    settings.daylight_name = has_daylight ? posix::from_system_path(daylight.name)
                                          : settings.standard_name;
    if (!has_daylight) {
        settings.daylight_bias = -60;
        return kZoneIdUnknown;
    }
    settings.daylight_bias = static_cast<std::int32_t>(-(daylight.offset - standard.offset) / 60);
    // Walk the year day by day; a change of the flag between two noons is
    // pinned down to the second.
    const std::time_t year_start = new_year - kDay / 2;
    bool flag = probe(year_start).daylight;
    for (std::time_t day = year_start; day < year_start + 366 * kDay; day += kDay) {
        const bool next = probe(day + kDay).daylight;
        if (next == flag) continue;
        const std::time_t at = find_change(day, day + kDay);
        if (next) {
            settings.daylight_date = rule_for(at, standard.offset);
        } else {
            settings.standard_date = rule_for(at, daylight.offset);
        }
        flag = next;
    }
    return current.daylight ? kZoneIdDaylight : kZoneIdStandard;
}

}  // namespace zop::sys
