// The pattern engine of date parsing.
#include "time/date_patterns.h"

#include "sys/calendar_rules.h"
// The backend's inline conversion: the build names the header
// (sys/<backend>/convert_calendar.h).
#include ZOP_SYS_CONVERT_CALENDAR
#include "time/calendar.h"
#include "time/parse_chars.h"

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#define ZOP_PARSE_SSE2 1
#endif

namespace zop {

namespace detail {

namespace {

// Step kinds.
enum : std::uint8_t {
    kLiteral,     // quoted text, matched exactly
    kExact,       // a field of exactly `width` digits
    kUpTo,        // a field of up to `width` digits, possibly none
    kName,        // a month or day run of three or more: reads nothing
    kDayPeriod,   // p: fails after an H field
    kZoneMark,    // Z: the text must show "Z", which stays unread
    kFail,        // z
    kAny,         // a run of "/" or ":": any one character
    kCharacter,   // any other character, matched exactly
};

using Field = ParsedFields::Field;

// The value of a digit; values of 10 and above for other characters except
// the decimal digits of other scripts, whose value is their code minus 48.
inline unsigned digit_value(wchar_t c) { return static_cast<unsigned>(c) - 48u; }

// A decimal digit of a script other than Latin.
inline bool is_other_digit(wchar_t c) {
    return static_cast<unsigned>(c) >= 0x80 && is_parse_digit(c);
}

inline bool is_digit(wchar_t c) { return digit_value(c) < 10 || is_other_digit(c); }

constexpr std::uint32_t kNoLimit = 0xFFFFFFFF;

// Classes of character for the fixed layout: an ASCII digit, ASCII white
// space, any other ASCII character, anything beyond ASCII.
enum : std::uint8_t { kDigitClass = 1, kSpaceClass = 2, kOtherClass = 4, kHighClass = 8 };

constexpr std::uint8_t ascii_class(unsigned c) {
    if (c - 48u < 10) return kDigitClass;
    return c == 0x20 || c - 9u < 5 ? kSpaceClass : kOtherClass;
}

constexpr std::array<std::uint8_t, 128> make_class_table() {
    std::array<std::uint8_t, 128> table{};
    for (unsigned c = 0; c < 128; ++c) table[c] = ascii_class(c);
    return table;
}
constexpr std::array<std::uint8_t, 128> kClassTable = make_class_table();

inline std::uint8_t char_class(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return u < 0x80 ? kClassTable[u] : static_cast<std::uint8_t>(kHighClass);
}

// Whether a number may run straight into what follows it in the pattern: a
// number letter, a quote or a digit.
bool field_follows(const std::wstring& pattern, std::size_t at) {
    if (at >= pattern.size()) return false;
    switch (pattern[at]) {
    case L'd': case L'M': case L'y': case L'h': case L'H': case L'm': case L's': case L'\'':
        return true;
    default:
        return is_parse_digit(pattern[at]);
    }
}

}  // namespace

ParseProgram::ParseProgram(const std::wstring& pattern) {
    const std::size_t n = pattern.size();
    std::size_t i = 0;
    while (i < n) {
        const wchar_t c = pattern[i];
        Step step{kCharacter, 0, 0, false, false, false, is_parse_space(c), c, kNoLimit, 0, 0};
        if (c == L'\'') {
            // Up to the next quote; a doubled quote is no escape here.
            step.kind = kLiteral;
            step.begin = static_cast<std::uint32_t>(text_.size());
            for (++i; i < n && pattern[i] != L'\''; ++i) text_.push_back(pattern[i]);
            step.length = static_cast<std::uint32_t>(text_.size() - step.begin);
            if (i < n) ++i;
            steps_.push_back(step);
            continue;
        }
        std::size_t run = 1;
        while (i + run < n && pattern[i + run] == c) ++run;
        std::size_t take = 1;
        switch (c) {
        case L'y': case L'M': case L'd': case L'H': case L'h': case L'm': case L's':
            step.no_digit_after = !field_follows(pattern, i + run);
            step.width = 2;
            step.kind = run >= 2 ? kExact : kUpTo;
            take = run;
            if (c == L'y') {
                // One letter: up to 2 digits; two or three: exactly 2; more:
                // up to 4, with letters past the fourth a second year.
                step.field = Field::YEAR;
                step.century_rule = true;
                if (run >= 4) {
                    step.kind = kUpTo;
                    step.width = 4;
                }
                if (run > 4) take = 4;
            } else if (c == L'M' || c == L'd') {
                step.field = c == L'M' ? Field::MONTH : Field::DAY;
                if (run >= 3) step.kind = kName;
            } else {
                // Hours, minutes, seconds: longer runs take two letters, the
                // rest repeating the field.
                step.field = c == L'm' ? Field::MINUTE : c == L's' ? Field::SECOND : Field::HOUR;
                step.limit = c == L'H' ? 24 : c == L'h' ? 12 : 60;
                step.marks_hour = c == L'H';
                if (run > 2) take = 2;
            }
            break;
        case L'p': step.kind = kDayPeriod; break;
        case L'Z': step.kind = kZoneMark; break;
        case L'z': step.kind = kFail; break;
        case L'/': case L':': step.kind = kAny; take = run; break;
        default: break;
        }
        steps_.push_back(step);
        i += take;
    }
    make_fixed();
}

void ParseProgram::make_fixed() {
    // A fixed layout: every step a two-digit number, a year of four, or one
    // character, no field twice, and an hour (without one no text is a
    // date, which the general reading says as well).
    std::vector<std::uint8_t> forbidden;
    std::vector<Exact> exact;
    std::uint32_t at[Field::COUNT] = {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent};
    std::uint32_t limit[Field::COUNT] = {kNoLimit, kNoLimit, kNoLimit, kNoLimit, kNoLimit, kNoLimit};
    bool year_four = false;
    // The classes of character that the next place may not hold: a digit
    // or anything beyond ASCII after a number that no digit may follow,
    // unless a character of the pattern that is no digit stands there.
    std::uint8_t next_forbidden = 0;
    for (std::size_t k = 0; k < steps_.size(); ++k) {
        const Step& step = steps_[k];
        if (step.kind == kExact || step.kind == kUpTo) {
            const bool year4 = step.kind == kUpTo && step.century_rule && step.width == 4;
            // (No number follows one that no digit may follow: only the rest
            // of its own run, the same field again.)
            if ((step.kind == kUpTo && !year4) || at[step.field] != kAbsent) return;
            at[step.field] = static_cast<std::uint32_t>(forbidden.size());
            limit[step.field] = step.limit;
            if (step.field == Field::YEAR) year_four = year4;
            forbidden.insert(forbidden.end(), year4 ? 4 : 2, kSpaceClass | kOtherClass | kHighClass);
            const bool next_checks = k + 1 < steps_.size() && steps_[k + 1].kind == kCharacter &&
                                     !steps_[k + 1].space && !is_digit(steps_[k + 1].c);
            if (step.no_digit_after && !next_checks) next_forbidden = kDigitClass | kHighClass;
            continue;
        }
        std::uint8_t classes = next_forbidden;
        next_forbidden = 0;
        if (step.kind == kAny) {
            classes |= kSpaceClass | kHighClass;
        } else if (step.kind == kCharacter && step.space) {
            classes |= kDigitClass | kOtherClass | kHighClass;
        } else if (step.kind == kCharacter) {
            exact.push_back({static_cast<std::uint32_t>(forbidden.size()), step.c});
        } else {
            return;
        }
        forbidden.push_back(classes);
    }
    if (at[Field::HOUR] == kAbsent) return;
    fixed_length_ = forbidden.size();
    for (std::size_t i = 0; i < fixed_length_ && i < 16; ++i) {
        for (unsigned c = 0; c < 4; ++c) {
            if (forbidden[i] & (1u << c)) masks_[c] |= 1u << i;
        }
    }
    forbidden_ = std::move(forbidden);
    exact_ = std::move(exact);
    after_ = next_forbidden;
    year_four_ = year_four;
    std::copy(at, at + Field::COUNT, at_);
    std::copy(limit, limit + Field::COUNT, limit_);
}

namespace {

#ifdef ZOP_PARSE_SSE2
// The classes of the first 16 characters, a bit a place: ASCII digits,
// ASCII white space, other ASCII characters, characters beyond ASCII.  The
// text holds at least 16.
inline void classes16(const wchar_t* s, std::uint32_t (&classes)[4]) {
    // Sixteen-bit lanes: wider characters saturate to values beyond ASCII.
    const auto* p = reinterpret_cast<const __m128i*>(s);
    __m128i w0, w1;
    if constexpr (sizeof(wchar_t) == 4) {
        w0 = _mm_packs_epi32(_mm_loadu_si128(p), _mm_loadu_si128(p + 1));
        w1 = _mm_packs_epi32(_mm_loadu_si128(p + 2), _mm_loadu_si128(p + 3));
    } else {
        w0 = _mm_loadu_si128(p);
        w1 = _mm_loadu_si128(p + 1);
    }
    const __m128i beyond = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    const __m128i ascii = _mm_packs_epi16(_mm_cmpeq_epi16(_mm_and_si128(w0, beyond), zero),
                                          _mm_cmpeq_epi16(_mm_and_si128(w1, beyond), zero));
    // Bytes, exact for the ASCII places.
    const __m128i b = _mm_packus_epi16(w0, w1);
    const __m128i d = _mm_sub_epi8(b, _mm_set1_epi8('0'));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d);
    const __m128i t = _mm_sub_epi8(b, _mm_set1_epi8(9));
    const __m128i space = _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8(0x20)),
                                       _mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(4)), t));
    const auto a = static_cast<std::uint32_t>(_mm_movemask_epi8(ascii));
    classes[0] = static_cast<std::uint32_t>(_mm_movemask_epi8(digit)) & a;
    classes[1] = static_cast<std::uint32_t>(_mm_movemask_epi8(space)) & a;
    classes[2] = a & ~(classes[0] | classes[1]);
    classes[3] = ~a & 0xFFFF;
}
#endif

}  // namespace

