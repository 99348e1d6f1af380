// The date pattern engine with any pattern and any text (the protected
// format and do_parse, through a subclass): a refusal leaves the result
// untouched, a success lies in the calendar, and where the pattern reads
// back what it prints (see round_trippable) a parsed date formats to text
// that parses to it again; a date formatted by such a pattern and parsed
// back formats to the same text.
#include "date_fuzz.h"

using namespace zop;
using zop_fuzz::PatternFormat;

namespace {

constexpr long long kUntouched = 0x5A5A5A5A5A5A5LL;

long long parse_by(const std::wstring& text, const std::wstring& pattern) {
    long long ticks = kUntouched;
    const bool ok = PatternFormat().do_parse(text, pattern, ticks);
    FUZZ_CHECK(ok == (ticks != kUntouched));
    return ticks;
}

// The first and last microsecond of the local years 1601 to 9999 that the
// engine can print and read, and a zone's day on either side.
constexpr long long kFirst = -11644473600000000LL + 86400000000LL;
constexpr long long kLast = 253402300799999999LL - 86400000000LL;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zop_fuzz::use_fuzz_zone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The pattern, a line feed, then the text; the date to format comes from
    // all the bytes.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = bytes.find('\n');
    const std::wstring pattern = zop_fuzz::wide_text(bytes.substr(0, cut));
    const std::wstring text = cut == std::string::npos ? std::wstring() : zop_fuzz::wide_text(bytes.substr(cut + 1));
    const bool round_trips = zop_fuzz::round_trippable(pattern);
    PatternFormat format;

    zop_fuzz::check_fixed_agrees(pattern, text);
    const long long parsed = parse_by(text, pattern);
    if (parsed != kUntouched) {
        const int year = zop_fuzz::engine_year(parsed);
        FUZZ_CHECK(year >= 1601 && year <= 9999);
        // A digit of another script counts by its code minus 48 (the
        // documented value rule), which no formatted text gives back.
        bool latin = true;
        for (wchar_t c : text) latin = latin && !(static_cast<unsigned long>(c) >= 0x80 && zop::Char::is_digit(c));
        if (round_trips && latin) FUZZ_CHECK(parse_by(format(Date(parsed), pattern), pattern) == parsed);
    }

    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ULL;
    const Date date(kFirst + static_cast<long long>(hash % static_cast<std::uint64_t>(kLast - kFirst)));
    const std::wstring printed = format(date, pattern);
    if (round_trips) {
        const long long again = parse_by(printed, pattern);
        if (again != kUntouched) FUZZ_CHECK(format(Date(again), pattern) == printed);
    }
    return 0;
}
