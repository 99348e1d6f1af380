// The POSIX backend of the time layer against the C library: calendar
// arithmetic, zones from TZ, the language from the locale variables.
#include "sys/time.h"
#include "time/calendar.h"
#include "time/date_test_support.h"

#include <zop/time.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace zop;

// Sets (or, with null, unsets) an environment variable for a scope.
struct EnvScope {
    EnvScope(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) saved = old;
        set(value);
    }
    ~EnvScope() { set(saved ? saved->c_str() : nullptr); }
    void set(const char* value) {
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
        ::tzset();
    }
    const char* name;
    std::optional<std::string> saved;
};

TEST(TimeBackendPosix, CalendarAgreesWithTheCLibrary) {
    // A multiplicative walk over file times from 1601 to 30827, kept to
    // whole milliseconds, which a broken-down time carries; each is also
    // converted back.
    constexpr long long kUnixEpochSeconds = 11644473600LL;  // 1601 to 1970
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::uint64_t ft = (state >> 1) % 0x7FFF35F4F06C58F0ULL / 10000 * 10000;
        const std::time_t t = static_cast<std::time_t>(ft / 10000000) - kUnixEpochSeconds;
        std::tm tm{};
        ASSERT_NE(::gmtime_r(&t, &tm), nullptr);
        sys::CalendarTime c;
        ASSERT_TRUE(sys::file_time_to_calendar(ft, c));
        const int yday = static_cast<int>(detail::day_of_year(c.year, c.month, c.day));
        ASSERT_EQ((std::vector<int>{c.year, c.month, c.day, yday, c.day_of_week, c.hour, c.minute, c.second,
                                    c.milliseconds}),
                  (std::vector<int>{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_yday + 1, tm.tm_wday,
                                    tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ft / 10000 % 1000)}))
            << ft;
        std::uint64_t back = 0;
        ASSERT_TRUE(sys::calendar_to_file_time(c, back));
        ASSERT_EQ(back, ft) << ft;
    }
}

// A transition rule as month, week, day of week and hour.
std::vector<int> rule(const sys::CalendarTime& t) { return {t.month, t.day, t.day_of_week, t.hour}; }

// POSIX TZ strings and zones of the tz database (the tzdata package).  The
// standard offsets (the bias) are checked through the whole library by
// TimeZoneTest.OperatingSystemZone, run under these zones, St. John's
// (3:30 west) and POSIX strings east of UTC; the daylight rules of London,
// Sydney and St. John's at their changes by DaylightTimeZoneTest.RunZone.
TEST(TimeBackendPosix, ZoneSettingsAsWindowsGivesThem) {
    const std::vector<int> none{0, 0, 0, 0};
    const std::vector<int> yearly{};  // rules that move from year to year
    struct Case {
        const char* tz;
        int daylight_bias;
        std::vector<int> daylight_date, standard_date;
        const wchar_t* names;  // standard/daylight
    } cases[] = {
        {"NST3:30", -60, none, none, L"NST/NST"},
        // Irish winter time is daylight time below the standard offset in
        // the tz database; Windows has offset 0 with summer daylight time.
        {"Europe/Dublin", -60, {3, 5, 0, 1}, {10, 5, 0, 2}, L"GMT/IST"},
        {"Australia/Lord_Howe", -30, {10, 1, 0, 2}, {4, 1, 0, 2}, L"+1030/+11"},
        // UTC+1 but for Ramadan, which the tz database makes daylight time
        // below the standard offset: standard offset 0 all the year.
        {"Africa/Casablanca", -60, yearly, yearly, L"+00/+01"},
    };
    for (const Case& c : cases) {
        EnvScope tz("TZ", c.tz);
        sys::TimeZoneSettings s;
        EXPECT_EQ(sys::time_zone_information(s) == sys::kZoneIdUnknown, c.daylight_date == none) << c.tz;
        EXPECT_EQ(s.daylight_bias, c.daylight_bias) << c.tz;
        if (!c.daylight_date.empty()) {
            EXPECT_EQ(rule(s.daylight_date), c.daylight_date) << c.tz;
            EXPECT_EQ(rule(s.standard_date), c.standard_date) << c.tz;
        }
        EXPECT_EQ(s.standard_name + L"/" + s.daylight_name, c.names) << c.tz;
    }
}

// The language, and the locale that the library then chooses when none is
// set: the registry knows Chinese of China, Hong Kong and Taiwan and English
// of the US, and gives the US locale to any other language.
TEST(TimeBackendPosix, UserLanguageFromLocaleVariables) {
    EnvScope all("LC_ALL", nullptr);
    EnvScope messages("LC_MESSAGES", nullptr);
    const zop_test::LocaleScope keep(Locale::current_locale());
    const std::tuple<const char*, std::uint16_t, const Locale*> cases[] = {
        {"zh_CN.UTF-8", 0x0804, Locale::CHINA}, {"zh_TW.Big5", 0x0404, Locale::TAIWAN},
        {"zh_HK", 0x0C04, Locale::CHINA},       {"zh", 0x0804, Locale::CHINA},
        {"en_US.UTF-8", 0x0409, Locale::US},    {"de_DE@euro", 0x0407, Locale::US},
        {"fr_CA", 0x0C0C, Locale::US},          {"xx_YY", 0x0409, Locale::US}};
    for (const auto& [name, language, locale] : cases) {
        EnvScope lang("LANG", name);
        EXPECT_EQ(sys::user_default_language(), language) << name;
        Locale::current_locale(nullptr);
        EXPECT_EQ(Locale::current_locale(), locale) << name;
    }
    // LC_MESSAGES before LANG, LC_ALL before both.
    EnvScope lang("LANG", "en_US.UTF-8");
    EnvScope m("LC_MESSAGES", "zh_TW.UTF-8");
    EXPECT_EQ(sys::user_default_language(), 0x0404);
    EnvScope a("LC_ALL", "zh_CN.UTF-8");
    EXPECT_EQ(sys::user_default_language(), 0x0804);
}

}  // namespace
