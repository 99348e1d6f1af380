// The platform layer's calendar conversion, language and the registry of
// languages; the same answers are expected from both backends.
#include "internal/last_error_test_support.h"
#include "sys/error.h"
#include "sys/time.h"
#include "time/locale_internal.h"

#include <zop/time.h>

#include <gtest/gtest.h>

#include <utility>

namespace {

using namespace zop;

sys::CalendarTime calendar(int y, int mo, int d, int h, int mi, int s, int ms, int dow = 0) {
    auto w = [](int v) { return static_cast<std::uint16_t>(v); };
    return sys::CalendarTime{w(y), w(mo), w(dow), w(d), w(h), w(mi), w(s), w(ms)};
}

TEST(TimePlatform, CalendarToFileTimeValidates) {
    // The last representable millisecond (1601 and the ignored day of the
    // week: DateTest.ConstructorsCountFromTheFieldsOrTheFileTime).
    std::uint64_t ft = 1;
    ASSERT_TRUE(sys::calendar_to_file_time(calendar(30827, 12, 31, 23, 59, 59, 999), ft));
    EXPECT_EQ(ft, 0x7FFF35F4F06C58F0ULL);
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

TEST(TimePlatform, LanguageRegistry) {
    const std::pair<std::uint16_t, const Locale*> ids[] = {
        {0x0804, Locale::CHINA}, {0x0C04, Locale::CHINA}, {0x0404, Locale::TAIWAN}, {0x0409, Locale::US},
        {0x0000, Locale::US},    {0x007F, Locale::US},    {0x0400, Locale::US},     {0x0800, Locale::US},
        {0x0407, Locale::US},    {0x1004, Locale::US},    {0xFFFF, Locale::US}};
    for (const auto& id : ids) EXPECT_EQ(detail::locale_for_language(id.first), id.second) << id.first;
    // With no locale set, the user's language decides.
    const Locale* saved = Locale::current_locale();
    Locale::current_locale(nullptr);
    EXPECT_EQ(Locale::current_locale(), detail::locale_for_language(sys::user_default_language()));
    Locale::current_locale(saved);
}

}  // namespace
