// Date patterns taken apart once, so that a pattern used again and again
// (the locale's predefined ones) is not scanned letter by letter at every
// call.  A program does exactly what the pattern language says for the
// pattern it was built from.
#ifndef ZOP_TIME_DATE_PATTERNS_H
#define ZOP_TIME_DATE_PATTERNS_H

#include <zop/time.h>

#include "sys/time.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zop::detail {

struct NameRow;

// A formatting pattern as a list of steps: text to copy, numbers and names.
class FormatProgram {
public:
    // The empty pattern.
    FormatProgram() = default;
    explicit FormatProgram(const std::wstring& pattern);

    // The text of the broken-down time `f` with the given names.
    std::wstring run(const sys::CalendarTime& f, const NameRow& months,
                     const NameRow& weekdays) const;

private:
    struct Step {
        std::uint8_t kind;
        std::uint8_t two_digits;  // numbers: at least two digits
        std::uint32_t begin;      // text: its place in text_
        std::uint32_t length;
    };
    void add(std::uint8_t kind, bool two_digits = false);
    void add_text(wchar_t c);

    std::vector<Step> steps_;
    std::wstring text_;      // the copied text of all steps
    std::size_t bound_ = 0;  // the longest result the steps can give
};

// The fields that parsing reads, each -1 until its letter is met.
struct ParsedFields {
    enum Field { YEAR, MONTH, DAY, HOUR, MINUTE, SECOND, COUNT };
    int value[COUNT] = {-1, -1, -1, -1, -1, -1};
    bool hour_of_day = false;  // an H field was read
};

// A parsing pattern as a list of steps.
class ParseProgram {
public:
    // The empty pattern.
    ParseProgram() = default;
    explicit ParseProgram(const std::wstring& pattern);

    // Reads `text` by the steps; false on any mismatch.
    bool run(const std::wstring& text, ParsedFields& fields) const;

private:
    // The same for the text that formatting writes, when the program is a
    // fixed layout (numbers of two digits, four-digit years, single
    // characters) and the text follows it in plain ASCII: true with the
    // fields read, or false when the general reading must decide (spaces
    // to skip, other scripts' digits, shorter numbers, any mismatch).
    bool run_fixed(const wchar_t* s, std::size_t len, ParsedFields& fields) const;
    bool general(const std::wstring& text, ParsedFields& fields) const;

    struct Step {
        std::uint8_t kind;
        std::uint8_t field;       // numbers and names: a ParsedFields::Field
        std::uint8_t width;       // numbers: at most (or exactly) this many digits
        bool no_digit_after;      // numbers: no further digit may follow
        bool century_rule;        // years: two digits or fewer name 1930-2029
        bool marks_hour;          // H: an hour of the day was seen
        bool space;               // characters: a white-space character
        wchar_t c;                // the character to match
        std::uint32_t limit;      // numbers: the value must be below it
        std::uint32_t begin;      // literals: their place in text_
        std::uint32_t length;
    };

    // One step of the fixed layout: what stands at `offset` of the text.
    struct Fixed {
        std::uint32_t offset;
        std::uint8_t kind;        // two digits, four digits, any, space, character
        std::uint8_t field;
        bool check_next;          // no digit may follow the number
        bool century_rule;
        bool marks_hour;
        std::uint32_t limit;
        wchar_t c;
    };

    std::vector<Step> steps_;
    std::wstring text_;
    // The fixed layout, empty when the program has none, and the length of
    // text it needs.
    std::vector<Fixed> fixed_;
    std::size_t fixed_length_ = 0;
};

// Date formatting with a program: the date's local time, named in the
// current locale's language.  Without a zone the current zone's whole hours
// shift the date; a zone given shifts it by its whole offset.  Throws
// ArgumentException for a null date.
std::wstring format_date(const Date* date, const FormatProgram& program,
                         const TimeZone* zone = nullptr);

// Date parsing with a pattern program: true with the UTC ticks stored, or
// false with `ticks` untouched.  Without a zone the current zone's whole
// hours shift the result back; with one, TimeZone::utc_time converts it.
bool parse_date(const std::wstring& text, const ParseProgram& pattern, long long& ticks,
                const TimeZone* zone = nullptr);

}  // namespace zop::detail

#endif
