/// @file
/// @ingroup time
/// zop date and time: the microsecond Date and TimeSpan, locales, the current
/// time zone, and pattern-driven formatting and parsing in English and
/// Chinese.
///
/// A Date is a signed 64-bit count of microseconds ("ticks") since
/// 1970-01-01 00:00:00 UTC.  Every Date is UTC; local time exists only as the
/// plain number that Date::local_time() returns.  Calendar fields follow the
/// proleptic Gregorian calendar and are defined from 1601-01-01 00:00:00 UTC
/// to 30828-09-14 02:48:05.477580 UTC (the range of the Windows file time);
/// outside it every field accessor returns 0.
///
/// The process-wide objects (the current locale, the current time zone and
/// the shared date formatter) are created on first use without locking: make
/// the first date call of the process from one thread.
#ifndef ZOP_TIME_H
#define ZOP_TIME_H

#include <zop/core.h>

#include <chrono>
#include <cstdint>
#include <string>

// The operating system's time records.  On Windows these are the records of
// <windows.h> (declared here by their tags, so that this header does not
// need <windows.h>); elsewhere records with the same names, fields and
// layout, so that code filling them compiles on both systems.
#if defined(_WIN32)
struct _SYSTEMTIME;
struct _FILETIME;
typedef struct _SYSTEMTIME SYSTEMTIME;
typedef struct _FILETIME FILETIME;
#else
/// A broken-down time: year, month 1-12, day of week 0 (Sunday)-6, day of
/// month, hour, minute, second, millisecond.
/// @ingroup time
struct SYSTEMTIME {
    std::uint16_t wYear;          ///< year
    std::uint16_t wMonth;         ///< month 1-12
    std::uint16_t wDayOfWeek;     ///< day of week 0 (Sunday)-6
    std::uint16_t wDay;           ///< day of month
    std::uint16_t wHour;          ///< hour
    std::uint16_t wMinute;        ///< minute
    std::uint16_t wSecond;        ///< second
    std::uint16_t wMilliseconds;  ///< millisecond
};
/// A count of 100-nanosecond intervals since 1601-01-01 00:00:00 UTC, split
/// into two 32-bit halves.
/// @ingroup time
struct FILETIME {
    std::uint32_t dwLowDateTime;   ///< low 32 bits of the count
    std::uint32_t dwHighDateTime;  ///< high 32 bits of the count
};
#endif

namespace zop {

/// @defgroup time Date and time
/// The microsecond Date and TimeSpan, locales, the current time zone, and
/// pattern-driven formatting and parsing in English and Chinese
/// (`<zop/time.h>`).
/// @{

/// Days of the week, numbered as the operating system numbers them.
enum Weekday {
    SUNDAY = 0,     ///< Sunday
    MONDAY = 1,     ///< Monday
    TUESDAY = 2,    ///< Tuesday
    WEDNESDAY = 3,  ///< Wednesday
    THURSDAY = 4,   ///< Thursday
    FRIDAY = 5,     ///< Friday
    SATURDAY = 6    ///< Saturday
};

/// Time-of-day patterns: hours and minutes; hours, minutes and seconds.
enum TimePattern {
    SHORT_TIME = 0,  ///< hours and minutes
    LONG_TIME = 1    ///< hours, minutes and seconds
};

/// Date patterns: numeric date; date with weekday and month name; month and
/// day; year and month.
enum DatePattern {
    SHORT_DATE = 0,  ///< numeric date
    LONG_DATE = 1,   ///< date with weekday and month name
    MONTH_DAY = 2,   ///< month and day
    YEAR_MONTH = 3   ///< year and month
};

/// Date-and-time patterns: short date, a space, short time; long date, a
/// space, long time; long date immediately followed by long time.
enum FullDatePattern {
    SHORT_DATE_TIME = 0,       ///< short date, a space, short time
    LONG_DATE_TIME = 1,        ///< long date, a space, long time
    LONG_DATE_TIME_JOINED = 2  ///< long date immediately followed by long time
};

/// A signed duration in microseconds.
class ZOP_API TimeSpan {
public:
    /// The span of `ticks` microseconds.
    explicit TimeSpan(const long long& ticks);
    /// Copies the length.
    ///@{
    TimeSpan(const TimeSpan& other);
    TimeSpan& operator=(const TimeSpan& other);
    ///@}

