// DateFormat's shared instance, the library's formatter for the current
// locale, and the members of Date that go through it.
#include <zop/time.h>

#include "time/date_patterns.h"
#include "time/date_tables.h"
#include "time/locale_internal.h"

#include <new>

namespace zop {

namespace {

// The current locale's patterns; null when its country has no row.  The
// predefined patterns are taken apart once, with the tables, so the pattern
// engine runs their prepared programs instead of reading the text again.
const detail::PatternSet* current_patterns() {
    return detail::patterns_for(detail::current_locale()->country_code);
}

// The current locale's program for each kind of predefined pattern; the
// empty program for a locale without patterns or a kind that is none.
const detail::FormatProgram& program_for(FullDatePattern which) {
    if (const detail::PatternSet* set = current_patterns()) {
        switch (which) {
        case SHORT_DATE_TIME: return set->short_date_time.program;
        case LONG_DATE_TIME: return set->long_date_time.program;
        case LONG_DATE_TIME_JOINED: return set->long_date_time_joined.program;
        }
    }
    return detail::empty_format();
}

const detail::FormatProgram& program_for(TimePattern which) {
    if (const detail::PatternSet* set = current_patterns()) {
        switch (which) {
        case SHORT_TIME: return set->short_time.program;
        case LONG_TIME: return set->long_time.program;
        }
    }
    return detail::empty_format();
}

const detail::FormatProgram& program_for(DatePattern which) {
    if (const detail::PatternSet* set = current_patterns()) {
        switch (which) {
        case SHORT_DATE: return set->short_date.program;
        case LONG_DATE: return set->long_date.program;
        case MONTH_DAY: return set->month_day.program;
        case YEAR_MONTH: return set->year_month.program;
        }
    }
    return detail::empty_format();
}

// The current locale's short date-time pattern read from `text`.
bool read(const std::wstring& text, long long& ticks, const TimeZone* zone) {
    const detail::PatternSet* set = current_patterns();
    return detail::parse_date(text, set != nullptr ? set->parse : detail::empty_parse(), ticks,
                              zone);
}

const wchar_t kUnexpected[] = L"The date string format is unexpected";

// Chooses the current locale's predefined pattern; shows the current zone.
class LocalDateFormat final : public DateFormat {
public:
    std::wstring format_full(const Date* date, FullDatePattern which) const override {
        return detail::format_date(date, program_for(which));
    }

    std::wstring format_time(const Date* date, TimePattern which) const override {
        return detail::format_date(date, program_for(which));
    }

    std::wstring format_date(const Date* date, DatePattern which) const override {
        return detail::format_date(date, program_for(which));
    }

    long long parse(const std::wstring& text) const override {
        long long ticks = 0;
        if (!read(text, ticks, nullptr)) throw FormatException(kUnexpected);
        return ticks;
    }

    bool try_parse(const std::wstring& text, Date& out) const override {
        long long ticks = 0;
        if (!read(text, ticks, nullptr)) return false;
        out.time(ticks);
        return true;
    }
};

}  // namespace

DateFormat* DateFormat::_local_inst = nullptr;

DateFormat::DateFormat() = default;
DateFormat::DateFormat(const DateFormat&) = default;
DateFormat& DateFormat::operator=(const DateFormat&) = default;
DateFormat::~DateFormat() = default;

DateFormat* DateFormat::local_instance() {
    if (_local_inst != nullptr) return _local_inst;
    detail::build_tables();
    _local_inst = new (std::nothrow) LocalDateFormat();
    if (_local_inst == nullptr) throw OutOfMemoryException(L"Out of memory");
    return _local_inst;
}

void DateFormat::del_local_instance() {
    detail::free_tables();
    delete _local_inst;
    _local_inst = nullptr;
}

std::wstring Date::to_string(FullDatePattern which) const {
    return DateFormat::local_instance()->format_full(this, which);
}

std::wstring Date::to_time_string(TimePattern which) const {
    return DateFormat::local_instance()->format_time(this, which);
}

std::wstring Date::to_date_string(DatePattern which) const {
    return DateFormat::local_instance()->format_date(this, which);
}

// The shared formatter is always a LocalDateFormat, whose final members
// are called directly.
Date Date::parse(const std::wstring& text) {
    return Date(static_cast<const LocalDateFormat*>(DateFormat::local_instance())->parse(text));
}

bool Date::try_parse(const std::wstring& text, Date& out) {
    return static_cast<const LocalDateFormat*>(DateFormat::local_instance())->try_parse(text, out);
}

bool DateFormat::try_parse(const std::wstring& text, Date& out) const {
    try {
        out.time(parse(text));
        return true;
    } catch (const FormatException&) {
        return false;
    }
}

ZonedDateFormat::ZonedDateFormat(const TimeZone& zone) : zone_(&zone) {}

const TimeZone& ZonedDateFormat::time_zone() const { return *zone_; }

std::wstring ZonedDateFormat::format_full(const Date* date, FullDatePattern which) const {
    return detail::format_date(date, program_for(which), zone_);
}

std::wstring ZonedDateFormat::format_time(const Date* date, TimePattern which) const {
    return detail::format_date(date, program_for(which), zone_);
}

std::wstring ZonedDateFormat::format_date(const Date* date, DatePattern which) const {
    return detail::format_date(date, program_for(which), zone_);
}

long long ZonedDateFormat::parse(const std::wstring& text) const {
    long long ticks = 0;
    if (!read(text, ticks, zone_)) throw FormatException(kUnexpected);
    return ticks;
}

bool ZonedDateFormat::try_parse(const std::wstring& text, Date& out) const {
    long long ticks = 0;
    if (!read(text, ticks, zone_)) return false;
    out.time(ticks);
    return true;
}

std::wstring ZonedDateFormat::format(const Date* date, const std::wstring& pattern) const {
    return detail::format_date(date, detail::FormatProgram(pattern), zone_);
}

bool ZonedDateFormat::do_parse(const std::wstring& text, const std::wstring& pattern,
                               long long& ticks) const {
    return detail::parse_date(text, detail::ParseProgram(pattern), ticks, zone_);
}

}  // namespace zop
