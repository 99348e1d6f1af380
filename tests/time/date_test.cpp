#include <zop/time.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "support/test_support.h"
#include "time/date_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace zop;

constexpr long long kOrigin = -11644473600000000LL;  // 1601-01-01 as ticks
constexpr long long kLastTick = 0x7FFFFFFFFFFFFFFFLL / 10 + kOrigin;  // last with fields

// The eight calendar fields through the public accessors.
std::vector<int> fields(long long ticks) {
    const Date d(ticks);
    return {d.year(), int(d.month()), int(d.day()), int(d.day_of_year()), d.day_of_week(),
            int(d.hours()), int(d.minutes()), int(d.seconds())};
}

SYSTEMTIME system_time(unsigned y, unsigned mo, unsigned d, unsigned h, unsigned mi, unsigned s, unsigned ms,
                       unsigned dow = 0) {
    auto w = [](unsigned v) { return static_cast<std::uint16_t>(v); };
    return SYSTEMTIME{w(y), w(mo), w(dow), w(d), w(h), w(mi), w(s), w(ms)};
}

TEST(DateTest, ConstructorsCountFromTheFieldsOrTheFileTime) {
    EXPECT_EQ(Date(1601, 1, 1, 0, 0, 0, 0).time(), kOrigin);
    EXPECT_EQ(Date(9999, 12, 31, 23, 59, 59, 999).time(), 253402300799999000LL);
    // The day of the week of a SYSTEMTIME is ignored, even out of its range;
    // a SYSTEMTIME reaches the system's last millisecond, past Date's own 9999.
    EXPECT_EQ(Date(system_time(2005, 3, 4, 10, 30, 15, 250, 9)).time(), Date(2005, 3, 4, 10, 30, 15, 250).time());
    EXPECT_EQ(Date(system_time(30827, 12, 31, 23, 59, 59, 999)).time(), 0x7FFF35F4F06C58F0LL / 10 + kOrigin);
    EXPECT_THROW(Date(10000, 1, 1, 0, 0, 0, 0), OutOfRangeException);
    // Refused from the fields and, as ERROR_INVALID_PARAMETER in the system's
    // words, from a SYSTEMTIME: year 0, months, days, a leap day of a
    // century, hour/minute/second limits, milliseconds above 999, and years
    // before 1601 (decided for the fields) and after 30827.
    const unsigned bad[][7] = {
        {0, 1, 1, 0, 0, 0, 0},      {30828, 1, 1, 0, 0, 0, 0},        {2000, 0, 1, 0, 0, 0, 0},
        {2000, 13, 1, 0, 0, 0, 0},  {2000, 1, 0, 0, 0, 0, 0},         {1900, 2, 29, 0, 0, 0, 0},
        {2000, 1, 1, 24, 0, 0, 0},  {2000, 1, 1, 0, 60, 0, 0},        {2000, 1, 1, 0, 0, 60, 0},
        {2000, 1, 1, 0, 0, 0, 1000}, {1600, 12, 31, 23, 59, 59, 999},
    };
    for (const auto& f : bad) {
        const SYSTEMTIME st = system_time(f[0], f[1], f[2], f[3], f[4], f[5], f[6]);
        EXPECT_EQ(zop_test::thrown<OutOfRangeException>([&] { Date(f[0], f[1], f[2], f[3], f[4], f[5], f[6]); }),
                  L"Parameters describe an unrepresentable DateTime.")
            << f[0] << "-" << f[1] << "-" << f[2] << " " << f[3] << ":" << f[4] << ":" << f[5] << "." << f[6];
        EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { Date d(st); }),
                  system_error(L"Cannot convert SYSTEMTIME: ", 87)) << f[0] << "-" << f[1] << "-" << f[2];
    }
    // The day after the last of every month of a common year (the last days
    // themselves are met by the calendar walk of TimeBackendPosix).
    const unsigned last[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (unsigned m = 1; m <= 12; ++m) {
        EXPECT_THROW(Date(2003, m, last[m - 1] + 1, 0, 0, 0, 0), OutOfRangeException) << m;
    }
    // File times divide toward zero; read as signed, ~0 and ~0 - 14 are -1
    // and -15 hundred-nanosecond units.
    const std::pair<unsigned long long, long long> cases[] = {
        {0, kOrigin}, {15, kOrigin + 1}, {~0ULL, kOrigin}, {~0ULL - 14, kOrigin - 1}};
    for (const auto& c : cases) {
        const FILETIME ft{static_cast<std::uint32_t>(c.first), static_cast<std::uint32_t>(c.first >> 32)};
        EXPECT_EQ(Date(ft).time(), c.second) << c.first;
    }
    FILETIME ft;
    Date(123456789).to_file_time(ft);
    EXPECT_EQ((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime,
              (123456789ULL + 11644473600000000ULL) * 10);
}

TEST(DateTest, CalendarFields) {
    // 1969-12-31 23:59:59.999999 and 30828-09-14 02:48:05.477580, the last
    // tick with fields (the walk of TimeBackendPosix checks the calendar
    // between them).
    EXPECT_EQ(fields(-1), (std::vector<int>{1969, 12, 31, 365, WEDNESDAY, 23, 59, 59}));
    EXPECT_EQ(fields(kLastTick), (std::vector<int>{30828, 9, 14, 258, THURSDAY, 2, 48, 5}));
    EXPECT_EQ(Date(kOrigin).year(), 1601);
    // Outside the calendar range every field is 0; the conversion to a file
    // time wraps, so the lowest count lands on 1970.
    for (long long ticks : {kOrigin - 1, kLastTick + 1, -100000000000000000LL}) {
        EXPECT_EQ(fields(ticks), std::vector<int>(8, 0)) << ticks;
    }
    EXPECT_EQ(Date(LLONG_MIN).year(), 1970);
    EXPECT_EQ(Date(-1LL).time_of_day(), -1);
    EXPECT_EQ(Date(2004, 12, 31, 13, 14, 15, 0).time_of_day(), 47655000000LL);
    // Field numbers beyond the eight give 0.
    struct FieldDate : Date {
        using Date::from_epoch;
    } d;
    EXPECT_EQ(d.from_epoch(8), 0);
    EXPECT_EQ(d.from_epoch(-1), 0);
}

// Each wrap also pins the unit and the sign of its step, and which date
// subtract() takes from which.
TEST(DateTest, ArithmeticWraps) {
    EXPECT_EQ(TimeSpan(-86400000001LL).days(), -1);
    EXPECT_EQ(TimeSpan(86399999999LL).days(), 0);

    Date top(LLONG_MAX);
    top.add_hours(1);
    EXPECT_EQ(top.time(), LLONG_MIN + 3600000000LL - 1);
    Date low(0LL);
    low.add_days(INT_MIN);  // -2^31 days: 2^31 * 86400000000 wraps in 64 bits
    EXPECT_EQ(low.time(), static_cast<long long>(0ULL - (1ULL << 31) * 86400000000ULL));
    EXPECT_EQ(Date(LLONG_MIN).subtract(Date(1LL)).ticks(), LLONG_MAX);
}

TEST(DateTest, Now) {
    const long long before = Date::now_time();
    const Date now;
    const long long after = Date::now_time();
    EXPECT_LE(before, now.time());
    EXPECT_LE(now.time(), after);
    EXPECT_EQ(now.time() % 1000, 0);  // millisecond clock
}

// The current locale is set by the format tests and chosen from the user's
// language in TimeBackendPosix.UserLanguageFromLocaleVariables.
TEST(LocaleTest, Names) {
    const std::pair<Locale, const wchar_t*> names[] = {
        {*Locale::CHINA, L"zh_CN"},          {Locale(L"", L"", L"X", 0), L""},
        {Locale(L"en", L"", L"", 0), L"en"}, {Locale(L"", L"CN", L"", 0), L"_CN"},
        {Locale(L"zh", L"", L"X", 0), L"zh__X"}, {Locale(L"de", L"DE", L"euro", 276), L"de_DE_euro"}};
    for (const auto& n : names) EXPECT_EQ(n.first.to_string(), n.second) << zop_test::narrow(n.second);

}

// The zone of the operating system, when the test run says which one it
// set: ZOP_TEST_ZONE_MINUTES east of UTC, with TZ set to match, and under
// Wine ZOP_TEST_WINE_ZONE_MINUTES where Wine maps the zone to a Windows zone
// with another offset than Windows has (tests/CMakeLists.txt names them).
// Formatting and parsing at such offsets: ZoneMatrix in the internal tests.
TEST(TimeZoneTest, OperatingSystemZone) {
    const char* minutes = std::getenv("ZOP_TEST_ZONE_MINUTES");
    if (minutes == nullptr) GTEST_SKIP() << "the run did not set the system's zone";
    const char* wine_minutes = std::getenv("ZOP_TEST_WINE_ZONE_MINUTES");
    if (wine_minutes != nullptr && zop_test::under_wine()) minutes = wine_minutes;
    const long long expected = std::atoll(minutes) * 60000000LL;
    EXPECT_EQ(TimeZone::current_time_zone()->utc_offset(Date(0LL)), expected);
}

// A UTC minute, the zone's offset then (minutes east) and whether daylight
// time applies.  `read` is the local text that reads back as that minute:
// the one shown for it when null, none when empty (the second run of a
// repeated hour), or a time the clocks skip, which moves forward to it.
struct Row { const wchar_t* utc; int minutes; bool daylight; const wchar_t* read = nullptr; };
// Under Wine a zone with a reason is checked in standard time only.
struct ZoneCase { const char* tz; const char* wine_reason; std::vector<Row> rows; };

// Times in the Chinese short date-time pattern, around each change of 2026;
// past years with rules of their own: Sydney 2007 and 2008, St. John's with
// its changes at 00:01 until 2011.
const wchar_t* const kNone = L"";
const ZoneCase kZones[] = {
    {"Europe/London", nullptr,
     {{L"2026-3-29 00:59", 0, false}, {L"2026-3-29 01:00", 60, true, L"2026-3-29 01:00"},
      {L"2026-10-25 00:59", 60, true}, {L"2026-10-25 01:00", 0, false, kNone}}},
    {"Australia/Sydney", nullptr,
     {{L"2026-4-4 15:59", 660, true}, {L"2026-4-4 16:00", 600, false, kNone}, {L"2026-10-3 15:59", 600, false},
      {L"2026-10-3 16:00", 660, true, L"2026-10-4 02:00"}, {L"2026-12-31 14:00", 660, true},
      {L"2007-3-24 16:30", 600, false, kNone}, {L"2008-4-5 15:59", 660, true}}},
    {"Australia/Lord_Howe",
     "Wine matches it to no Windows zone (Windows has Lord Howe Standard Time): it makes up rules for "
     "the current year alone, with a daylight shift of an hour instead of 30 minutes",
     {{L"2026-4-4 14:59", 660, true}, {L"2026-4-4 15:00", 630, false, kNone}, {L"2026-10-3 15:29", 630, false},
      {L"2026-10-3 15:30", 660, true, L"2026-10-4 02:00"}, {L"2010-1-15 00:00", 660, true}}},
    {"America/St_Johns", nullptr,
     {{L"2026-3-8 05:29", -210, false}, {L"2026-3-8 05:30", -150, true, L"2026-3-8 02:00"},
      {L"2026-11-1 04:29", -150, true}, {L"2026-11-1 04:30", -210, false, kNone}, {L"2010-3-14 04:00", -150, true}}},
    {"Asia/Kolkata", nullptr, {{L"2026-1-15 12:00", 330, false}, {L"2026-7-15 12:00", 330, false}}},
    // The tz database flags Irish winter time as daylight time; Windows does not.
    {"Europe/Dublin",
     "Wine maps it to W. Central Africa Standard Time (UTC+1, no daylight time); Windows has GMT Standard Time",
     {{L"2026-7-15 12:00", 60, true}}},
    {"UTC", nullptr, {{L"2026-7-1 12:00", 0, false}}},
};

struct Utc final : TimeZone {
    long long utc_offset(const Date&) const override { return 0; }
    bool is_daylight_time(const Date&) const override { return false; }
};

// The zone the run set through TZ (tests/CMakeLists.txt), with its rules,
// shown and read by a ZonedDateFormat at its whole offset.
TEST(DaylightTimeZoneTest, RunZone) {
    const char* tz = std::getenv("ZOP_TEST_DAYLIGHT_ZONE");
    if (tz == nullptr) GTEST_SKIP() << "the run did not set the system's zone";
    const ZoneCase* zone = std::find_if(std::begin(kZones), std::end(kZones),
                                        [&](const ZoneCase& z) { return z.tz == std::string(tz); });
    ASSERT_NE(zone, std::end(kZones)) << tz;
    const bool wine = zop_test::under_wine() && zone->wine_reason != nullptr;
    if (wine) std::printf("Wine differs from Windows for %s: %s\n", tz, zone->wine_reason);
    zop_test::LocaleScope scope(Locale::CHINA);
    const Utc utc;
    const DaylightTimeZone system;
    const ZonedDateFormat in_utc(utc), local(system);
    for (const Row& row : zone->rows) {
        if (wine && row.daylight) continue;
        const Date date(in_utc.parse(row.utc)), shifted(date.time() + row.minutes * 60000000LL);
        const std::wstring shown = in_utc.format_full(&shifted, SHORT_DATE_TIME);
        EXPECT_EQ(local.format_full(&date, SHORT_DATE_TIME), shown) << zop_test::narrow(row.utc);
        EXPECT_EQ(system.is_daylight_time(date), row.daylight) << zop_test::narrow(row.utc);
        const std::wstring read = row.read != nullptr ? row.read : shown;
        if (!read.empty()) {
            EXPECT_EQ(local.parse(read), date.time()) << zop_test::narrow(read);
        }
    }
    // Dates beyond the calendar take the offset of its nearest day.
    EXPECT_EQ(system.utc_offset(Date(LLONG_MIN)), system.utc_offset(Date(1601, 1, 2, 0, 0, 0, 0)));
    EXPECT_EQ(system.utc_offset(Date(LLONG_MAX)), system.utc_offset(Date(910670428800000000LL)));
}

}  // namespace
