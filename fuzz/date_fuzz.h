// What the two date targets share: the pattern engine made callable, the
// predefined patterns, and which patterns print text that they read back.
#ifndef ZOP_FUZZ_DATE_FUZZ_H
#define ZOP_FUZZ_DATE_FUZZ_H

#include <zop/text.h>
#include <zop/time.h>

#include "fuzz_support.h"
#include "time/date_patterns.h"
#include "time/date_tables.h"
#include "time/date_test_support.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace zop_fuzz {

using zop_test::PatternFormat;

// A zone whose offset has a half hour: formatting and parsing shift by its
// whole hours alone, and must agree on that.  A TZ given from outside wins.
inline void use_fuzz_zone() { setenv("TZ", "IST-5:30", 0); }

// The year of a date as formatting and parsing see it: shifted by the whole
// hours of the zone's offset only.
inline int engine_year(long long ticks) {
    const long long hour = 3600000000LL;
    const long long offset = zop::TimeZone::current_time_zone()->utc_offset(zop::Date(ticks));
    return zop::Date(ticks + offset / hour * hour).year();
}

// Whatever the fixed-layout reading of a pattern accepts, the general
// reading accepts with the same fields (the fixed one fills in the defaults
// the conversion would: minute and second 0, day and month 1, year 1).
inline void check_fixed_agrees(const std::wstring& pattern, const std::wstring& text) {
    using zop::detail::ParsedFields;
    const zop::detail::ParseProgram program(pattern);
    zop::sys::CalendarTime fixed{};
    if (!program.fixed_reading(text, fixed)) return;
    ParsedFields general;
    FUZZ_CHECK(program.general(text, general));
    const int* v = general.value;
    auto or_default = [](int value, int fallback) { return value == -1 ? fallback : value; };
    FUZZ_CHECK(v[ParsedFields::HOUR] == fixed.hour);
    FUZZ_CHECK(or_default(v[ParsedFields::MINUTE], 0) == fixed.minute);
    FUZZ_CHECK(or_default(v[ParsedFields::SECOND], 0) == fixed.second);
    FUZZ_CHECK(or_default(v[ParsedFields::DAY], 1) == fixed.day);
    FUZZ_CHECK(or_default(v[ParsedFields::MONTH], 1) == fixed.month);
    FUZZ_CHECK(or_default(v[ParsedFields::YEAR], 1) == fixed.year);
}

// The predefined patterns of a locale's language.
inline std::vector<std::wstring> predefined_patterns(const zop::Locale* locale) {
    const zop::detail::PatternSet& set = *zop::detail::patterns_for(locale->country_code);
    return {set.short_time.text, set.long_time.text, set.short_date.text,
            set.long_date.text, set.month_day.text, set.year_month.text,
            set.short_date_time.text, set.long_date_time.text, set.long_date_time_joined.text};
}

// Whether parsing by `pattern` reads back every field that formatting by
// it prints.  Patterns that do not are those with
// - names and letters that parsing reads otherwise (MMM, MMMM, E, e, w) or
//   that print nothing (p, G, W, Z, g, z);
// - h, which prints 12 for hour 0 and reads only up to 11;
// - "yyy" (printed whole, read as two digits) and runs of y beyond four,
//   H, m or s beyond two (a field read twice), or any field given twice;
// - runs of '/' or ':' (read as one character of any kind, printed whole);
// - two quotes in a row (a quote inside a literal for formatting, an empty
//   literal for parsing);
// - a one-letter number right before a number letter, a digit or a quote:
//   its digits run into what follows.
inline bool round_trippable(const std::wstring& pattern) {
    if (pattern.find(L"''") != std::wstring::npos) return false;
    bool seen[128] = {};
    bool open_number = false;  // the last step was a one-letter number
    for (std::size_t i = 0; i < pattern.size();) {
        const wchar_t c = pattern[i];
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        const bool number = c == L'y' || c == L'M' || c == L'd' || c == L'H' || c == L'm' || c == L's';
        if (open_number && (number || c == L'h' || c == L'\'' || zop::Char::is_digit(c))) return false;
        open_number = false;
        if (c == L'\'') {
            const std::size_t close = pattern.find(L'\'', i + 1);
            if (close == std::wstring::npos) return true;
            i = close + 1;
            continue;
        }
        if (number) {
            const std::size_t most = c == L'y' ? 4 : 2;
            if (run > most || (c == L'y' && run == 3) || seen[c]) return false;
            seen[c] = true;
            open_number = run == 1;
        } else if (std::wstring(L"EewpGWZgzh").find(c) != std::wstring::npos) {
            return false;
        } else if ((c == L'/' || c == L':') && run > 1) {
            return false;
        }
        i += number ? run : 1;
    }
    return true;
}

}  // namespace zop_fuzz

#endif
