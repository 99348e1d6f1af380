// The pattern engine of date formatting.
#include "time/date_patterns.h"

#include "time/calendar.h"
#include "time/date_tables.h"

namespace zop {

namespace detail {

namespace {

// Step kinds.  The numbers print a field of the broken-down time.
enum : std::uint8_t {
    kText,
    kYearOfCentury,
    kYear,
    kMonth,
    kDay,
    kHour,
    kHour12,
    kMinute,
    kSecond,
    kWeekdayNumber,
    kMonthAbbreviated,
    kMonthFull,
    kWeekdayFull,
    kWeekdayAbbreviated,
};

// Room for a number ("%u" of 32 bits) and for any month or weekday name.
constexpr std::size_t kNumberRoom = 10;
constexpr std::size_t kNameRoom = 16;

unsigned field_value(std::uint8_t kind, const sys::CalendarTime& f) {
    switch (kind) {
    case kYearOfCentury: return f.year % 100u;
    case kYear: return f.year;
    case kMonth: return f.month;
    case kDay: return f.day;
    case kHour: return f.hour;
    case kHour12: return f.hour % 12u == 0 ? 12u : f.hour % 12u;
    case kMinute: return f.minute;
    case kSecond: return f.second;
    default: return f.day_of_week;
    }
}

// Writes the decimal value at `out`, with a leading zero for values up to
// 9 when `two_digits` is set; returns the end.
wchar_t* put_number(wchar_t* out, unsigned value, bool two_digits) {
    if (value < 10) {
        if (two_digits) *out++ = L'0';
        *out++ = static_cast<wchar_t>(L'0' + value);
        return out;
    }
    if (value < 100) {
        *out++ = static_cast<wchar_t>(L'0' + value / 10);
        *out++ = static_cast<wchar_t>(L'0' + value % 10);
        return out;
    }
    wchar_t digits[kNumberRoom];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0) *out++ = digits[--n];
    return out;
}

wchar_t* put_text(wchar_t* out, const std::wstring& text) {
    return text.copy(out, text.size()) + out;
}

}  // namespace

void FormatProgram::add(std::uint8_t kind, bool two_digits) {
    steps_.push_back(Step{kind, static_cast<std::uint8_t>(two_digits), 0, 0});
    bound_ += kind >= kMonthAbbreviated ? kNameRoom : kNumberRoom;
}

void FormatProgram::add_text(wchar_t c) {
    if (steps_.empty() || steps_.back().kind != kText) {
        steps_.push_back(Step{kText, 0, static_cast<std::uint32_t>(text_.size()), 0});
    }
    text_.push_back(c);
    ++steps_.back().length;
    ++bound_;
}

FormatProgram::FormatProgram(const std::wstring& pattern) {
    const std::size_t n = pattern.size();
    std::size_t i = 0;
    while (i < n) {
        const wchar_t c = pattern[i];
        std::size_t run = 1;
        while (i + run < n && pattern[i + run] == c) ++run;
        switch (c) {
        case L'y': add(run <= 2 ? kYearOfCentury : kYear, run == 2); break;
        case L'M':
            if (run <= 2) add(kMonth, run == 2);
            else add(run == 3 ? kMonthAbbreviated : kMonthFull);
            break;
        case L'd': add(kDay, run >= 2); break;
        case L'H': add(kHour, run >= 2); break;
        case L'h': add(kHour12, run >= 2); break;
        case L'm': add(kMinute, run >= 2); break;
        case L's': add(kSecond, run >= 2); break;
        case L'\'': {
            // A literal up to the next quote, where two quotes stand for one;
            // a quote right after the opening one closes an empty literal.
            std::size_t j = i + 1;
            for (;;) {
                if (j >= n) break;
                if (pattern[j] != L'\'') {
                    add_text(pattern[j++]);
                } else if (j > i + 1 && j + 1 < n && pattern[j + 1] == L'\'') {
                    add_text(L'\'');
                    j += 2;
                } else {
                    ++j;
                    break;
                }
            }
            i = j;
            continue;
        }
        default:
            // The letters below act one at a time, whatever their run.
            run = 1;
            switch (c) {
            case L'E': add(kWeekdayFull); break;
            case L'e': add(kWeekdayAbbreviated); break;
            case L'w': add(kWeekdayNumber); break;
            case L'p': case L'G': case L'W': case L'Z': case L'g': case L'z': break;
            default: add_text(c); break;
            }
            break;
        }
        i += run;
    }
}

std::wstring FormatProgram::run(const sys::CalendarTime& f, const NameRow& months,
                                const NameRow& weekdays) const {
    // Short results are assembled on the stack and copied once.
    wchar_t stack[128];
    std::wstring heap;
    wchar_t* const begin = bound_ <= sizeof stack / sizeof stack[0]
                               ? stack
                               : (heap.resize(bound_), &heap[0]);
    wchar_t* out = begin;
    for (const Step& step : steps_) {
        switch (step.kind) {
        case kText: out = text_.copy(out, step.length, step.begin) + out; break;
        case kMonthAbbreviated: out = put_text(out, months.abbreviated[f.month - 1]); break;
        case kMonthFull: out = put_text(out, months.full[f.month - 1]); break;
        case kWeekdayFull: out = put_text(out, weekdays.full[f.day_of_week]); break;
        case kWeekdayAbbreviated: out = put_text(out, weekdays.abbreviated[f.day_of_week]); break;
        default: out = put_number(out, field_value(step.kind, f), step.two_digits != 0); break;
        }
    }
    const std::size_t length = static_cast<std::size_t>(out - begin);
    if (begin == stack) return std::wstring(stack, length);
    heap.resize(length);
    return heap;
}

std::wstring format_date(const Date* date, const FormatProgram& program, const TimeZone* zone) {
    if (date == nullptr) throw ArgumentException(L"The date is null.", L"date");
    // Local time: by the whole offset of a zone given, by whole hours only
    // of the current zone.
    const long long local =
        zone != nullptr
            ? wrap_add(date->time(), zone->utc_offset(*date))
            : wrap_add(date->time(),
                       wrap_mul(TimeZone::current_time_zone()->utc_offset(*date) / kTicksPerHour,
                                kTicksPerHour));
    sys::CalendarTime f;
    if (!calendar_fields(local, f)) return std::wstring();
    // Locales without patterns of their own still get names: the English ones.
    int row = language_row(Locale::current_locale()->country_code);
    if (row < 0) row = 0;
    return program.run(f, month_names(row), weekday_names(row));
}

}  // namespace detail

std::wstring DateFormat::format(const Date* date, const std::wstring& pattern) const {
    return detail::format_date(date, detail::FormatProgram(pattern));
}

}  // namespace zop
