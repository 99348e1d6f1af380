// The pattern engine of date parsing.
#include "time/date_patterns.h"

#include "time/calendar.h"
#include "time/parse_chars.h"

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

// Kinds of the fixed layout.
enum : std::uint8_t { kFixedTwo, kFixedFour, kFixedAny, kFixedSpace, kFixedCharacter };

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
    // A fixed layout: every step a two-digit number, a year of four, or one
    // character, and no field twice.
    unsigned seen = 0;
    std::uint32_t at = 0;
    for (std::size_t k = 0; k < steps_.size(); ++k) {
        const Step& step = steps_[k];
        Fixed f{at, kFixedCharacter, step.field, false, step.century_rule, step.marks_hour, step.limit, step.c};
        if (step.kind == kExact || step.kind == kUpTo) {
            const bool year4 = step.kind == kUpTo && step.century_rule && step.width == 4;
            if ((step.kind == kUpTo && !year4) || (seen & (1u << step.field))) {
                fixed_.clear();
                return;
            }
            seen |= 1u << step.field;
            f.kind = year4 ? kFixedFour : kFixedTwo;
            // A following character other than a digit checks itself.
            const bool next_checks = k + 1 < steps_.size() && steps_[k + 1].kind == kCharacter &&
                                     !steps_[k + 1].space && !is_digit(steps_[k + 1].c);
            f.check_next = step.no_digit_after && !next_checks;
        } else if (step.kind == kAny) {
            f.kind = kFixedAny;
        } else if (step.kind == kCharacter) {
            f.kind = step.space ? kFixedSpace : kFixedCharacter;
        } else {
            fixed_.clear();
            return;
        }
        fixed_.push_back(f);
        at += f.kind == kFixedFour ? 4 : f.kind == kFixedTwo ? 2 : 1;
    }
    fixed_length_ = at;
}

bool ParseProgram::run(const std::wstring& text, ParsedFields& fields) const {
    if (!fixed_.empty() && run_fixed(text.data(), text.size(), fields)) return true;
    fields = ParsedFields();
    return general(text, fields);
}

bool ParseProgram::run_fixed(const wchar_t* s, std::size_t len, ParsedFields& fields) const {
    if (len < fixed_length_) return false;
    auto digit = [](wchar_t c) { return static_cast<std::uint32_t>(c) - 48u; };
    for (const Fixed& f : fixed_) {
        const wchar_t* p = s + f.offset;
        std::uint32_t value;
        std::size_t width;
        switch (f.kind) {
        case kFixedTwo: {
            const std::uint32_t a = digit(p[0]), b = digit(p[1]);
            if (a > 9 || b > 9) return false;
            value = a * 10 + b;
            width = 2;
            break;
        }
        case kFixedFour: {
            const std::uint32_t a = digit(p[0]), b = digit(p[1]), c = digit(p[2]), d = digit(p[3]);
            if (a > 9 || b > 9 || c > 9 || d > 9) return false;
            value = ((a * 10 + b) * 10 + c) * 10 + d;
            width = 4;
            break;
        }
        case kFixedAny:
            if (static_cast<std::uint32_t>(*p) >= 0x80 || is_parse_space(*p)) return false;
            continue;
        case kFixedSpace:
            if (static_cast<std::uint32_t>(*p) >= 0x80 || !is_parse_space(*p)) return false;
            continue;
        default:
            if (*p != f.c) return false;
            continue;
        }
        // A digit of any script right after the number is the general
        // reading's to judge.
        if (f.check_next && p + width < s + len) {
            const std::uint32_t next = static_cast<std::uint32_t>(p[width]);
            if (next >= 0x80 || next - 48u < 10) return false;
        }
        if (value >= f.limit) return false;
        if (f.century_rule && width == 2) value += value < 30 ? 2000 : 1900;
        fields.value[f.field] = static_cast<int>(value);
        fields.hour_of_day = fields.hour_of_day || f.marks_hour;
    }
    return true;
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

bool parse_date(const std::wstring& text, const ParseProgram& pattern, long long& ticks,
                const TimeZone* zone) {
    ParsedFields f;
    if (!pattern.run(text, f)) return false;
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
    // The conversion refuses the remaining faults (day 0, 30 February, ...)
    // and, as for Date itself, years before 1601.
    sys::CalendarTime fields;
    fields.year = static_cast<std::uint16_t>(v[Field::YEAR]);
    fields.month = static_cast<std::uint16_t>(v[Field::MONTH]);
    fields.day = static_cast<std::uint16_t>(v[Field::DAY]);
    fields.hour = static_cast<std::uint16_t>(v[Field::HOUR]);
    fields.minute = static_cast<std::uint16_t>(v[Field::MINUTE]);
    fields.second = static_cast<std::uint16_t>(v[Field::SECOND]);
    std::uint64_t file_time = 0;
    if (!sys::calendar_to_file_time(fields, file_time)) return false;
    if (zone != nullptr) {
        ticks = zone->utc_time(ticks_from_file_time(file_time));
        return true;
    }
    Date date(ticks_from_file_time(file_time));
    // Local time, shifted back by whole hours only.
    const long long offset = TimeZone::current_time_zone()->utc_offset(date);
    date.add_hours(static_cast<int>(-(offset / kTicksPerHour)));
    ticks = date.time();
    return true;
}

}  // namespace detail

bool DateFormat::do_parse(const std::wstring& text, const std::wstring& pattern,
                          long long& ticks) const {
    return detail::parse_date(text, detail::ParseProgram(pattern), ticks);
}

}  // namespace zop
