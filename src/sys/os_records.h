// Platform layer: field-by-field copies between the portable records and
// the system's SYSTEMTIME and FILETIME, for a backend where those types are
// complete.
#ifndef ZOP_SYS_OS_RECORDS_H
#define ZOP_SYS_OS_RECORDS_H

#include "sys/time.h"

#include <cstdint>

namespace zop::sys {

template <class SystemTime>
CalendarTime calendar_from(const SystemTime& record) {
    CalendarTime out;
    out.year = record.wYear;
    out.month = record.wMonth;
    out.day_of_week = record.wDayOfWeek;
    out.day = record.wDay;
    out.hour = record.wHour;
    out.minute = record.wMinute;
    out.second = record.wSecond;
    out.milliseconds = record.wMilliseconds;
    return out;
}

template <class SystemTime>
void calendar_to(const CalendarTime& in, SystemTime& record) {
    record.wYear = in.year;
    record.wMonth = in.month;
    record.wDayOfWeek = in.day_of_week;
    record.wDay = in.day;
    record.wHour = in.hour;
    record.wMinute = in.minute;
    record.wSecond = in.second;
    record.wMilliseconds = in.milliseconds;
}

template <class FileTime>
std::uint64_t file_time_from(const FileTime& record) {
    return (static_cast<std::uint64_t>(record.dwHighDateTime) << 32) | record.dwLowDateTime;
}

template <class FileTime>
void file_time_to(std::uint64_t file_time, FileTime& record) {
    record.dwLowDateTime = static_cast<std::uint32_t>(file_time);
    record.dwHighDateTime = static_cast<std::uint32_t>(file_time >> 32);
}

}  // namespace zop::sys

#endif
