// The date formatter's patterns and month and weekday names, one row per
// language: 0 English, 1 Chinese (China), 2 Chinese (Taiwan).
#ifndef ZOP_TIME_DATE_TABLES_H
#define ZOP_TIME_DATE_TABLES_H

#include <zop/time.h>

#include "time/date_patterns.h"

#include <string>

namespace zop::detail {

// A pattern with its formatting program.
struct Pattern {
    std::wstring text;
    FormatProgram program;
};

// The six patterns of a language, and the three date-time patterns joined
// from them once so that formatting need not join them on every call.
struct PatternSet {
    Pattern short_time;
    Pattern long_time;
    Pattern short_date;
    Pattern long_date;
    Pattern month_day;
    Pattern year_month;
    Pattern short_date_time;        // short date, " ", short time
    Pattern long_date_time;         // long date, " ", long time
    Pattern long_date_time_joined;  // long date, long time
    ParseProgram parse;             // short_date_time, for parsing
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

// The names of a row (0-2), building the tables first when needed.
const NameRow& month_names(int row);
const NameRow& weekday_names(int row);

// The patterns of a country code's row, building the tables first when
// needed; null when the country has none.
const PatternSet* patterns_for(int country_code);

// The empty pattern's programs, for locales without a row and unknown
// selectors.
const FormatProgram& empty_format();
const ParseProgram& empty_parse();

}  // namespace zop::detail

#endif
