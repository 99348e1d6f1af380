// The pattern engine of date formatting.
#include <zop/time.h>

#include "time/calendar.h"
#include "time/date_tables.h"

namespace zop {

namespace {

// The unsigned decimal value, no leading zero.
void put_plain(std::wstring& out, unsigned value) {
    wchar_t digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0) out.push_back(digits[--n]);
}

// One leading zero for values up to 9.
void put_two(std::wstring& out, unsigned value) {
    if (value <= 9) out.push_back(L'0');
    put_plain(out, value);
}

// A number field: plain for a single letter, two digits for a longer run.
void put_number(std::wstring& out, std::size_t run, unsigned value) {
    if (run == 1) put_plain(out, value); else put_two(out, value);
}

// Copies the literal that starts after the quote at `i` and returns the
// index after its closing quote (or the pattern's end).  Inside a literal
// two quotes stand for one; a quote right after the opening one closes an
// empty literal.
std::size_t put_literal(std::wstring& out, const std::wstring& pattern, std::size_t i) {
    const std::size_t n = pattern.size();
    std::size_t j = i + 1;
    while (j < n) {
        if (pattern[j] != L'\'') {
            out.push_back(pattern[j++]);
        } else if (j > i + 1 && j + 1 < n && pattern[j + 1] == L'\'') {
            out.push_back(L'\'');
            j += 2;
        } else {
            return j + 1;
        }
    }
    return n;
}

}  // namespace

std::wstring DateFormat::format(const Date* date, const std::wstring& pattern) const {
    if (date == nullptr) throw ArgumentException(L"The date is null.", L"date");
    std::wstring out;
    out.reserve(pattern.size() + 10);

    // Local time, shifted by whole hours only.
    const long long offset = TimeZone::current_time_zone()->utc_offset(*date);
    const long long local = detail::wrap_add(
        date->time(), detail::wrap_mul(offset / detail::kTicksPerHour, detail::kTicksPerHour));
    sys::CalendarTime f;
    if (!detail::calendar_fields(local, f)) return out;

    // Locales without patterns of their own still get names: the English ones.
    const int row = detail::language_row(Locale::current_locale()->country_code);
    const detail::NameRow& months = detail::month_names(row < 0 ? 0 : row);
    const detail::NameRow& weekdays = detail::weekday_names(row < 0 ? 0 : row);

    const std::size_t n = pattern.size();
    std::size_t i = 0;
    while (i < n) {
        const wchar_t c = pattern[i];
        std::size_t run = 1;
        switch (c) {
        case L'y': case L'M': case L'd': case L'H': case L'h': case L'm': case L's':
            while (i + run < n && pattern[i + run] == c) ++run;
            break;
        case L'\'':
            i = put_literal(out, pattern, i);
            continue;
        default:
            break;
        }
        switch (c) {
        case L'y':
            if (run <= 2) put_number(out, run, static_cast<unsigned>(f.year % 100));
            else put_plain(out, f.year);
            break;
        case L'M':
            if (run <= 2) put_number(out, run, f.month);
            else out += (run == 3 ? months.abbreviated : months.full)[f.month - 1];
            break;
        case L'd': put_number(out, run, f.day); break;
        case L'H': put_number(out, run, f.hour); break;
        case L'h': put_number(out, run, f.hour % 12 == 0 ? 12u : f.hour % 12u); break;
        case L'm': put_number(out, run, f.minute); break;
        case L's': put_number(out, run, f.second); break;
        case L'E': out += weekdays.full[f.day_of_week]; break;
        case L'e': out += weekdays.abbreviated[f.day_of_week]; break;
        case L'w': put_plain(out, f.day_of_week); break;
        case L'p': case L'G': case L'W': case L'Z': case L'g': case L'z': break;
        default: out.push_back(c); break;
        }
        i += run;
    }
    return out;
}

}  // namespace zop
