// Win32 backend: the system clock, calendar conversion, time-zone settings
// and the user's language.
#include <windows.h>

#include "sys/calendar_rules.h"
#include "sys/os_records.h"
#include "sys/time.h"

#include <cstddef>

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

std::uint16_t user_default_language() { return ::GetUserDefaultLangID(); }

}  // namespace zop::sys