// Inline in parse_date, its one caller, so that the fields stay in
// registers for the conversion.
[[gnu::always_inline]] inline bool ParseProgram::read_fixed(const wchar_t* s, std::size_t len,
                                                            sys::CalendarTime& out) const {
    if (fixed_length_ == 0 || len < fixed_length_) return false;
    // Every check adds to `bad`; one branch at the end.  First the class
    // of character at each place.
    std::uint32_t bad = 0;
#ifdef ZOP_PARSE_SSE2
    if (fixed_length_ <= 16 && len >= 16) {
        std::uint32_t classes[4];
        classes16(s, classes);
        bad = (classes[0] & masks_[0]) | (classes[1] & masks_[1]) | (classes[2] & masks_[2]) |
              (classes[3] & masks_[3]);
    } else
#endif
    {
        for (std::size_t i = 0; i < fixed_length_; ++i) bad |= char_class(s[i]) & forbidden_[i];
    }
    for (const Exact& e : exact_) bad |= s[e.offset] != e.c;
    if (len > fixed_length_) bad |= char_class(s[fixed_length_]) & after_;
    // The digits are ASCII digits now.  Defaults: the first day of year 1
    // (refused later), minute and second 0; the hour is always read.
    const auto two = [s](std::uint32_t at) {
        return static_cast<std::uint32_t>(s[at]) * 10 + static_cast<std::uint32_t>(s[at + 1]) - 528;
    };
    std::uint32_t year = 1;
    if (at_[Field::YEAR] != kAbsent) {
        year = two(at_[Field::YEAR]);
        if (year_four_) {
            year = year * 100 + two(at_[Field::YEAR] + 2);
        } else {
            year += year < 30 ? 2000 : 1900;
        }
    }
    const std::uint32_t month = at_[Field::MONTH] != kAbsent ? two(at_[Field::MONTH]) : 1;
    const std::uint32_t day = at_[Field::DAY] != kAbsent ? two(at_[Field::DAY]) : 1;
    const std::uint32_t hour = two(at_[Field::HOUR]);
    const std::uint32_t minute = at_[Field::MINUTE] != kAbsent ? two(at_[Field::MINUTE]) : 0;
    const std::uint32_t second = at_[Field::SECOND] != kAbsent ? two(at_[Field::SECOND]) : 0;
    // Years, months and days have no limit of their own.
    bad |= (hour >= limit_[Field::HOUR]) | (minute >= limit_[Field::MINUTE]) |
           (second >= limit_[Field::SECOND]);
    if (bad != 0) return false;
    out.year = static_cast<std::uint16_t>(year);
    out.month = static_cast<std::uint16_t>(month);
    out.day = static_cast<std::uint16_t>(day);
    out.hour = static_cast<std::uint16_t>(hour);
    out.minute = static_cast<std::uint16_t>(minute);
    out.second = static_cast<std::uint16_t>(second);
    return true;
}

