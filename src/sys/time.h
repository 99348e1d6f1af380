// Platform layer: the system clock, calendar conversion, time-zone settings
// and the user's language, shaped like GetSystemTime, FileTimeToSystemTime,
// SystemTimeToFileTime, GetTimeZoneInformation, GetTimeZoneInformationForYear
// and GetUserDefaultLangID.
//
// File times are counts of 100-nanosecond intervals since 1601-01-01
// 00:00:00 UTC.  Both backends use the proleptic Gregorian calendar over the
// same range, so they give the same answers for the same values.
#ifndef ZOP_SYS_TIME_H
#define ZOP_SYS_TIME_H

#include <zop/time.h>

#include <cstdint>
#include <string>

namespace zop::sys {

// A broken-down UTC time, field for field the SYSTEMTIME record.
struct CalendarTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;        // 1-12
    std::uint16_t day_of_week = 0;  // 0 = Sunday
    std::uint16_t day = 0;          // 1-31
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

// The system's time records as the portable ones and back.
CalendarTime from_os(const SYSTEMTIME& record);
std::uint64_t from_os(const FILETIME& record);
void to_os(std::uint64_t file_time, FILETIME& record);

// The current UTC time as a file time, in whole milliseconds (GetSystemTime
// followed by SystemTimeToFileTime).
std::uint64_t current_file_time();

// FileTimeToSystemTime: the broken-down form of a file time.  Values of
// 2^63 and above are refused: false, with last error 87.
bool file_time_to_calendar(std::uint64_t file_time, CalendarTime& out);

// SystemTimeToFileTime: the file time of a broken-down time (day of week
// ignored).  Refuses, with false and last error 87, anything but a valid
// time from the year 1601 to 30827 with milliseconds 0-999.
bool calendar_to_file_time(const CalendarTime& in, std::uint64_t& file_time);

// The results of time_zone_information (TIME_ZONE_ID_*).
constexpr std::uint32_t kZoneIdUnknown = 0;   // the zone has no daylight time
constexpr std::uint32_t kZoneIdStandard = 1;  // standard time applies now
constexpr std::uint32_t kZoneIdDaylight = 2;  // daylight time applies now
constexpr std::uint32_t kZoneIdInvalid = 0xFFFFFFFF;

// The time-zone settings of TIME_ZONE_INFORMATION.  Biases are minutes with
// UTC = local + bias (+ standard_bias or daylight_bias).  A transition date
// with month 0 means there is none; otherwise it is a yearly rule: month,
// day_of_week, day = the week of the month (1-4, 5 the last) and the local
// time of the change in hour and minute (year 0).
struct TimeZoneSettings {
    std::int32_t bias = 0;
    std::wstring standard_name;
    CalendarTime standard_date;
    std::int32_t standard_bias = 0;
    std::wstring daylight_name;
    CalendarTime daylight_date;
    std::int32_t daylight_bias = 0;
};

// GetTimeZoneInformation: fills `settings` with the current zone and
// returns one of the kZoneId values (kZoneIdInvalid on failure).
std::uint32_t time_zone_information(TimeZoneSettings& settings);

// The zone's offset at one instant: minutes east of UTC (local time = UTC +
// minutes) and whether daylight saving time applies.
struct ZoneOffset {
    std::int32_t minutes = 0;
    bool daylight = false;
};

// The instants zone_offset_at answers for: 1601-01-02 00:00 and 30827-12-31
// 00:00 UTC as file times, a day inside the calendar range on either side,
// so that the local date of every instant between them is a calendar date.
constexpr std::uint64_t kZoneFirstFileTime = 864000000000ULL;
constexpr std::uint64_t kZoneLastFileTime = 9223149024000000000ULL;

// The system zone's offset at the UTC instant `file_time`, by the rules the
// system keeps for that instant's year (GetDynamicTimeZoneInformation and
// GetTimeZoneInformationForYear on Windows, where the rules of the local
// standard year decide; the tz database through localtime_r on Linux).
// Whole minutes, as Windows keeps them (Linux drops the seconds of local
// mean times, toward zero).  Where the tz database flags the lower of a
// year's offsets as daylight time (Irish winter, Moroccan Ramadan), the
// higher one is reported as daylight time, as Windows does.  Each thread
// reads the system's settings again at most once a second.  False with
// last error 87 for an instant outside kZoneFirstFileTime-kZoneLastFileTime,
// or with the system's error when it refuses its settings.
bool zone_offset_at(std::uint64_t file_time, ZoneOffset& out);

// GetUserDefaultLangID: the Windows language identifier of the user's
// language (0x0409 US English, 0x0804 Chinese of China, ...).
std::uint16_t user_default_language();

}  // namespace zop::sys

#endif
