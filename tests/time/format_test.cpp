#include <zop/time.h>

#include "support/test_support.h"
#include "time/date_test_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace zop;
using zop_test::LocaleScope;
using zop_test::local_date;
using zop_test::PatternFormat;

// "年", "月", "日", "星期五", "三月"
const std::wstring kYear = L"\x5E74", kMonth = L"\x6708", kDay = L"\x65E5";
const std::wstring kFriday = L"\x661F\x671F\x4E94", kMarch = L"\x4E09\x6708";

TEST(DateFormatTest, PatternsAndNamesOfEveryLocale) {
    const PatternFormat f;
    const Date d = local_date(2005, 3, 4, 9, 5, 7);
    {
        LocaleScope scope(Locale::US);
        EXPECT_EQ(d.to_string(SHORT_DATE_TIME), L"03/04/2005 09:05");
        EXPECT_EQ(d.to_string(LONG_DATE_TIME), L"Friday, March 04, 2005 09:05:07");
        EXPECT_EQ(d.to_string(LONG_DATE_TIME_JOINED), L"Friday, March 04, 200509:05:07");
        EXPECT_EQ(d.to_date_string(SHORT_DATE), L"03/04/2005");
        EXPECT_EQ(d.to_date_string(LONG_DATE), L"Friday, March 04, 2005");
        EXPECT_EQ(d.to_date_string(MONTH_DAY), L"March 04");
        EXPECT_EQ(d.to_date_string(YEAR_MONTH), L"2005 March");
        EXPECT_EQ(d.to_time_string(SHORT_TIME), L"09:05");
        EXPECT_EQ(d.to_string(static_cast<FullDatePattern>(3)), L"");
        EXPECT_EQ(d.to_date_string(static_cast<DatePattern>(-1)), L"");
        EXPECT_EQ(d.to_time_string(static_cast<TimePattern>(2)), L"");
        EXPECT_EQ(f(local_date(2005, 12, 31, 9, 0), L"MMMM E|MMM e"), L"December Saturday|Dec Sat");
    }
    for (const Locale* chinese : {Locale::CHINA, Locale::TAIWAN}) {
        LocaleScope scope(chinese);
        const std::wstring long_date = L"2005" + kYear + L"3" + kMonth + L"4" + kDay + L" " + kFriday;
        EXPECT_EQ(d.to_string(SHORT_DATE_TIME), L"2005-3-4 09:05");
        EXPECT_EQ(d.to_string(LONG_DATE_TIME), long_date + L" 09:05:07");
        EXPECT_EQ(d.to_string(LONG_DATE_TIME_JOINED), long_date + L"09:05:07");
        EXPECT_EQ(d.to_date_string(MONTH_DAY), kMarch + L"4" + kDay);
        EXPECT_EQ(d.to_date_string(YEAR_MONTH), L"2005" + kYear + kMarch);
        EXPECT_EQ(d.to_time_string(LONG_TIME), L"09:05:07");
        EXPECT_EQ(f(d, L"MMM|MMMM|E|e"), kMarch + L"|" + kMarch + L"|" + kFriday + L"|" + kFriday);
    }
    // A locale without patterns: predefined patterns are empty, explicit
    // patterns get the English names.
    const Locale france(L"fr", L"FR", L"", 250);
    LocaleScope scope(&france);
    EXPECT_EQ(d.to_date_string(LONG_DATE), L"");
    EXPECT_EQ(f(d, L"MMMM E dd"), L"March Friday 04");
    EXPECT_THROW(Date::parse(L"03/04/2005 10:30"), FormatException);
    const Locale far(L"xx", L"XX", L"", 100000);
    Locale::current_locale(&far);
    EXPECT_EQ(d.to_time_string(SHORT_TIME), L"");
}

TEST(DateFormatTest, LettersRunsAndQuotedLiterals) {
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
        {L"'yyyy MM' yyyy", L"yyyy MM 2005"}, {L"'a''", L"a'"}};
    for (const auto& c : cases) EXPECT_EQ(f(d, c[0]), c[1]) << zop_test::narrow(c[0]);
    EXPECT_EQ(f(local_date(2005, 3, 4, 13, 0), L"h|hh|hhh"), L"1|01|01");
    EXPECT_EQ(f(local_date(2005, 3, 4, 12, 0), L"h"), L"12");
    EXPECT_EQ(f(local_date(1999, 12, 31, 23, 59, 59), L"yy yyy"), L"99 1999");
    EXPECT_EQ(f(local_date(2000, 1, 1, 0, 0), L"yy y"), L"00 0");
}

TEST(DateFormatTest, UnformattableDatesNullDatesAndTheSharedInstance) {
    LocaleScope scope(Locale::US);
    const PatternFormat f;
    // Local times outside the calendar range give no text at all.
    EXPECT_EQ(f(Date(LLONG_MIN / 2), L"'at' yyyy"), L"");
    EXPECT_EQ(Date(LLONG_MAX / 2).to_string(LONG_DATE_TIME), L"");
    EXPECT_THROW(f.format(nullptr, L"yyyy"), ArgumentException);
    DateFormat* shared = DateFormat::local_instance();
    EXPECT_EQ(DateFormat::local_instance(), shared);
    EXPECT_THROW(shared->format_full(nullptr, SHORT_DATE_TIME), ArgumentException);
    // Deleted (twice: nothing left to free) and built again on use.
    DateFormat::del_local_instance();
    DateFormat::del_local_instance();
    EXPECT_EQ(local_date(2005, 3, 4, 9, 5).to_string(SHORT_DATE_TIME), L"03/04/2005 09:05");
}

}  // namespace
