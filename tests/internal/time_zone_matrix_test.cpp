// Formatting and parsing under zones of the tests' choosing, installed in
// place of the operating system's settings on every system.
#include "time/time_zone_internal.h"

#include <zop/time.h>

#include "support/test_support.h"
#include "time/date_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace zop;

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
    ZoneScope(int bias, int standard_bias = 0) {
        g_settings = sys::TimeZoneSettings();
        g_settings.bias = bias;
        g_settings.standard_bias = standard_bias;
        g_settings.daylight_bias = -60;
        detail::time_zone_source(&fake_settings);
        TimeZone::del_current_time_zone();
    }
    ~ZoneScope() {
        detail::time_zone_source(nullptr);
        TimeZone::del_current_time_zone();
    }
};

// The zone keeps its standard offset all the year (the daylight bias is
// never applied); formatting and parsing shift by its whole hours alone
// (the calendar of the shifted count, below 0 too: DateTest.CalendarFields).
// Settings the system refuses leave no zone.
TEST(ZoneMatrix, StandardOffsetsAndRefusedSettings) {
    struct Case {
        int bias, standard_bias;
        long long offset;          // ticks east of UTC
        const wchar_t* epoch;      // 1970-01-01 00:00 UTC shown
    } cases[] = {
        {0, 0, 0, L"1970-1-1 00:00"},
        {-330, 0, 19800000000LL, L"1970-1-1 05:00"},        // UTC+5:30
        {210, 0, -12600000000LL, L"1969-12-31 21:00"},      // UTC-3:30
        {300, 60, -21600000000LL, L"1969-12-31 18:00"},     // the standard bias adds
    };
    zop_test::LocaleScope scope(Locale::CHINA);
    for (const Case& c : cases) {
        ZoneScope zone(c.bias, c.standard_bias);
        EXPECT_EQ(TimeZone::current_time_zone()->utc_offset(Date(2005, 7, 10, 0, 0, 0, 0)), c.offset);
        EXPECT_EQ(Date(0LL).local_time(), c.offset);
        EXPECT_EQ(Date(0LL).to_string(SHORT_DATE_TIME), c.epoch);
        EXPECT_EQ(Date::parse(c.epoch).time(), 0) << zop_test::narrow(c.epoch);
        Date d(1LL);
        d.local_time(c.offset);
        EXPECT_EQ(d.time(), 0) << c.bias;
    }
    // The first day of the calendar formats only while its local time
    // stays inside it.
    ZoneScope zone(300, 60);
    EXPECT_EQ(Date(-11644473600000000LL).to_string(SHORT_DATE_TIME), L"");
    EXPECT_EQ(Date(-11644473600000000LL + 6 * 3600000000LL).to_string(SHORT_DATE_TIME), L"1601-1-1 00:00");
    // Refused settings leave no zone.
    g_refuse = true;
    TimeZone::del_current_time_zone();
    EXPECT_EQ(zop_test::thrown<InvalidOperationException>([&] { TimeZone::current_time_zone(); }),
              L"Can't get timezone information.");
    EXPECT_THROW(Date(0LL).to_string(SHORT_DATE_TIME), InvalidOperationException);
    EXPECT_EQ(TimeZone::del_current_time_zone(), 0);
    // Accepted again: built once and shared until deleted.
    g_refuse = false;
    TimeZone* shared = TimeZone::current_time_zone();
    EXPECT_EQ(TimeZone::current_time_zone(), shared);
    EXPECT_EQ(TimeZone::del_current_time_zone(), 1);
}

}  // namespace
