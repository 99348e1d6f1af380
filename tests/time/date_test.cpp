#include <zop/time.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <climits>
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
    EXPECT_EQ(Date(1970, 1, 1, 0, 0, 1, 999).time(), 1999000);
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
    // The last day of every month of a common year, and the day after it.
    const unsigned last[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (unsigned m = 1; m <= 12; ++m) {
        EXPECT_EQ(Date(2003, m, last[m - 1], 0, 0, 0, 0).day(), last[m - 1]);
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

TEST(DateTest, ArithmeticWraps) {
    const Date a(2005, 3, 4, 10, 0, 0, 0);
    Date b = a;
    b.add_days(-2);
    b.add_hours(25);
    EXPECT_EQ(a.subtract(b).ticks(), 23 * 3600000000LL);
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

}  // namespace
