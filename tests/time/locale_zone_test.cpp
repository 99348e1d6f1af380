#include <zop/time.h>

#include "time/date_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace zop;

TEST(LocaleTest, PredefinedLocales) {
    ASSERT_NE(Locale::CHINA, nullptr);
    ASSERT_NE(Locale::US, nullptr);
    ASSERT_NE(Locale::TAIWAN, nullptr);
    EXPECT_EQ(Locale::CHINA->to_string(), L"zh_CN");
    EXPECT_EQ(Locale::US->to_string(), L"en_US");
    EXPECT_EQ(Locale::TAIWAN->to_string(), L"zh_TW");
    EXPECT_EQ(Locale::CHINA->country_code, 156);
    EXPECT_EQ(Locale::US->country_code, 840);
    EXPECT_EQ(Locale::TAIWAN->country_code, 158);
    EXPECT_TRUE(Locale::TAIWAN->variant.empty());
}

TEST(LocaleTest, ToStringJoinsThePartsThatArePresent) {
    EXPECT_EQ(Locale(L"", L"", L"", 0).to_string(), L"");
    EXPECT_EQ(Locale(L"", L"", L"X", 0).to_string(), L"");
    EXPECT_EQ(Locale(L"en", L"", L"", 0).to_string(), L"en");
    EXPECT_EQ(Locale(L"", L"CN", L"", 0).to_string(), L"_CN");
    EXPECT_EQ(Locale(L"zh", L"", L"X", 0).to_string(), L"zh__X");
    EXPECT_EQ(Locale(L"de", L"DE", L"euro", 276).to_string(), L"de_DE_euro");

    Locale copy(*Locale::TAIWAN);
    EXPECT_EQ(copy.to_string(), L"zh_TW");
    copy = *Locale::US;
    EXPECT_EQ(copy.to_string(), L"en_US");
    EXPECT_EQ(copy.country_code, 840);
}

TEST(LocaleTest, CurrentLocaleCanBeReplacedAndChosenAgain) {
    const Locale* chosen = Locale::current_locale();
    EXPECT_TRUE(chosen == Locale::CHINA || chosen == Locale::US || chosen == Locale::TAIWAN);
    {
        zop_test::LocaleScope scope(Locale::TAIWAN);
        EXPECT_EQ(Locale::current_locale(), Locale::TAIWAN);
        const Locale mine(L"fr", L"FR", L"", 250);
        Locale::current_locale(&mine);
        EXPECT_EQ(Locale::current_locale(), &mine);
        Locale::current_locale(nullptr);  // back to the user's language
        EXPECT_EQ(Locale::current_locale(), chosen);
    }
    EXPECT_EQ(Locale::current_locale(), chosen);
}

TEST(TimeZoneTest, CurrentZoneIsSharedUntilDeleted) {
    TimeZone* zone = TimeZone::current_time_zone();
    ASSERT_NE(zone, nullptr);
    EXPECT_EQ(TimeZone::current_time_zone(), zone);
    EXPECT_EQ(TimeZone::del_current_time_zone(), 1);
    EXPECT_EQ(TimeZone::del_current_time_zone(), 0);
    TimeZone* again = TimeZone::current_time_zone();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->utc_offset(Date(0LL)), TimeZone::current_time_zone()->utc_offset(Date(0LL)));
}

TEST(TimeZoneTest, StandardOffsetAllYearAndLocalTime) {
    const TimeZone* zone = TimeZone::current_time_zone();
    const Date winter(2023, 1, 15, 12, 0, 0, 0);
    const Date summer(2023, 7, 15, 12, 0, 0, 0);
    EXPECT_FALSE(zone->is_daylight_time(winter));
    EXPECT_FALSE(zone->is_daylight_time(summer));
    const long long offset = zone->utc_offset(winter);
    EXPECT_EQ(zone->utc_offset(summer), offset);
    EXPECT_EQ(offset % 60000000, 0);  // whole minutes

    EXPECT_EQ(summer.local_time(), summer.time() + offset);
    Date d(0LL);
    d.local_time(summer.time());
    EXPECT_EQ(d.time(), summer.time() - offset);
}

// The zone of the operating system, when the test run says which one it
// set (ZOP_TEST_ZONE_MINUTES east of UTC, with TZ set to match).
TEST(TimeZoneTest, OperatingSystemZone) {
    const char* minutes = std::getenv("ZOP_TEST_ZONE_MINUTES");
    if (minutes == nullptr) GTEST_SKIP() << "the run did not set the system's zone";
    const long long expected = std::atoll(minutes) * 60000000LL;
    TimeZone::del_current_time_zone();
    EXPECT_EQ(TimeZone::current_time_zone()->utc_offset(Date(0LL)), expected);
    EXPECT_EQ(Date(0LL).local_time(), expected);

    // Formatting shows the whole hours of the offset only.
    zop_test::LocaleScope scope(Locale::CHINA);
    const long long hours = expected / 3600000000LL;
    std::wstring hh = std::to_wstring(hours);
    if (hh.size() < 2) hh = L"0" + hh;
    EXPECT_EQ(Date(0LL).to_time_string(SHORT_TIME), hh + L":00");
    EXPECT_EQ(Date::parse(L"1970-1-1 " + hh + L":00").time(), 0);
}

}  // namespace
