// Win32 backend: the system clock, calendar conversion, time-zone settings
// and the user's language.
#include <windows.h>

#include "sys/calendar_rules.h"
#include "sys/os_records.h"
#include "sys/time.h"

#include <cstddef>
#include <cstring>

namespace zop::sys {

namespace {

// The zone names are fixed arrays that the system normally terminates.
template <std::size_t N>
std::wstring bounded(const WCHAR (&name)[N]) {
    std::size_t n = 0;
    while (n < N && name[n] != 0) ++n;
    return std::wstring(name, name + n);
}

}  // namespace

CalendarTime from_os(const SYSTEMTIME& record) { return calendar_from(record); }

std::uint64_t from_os(const FILETIME& record) { return file_time_from(record); }

void to_os(std::uint64_t file_time, FILETIME& record) { file_time_to(file_time, record); }

std::uint64_t current_file_time() {
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    FILETIME ft = {0, 0};
    ::SystemTimeToFileTime(&now, &ft);
    return from_os(ft);
}

bool file_time_to_calendar(std::uint64_t file_time, CalendarTime& out) {
    FILETIME ft;
    to_os(file_time, ft);
    SYSTEMTIME st;
    if (!::FileTimeToSystemTime(&ft, &st)) return false;
    out = from_os(st);
    return true;
}

bool calendar_to_file_time(const CalendarTime& in, std::uint64_t& file_time) {
    // Some implementations accept more (years past 30827, 29 February of
    // any year); the check here gives the same answers everywhere.
    if (!is_convertible(in)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    SYSTEMTIME st;
    calendar_to(in, st);
    FILETIME ft;
    if (!::SystemTimeToFileTime(&st, &ft)) return false;
    file_time = from_os(ft);
    return true;
}

std::uint32_t time_zone_information(TimeZoneSettings& settings) {
    TIME_ZONE_INFORMATION info;
    ZeroMemory(&info, sizeof info);
    DWORD id = ::GetTimeZoneInformation(&info);
    if (id == TIME_ZONE_ID_INVALID) return kZoneIdInvalid;
    settings.bias = info.Bias;
    settings.standard_name = bounded(info.StandardName);
    settings.standard_date = from_os(info.StandardDate);
    settings.standard_bias = info.StandardBias;
    settings.daylight_name = bounded(info.DaylightName);
    settings.daylight_date = from_os(info.DaylightDate);
    settings.daylight_bias = info.DaylightBias;
    return id;
}

namespace {

using DynamicZoneInfo = DWORD(WINAPI*)(PDYNAMIC_TIME_ZONE_INFORMATION);
using ZoneInfoForYear = BOOL(WINAPI*)(USHORT, PDYNAMIC_TIME_ZONE_INFORMATION,
                                      LPTIME_ZONE_INFORMATION);

// A kernel32 function that older systems lack, or null.
template <typename F>
F kernel_function(const char* name) {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    FARPROC found = kernel != nullptr ? ::GetProcAddress(kernel, name) : nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(found));
}

// The zone's rules for `year`: the system's rules of that year where it
// keeps rules by year (Windows Vista SP1 and later), its current rules
// otherwise, and none for daylight time when the user switched it off.
bool read_rules(unsigned year, TIME_ZONE_INFORMATION& info) {
    static const auto dynamic_info =
        kernel_function<DynamicZoneInfo>("GetDynamicTimeZoneInformation");
    static const auto info_for_year =
        kernel_function<ZoneInfoForYear>("GetTimeZoneInformationForYear");
    ZeroMemory(&info, sizeof info);
    if (dynamic_info == nullptr) return ::GetTimeZoneInformation(&info) != TIME_ZONE_ID_INVALID;
    DYNAMIC_TIME_ZONE_INFORMATION dynamic;
    ZeroMemory(&dynamic, sizeof dynamic);
    if (dynamic_info(&dynamic) == TIME_ZONE_ID_INVALID) return false;
    // A zone without a key name (Wine makes one up for a host zone it cannot
    // match) has no rules by year: its current rules stand for every year.
    // The dynamic record begins with the fields of the plain one.
    if (info_for_year == nullptr || dynamic.TimeZoneKeyName[0] == 0 ||
        !info_for_year(static_cast<USHORT>(year), &dynamic, &info)) {
        std::memcpy(&info, &dynamic, sizeof info);
    }
    if (dynamic.DynamicDaylightTimeDisabled) info.DaylightDate.wMonth = 0;
    return true;
}

// read_rules with the last answer of the calling thread kept for a second,
// so that a run of dates does not read the registry for each.
bool rules_for_year(unsigned year, TIME_ZONE_INFORMATION& info) {
    struct Memo {
        bool valid;
        unsigned year;
        DWORD read_at;
        TIME_ZONE_INFORMATION info;
    };
    thread_local Memo memo{};
    const DWORD now = ::GetTickCount();
    if (!memo.valid || memo.year != year || now - memo.read_at >= 1000) {
        memo.valid = read_rules(year, memo.info);
        if (!memo.valid) return false;
        memo.year = year;
        memo.read_at = now;
    }
    info = memo.info;
    return true;
}

constexpr std::int64_t kMsPerMinute = 60000;
constexpr std::int64_t kMsPerDay = 86400000;

// Days from 1601-01-01 to the first of `month` of `year`.
std::int64_t days_to_month(unsigned year, unsigned month) {
    const std::int64_t y = year - kFirstYear;
    return y * 365 + y / 4 - y / 100 + y / 400 + days_before_month(year, month);
}

// When a transition rule takes effect in `year`, in milliseconds since
// 1601-01-01 on the local clock the rule is written in; -1 when it does not
// take effect that year.  A rule with a year is an absolute date that
// happens in that year only; one without names the week of the month (5 the
// last) and the day of the week.
std::int64_t transition(const SYSTEMTIME& rule, unsigned year) {
    if (rule.wMonth < 1 || rule.wMonth > 12 || rule.wHour > 23 || rule.wMinute > 59 ||
        rule.wSecond > 59 || rule.wMilliseconds > 999) {
        return -1;
    }
    const unsigned last = days_in_month(year, rule.wMonth);
    const std::int64_t first = days_to_month(year, rule.wMonth);
    unsigned day = rule.wDay;
    if (rule.wYear != 0) {
        if (rule.wYear != year || day < 1 || day > last) return -1;
    } else {
        if (day < 1 || day > 5 || rule.wDayOfWeek > 6) return -1;
        const unsigned first_weekday = static_cast<unsigned>((first + 1) % 7);  // 1601-01-01: Monday
        day = 1 + (rule.wDayOfWeek + 7 - first_weekday) % 7 + 7 * (day - 1);
        while (day > last) day -= 7;
    }
    return (first + day - 1) * kMsPerDay + rule.wHour * 3600000LL + rule.wMinute * kMsPerMinute +
           rule.wSecond * 1000LL + rule.wMilliseconds;
}

// The year of the instant `ms` (milliseconds since 1601) read on a clock
// `bias` minutes behind UTC; `fallback` when that is no calendar year.
unsigned local_year(std::int64_t ms, std::int32_t bias, unsigned fallback) {
    CalendarTime fields;
    const std::int64_t local = ms - bias * kMsPerMinute;
    if (local < 0 || !file_time_to_calendar(static_cast<std::uint64_t>(local) * 10000, fields) ||
        fields.year < kFirstYear || fields.year > kLastYear) {
        return fallback;
    }
    return fields.year;
}

}  // namespace

bool zone_offset_at(std::uint64_t file_time, ZoneOffset& out) {
    if (file_time < kZoneFirstFileTime || file_time > kZoneLastFileTime) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::int64_t now = static_cast<std::int64_t>(file_time / 10000);
    TIME_ZONE_INFORMATION info;
    // The rules of the local standard year decide; that year is known once
    // the standard offset is, read from the rules of the UTC year.
    unsigned year = local_year(now, 0, kFirstYear);
    if (!rules_for_year(year, info)) return false;
    const unsigned local = local_year(now, info.Bias + info.StandardBias, year);
    if (local != year) {
        year = local;
        if (!rules_for_year(year, info)) return false;
    }
    // The start is written in standard time, the end in daylight time.
    const std::int64_t start = transition(info.DaylightDate, year);
    const std::int64_t end = transition(info.StandardDate, year);
    bool daylight = false;
    if (start >= 0 && end >= 0) {
        const std::int64_t start_utc = start + (info.Bias + info.StandardBias) * kMsPerMinute;
        const std::int64_t end_utc = end + (info.Bias + info.DaylightBias) * kMsPerMinute;
        daylight = start_utc < end_utc ? now >= start_utc && now < end_utc
                                       : now >= start_utc || now < end_utc;
    }
    out.minutes = -(info.Bias + (daylight ? info.DaylightBias : info.StandardBias));
    out.daylight = daylight;
    return true;
}

std::uint16_t user_default_language() { return ::GetUserDefaultLangID(); }

}  // namespace zop::sys
