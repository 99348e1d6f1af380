#include <zop/time.h>

#include "support/test_support.h"
#include "time/date_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using namespace zop;
using zop_test::LocaleScope;
using zop_test::local_date;
using zop_test::PatternFormat;

// "年", "月", "日", "星期五", "三月"
const std::wstring kYear = L"\x5E74", kMonth = L"\x6708", kDay = L"\x65E5";
const std::wstring kFriday = L"\x661F\x671F\x4E94", kMarch = L"\x4E09\x6708";

// Every predefined pattern, with one number out of range at the start
// (date patterns) and after the full and the time patterns.
std::vector<std::wstring> predefined(const Date& d) {
    std::vector<std::wstring> all{d.to_date_string(static_cast<DatePattern>(-1))};
    for (int w = 0; w <= 3; ++w) all.push_back(d.to_date_string(static_cast<DatePattern>(w)));
    for (int w = 0; w <= 3; ++w) all.push_back(d.to_string(static_cast<FullDatePattern>(w)));
    for (int w = 0; w <= 2; ++w) all.push_back(d.to_time_string(static_cast<TimePattern>(w)));
    return all;
}

TEST(DateFormatTest, PatternsAndNamesOfEveryLocale) {
    const PatternFormat f;
    const Date d = local_date(2005, 3, 4, 9, 5, 7);
    LocaleScope scope(Locale::US);
    const std::wstring us = L"Friday, March 04, 2005";
    EXPECT_EQ(predefined(d),
              (std::vector<std::wstring>{L"", L"03/04/2005", us, L"March 04", L"2005 March",
                                         L"03/04/2005 09:05", us + L" 09:05:07", us + L"09:05:07", L"", L"09:05",
                                         L"09:05:07", L""}));
    EXPECT_EQ(f(local_date(2005, 12, 31, 9, 0), L"MMMM E|MMM e"), L"December Saturday|Dec Sat");
    const std::wstring zh = L"2005" + kYear + L"3" + kMonth + L"4" + kDay + L" " + kFriday;
    for (const Locale* chinese : {Locale::CHINA, Locale::TAIWAN}) {
        Locale::current_locale(chinese);
        EXPECT_EQ(predefined(d), (std::vector<std::wstring>{L"", L"2005-3-4", zh, kMarch + L"4" + kDay,
                                                            L"2005" + kYear + kMarch, L"2005-3-4 09:05",
                                                            zh + L" 09:05:07", zh + L"09:05:07", L"",
                                                            L"09:05", L"09:05:07", L""}));
        EXPECT_EQ(f(d, L"MMM|MMMM|E|e"), kMarch + L"|" + kMarch + L"|" + kFriday + L"|" + kFriday);
    }
    // Locales without patterns: predefined patterns are empty, explicit
    // patterns get the English names.
    const Locale france(L"fr", L"FR", L"", 250), far(L"xx", L"XX", L"", 100000);
    Locale::current_locale(&france);
    EXPECT_EQ(predefined(d), std::vector<std::wstring>(12));
    EXPECT_EQ(f(d, L"MMMM E dd"), L"March Friday 04");
    EXPECT_THROW(Date::parse(L"03/04/2005 10:30"), FormatException);
    Locale::current_locale(&far);
    EXPECT_EQ(predefined(d), std::vector<std::wstring>(12));
}

TEST(DateFormatTest, LettersRunsQuotedLiteralsAndUnformattableDates) {
    LocaleScope scope(Locale::US);
    const PatternFormat f;
    const Date d = local_date(2005, 3, 4, 0, 5, 7);
    // An unterminated literal runs to the end; '' right after the opening
    // quote closes an empty literal.
    const wchar_t* cases[][2] = {
        {L"y|yy|yyy|yyyy|yyyyy", L"5|05|2005|2005|2005"}, {L"M|MM|MMM|MMMM|MMMMMM", L"3|03|Mar|March|March"},
        {L"d|dd|ddd H|HH|HHH m|mm s|ss", L"4|04|04 0|00|00 5|05 7|07"}, {L"h hh", L"12 12"},
        {L"EE e w", L"FridayFriday Fri 5"}, {L"[pGWZgz]", L"[]"}, {L"", L""},
        {L"x-Q/T", L"x-Q/T"}, {L"h 'o''clock'", L"12 o'clock"}, {L"It's", L"Its"}, {L"''yyyy''", L"2005"},
        {L"'yyyy MM' yyyy", L"yyyy MM 2005"}, {L"'a''", L"a'"}, {L"'''yy'", L"yy"}};
    for (const auto& c : cases) EXPECT_EQ(f(d, c[0]), c[1]) << zop_test::narrow(c[0]);
    EXPECT_EQ(f(local_date(2005, 3, 4, 13, 0), L"h|hh|hhh"), L"1|01|01");
    EXPECT_EQ(f(local_date(2005, 3, 4, 12, 0), L"h"), L"12");
    EXPECT_EQ(f(local_date(1999, 12, 31, 23, 59, 59), L"yy yyy"), L"99 1999");
    EXPECT_EQ(f(local_date(2000, 1, 1, 0, 0), L"yy y"), L"00 0");
    // Local times outside the calendar range give no text at all.
    EXPECT_EQ(f(Date(LLONG_MIN / 2), L"'at' yyyy"), L"");
    EXPECT_EQ(Date(LLONG_MAX / 2).to_string(LONG_DATE_TIME), L"");
    EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { f.format(nullptr, L"yyyy"); }), L"The date is null.");
    DateFormat* shared = DateFormat::local_instance();
    EXPECT_EQ(DateFormat::local_instance(), shared);
    // Deleted (twice: nothing left to free) and built again on use.
    DateFormat::del_local_instance();
    DateFormat::del_local_instance();
    EXPECT_EQ(local_date(2005, 3, 4, 9, 5).to_string(SHORT_DATE_TIME), L"03/04/2005 09:05");
}

}  // namespace
