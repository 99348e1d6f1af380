// Helpers for the date tests: the protected pattern engine made callable,
// the current locale set for a scope, and dates whose local fields are
// known under whatever zone is current.
#ifndef ZOP_TESTS_DATE_TEST_SUPPORT_H
#define ZOP_TESTS_DATE_TEST_SUPPORT_H

#include <zop/time.h>

#include <string>

namespace zop_test {

// Formats and parses by any pattern with the library's engine.
class PatternFormat : public zop::DateFormat {
public:
    using zop::DateFormat::do_parse;
    using zop::DateFormat::format;
    std::wstring format_full(const zop::Date*, zop::FullDatePattern) const override { return L""; }
    std::wstring format_time(const zop::Date*, zop::TimePattern) const override { return L""; }
    std::wstring format_date(const zop::Date*, zop::DatePattern) const override { return L""; }
    long long parse(const std::wstring&) const override { return 0; }

    std::wstring operator()(const zop::Date& date, const std::wstring& pattern) const {
        return format(&date, pattern);
    }
};

// Makes `locale` current until the end of the scope.
class LocaleScope {
public:
    explicit LocaleScope(const zop::Locale* locale) : saved_(zop::Locale::current_locale()) {
        zop::Locale::current_locale(locale);
    }
    ~LocaleScope() { zop::Locale::current_locale(saved_); }

private:
    const zop::Locale* saved_;
};

// The instant that formats with these local fields in the current zone
// (formatting and parsing shift by the zone's whole hours).
inline zop::Date local_date(unsigned year, unsigned month, unsigned day, unsigned hour,
                            unsigned minute, unsigned second = 0) {
    zop::Date date(year, month, day, hour, minute, second, 0);
    const long long hours = zop::TimeZone::current_time_zone()->utc_offset(date) / 3600000000LL;
    date.add_hours(static_cast<int>(-hours));
    return date;
}

}  // namespace zop_test

#endif
