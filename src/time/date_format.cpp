// DateFormat's shared instance, the library's formatter for the current
// locale, and the members of Date that go through it.
#include <zop/time.h>

#include "time/date_patterns.h"
#include "time/date_tables.h"

#include <new>

namespace zop {

namespace {

// Chooses the current locale's predefined pattern.  The predefined
// patterns are taken apart once, with the tables, so the pattern engine
// runs their prepared programs instead of reading the text again.
class LocalDateFormat final : public DateFormat {
public:
    std::wstring format_full(const Date* date, FullDatePattern which) const override {
        const detail::PatternSet* set = current_patterns();
        if (set != nullptr) {
            switch (which) {
            case SHORT_DATE_TIME: return run(date, set->short_date_time);
            case LONG_DATE_TIME: return run(date, set->long_date_time);
            case LONG_DATE_TIME_JOINED: return run(date, set->long_date_time_joined);
            }
        }
        return detail::format_date(date, detail::empty_format());
    }

    std::wstring format_time(const Date* date, TimePattern which) const override {
        const detail::PatternSet* set = current_patterns();
        if (set != nullptr) {
            switch (which) {
            case SHORT_TIME: return run(date, set->short_time);
            case LONG_TIME: return run(date, set->long_time);
            }
        }
        return detail::format_date(date, detail::empty_format());
    }

    std::wstring format_date(const Date* date, DatePattern which) const override {
        const detail::PatternSet* set = current_patterns();
        if (set != nullptr) {
            switch (which) {
            case SHORT_DATE: return run(date, set->short_date);
            case LONG_DATE: return run(date, set->long_date);
            case MONTH_DAY: return run(date, set->month_day);
            case YEAR_MONTH: return run(date, set->year_month);
            }
        }
        return detail::format_date(date, detail::empty_format());
    }

    long long parse(const std::wstring& text) const override {
        long long ticks = 0;
        if (!read(text, ticks)) throw FormatException(L"The date string format is unexpected");
        return ticks;
    }

    bool try_parse(const std::wstring& text, Date& out) const override {
        long long ticks = 0;
        if (!read(text, ticks)) return false;
        out.time(ticks);
        return true;
    }

private:
    // The current locale's short date-time pattern read from `text`.
    static bool read(const std::wstring& text, long long& ticks) {
        const detail::PatternSet* set = current_patterns();
        return detail::parse_date(text, set != nullptr ? set->parse : detail::empty_parse(), ticks);
    }

    // The current locale's patterns; null when its country has no row.
    static const detail::PatternSet* current_patterns() {
        const int row = detail::language_row(Locale::current_locale()->country_code);
        return row < 0 ? nullptr : &detail::patterns(row);
    }

    static std::wstring run(const Date* date, const detail::Pattern& pattern) {
        return detail::format_date(date, pattern.program);
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

Date Date::parse(const std::wstring& text) {
    return Date(DateFormat::local_instance()->parse(text));
}

bool Date::try_parse(const std::wstring& text, Date& out) {
    return DateFormat::local_instance()->try_parse(text, out);
}

bool DateFormat::try_parse(const std::wstring& text, Date& out) const {
    try {
        out.time(parse(text));
        return true;
    } catch (const FormatException&) {
        return false;
    }
}

}  // namespace zop