    /// Whole days, truncated toward zero.
    int days() const;
    /// The length in microseconds.
    long long ticks() const;

private:
    long long ticks_;
};

class TimeZone;
class DateFormat;

/// A point in time, microseconds since 1970-01-01 00:00:00 UTC.
class ZOP_API Date {
public:
    /// Now, with the resolution of the system clock (milliseconds).
    Date();
    /// The given tick count, unchecked.
    explicit Date(const long long& ticks);
    /// The instant of a file time: (100-ns count) / 10, truncated toward
    /// zero, minus 11644473600000000; the count is read as signed.  No check.
    explicit Date(const FILETIME& file_time);
    /// The instant of a UTC record (its day of week is ignored).  Throws
    /// ArgumentException "Cannot convert SYSTEMTIME: " followed by the
    /// system's text when the record is not a valid time from 1601 to 30827.
    explicit Date(const SYSTEMTIME& system_time);
    /// The UTC instant of the given fields.  Throws OutOfRangeException
    /// "Parameters describe an unrepresentable DateTime." unless
    /// 1601 <= year <= 9999, 1 <= month <= 12, 1 <= day <= days of that month,
    /// hour <= 23, minute <= 59, second <= 59 and millisecond <= 999.
    Date(unsigned int year, unsigned int month, unsigned int day, unsigned int hour,
         unsigned int minute, unsigned int second, unsigned int millisecond);

    /// Copies the tick count.
    ///@{
    Date(const Date& other);
    Date& operator=(const Date& other);
    ///@}

    /// The instant of a standard-library clock time, to the microsecond
    /// (earlier when the clock counts finer).  No check: every instant the
    /// clock can hold is a tick count.
    explicit Date(std::chrono::system_clock::time_point when);
    /// This instant as a standard-library clock time.  Throws
    /// OutOfRangeException "The date is outside the range of the clock"
    /// when the clock cannot hold it (a clock of nanoseconds holds the years
    /// 1678 to 2262).
    std::chrono::system_clock::time_point to_time_point() const;

    /// The tick count.
    long long time() const;
    /// Replaces the tick count.
    void time(long long ticks);

    /// Calendar fields of the UTC instant; 0 outside the calendar range.
    ///@{
    int year() const;
    unsigned int month() const;         ///< month 1-12; 0 outside the calendar range
    unsigned int day() const;           ///< day 1-31; 0 outside the calendar range
    Weekday day_of_week() const;        ///< SUNDAY-SATURDAY; 0 outside the calendar range
    unsigned int day_of_year() const;   ///< day of year 1-366; 0 outside the calendar range
    unsigned int hours() const;         ///< hour 0-23; 0 outside the calendar range
    unsigned int minutes() const;       ///< minute 0-59; 0 outside the calendar range
    unsigned int seconds() const;       ///< second 0-59; 0 outside the calendar range
    ///@}

    /// The tick count modulo one day (negative before 1970 off a day
    /// boundary).
    long long time_of_day() const;

    /// This instant minus the other; arithmetic wraps in 64 bits.
    TimeSpan subtract(const Date& other) const;
    /// Moves the instant by whole days or hours; arithmetic wraps in 64 bits.
    ///@{
    void add_days(int days);
    void add_hours(int hours);
    ///@}

    /// Gregorian leap year: divisible by 4 and not by 100, or by 400.
    static bool is_leap_year(unsigned int year);
    /// The current UTC tick count.
    static long long now_time();

    /// The file time of this instant: (ticks + 11644473600000000) * 10,
    /// wrapping in 64 bits.
    void to_file_time(FILETIME& file_time) const;

    /// The tick count plus the current time zone's offset at this instant.
    /// Throws what TimeZone::current_time_zone throws.
    long long local_time() const;
    /// Sets the instant from a local tick count: `local` minus the current
    /// zone's offset at the instant `local` read as UTC.
    void local_time(long long local);

    /// The date as text in the current locale and time zone, by the shared
    /// formatter (DateFormat::local_instance).  Throws OutOfMemoryException
    /// when the formatter cannot be built.
    ///@{
    std::wstring to_string(FullDatePattern which) const;
    std::wstring to_time_string(TimePattern which) const;
    std::wstring to_date_string(DatePattern which) const;
    ///@}

    /// Reads local date and time in the current locale's short date-time
    /// pattern.  Throws FormatException "The date string format is
    /// unexpected" when the text does not match.
    static Date parse(const std::wstring& text);
    /// The same without exceptions for text that does not match: true with
    /// the date stored in `out`, false with `out` untouched
    /// (DateFormat::try_parse of the shared formatter).
    static bool try_parse(const std::wstring& text, Date& out);

protected:
    /// One calendar field by number: 0 year, 1 month, 2 day, 3 day of year,
    /// 4 day of week, 5 hours, 6 minutes, 7 seconds; 0 for any other number.
    int from_epoch(int field) const;

private:
    long long ticks_;
};

/// A language and country, with the numeric (ISO 3166-1) country code by
/// which the date formatter chooses its patterns and names.
class ZOP_API Locale {
public:
    /// Copies the values; nothing is checked.
    Locale(const std::wstring& language, const std::wstring& country,
           const std::wstring& variant, int country_code);
    /// Copies the values.
    ///@{
    Locale(const Locale& other);
    Locale& operator=(const Locale& other);
    ///@}
    /// Destroys the values.
    ~Locale();

