// Formatting and parsing under zones of the tests' choosing, installed in
// place of the operating system's settings on every system.
#include "time/time_zone_internal.h"

#include <zop/time.h>

#include "support/test_support.h"
#include "time/date_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace zop;
using zop_test::LocaleScope;

// Settings as GetTimeZoneInformation reports them, for a zone without
// daylight time (Windows still reports a daylight bias of -60).
sys::TimeZoneSettings g_settings;
bool g_refuse = false;

std::uint32_t fake_settings(sys::TimeZoneSettings& settings) {
    if (g_refuse) return sys::kZoneIdInvalid;
    settings = g_settings;
    return sys::kZoneIdUnknown;
}

// Makes the zone with these biases current for the test's duration.
class ZoneScope {
public:
    ZoneScope(int bias, int standard_bias = 0, int daylight_bias = -60) {
        g_settings = sys::TimeZoneSettings();
        g_settings.bias = bias;
        g_settings.standard_bias = standard_bias;
        g_settings.daylight_bias = daylight_bias;
        g_refuse = false;
        detail::time_zone_source(&fake_settings);
        TimeZone::del_current_time_zone();
    }
    ~ZoneScope() {
        detail::time_zone_source(nullptr);
        TimeZone::del_current_time_zone();
    }
};

// "年", "月", "日", "星期四"
const std::wstring kChineseEpochDate =
    L"1970\x5E74" L"1\x6708" L"1\x65E5 \x661F\x671F\x56DB";

TEST(ZoneMatrix, UtcFormatsTheEpochInEveryLocale) {
    ZoneScope zone(0);
    const Date epoch(0LL);
    {
        LocaleScope scope(Locale::US);
        EXPECT_EQ(epoch.to_string(SHORT_DATE_TIME), L"01/01/1970 00:00");
        EXPECT_EQ(epoch.to_string(LONG_DATE_TIME), L"Thursday, January 01, 1970 00:00:00");
        EXPECT_EQ(Date::parse(L"01/01/1970 00:00").time(), 0);
    }
    for (const Locale* chinese : {Locale::CHINA, Locale::TAIWAN}) {
        LocaleScope scope(chinese);
        EXPECT_EQ(epoch.to_string(SHORT_DATE_TIME), L"1970-1-1 00:00");
        EXPECT_EQ(epoch.to_string(LONG_DATE_TIME), kChineseEpochDate + L" 00:00:00");
        EXPECT_EQ(Date::parse(L"1970-1-1 00:00").time(), 0);
    }
    EXPECT_EQ(epoch.local_time(), 0);
}

TEST(ZoneMatrix, ChinaStandardTimeIgnoresItsDaylightBias) {
    ZoneScope zone(-480, 0, -60);
    const TimeZone* tz = TimeZone::current_time_zone();
    EXPECT_EQ(tz->utc_offset(Date(2005, 1, 10, 0, 0, 0, 0)), 28800000000LL);
    EXPECT_EQ(tz->utc_offset(Date(2005, 7, 10, 0, 0, 0, 0)), 28800000000LL);
    EXPECT_EQ(Date(0LL).local_time(), 28800000000LL);
    for (const Locale* locale : {Locale::US, Locale::CHINA, Locale::TAIWAN}) {
        LocaleScope scope(locale);
        EXPECT_EQ(Date(0LL).to_time_string(LONG_TIME), L"08:00:00");
    }
    LocaleScope scope(Locale::CHINA);
    EXPECT_EQ(Date(0LL).to_string(SHORT_DATE_TIME), L"1970-1-1 08:00");
    EXPECT_EQ(Date::parse(L"1970-1-1 08:00").time(), 0);
    EXPECT_EQ(Date(-1LL).to_string(SHORT_DATE_TIME), L"1970-1-1 07:59");
}

TEST(ZoneMatrix, HalfHourZonesShiftFormattingByWholeHours) {
    {
        ZoneScope zone(-330);  // UTC+5:30
        EXPECT_EQ(Date(0LL).local_time(), 19800000000LL);
        LocaleScope scope(Locale::US);
        EXPECT_EQ(Date(0LL).to_string(SHORT_DATE_TIME), L"01/01/1970 05:00");
        EXPECT_EQ(Date::parse(L"01/01/1970 05:00").time(), 0);
        Date d(0LL);
        d.local_time(19800000000LL);
        EXPECT_EQ(d.time(), 0);
    }
    {
        ZoneScope zone(210);  // UTC-3:30
        LocaleScope scope(Locale::TAIWAN);
        EXPECT_EQ(Date(0LL).to_string(SHORT_DATE_TIME), L"1969-12-31 21:00");
        EXPECT_EQ(Date::parse(L"1969-12-31 21:00").time(), 0);
        EXPECT_EQ(Date(0LL).local_time(), -12600000000LL);
    }
}

TEST(ZoneMatrix, StandardBiasAddsToTheBias) {
    ZoneScope zone(300, 60, -60);  // standard time six hours behind UTC
    EXPECT_EQ(TimeZone::current_time_zone()->utc_offset(Date(0LL)), -21600000000LL);
    LocaleScope scope(Locale::US);
    EXPECT_EQ(Date(0LL).to_time_string(SHORT_TIME), L"18:00");
    // The dates at the ends of the calendar format only while their local
    // time stays inside it.
    EXPECT_EQ(Date(-11644473600000000LL).to_string(SHORT_DATE_TIME), L"");
    EXPECT_EQ(Date(-11644473600000000LL + 6 * 3600000000LL).to_string(SHORT_DATE_TIME),
              L"01/01/1601 00:00");
}

TEST(ZoneMatrix, RefusedSettingsLeaveNoZone) {
    ZoneScope zone(0);
    g_refuse = true;
    TimeZone::del_current_time_zone();
    EXPECT_EQ(zop_test::thrown<InvalidOperationException>([&] { TimeZone::current_time_zone(); }),
              L"Can't get timezone information.");
    EXPECT_THROW(Date(0LL).to_string(SHORT_DATE_TIME), InvalidOperationException);
    EXPECT_EQ(TimeZone::del_current_time_zone(), 0);
    g_refuse = false;
    EXPECT_EQ(TimeZone::current_time_zone()->utc_offset(Date(0LL)), 0);
}

}  // namespace
