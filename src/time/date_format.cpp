// DateFormat's shared instance, the library's formatter for the current
// locale, and the members of Date that go through it.
#include <zop/time.h>

#include "time/date_tables.h"

#include <new>

namespace zop {

namespace {

// Chooses the current locale's predefined pattern and hands it to the
// pattern engine.
class LocalDateFormat : public DateFormat {
public:
    std::wstring format_full(const Date* date, FullDatePattern which) const override {
        const detail::PatternSet* set = current_patterns();
        if (set == nullptr) return format(date, detail::empty_pattern());
        switch (which) {
        case SHORT_DATE_TIME: return format(date, set->short_date_time);
        case LONG_DATE_TIME: return format(date, set->long_date_time);
        case LONG_DATE_TIME_JOINED: return format(date, set->long_date_time_joined);
        }
        return format(date, detail::empty_pattern());
    }

    std::wstring format_time(const Date* date, TimePattern which) const override {
        const detail::PatternSet* set = current_patterns();
        if (set == nullptr) return format(date, detail::empty_pattern());
        switch (which) {
        case SHORT_TIME: return format(date, set->short_time);
        case LONG_TIME: return format(date, set->long_time);
        }
        return format(date, detail::empty_pattern());
    }

    std::wstring format_date(const Date* date, DatePattern which) const override {
        const detail::PatternSet* set = current_patterns();
        if (set == nullptr) return format(date, detail::empty_pattern());
        switch (which) {
        case SHORT_DATE: return format(date, set->short_date);
        case LONG_DATE: return format(date, set->long_date);
        case MONTH_DAY: return format(date, set->month_day);
        case YEAR_MONTH: return format(date, set->year_month);
        }
        return format(date, detail::empty_pattern());
    }

    long long parse(const std::wstring& text) const override {
        const detail::PatternSet* set = current_patterns();
        long long ticks = 0;
        if (!do_parse(text, set != nullptr ? set->short_date_time : detail::empty_pattern(),
                      ticks)) {
            throw FormatException(L"The date string format is unexpected");
        }
        return ticks;
    }

private:
    // The current locale's patterns; null when its country has no row.
    static const detail::PatternSet* current_patterns() {
        const int row = detail::language_row(Locale::current_locale()->country_code);
        return row < 0 ? nullptr : &detail::patterns(row);
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

}  // namespace zop
