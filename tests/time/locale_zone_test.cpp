#include <zop/time.h>

#include "support/test_support.h"
#include "time/date_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace zop;

TEST(LocaleTest, PredefinedLocalesAndNames) {
    ASSERT_TRUE(Locale::CHINA != nullptr && Locale::US != nullptr && Locale::TAIWAN != nullptr);
    EXPECT_EQ(Locale::CHINA->to_string(), L"zh_CN");
    EXPECT_EQ(Locale::US->to_string(), L"en_US");
    EXPECT_EQ(Locale::TAIWAN->to_string(), L"zh_TW");
    EXPECT_EQ(Locale::CHINA->country_code + Locale::US->country_code * 1000 +
                  Locale::TAIWAN->country_code * 1000000,
              158840156);

    EXPECT_EQ(Locale(L"", L"", L"", 0).to_string(), L"");
    EXPECT_EQ(Locale(L"", L"", L"X", 0).to_string(), L"");
    EXPECT_EQ(Locale(L"en", L"", L"", 0).to_string(), L"en");
    EXPECT_EQ(Locale(L"", L"CN", L"", 0).to_string(), L"_CN");
    EXPECT_EQ(Locale(L"zh", L"", L"X", 0).to_string(), L"zh__X");
    EXPECT_EQ(Locale(L"de", L"DE", L"euro", 276).to_string(), L"de_DE_euro");
    Locale copy(*Locale::TAIWAN);
    copy = *Locale::US;
    EXPECT_EQ(copy.to_string(), L"en_US");
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
    EXPECT_NE(TimeZone::current_time_zone(), nullptr);
}

// The zone of the operating system, when the test run says which one it
// set: ZOP_TEST_ZONE_MINUTES east of UTC, with TZ set to match, and under
// Wine ZOP_TEST_WINE_ZONE_MINUTES where Wine maps the zone to a Windows zone
// with another offset than Windows has (tests/CMakeLists.txt names them).
TEST(TimeZoneTest, OperatingSystemZone) {
    const char* minutes = std::getenv("ZOP_TEST_ZONE_MINUTES");
    if (minutes == nullptr) GTEST_SKIP() << "the run did not set the system's zone";
    const char* wine_minutes = std::getenv("ZOP_TEST_WINE_ZONE_MINUTES");
    if (wine_minutes != nullptr && zop_test::under_wine()) minutes = wine_minutes;
    const long long expected = std::atoll(minutes) * 60000000LL;
    TimeZone::del_current_time_zone();
    EXPECT_EQ(TimeZone::current_time_zone()->utc_offset(Date(0LL)), expected);
    EXPECT_EQ(Date(0LL).local_time(), expected);

    // Formatting shows the whole hours of the offset only (-3:30 shows
    // 21:00 of the day before).
    zop_test::LocaleScope scope(Locale::CHINA);
    const long long hours = expected / 3600000000LL;
    std::wstring hh = std::to_wstring((hours + 24) % 24);
    if (hh.size() < 2) hh = L"0" + hh;
    EXPECT_EQ(Date(0LL).to_time_string(SHORT_TIME), hh + L":00");
    EXPECT_EQ(Date::parse((hours < 0 ? L"1969-12-31 " : L"1970-1-1 ") + hh + L":00").time(), 0);
}

}  // namespace
