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

constexpr long long kUntouched = 12345;

// do_parse's answer, or kUntouched when it refused (and left the value).
long long parse_by(const std::wstring& text, const std::wstring& pattern) {
    long long ticks = kUntouched;
    const bool ok = PatternFormat().do_parse(text, pattern, ticks);
    EXPECT_EQ(ok, ticks != kUntouched) << zop_test::narrow(text);
    return ticks;
}

// Date::parse's answer, or kUntouched when it threw; try_parse must agree.
long long parse_text(const std::wstring& text) {
    Date tried(kUntouched);
    const bool ok = Date::try_parse(text, tried);
    EXPECT_EQ(ok, tried.time() != kUntouched) << zop_test::narrow(text);
    if (ok) {
        EXPECT_EQ(Date::parse(text).time(), tried.time()) << zop_test::narrow(text);
    } else {
        EXPECT_EQ(zop_test::thrown<FormatException>([&] { Date::parse(text); }),
                  L"The date string format is unexpected") << zop_test::narrow(text);
    }
    return tried.time();
}

// Every locale's predefined patterns, the names that explicit patterns give,
// and the short date-time pattern read back by Date::parse.  In English "/"
// and ":" match anything when reading; spaces are skipped and the rest is
// ignored.  Refused: two digits required, no digit (not even a fullwidth one)
// after a number, the hour is needed, months and hours in range, a space
// skipped where "/" or ":" stands, the pattern's space matched exactly (a
// control character or a digit is no space).  In Chinese "-" must match
// exactly; years from 1601 (decided).  Locales without patterns format
// predefined patterns as nothing, read nothing, and give explicit patterns
// English names.
TEST(DateFormatTest, PatternsAndNamesOfEveryLocale) {
    const Date d = local_date(2005, 3, 4, 9, 5, 7);
    const long long at = local_date(2005, 3, 4, 10, 30).time();
    const std::wstring us = L"Friday, March 04, 2005";
    const std::wstring zh = L"2005" + kYear + L"3" + kMonth + L"4" + kDay + L" " + kFriday;
    const std::vector<std::wstring> chinese{L"", L"2005-3-4", zh, kMarch + L"4" + kDay, L"2005" + kYear + kMarch,
                                            L"2005-3-4 09:05", zh + L" 09:05:07", zh + L"09:05:07", L"",
                                            L"09:05", L"09:05:07", L""};
    const std::wstring zh_names = kMarch + L"|" + kMarch + L"|" + kFriday + L"|" + kFriday;
    const Locale france(L"fr", L"FR", L"", 250), far(L"xx", L"XX", L"", 100000);
    struct Case {
        const Locale* locale;
        std::vector<std::wstring> shown;            // predefined(d)
        std::wstring names;                         // d by "MMM|MMMM|E|e"
        std::vector<const wchar_t*> read, refused;  // read as `at`, refused
    };
    const Case cases[] = {
        {Locale::US,
         {L"", L"03/04/2005", us, L"March 04", L"2005 March", L"03/04/2005 09:05", us + L" 09:05:07",
          us + L"09:05:07", L"", L"09:05", L"09:05:07", L""},
         L"Mar|March|Friday|Fri",
         {L"03/04/2005 10:30", L"03-04-2005 10.30", L"03/04/05 10:30", L"  03/04/2005 \t 10:30",
          L"03/04/2005 10:30 extra"},
         {L"3/4/2005 10:30", L"03/04/2005 10:301", L"03/04/2005 10:30\xFF10", L"03/04/2005",
          L"13/04/2005 10:30", L"03/04/2005 24:00", L"03/0412005 10:30", L"03/04/2005 10 30", L"03/04/2005x10:30",
          L"03/04/2005\x0E" L"10:30", L"03\x3000" L"04/2005 10:30", L"03/04/2005 10:3:", L"03/04/2005010:30"}},
        {Locale::CHINA, chinese, zh_names,
         {L"2005-3-4 10:30", L"2005-03-04 10:30", L"\x3000 2005-3-4\x2028  10:30"}, {}},
        {Locale::TAIWAN, chinese, zh_names, {L"2005-3-4 10:30", L"2005-03-04 10:30"},
         {L"2005/3/4 10:30", L"2005-3-4", L"2005-2-29 10:00", L"1600-12-31 10:00", L"0000-1-1 10:00"}},
        {&france, std::vector<std::wstring>(12), L"Mar|March|Friday|Fri", {}, {L"03/04/2005 10:30"}},
        {&far, std::vector<std::wstring>(12), L"Mar|March|Friday|Fri", {}, {}},
    };
    for (const Case& c : cases) {
        LocaleScope scope(c.locale);
        EXPECT_EQ(predefined(d), c.shown) << zop_test::narrow(c.locale->to_string());
        EXPECT_EQ(PatternFormat()(d, L"MMM|MMMM|E|e"), c.names) << zop_test::narrow(c.locale->to_string());
        for (const wchar_t* text : c.read) EXPECT_EQ(parse_text(text), at) << zop_test::narrow(text);
        for (const wchar_t* text : c.refused) EXPECT_EQ(parse_text(text), kUntouched) << zop_test::narrow(text);
    }
    // The last names of the year and the week; a leap day read.
    LocaleScope scope(Locale::US);
    EXPECT_EQ(PatternFormat()(local_date(2005, 12, 31, 9, 0), L"MMMM E|MMM e"), L"December Saturday|Dec Sat");
    Locale::current_locale(Locale::CHINA);
    EXPECT_EQ(parse_text(L"2004-2-29 10:00"), local_date(2004, 2, 29, 10, 0).time());
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

TEST(DateParseTest, PatternRules) {
    // Two-digit years: below 30 in this century; h only below 12.
    EXPECT_EQ(parse_by(L"29-1-1 0", L"yy-M-d H"), local_date(2029, 1, 1, 0, 0).time());
    EXPECT_EQ(parse_by(L"30-1-1 0", L"yy-M-d H"), local_date(1930, 1, 1, 0, 0).time());
    EXPECT_EQ(parse_by(L"2005 11", L"yyyy h"), local_date(2005, 1, 1, 11, 0).time());
    EXPECT_EQ(parse_by(L"2005 11:05:59", L"yyyy H:m:s"), local_date(2005, 1, 1, 11, 5, 59).time());
    // Adjacent fields need no separator when the pattern goes on with one.
    EXPECT_EQ(parse_by(L"200503041030", L"yyyyMMddHHmm"), local_date(2005, 3, 4, 10, 30).time());
    // A one-digit year is in this century; H not before p, longer runs
    // repeat; a number ends where the pattern goes on with a literal.
    // Defaults: day, month and year 1, minute and second 0; never the hour.
    // Name runs read nothing and leave the field to its default; the rest
    // of the pattern is ignored once the text ends; a quote left open runs
    // to the pattern's end.
    const wchar_t* at_seven[][2] = {{L"2005 7", L"yyyy H"}, {L"2005 7", L"yyyy MMMdddH"},
                                    {L"at 2005 7", L"'at' yyyy H"}, {L"2005 7Z", L"yyyy HZ"},
                                    {L"E2005 7", L"Eyyyy H"}, {L"2005x7", L"yyyy//H"},
                                    {L"2005 7", L"yyyy H 'never' z"}, {L"2005 7:0", L"yyyy H:m"},
                                    {L"2005 07", L"yyyy HH"}, {L"05.07", L"yy.HH"}, {L"2005 7x", L"yyyy H'x"},
                                    {L"5 7", L"y H"}, {L"2005 7x", L"yyyy hpx"}, {L"2005 7x", L"yyyy Hx"}};
    for (const auto& a : at_seven) {
        EXPECT_EQ(parse_by(a[0], a[1]), local_date(2005, 1, 1, 7, 0).time()) << zop_test::narrow(a[1]);
    }
    // Refused: a second year field; "yyy" takes exactly two digits, then "0";
    // the default year 1 is before 1601, and so is a three-digit year; hours
    // out of their forms' ranges; minutes from 60; 55 is no hour; the text
    // ends inside a literal or differs from it; reserved letters match
    // nothing; a field twice; no hour; two digits where two are needed; no
    // digit after a field's last one (checked apart on the fast path of fixed
    // layouts).
    const wchar_t* refused[][2] = {
        {L"1999 7", L"yyyyy H"}, {L"2005 7", L"yyy H"}, {L"7", L"H"}, {L"2005 12", L"yyyy h"},
        {L"2005 11x", L"yyyy Hpx"}, {L"2005 1122", L"yyyy HHH"}, {L"2005 11 12", L"yyyy HHH"},
        {L"2005 11 12", L"yyyy H h"}, {L"2005 11:60", L"yyyy H:m"}, {L"2005 55x", L"yyyy Hx"},
        {L"2005 7 a", L"yyyy H 'abc'"}, {L"2005 7 abd", L"yyyy H 'abc'"}, {L"2005 7z", L"yyyy HZ"},
        {L"2005 7z", L"yyyy Hz"}, {L"Fri 2005 7", L"E yyyy H"}, {L"2005 11 12", L"yyyy HH HH"},
        {L"2005-03-04", L"yyyy-MM-dd"}, {L"2005030:1030", L"yyyyMMddHHmm"}, {L"205 7", L"yyyy H"},
        {L"2005+03-04 10:30", L"yyyy-MM-dd HH:mm"}, {L"2005 03 04 10:30", L"yyyy-MM-dd HH:mm"},
        {L"2005/03/04/10 30", L"yyyy/MM/dd/HH:mm"}, {L"2005\x0E" L"07", L"yyyy HH"},
        {L"2005 071", L"yyyy HH"}, {L"20051 07", L"yyyy HH"}};
    for (const auto& r : refused) EXPECT_EQ(parse_by(r[0], r[1]), kUntouched) << zop_test::narrow(r[1]);
    // A class that defines parse() itself gets parse()'s answer from the
    // default try_parse (PatternFormat's parse() answers 0).
    Date tried(kUntouched);
    EXPECT_TRUE(PatternFormat().try_parse(L"any", tried));
    EXPECT_EQ(tried.time(), 0);
}

}  // namespace
