// The date formatter's pattern and name tables.
//
// The name lists are function-level statics that live until the process
// exits; the pattern table and the two per-row name tables that point into
// the lists are heap objects owned by the shared formatter's life cycle.
#include "time/date_tables.h"

#include <array>
#include <new>

namespace zop::detail {

namespace {

constexpr int kRows = 3;
constexpr unsigned char kNoRow = 0xFF;
constexpr int kCountryCodes = 900;

// Row by ISO 3166-1 numeric country code: China 156 and Taiwan 158 read
// Chinese; 739 and 800-899 (the United States among them) read English.
constexpr std::array<unsigned char, kCountryCodes> make_row_table() {
    std::array<unsigned char, kCountryCodes> table{};
    for (auto& row : table) row = kNoRow;
    table[156] = 1;
    table[158] = 2;
    table[739] = 0;
    for (int code = 800; code < 900; ++code) table[code] = 0;
    return table;
}
constexpr std::array<unsigned char, kCountryCodes> kRowTable = make_row_table();

const std::wstring* english_months_full() {
    static const std::wstring names[12] = {
        L"January", L"February", L"March",     L"April",   L"May",      L"June",
        L"July",    L"August",   L"September", L"October", L"November", L"December"};
    return names;
}

const std::wstring* english_months_abbreviated() {
    static const std::wstring names[12] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                           L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    return names;
}

// "一月" ... "十二月"
const std::wstring* chinese_months() {
    static const std::wstring names[12] = {
        L"\x4E00\x6708", L"\x4E8C\x6708", L"\x4E09\x6708",       L"\x56DB\x6708",
        L"\x4E94\x6708", L"\x516D\x6708", L"\x4E03\x6708",       L"\x516B\x6708",
        L"\x4E5D\x6708", L"\x5341\x6708", L"\x5341\x4E00\x6708", L"\x5341\x4E8C\x6708"};
    return names;
}

const std::wstring* english_weekdays_full() {
    static const std::wstring names[7] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                          L"Thursday", L"Friday", L"Saturday"};
    return names;
}

const std::wstring* english_weekdays_abbreviated() {
    static const std::wstring names[7] = {L"Sun", L"Mon", L"Tue", L"Wed",
                                          L"Thu", L"Fri", L"Sat"};
    return names;
}

// "星期天", "星期一" ... "星期六"
const std::wstring* chinese_weekdays() {
    static const std::wstring names[7] = {
        L"\x661F\x671F\x5929", L"\x661F\x671F\x4E00", L"\x661F\x671F\x4E8C",
        L"\x661F\x671F\x4E09", L"\x661F\x671F\x56DB", L"\x661F\x671F\x4E94",
        L"\x661F\x671F\x516D"};
    return names;
}

PatternSet* g_patterns = nullptr;
NameRow* g_month_names = nullptr;
NameRow* g_weekday_names = nullptr;

void set_pattern(Pattern& pattern, const std::wstring& text) {
    pattern.text = text;
    pattern.program = FormatProgram(text);
}

void fill(PatternSet& set, const wchar_t* short_date, const wchar_t* long_date,
          const wchar_t* month_day, const wchar_t* year_month) {
    set_pattern(set.short_time, L"HH:mm");
    set_pattern(set.long_time, L"HH:mm:ss");
    set_pattern(set.short_date, short_date);
    set_pattern(set.long_date, long_date);
    set_pattern(set.month_day, month_day);
    set_pattern(set.year_month, year_month);
    set_pattern(set.short_date_time, set.short_date.text + L" " + set.short_time.text);
    set_pattern(set.long_date_time, set.long_date.text + L" " + set.long_time.text);
    set_pattern(set.long_date_time_joined, set.long_date.text + set.long_time.text);
    set.parse = ParseProgram(set.short_date_time.text);
}

PatternSet* new_pattern_table() {
    auto* table = new (std::nothrow) PatternSet[kRows];
    if (table == nullptr) return nullptr;
    try {
        fill(table[0], L"MM/dd/yyyy", L"E, MMMM dd, yyyy", L"MMMM dd", L"yyyy MMMM");
        // "yyyy'年'M'月'd'日' E", "MMMMd'日'", "yyyy'年'MMMM"
        for (int row = 1; row < kRows; ++row) {
            fill(table[row], L"yyyy-M-d", L"yyyy'\x5E74'M'\x6708'd'\x65E5' E", L"MMMMd'\x65E5'",
                 L"yyyy'\x5E74'MMMM");
        }
    } catch (const std::bad_alloc&) {
        delete[] table;
        return nullptr;
    }
    return table;
}

NameRow* new_name_table(const std::wstring* english_full, const std::wstring* english_short,
                        const std::wstring* chinese) {
    auto* table = new (std::nothrow) NameRow[kRows];
    if (table == nullptr) return nullptr;
    table[0] = {english_full, english_short};
    table[1] = {chinese, chinese};
    table[2] = {chinese, chinese};
    return table;
}

void ensure_tables() {
    if (g_patterns == nullptr || g_month_names == nullptr || g_weekday_names == nullptr) {
        build_tables();
    }
}

}  // namespace

int language_row(int country_code) {
    if (country_code < 0 || country_code >= kCountryCodes) return -1;
    const unsigned char row = kRowTable[static_cast<std::size_t>(country_code)];
    return row == kNoRow ? -1 : row;
}

void build_tables() {
    try {
        if (g_patterns == nullptr) g_patterns = new_pattern_table();
        if (g_month_names == nullptr) {
            g_month_names = new_name_table(english_months_full(), english_months_abbreviated(),
                                           chinese_months());
        }
        if (g_weekday_names == nullptr) {
            g_weekday_names = new_name_table(english_weekdays_full(),
                                             english_weekdays_abbreviated(), chinese_weekdays());
        }
    } catch (const std::bad_alloc&) {
        // A name list could not be built; reported below like any table.
    }
    if (g_patterns == nullptr || g_month_names == nullptr || g_weekday_names == nullptr) {
        throw OutOfMemoryException(L"Out of memory");
    }
}

void free_tables() {
    delete[] g_patterns;
    g_patterns = nullptr;
    delete[] g_month_names;
    g_month_names = nullptr;
    delete[] g_weekday_names;
    g_weekday_names = nullptr;
}

const PatternSet* patterns_for(int country_code) {
    const int row = language_row(country_code);
    if (row < 0) return nullptr;
    ensure_tables();
    return &g_patterns[row];
}

const NameRow& month_names(int row) {
    ensure_tables();
    return g_month_names[row];
}

const NameRow& weekday_names(int row) {
    ensure_tables();
    return g_weekday_names[row];
}

const FormatProgram& empty_format() {
    static const FormatProgram empty;
    return empty;
}

const ParseProgram& empty_parse() {
    static const ParseProgram empty;
    return empty;
}

}  // namespace zop::detail