    /// "language_country[_variant]"; the language alone when country and
    /// variant are empty; empty when language and country are empty.
    std::wstring to_string() const;

    /// The current locale.  When none is set, the locale of the user's
    /// default language is chosen (Chinese of China, Hong Kong or Taiwan;
    /// US English for every other language).  Throws OutOfMemoryException
    /// when no predefined locale exists.
    static const Locale* current_locale();
    /// Makes `locale` the current locale; the library does not take
    /// ownership.  Null makes the next current_locale() choose again.
    static void current_locale(const Locale* locale);

    /// zh_CN (156), en_US (840) and zh_TW (158), owned by the library; null
    /// only when the library could not allocate them at load.
    ///@{
    static const Locale* const CHINA;
    static const Locale* const US;
    static const Locale* const TAIWAN;
    ///@}

    std::wstring language;  ///< "zh", "en", ...
    std::wstring country;   ///< "CN", "US", "TW", ...
    std::wstring variant;   ///< empty in the predefined locales
    int country_code;       ///< 156, 840, 158, ...

private:
    static const Locale* _cur_locale;
};

/// The offset between UTC and local time.  The library supplies the current
/// zone of the operating system; applications may derive their own.
class ZOP_API TimeZone {
public:
    /// The base holds no state: making, copying and destroying it do nothing.
    ///@{
    TimeZone();
    TimeZone(const TimeZone& other);
    TimeZone& operator=(const TimeZone& other);
    virtual ~TimeZone();
    ///@}

    /// Microseconds to add to a UTC tick count for local time at `date`.
    virtual long long utc_offset(const Date& date) const = 0;
    /// Whether daylight time applies at `date`.
    virtual bool is_daylight_time(const Date& date) const = 0;

    /// The UTC tick count of the local tick count `local` in this zone,
    /// worked out from utc_offset (one change of offset within a day either
    /// side).  A local time the zone skips when its clocks go forward moves
    /// forward by the length of the gap (02:30 in a gap from 02:00 to 03:00
    /// is 03:30); one that happens twice when they go back means its first
    /// occurrence, at the offset in force before the change (the daylight
    /// one at the end of summer time).  Arithmetic wraps in 64 bits.  Throws
    /// what utc_offset throws.
    long long utc_time(long long local) const;

    /// The process's zone, read from the system settings on first use and
    /// owned by the library.  It applies the standard offset all year:
    /// daylight saving time is not observed.  Throws OutOfMemoryException
    /// "Out of memory" when it cannot be allocated and
    /// InvalidOperationException "Can't get timezone information." when the
    /// system refuses its settings.
    static TimeZone* current_time_zone();
    /// Destroys the current zone, so that the next current_time_zone() reads
    /// the system settings again.  Returns 1 when a zone was destroyed, 0
    /// when there was none.
    static int del_current_time_zone();

private:
    static TimeZone* _cur_tz;
};

/// The operating system's zone with all its rules: standard and daylight
/// time, and the changes of rule over the years as far as the system knows
/// them (the yearly rules of the Windows registry; the tz database on Linux,
/// with the Windows offsets: see docs/time.md).  The system's settings are
/// read again at most once a second per thread, so a change of the system's
/// zone shows within a second.  Offsets are whole minutes.  Dates
/// before 1601-01-02 or after 30827-12-31 take the offset of the nearer of
/// those days.  TimeZone::current_time_zone() stays the standard-offset
/// zone; give this one to a ZonedDateFormat or ask it directly.
class ZOP_API DaylightTimeZone : public TimeZone {
public:
    /// Making one reads nothing: the system's settings are read when an
    /// offset is asked for.
    DaylightTimeZone();