bool ParseProgram::fixed_reading(const std::wstring& text, sys::CalendarTime& out) const {
    return read_fixed(text.data(), text.size(), out);
}

bool ParseProgram::general(const std::wstring& text, ParsedFields& fields) const {
    const std::size_t len = text.size();
    const wchar_t* const s = text.data();
    std::size_t t = 0;
    for (const Step& step : steps_) {
        if (t >= len) break;  // the rest of the pattern is ignored
        if (step.kind == kLiteral) {
            if (len - t < step.length) return false;
            if (text.compare(t, step.length, text_, step.begin, step.length) != 0) return false;
            t += step.length;
            continue;
        }
        if (is_parse_space(s[t])) {
            ++t;
            if (step.kind == kCharacter && is_parse_space(step.c)) continue;
            while (t < len && is_parse_space(s[t])) ++t;
        }
        switch (step.kind) {
        case kExact:
        case kUpTo: {
            int& field = fields.value[step.field];
            if (field != -1) return false;
            // Digits and their value in one pass.
            const std::size_t left = len - t;
            std::size_t n = 0;
            std::uint32_t value = 0;
            if (step.kind == kExact) {
                if (left < step.width) return false;
                for (; n < step.width; ++n) {
                    const unsigned d = digit_value(s[t + n]);
                    if (d >= 10 && !is_other_digit(s[t + n])) return false;
                    value = value * 10 + d;
                }
            } else {
                const std::size_t most = step.width < left ? step.width : left;
                for (; n < most; ++n) {
                    const unsigned d = digit_value(s[t + n]);
                    if (d >= 10 && !is_other_digit(s[t + n])) break;
                    value = value * 10 + d;
                }
            }
            if (step.no_digit_after && n < left && is_digit(s[t + n])) return false;
            if (value >= step.limit) return false;
            if (step.century_rule && n <= 2) value += value < 30 ? 2000 : 1900;
            fields.hour_of_day = fields.hour_of_day || step.marks_hour;
            field = static_cast<int>(value);
            t += n;
            break;
        }
        case kName:
            if (fields.value[step.field] != -1) return false;
            break;
        case kDayPeriod:
            if (fields.hour_of_day) return false;
            break;
        case kZoneMark:
            if (t >= len || s[t] != L'Z') return false;
            break;
        case kFail:
            return false;
        case kAny:
            if (t >= len) return false;
            ++t;
            break;
        default:
            if (t >= len || s[t] != step.c) return false;
            ++t;
            break;
        }
    }
    return true;
}

