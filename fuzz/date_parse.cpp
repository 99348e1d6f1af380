// Date parsing of any text in every locale: Date::parse and the shared
// formatter's parse agree with each other and with the pattern engine on
// the locale's short date-time pattern, fail only with FormatException, and
// a parsed date formats back to text that parses to the same date.  Every
// predefined pattern of every language also reads the text through the
// engine: a refusal leaves the result untouched, a success lies in the
// calendar and, where the pattern reads back what it prints, survives the
// round trip.
#include "date_fuzz.h"

#include <array>

using namespace zop;
using zop_fuzz::PatternFormat;

namespace {

constexpr long long kUntouched = 0x5A5A5A5A5A5A5LL;
constexpr std::size_t kShortDateTime = 6;  // in predefined_patterns()

// The date as Date::parse reads it, or kUntouched after a FormatException.
long long parse_date(const std::wstring& text) {
    try {
        return Date::parse(text).time();
    } catch (const FormatException& e) {
        FUZZ_CHECK(e.message() == L"The date string format is unexpected");
        return kUntouched;
    }
}

long long parse_shared(const std::wstring& text) {
    try {
        return DateFormat::local_instance()->parse(text);
    } catch (const FormatException& e) {
        FUZZ_CHECK(e.message() == L"The date string format is unexpected");
        return kUntouched;
    }
}

// The engine's answer for a pattern; kUntouched when it refused, which it
// must say by leaving the result alone.
long long parse_by(const std::wstring& text, const std::wstring& pattern) {
    long long ticks = kUntouched;
    const bool ok = PatternFormat().do_parse(text, pattern, ticks);
    FUZZ_CHECK(ok == (ticks != kUntouched));
    return ticks;
}

// A parsed local time lies within the years a pattern can give.
void check_in_calendar(long long ticks) {
    const int year = zop_fuzz::engine_year(ticks);
    FUZZ_CHECK(year >= 1601 && year <= 9999);
}

// Formats the parsed date by the pattern and reads it again.
void check_round_trip(long long ticks, const std::wstring& pattern) {
    const std::wstring text = PatternFormat()(Date(ticks), pattern);
    FUZZ_CHECK(parse_by(text, pattern) == ticks);
}

const Locale kGerman(L"de", L"DE", L"", 276);  // a country without patterns

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zop_fuzz::use_fuzz_zone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = zop_fuzz::wide_text(std::string(reinterpret_cast<const char*>(data), size));
    const std::array<const Locale*, 3> locales = {Locale::US, Locale::CHINA, Locale::TAIWAN};
    for (std::size_t row = 0; row < locales.size(); ++row) {
        zop_test::LocaleScope scope(locales[row]);
        const long long ticks = parse_date(text);
        FUZZ_CHECK(parse_shared(text) == ticks);
        static const std::array<std::vector<std::wstring>, 3> all = {
            zop_fuzz::predefined_patterns(Locale::US), zop_fuzz::predefined_patterns(Locale::CHINA),
            zop_fuzz::predefined_patterns(Locale::TAIWAN)};
        const std::vector<std::wstring>& patterns = all[row];
        FUZZ_CHECK(parse_by(text, patterns[kShortDateTime]) == ticks);
        if (ticks != kUntouched) {
            check_in_calendar(ticks);
            FUZZ_CHECK(parse_date(Date(ticks).to_string(SHORT_DATE_TIME)) == ticks);
        }
        for (const std::wstring& pattern : patterns) {
            zop_fuzz::check_fixed_agrees(pattern, text);
            const long long by_pattern = parse_by(text, pattern);
            if (by_pattern == kUntouched) continue;
            check_in_calendar(by_pattern);
            if (zop_fuzz::round_trippable(pattern)) check_round_trip(by_pattern, pattern);
        }
    }
    // A locale without patterns reads nothing.
    zop_test::LocaleScope scope(&kGerman);
    FUZZ_CHECK(parse_date(text) == kUntouched);
    return 0;
}
