#include <zop/time.h>

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
    TimeZone::del_current_time_zone();
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