namespace {

// The broken-down time of fields read by the general reading, with the
// defaults; false when they can name no date (no hour, a year, month or
// day that no record holds).
bool complete(ParsedFields& f, sys::CalendarTime& fields) {
    // Defaults; the hour has none.  Hours, minutes and seconds were checked
    // when read.
    int* v = f.value;
    if (v[Field::HOUR] == -1) return false;
    if (v[Field::MINUTE] == -1) v[Field::MINUTE] = 0;
    if (v[Field::SECOND] == -1) v[Field::SECOND] = 0;
    if (v[Field::DAY] == -1) v[Field::DAY] = 1;
    if (v[Field::MONTH] == -1) v[Field::MONTH] = 1;
    if (v[Field::YEAR] == -1) v[Field::YEAR] = 1;
    if (v[Field::YEAR] > 9999 || v[Field::MONTH] > 12 || v[Field::DAY] > 31) return false;
    fields.year = static_cast<std::uint16_t>(v[Field::YEAR]);
    fields.month = static_cast<std::uint16_t>(v[Field::MONTH]);
    fields.day = static_cast<std::uint16_t>(v[Field::DAY]);
    fields.hour = static_cast<std::uint16_t>(v[Field::HOUR]);
    fields.minute = static_cast<std::uint16_t>(v[Field::MINUTE]);
    fields.second = static_cast<std::uint16_t>(v[Field::SECOND]);
    return true;
}

}  // namespace

bool parse_date(const std::wstring& text, const ParseProgram& pattern, long long& ticks,
                const TimeZone* zone) {
    sys::CalendarTime fields;
    if (!pattern.read_fixed(text.data(), text.size(), fields)) {
        ParsedFields f;
        if (!pattern.general(text, f) || !complete(f, fields)) return false;
    }
    // The conversion refuses the remaining faults (day 0, 30 February, ...)
    // and, as for Date itself, years before 1601.
    std::uint64_t file_time = 0;
    if (!sys::convert_calendar(fields, file_time)) return false;
    const long long local = ticks_from_file_time(file_time);
    if (zone != nullptr) {
        ticks = zone->utc_time(local);
        return true;
    }
    // Local time, shifted back by whole hours only.
    const long long hours = current_zone_offset() / kTicksPerHour;
    ticks = wrap_add(local, wrap_mul(static_cast<int>(-hours), kTicksPerHour));
    return true;
}

}  // namespace detail

bool DateFormat::do_parse(const std::wstring& text, const std::wstring& pattern,
                          long long& ticks) const {
    return detail::parse_date(text, detail::ParseProgram(pattern), ticks);
}

}  // namespace zop
