#include <zop/time.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace {

using namespace zop;

TEST(LocaleTest, NamesAndTheCurrentLocale) {
    const std::pair<Locale, const wchar_t*> names[] = {
        {*Locale::CHINA, L"zh_CN"},          {Locale(L"", L"", L"X", 0), L""},
        {Locale(L"en", L"", L"", 0), L"en"}, {Locale(L"", L"CN", L"", 0), L"_CN"},
        {Locale(L"zh", L"", L"X", 0), L"zh__X"}, {Locale(L"de", L"DE", L"euro", 276), L"de_DE_euro"}};
    for (const auto& n : names) EXPECT_EQ(n.first.to_string(), n.second) << zop_test::narrow(n.second);

    // Replaced, then chosen again from the user's language.
    const Locale* chosen = Locale::current_locale();
    const Locale mine(L"fr", L"FR", L"", 250);
    Locale::current_locale(&mine);
    EXPECT_EQ(Locale::current_locale(), &mine);
    Locale::current_locale(nullptr);
    EXPECT_EQ(Locale::current_locale(), chosen);
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
    TimeZone::del_current_time_zone();
    EXPECT_EQ(TimeZone::current_time_zone()->utc_offset(Date(0LL)), expected);
}

}  // namespace
