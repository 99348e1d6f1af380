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

    // The text that formatting writes, when the program is a fixed layout
    // (numbers of two digits, four-digit years, single characters, an
    // hour) and the text follows it in plain ASCII: true with the fields
    // read and the defaults of the others in `out`, or false when the
    // general reading must decide (spaces to skip, other scripts' digits,
    // shorter numbers, values out of range, any mismatch).  Whatever it
    // accepts, the general reading accepts with the same fields.
    bool read_fixed(const wchar_t* s, std::size_t len, sys::CalendarTime& out) const;
    // read_fixed on its own, out of line: for checks that compare it with
    // the general reading.
    bool fixed_reading(const std::wstring& text, sys::CalendarTime& out) const;
    // Reads `text` by the steps, letter by letter; false on any mismatch.
    bool general(const std::wstring& text, ParsedFields& fields) const;

private:
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

    void make_fixed();

    std::vector<Step> steps_;
    std::wstring text_;

    // The fixed layout; none when its length is 0.  `forbidden_` holds for
    // each place of the text the classes of character (char_class bits)
    // that may not stand there, and `masks_` the same for the first 16
    // places as one bit a place, a mask per class.  A character of the
    // pattern that is no digit and no white space must stand as it is
    // (`exact_`); `after_` are the classes that may not follow the layout
    // when the text goes on.  Each field's digits begin at `at_` (kAbsent:
    // the field takes its default); the year has two or four digits.
    struct Exact {
        std::uint32_t offset;
        wchar_t c;
    };
    static constexpr std::uint32_t kAbsent = 0xFFFFFFFF;
    std::size_t fixed_length_ = 0;
    std::vector<std::uint8_t> forbidden_;
    std::vector<Exact> exact_;
    std::uint32_t masks_[4] = {};
    std::uint8_t after_ = 0;
    bool year_four_ = false;
    std::uint32_t at_[ParsedFields::COUNT] = {};
    std::uint32_t limit_[ParsedFields::COUNT] = {};
};

// Date formatting with a program: the date's local time, named in the
// current locale's language.  Without a zone the current zone's whole hours
// shift the date; a zone given shifts it by its whole offset.  Throws
// ArgumentException for a null date.
std::wstring format_date(const Date* date, const FormatProgram& program,
                         const TimeZone* zone = nullptr);

// The offset of TimeZone::current_time_zone(), the same at every date (the
// zone applies its standard offset all year), read without a virtual call.
// Throws what current_time_zone throws.
long long current_zone_offset();

// Date parsing with a pattern program: true with the UTC ticks stored, or
// false with `ticks` untouched.  Without a zone the current zone's whole
// hours shift the result back; with one, TimeZone::utc_time converts it.
bool parse_date(const std::wstring& text, const ParseProgram& pattern, long long& ticks,
                const TimeZone* zone = nullptr);

}  // namespace zop::detail

#endif
