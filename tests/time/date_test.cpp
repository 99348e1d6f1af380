#include <zop/time.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace zop;

constexpr long long kOrigin = -11644473600000000LL;  // 1601-01-01 as ticks
constexpr long long kLastTick = 0x7FFFFFFFFFFFFFFFLL / 10 + kOrigin;  // last with fields

// Exposes the field-by-number accessor.
struct FieldDate : Date {
    explicit FieldDate(long long ticks) : Date(ticks) {}
    using Date::from_epoch;
};

FILETIME file_time(unsigned long long value) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<std::uint32_t>(value);
    ft.dwHighDateTime = static_cast<std::uint32_t>(value >> 32);
    return ft;
}

SYSTEMTIME system_time(int y, int mo, int d, int h, int mi, int s, int ms, int dow = 0) {
    SYSTEMTIME st;
    st.wYear = static_cast<std::uint16_t>(y);
    st.wMonth = static_cast<std::uint16_t>(mo);
    st.wDayOfWeek = static_cast<std::uint16_t>(dow);
    st.wDay = static_cast<std::uint16_t>(d);
    st.wHour = static_cast<std::uint16_t>(h);
    st.wMinute = static_cast<std::uint16_t>(mi);
    st.wSecond = static_cast<std::uint16_t>(s);
    st.wMilliseconds = static_cast<std::uint16_t>(ms);
    return st;
}

TEST(DateTest, SevenValueConstructorCounts) {
    EXPECT_EQ(Date(1970, 1, 1, 0, 0, 0, 0).time(), 0);
    EXPECT_EQ(Date(1601, 1, 1, 0, 0, 0, 0).time(), kOrigin);
    EXPECT_EQ(Date(1970, 1, 1, 0, 0, 1, 999).time(), 1999000);
    EXPECT_EQ(Date(9999, 12, 31, 23, 59, 59, 999).time(), 253402300799999000LL);
    EXPECT_EQ(Date(2004, 2, 29, 0, 0, 0, 0).time(), 1078012800000000LL);
    EXPECT_EQ(Date(2000, 2, 29, 12, 0, 0, 0).time(), 951825600000000LL);
}

TEST(DateTest, SevenValueConstructorRejectsUnrepresentableFields) {
    // Year 0 and 10000, months, days, leap days, hour/minute/second limits,
    // and (decided) years before 1601 and milliseconds above 999.
    const unsigned bad[][7] = {
        {0, 1, 1, 0, 0, 0, 0},     {10000, 1, 1, 0, 0, 0, 0}, {2000, 0, 1, 0, 0, 0, 0},
        {2000, 13, 1, 0, 0, 0, 0}, {2000, 1, 0, 0, 0, 0, 0},  {2000, 1, 32, 0, 0, 0, 0},
        {2003, 2, 29, 0, 0, 0, 0}, {1900, 2, 29, 0, 0, 0, 0}, {2003, 4, 31, 0, 0, 0, 0},
        {2000, 1, 1, 24, 0, 0, 0}, {2000, 1, 1, 0, 60, 0, 0}, {2000, 1, 1, 0, 0, 60, 0},
        {2000, 1, 1, 0, 0, 0, 1000}, {1600, 12, 31, 23, 59, 59, 999}, {1, 1, 1, 0, 0, 0, 0},
    };
    for (const auto& f : bad) {
        try {
            Date(f[0], f[1], f[2], f[3], f[4], f[5], f[6]);
            ADD_FAILURE() << "accepted " << f[0] << "-" << f[1] << "-" << f[2] << " " << f[3]
                          << ":" << f[4] << ":" << f[5] << "." << f[6];
        } catch (const OutOfRangeException& e) {
            EXPECT_EQ(e.message(), L"Parameters describe an unrepresentable DateTime.");
        }
    }
}

