// The date formatter's patterns and month and weekday names, one row per
// language: 0 English, 1 Chinese (China), 2 Chinese (Taiwan).
#ifndef ZOP_TIME_DATE_TABLES_H
#define ZOP_TIME_DATE_TABLES_H

#include <zop/time.h>

#include <string>

namespace zop::detail {

// The six patterns of a language, and the three date-time patterns joined
// from them once so that formatting need not join them on every call.
struct PatternSet {
    std::wstring short_time;
    std::wstring long_time;
    std::wstring short_date;
    std::wstring long_date;
    std::wstring month_day;
    std::wstring year_month;
    std::wstring short_date_time;        // short date, " ", short time
    std::wstring long_date_time;         // long date, " ", long time
    std::wstring long_date_time_joined;  // long date, long time
};

// A language's full and abbreviated names (12 months or 7 weekdays).
struct NameRow {
    const std::wstring* full;
    const std::wstring* abbreviated;
};

// The row of a country code, or -1 when the country has none.
int language_row(int country_code);

// Builds the pattern, month-name and weekday-name tables that are missing.
// Throws OutOfMemoryException "Out of memory" when one cannot be allocated.
void build_tables();
// Frees the tables that exist, in the order pattern, month and weekday
// table.
void free_tables();

// The patterns of a row (0-2), building the tables first when needed.
const PatternSet& patterns(int row);
// The names of a row (0-2), building the tables first when needed.
const NameRow& month_names(int row);
const NameRow& weekday_names(int row);

// An empty pattern, for locales without a row and unknown selectors.
const std::wstring& empty_pattern();

}  // namespace zop::detail

#endif
