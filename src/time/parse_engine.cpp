// The pattern engine of date parsing.
#include <zop/time.h>

#include "time/calendar.h"
#include "time/parse_chars.h"

namespace zop {

namespace {

constexpr int kUnset = -1;

// The fields read so far, each unset until its letter is met.
struct ParseState {
    int year = kUnset;
    int month = kUnset;
    int day = kUnset;
    int hour = kUnset;
    int minute = kUnset;
    int second = kUnset;
    bool hour_of_day = false;  // an H field was read
};

// Reads a decimal number at `t`: exactly `width` digits, or (when `exact`
// is false) as many as there are up to `width`, possibly none.  With
// `no_digit_after` the number must not be followed by another digit.
// Stores the value and the digit count; false when the text does not fit.
bool read_number(const std::wstring& text, std::size_t t, int width, bool exact,
                 bool no_digit_after, int& value, int& digits) {
    const std::size_t len = text.size();
    const std::size_t left = len - t;
    std::size_t n = 0;
    if (exact) {
        if (left < static_cast<std::size_t>(width)) return false;
        for (; n < static_cast<std::size_t>(width); ++n) {
            if (!detail::is_parse_digit(text[t + n])) return false;
        }
    } else {
        while (n < static_cast<std::size_t>(width) && n < left &&
               detail::is_parse_digit(text[t + n])) {
            ++n;
        }
    }
    if (no_digit_after && t + n < len && detail::is_parse_digit(text[t + n])) return false;
    int v = 0;
    for (std::size_t k = 0; k < n; ++k) v = v * 10 + (static_cast<int>(text[t + k]) - 48);
    value = v;
    digits = static_cast<int>(n);
    return true;
}

// Whether a number may be followed directly by another field or literal:
// the pattern goes on with a number letter, a quote or a digit.
bool field_follows(const std::wstring& pattern, std::size_t at) {
    if (at >= pattern.size()) return false;
    switch (pattern[at]) {
    case L'd': case L'M': case L'y': case L'h': case L'H': case L'm': case L's': case L'\'':
        return true;
    default:
        return detail::is_parse_digit(pattern[at]);
    }
}

bool valid(const ParseState& s) {
    if (s.hour == kUnset) return false;
    // Years before 1601 are as unrepresentable here as for Date itself.
    return detail::representable(static_cast<unsigned>(s.year), static_cast<unsigned>(s.month),
                                 static_cast<unsigned>(s.day), static_cast<unsigned>(s.hour),
                                 static_cast<unsigned>(s.minute),
                                 static_cast<unsigned>(s.second), 0);
}

// Reads one field of a number letter at text position `t`; advances `t`.
// `run` is the letters the field consumes.
bool read_field(wchar_t letter, std::size_t run, bool no_digit_after, const std::wstring& text,
                std::size_t& t, ParseState& s) {
    int* field = nullptr;
    int limit = 0;  // exclusive upper bound, 0 for none
    switch (letter) {
    case L'y': field = &s.year; break;
    case L'M': field = &s.month; break;
    case L'd': field = &s.day; break;
    case L'H': field = &s.hour; limit = 24; break;
    case L'h': field = &s.hour; limit = 12; break;
    case L'm': field = &s.minute; limit = 60; break;
    default: field = &s.second; limit = 60; break;
    }
    if (*field != kUnset) return false;
    // Month and day runs of three or more stand for names: nothing is read.
    if ((letter == L'M' || letter == L'd') && run >= 3) return true;
    const bool exact = letter == L'y' ? (run == 2 || run == 3) : run >= 2;
    const int width = letter == L'y' && run >= 4 ? 4 : 2;
    int value = 0;
    int digits = 0;
    if (!read_number(text, t, width, exact, no_digit_after, value, digits)) return false;
    if (limit != 0 && value >= limit) return false;
    if (letter == L'y' && digits <= 2) value += value < 30 ? 2000 : 1900;
    if (letter == L'H') s.hour_of_day = true;
    *field = value;
    t += static_cast<std::size_t>(digits);
    return true;
}

}  // namespace

bool DateFormat::do_parse(const std::wstring& text, const std::wstring& pattern,
                          long long& ticks) const {
    ParseState s;
    const std::size_t len = text.size();
    const std::size_t n = pattern.size();
    std::size_t t = 0;
    std::size_t i = 0;
    while (i < n && t < len) {
        const wchar_t c = pattern[i];
        if (c == L'\'') {
            // A literal must match exactly; a doubled quote is no escape here.
            for (++i; i < n && pattern[i] != L'\''; ++i, ++t) {
                if (t >= len || text[t] != pattern[i]) return false;
            }
            if (i < n) ++i;
            continue;
        }
        if (detail::is_parse_space(text[t])) {
            ++t;
            if (detail::is_parse_space(c)) {
                ++i;
                continue;
            }
            while (t < len && detail::is_parse_space(text[t])) ++t;
        }
        std::size_t run = 1;
        while (i + run < n && pattern[i + run] == c) ++run;
        const bool no_digit_after = !field_follows(pattern, i + run);
        switch (c) {
        case L'y': case L'M': case L'd': case L'H': case L'h': case L'm': case L's': {
            // Number runs longer than a field take two letters (four for the
            // year); the rest starts another field of the same kind.
            std::size_t take = run;
            if (c == L'y' && run > 4) take = 4;
            if ((c == L'H' || c == L'h' || c == L'm' || c == L's') && run > 2) take = 2;
            if (!read_field(c, take, no_digit_after, text, t, s)) return false;
            i += take;
            continue;
        }
        case L'p':
            if (s.hour_of_day) return false;
            break;
        case L'Z':
            if (t >= len || text[t] != L'Z') return false;
            break;
        case L'z':
            return false;
        case L'/': case L':':
            if (t >= len) return false;
            ++t;
            i += run;
            continue;
        default:
            if (t >= len || text[t] != c) return false;
            ++t;
            break;
        }
        ++i;
    }

    if (s.minute == kUnset) s.minute = 0;
    if (s.second == kUnset) s.second = 0;
    if (s.day == kUnset) s.day = 1;
    if (s.month == kUnset) s.month = 1;
    if (s.year == kUnset) s.year = 1;
    if (!valid(s)) return false;

    Date date(static_cast<unsigned>(s.year), static_cast<unsigned>(s.month),
              static_cast<unsigned>(s.day), static_cast<unsigned>(s.hour),
              static_cast<unsigned>(s.minute), static_cast<unsigned>(s.second), 0);
    const long long offset = TimeZone::current_time_zone()->utc_offset(date);
    date.add_hours(static_cast<int>(-(offset / detail::kTicksPerHour)));
    ticks = date.time();
    return true;
}

}  // namespace zop