TEST(DateTest, FileTimesDivideTowardZero) {
    EXPECT_EQ(Date(file_time(0)).time(), kOrigin);
    EXPECT_EQ(Date(file_time(15)).time(), kOrigin + 1);
    // Read as signed: -1 and -15 hundred-nanosecond units.
    EXPECT_EQ(Date(file_time(~0ULL)).time(), kOrigin);
    EXPECT_EQ(Date(file_time(~0ULL - 14)).time(), kOrigin - 1);

    FILETIME ft;
    Date(123456789).to_file_time(ft);
    EXPECT_EQ((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime,
              (123456789ULL + 11644473600000000ULL) * 10);
    EXPECT_EQ(Date(ft).time(), 123456789);
}

TEST(DateTest, SystemTimeRecords) {
    // The day of the week is ignored.
    EXPECT_EQ(Date(system_time(2005, 3, 4, 10, 30, 15, 250, 6)).time(),
              Date(2005, 3, 4, 10, 30, 15, 250).time());
    EXPECT_EQ(Date(system_time(1601, 1, 1, 0, 0, 0, 0)).time(), kOrigin);
    EXPECT_NO_THROW(Date(system_time(30827, 12, 31, 23, 59, 59, 999)));
    for (const SYSTEMTIME& st : {system_time(2005, 2, 29, 0, 0, 0, 0),
                                 system_time(1600, 12, 31, 0, 0, 0, 0),
                                 system_time(30828, 1, 1, 0, 0, 0, 0)}) {
        try {
            Date d(st);
            ADD_FAILURE() << "accepted year " << st.wYear;
        } catch (const ArgumentException& e) {
            // ERROR_INVALID_PARAMETER in the system's words.
            EXPECT_EQ(e.message(), system_error(L"Cannot convert SYSTEMTIME: ", 87));
        }
    }
}

TEST(DateTest, CalendarFields) {
    EXPECT_EQ(Date(0LL).day_of_week(), THURSDAY);
    EXPECT_EQ(Date(0LL).day_of_year(), 1u);
    const FieldDate before(-1LL);  // 1969-12-31 23:59:59.999999
    const int fields[] = {1969, 12, 31, 365, WEDNESDAY, 23, 59, 59};
    for (int field = 0; field < 8; ++field) EXPECT_EQ(before.from_epoch(field), fields[field]);
    EXPECT_EQ(before.time_of_day(), -1);
    EXPECT_EQ(Date(2004, 12, 31, 13, 14, 15, 0).time_of_day(), 47655000000LL);
    EXPECT_EQ(Date(2003, 3, 1, 0, 0, 0, 0).day_of_year(), 60u);
    EXPECT_EQ(Date(2004, 3, 1, 0, 0, 0, 0).day_of_year(), 61u);
    EXPECT_EQ(Date(2003, 7, 1, 0, 0, 0, 0).day_of_year(), 182u);
    EXPECT_EQ(Date(2004, 12, 31, 0, 0, 0, 0).day_of_year(), 366u);
    EXPECT_EQ(Date(1900, 12, 31, 0, 0, 0, 0).day_of_year(), 365u);

    const FieldDate d(Date(2024, 2, 29, 7, 8, 9, 0).time());
    const int expected[] = {2024, 2, 29, 60, THURSDAY, 7, 8, 9};
    for (int field = 0; field < 8; ++field) EXPECT_EQ(d.from_epoch(field), expected[field]);
    EXPECT_EQ(d.from_epoch(8), 0);
    EXPECT_EQ(d.from_epoch(-1), 0);
}

TEST(DateTest, FieldsAreZeroOutsideTheCalendarRange) {
    const FieldDate last(kLastTick);  // 30828-09-14 02:48:05.477580, a Thursday
    const int fields[] = {30828, 9, 14, 258, THURSDAY, 2, 48, 5};
    for (int field = 0; field < 8; ++field) EXPECT_EQ(last.from_epoch(field), fields[field]);
    EXPECT_EQ(Date(kOrigin).year(), 1601);
    // The conversion to a file time wraps: the lowest count lands on 1970.
    EXPECT_EQ(Date(LLONG_MIN).year(), 1970);
    for (long long ticks : {kOrigin - 1, kLastTick + 1, -100000000000000000LL}) {
        const FieldDate d(ticks);
        for (int field = 0; field < 8; ++field) EXPECT_EQ(d.from_epoch(field), 0) << field;
    }
}

TEST(DateTest, ArithmeticWraps) {
    const Date a(2005, 3, 4, 10, 0, 0, 0);
    Date b = a;
    b.add_days(-2);
    b.add_hours(25);
    EXPECT_EQ(a.subtract(b).ticks(), 23 * 3600000000LL);
    EXPECT_EQ(b.subtract(a).days(), 0);
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

TEST(DateTest, LeapYearsAndNow) {
    EXPECT_TRUE(Date::is_leap_year(2000) && Date::is_leap_year(2004));
    EXPECT_FALSE(Date::is_leap_year(1900) || Date::is_leap_year(2003));

    const long long before = Date::now_time();
    const Date now;
    const long long after = Date::now_time();
    EXPECT_LE(before, now.time());
    EXPECT_LE(now.time(), after);
    EXPECT_EQ(now.time() % 1000, 0);  // millisecond clock
}

}  // namespace