    /// The offset in force at `date`, daylight time included.  Throws
    /// InvalidOperationException "Can't get timezone information." when the
    /// system refuses its settings.
    long long utc_offset(const Date& date) const override;
    /// Whether daylight time is in force at `date`.  Throws as utc_offset.
    bool is_daylight_time(const Date& date) const override;
};

/// Formats dates by patterns and parses them back.
///
/// Pattern letters (runs of the same letter count together):
/// - y  year: "y" last two digits unpadded, "yy" last two digits, "yyy" and
///      longer the whole year;
/// - M  month: "M" number, "MM" two digits, "MMM" abbreviated, "MMMM" full
///      name;
/// - d, H, m, s  day, hour 0-23, minute, second: one letter unpadded, more
///      letters two digits;
/// - h  hour 1-12;
/// - E  full weekday name, e abbreviated weekday name, w weekday number 0-6
///      (each letter on its own);
/// - 'text'  literal text, '' a quote inside it;
/// - p, G, W, Z, g, z print nothing; every other character prints itself.
///
/// Formatting and parsing shift by the whole hours of the current zone's
/// offset only (ZonedDateFormat uses a zone's whole offset).
class ZOP_API DateFormat {
public:
    /// The base holds no state: making, copying and destroying it do nothing.
    ///@{
    DateFormat();
    DateFormat(const DateFormat& other);
    DateFormat& operator=(const DateFormat& other);
    virtual ~DateFormat();
    ///@}

protected:
    /// The local date by `pattern` with the current locale's names.  Throws
    /// ArgumentException for a null date, and what the current zone and
    /// locale throw.  A date whose local time lies outside the calendar range
    /// formats as the empty string.
    virtual std::wstring format(const Date* date, const std::wstring& pattern) const;

public:
    /// The date by the current locale's pattern of the given kind; empty for
    /// a locale without patterns.  Throw as format() does.
    ///@{
    virtual std::wstring format_full(const Date* date, FullDatePattern which) const = 0;
    virtual std::wstring format_time(const Date* date, TimePattern which) const = 0;
    virtual std::wstring format_date(const Date* date, DatePattern which) const = 0;
    ///@}
    /// The tick count of a text in the current locale's short date-time
    /// pattern.  Throws FormatException "The date string format is
    /// unexpected" when it does not match.
    virtual long long parse(const std::wstring& text) const = 0;

protected:
    /// Reads `text` by `pattern` as local time.  True with the UTC tick count
    /// stored in `ticks` when it matches, false with `ticks` untouched
    /// otherwise.  Text left after the pattern is ignored.
    virtual bool do_parse(const std::wstring& text, const std::wstring& pattern,
                          long long& ticks) const;

public:
    /// Reads `text` as parse() does, without exceptions for text that does
    /// not match: true with the date stored in `out`, false with `out`
    /// untouched.  The library's formatter decides without throwing or
    /// catching anything; for a class that defines parse() itself, the
    /// default reads parse() and catches its FormatException.  Throws only
    /// what the current locale and zone throw when they cannot be built.
    virtual bool try_parse(const std::wstring& text, Date& out) const;

    /// The shared formatter, built on first use and owned by the library.
    /// Throws OutOfMemoryException "Out of memory" when it cannot be built.
    static DateFormat* local_instance();
    /// Frees the shared formatter and its tables; the next local_instance()
    /// builds them again.
    static void del_local_instance();

private:
    static DateFormat* _local_inst;
};

/// Formats and parses as the shared formatter does (the current locale's
/// patterns and names), in a zone of the caller's choosing and at its whole
/// offset, minutes included: the local time of each date is the date plus
/// zone.utc_offset(date), and a local time read is converted by
/// zone.utc_time (see there for the skipped and the repeated hour).
class ZOP_API ZonedDateFormat : public DateFormat {
public:
    /// Works in `zone`, which is neither copied nor owned: it must outlive
    /// the formatter and its copies.
    explicit ZonedDateFormat(const TimeZone& zone);

    /// The zone given at construction.
    const TimeZone& time_zone() const;

    /// As DateFormat's, in this zone; throw ArgumentException for a null
    /// date and what the zone and the current locale throw.
    ///@{
    std::wstring format_full(const Date* date, FullDatePattern which) const override;
    std::wstring format_time(const Date* date, TimePattern which) const override;
    std::wstring format_date(const Date* date, DatePattern which) const override;
    ///@}
    /// The UTC tick count of a local time in the current locale's short
    /// date-time pattern.  Throws FormatException "The date string format is
    /// unexpected" when the text does not match.
    long long parse(const std::wstring& text) const override;
    /// As parse, false with `out` untouched where parse throws
    /// FormatException.
    bool try_parse(const std::wstring& text, Date& out) const override;

protected:
    /// The pattern engine of DateFormat, in this zone.
    ///@{
    std::wstring format(const Date* date, const std::wstring& pattern) const override;
    bool do_parse(const std::wstring& text, const std::wstring& pattern,
                  long long& ticks) const override;
    ///@}

private:
    const TimeZone* zone_;
};

/// @}

}  // namespace zop

#endif
