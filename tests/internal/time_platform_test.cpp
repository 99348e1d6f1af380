// The platform layer's calendar conversion, language and the registry of
// languages; the same answers are expected from both backends.
#include "internal/last_error_test_support.h"
#include "sys/error.h"
#include "sys/time.h"
#include "time/locale_internal.h"

#include <zop/time.h>

#include <gtest/gtest.h>

namespace {

using namespace zop;

sys::CalendarTime calendar(int y, int mo, int d, int h, int mi, int s, int ms, int dow = 0) {
    auto w = [](int v) { return static_cast<std::uint16_t>(v); };
    return sys::CalendarTime{w(y), w(mo), w(dow), w(d), w(h), w(mi), w(s), w(ms)};
}

TEST(TimePlatform, CalendarToFileTimeValidates) {
    std::uint64_t ft = 1;
    ASSERT_TRUE(sys::calendar_to_file_time(calendar(1601, 1, 1, 0, 0, 0, 0), ft));
    EXPECT_EQ(ft, 0u);
    ASSERT_TRUE(sys::calendar_to_file_time(calendar(30827, 12, 31, 23, 59, 59, 999), ft));
    EXPECT_EQ(ft, 0x7FFF35F4F06C58F0ULL);
    ASSERT_TRUE(sys::calendar_to_file_time(calendar(2000, 1, 1, 0, 0, 0, 0, 9), ft));
    EXPECT_EQ(ft, 0x01BF53EB256D4000ULL);  // the day of week is ignored
    // Some systems accept years past 30827 and 29 February of any year.
    const sys::CalendarTime bad[] = {
        calendar(1600, 12, 31, 0, 0, 0, 0), calendar(30828, 1, 1, 0, 0, 0, 0),
        calendar(2000, 13, 1, 0, 0, 0, 0),  calendar(2001, 2, 29, 0, 0, 0, 0),
        calendar(2000, 1, 1, 24, 0, 0, 0),  calendar(2000, 1, 1, 0, 0, 0, 1000)};
    for (const sys::CalendarTime& c : bad) {
        EXPECT_EQ(zop_test::error_of([&] { return sys::calendar_to_file_time(c, ft); }), 87u)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(TimePlatform, ConversionsRoundTripAcrossTheRange) {
    // A multiplicative walk over file times from 1601 to 30827, kept to
    // whole milliseconds, which a broken-down time carries.
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::uint64_t ft = (state >> 1) % 0x7FFF35F4F06C58F0ULL / 10000 * 10000;
        sys::CalendarTime c;
        ASSERT_TRUE(sys::file_time_to_calendar(ft, c));
        std::uint64_t back = 0;
        ASSERT_TRUE(sys::calendar_to_file_time(c, back));
        ASSERT_EQ(back, ft) << c.year << "-" << c.month << "-" << c.day;
        // Consecutive days differ by one weekday.
        sys::CalendarTime next;
        ASSERT_TRUE(sys::file_time_to_calendar(ft + 864000000000ULL, next));
        ASSERT_EQ(next.day_of_week, (c.day_of_week + 1) % 7);
    }
}

TEST(TimePlatform, LanguageRegistry) {
    EXPECT_EQ(detail::locale_for_language(0x0804), Locale::CHINA);
    EXPECT_EQ(detail::locale_for_language(0x0C04), Locale::CHINA);
    EXPECT_EQ(detail::locale_for_language(0x0404), Locale::TAIWAN);
    for (std::uint16_t id : {0x0409, 0x0000, 0x007F, 0x0400, 0x0800, 0x0407, 0x1004, 0xFFFF}) {
        EXPECT_EQ(detail::locale_for_language(id), Locale::US) << id;
    }
    // With no locale set, the user's language decides.
    const Locale* saved = Locale::current_locale();
    Locale::current_locale(nullptr);
    EXPECT_EQ(Locale::current_locale(), detail::locale_for_language(sys::user_default_language()));
    Locale::current_locale(saved);
}

TEST(TimePlatform, ZoneSettingsAreConsistent) {
    sys::TimeZoneSettings settings;
    const std::uint32_t id = sys::time_zone_information(settings);
    ASSERT_NE(id, sys::kZoneIdInvalid);
    EXPECT_FALSE(settings.standard_name.empty());
    // A zone with daylight time has a transition; one without has none.
    EXPECT_EQ(settings.daylight_date.month != 0, id != sys::kZoneIdUnknown);
    EXPECT_EQ(TimeZone::current_time_zone()->utc_offset(Date(0LL)),
              -(settings.bias + settings.standard_bias) * 60000000LL);
}

}  // namespace
