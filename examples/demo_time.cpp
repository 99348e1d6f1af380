// Demo: dates in every predefined locale and pattern, and a parse round
// trip.
#include "demo.h"

#include <zop/zop.h>

namespace {

std::wstring two(unsigned value) {
    return (value < 10 ? L"0" : L"") + std::to_wstring(value);
}

}  // namespace

void demo_time() {
    using namespace zop;

    section(L"Date and time");
    const Date now;
    print(L"now, UTC ticks:      " + std::to_wstring(now.time()));
    print(L"UTC fields:          " + std::to_wstring(now.year()) + L"-" + two(now.month()) +
          L"-" + two(now.day()) + L" " + two(now.hours()) + L":" + two(now.minutes()) +
          L", day " + std::to_wstring(now.day_of_year()) + L" of the year");
    const long long offset = TimeZone::current_time_zone()->utc_offset(now);
    print(L"zone offset:         " + std::to_wstring(offset / 60000000) + L" minutes");
    print(L"user's locale:       " + Locale::current_locale()->to_string());
    const DaylightTimeZone system_zone;
    const ZonedDateFormat in_zone(system_zone);
    print(L"with daylight time:  " + in_zone.format_full(&now, LONG_DATE_TIME) + L" (offset " +
          std::to_wstring(system_zone.utc_offset(now) / 60000000) + L" minutes" +
          (system_zone.is_daylight_time(now) ? L", daylight time)" : L")"));

    const Locale* saved = Locale::current_locale();
    for (const Locale* locale : {Locale::US, Locale::CHINA, Locale::TAIWAN}) {
        Locale::current_locale(locale);
        print(L"  " + locale->to_string() + L":");
        print(L"    SHORT_DATE_TIME        " + now.to_string(SHORT_DATE_TIME));
        print(L"    LONG_DATE_TIME         " + now.to_string(LONG_DATE_TIME));
        print(L"    LONG_DATE_TIME_JOINED  " + now.to_string(LONG_DATE_TIME_JOINED));
        print(L"    SHORT_DATE             " + now.to_date_string(SHORT_DATE));
        print(L"    LONG_DATE              " + now.to_date_string(LONG_DATE));
        print(L"    MONTH_DAY              " + now.to_date_string(MONTH_DAY));
        print(L"    YEAR_MONTH             " + now.to_date_string(YEAR_MONTH));
        print(L"    SHORT_TIME             " + now.to_time_string(SHORT_TIME));
        print(L"    LONG_TIME              " + now.to_time_string(LONG_TIME));

        const std::wstring text = now.to_string(SHORT_DATE_TIME);
        const Date back = Date::parse(text);
        print(L"    parse(\"" + text + L"\") -> " + back.to_string(SHORT_DATE_TIME) + L", " +
              std::to_wstring(now.subtract(back).ticks() / 1000000) +
              L" s before now (seconds are not in the pattern)");
    }
    Locale::current_locale(saved);

    try {
        Date::parse(L"yesterday at noon");
    } catch (const FormatException& e) {
        print(L"parse(\"yesterday at noon\"): FormatException: " + e.message());
    }
    Date out;
    print(std::wstring(L"try_parse(\"yesterday at noon\"): ") +
          (Date::try_parse(L"yesterday at noon", out) ? L"true" : L"false (no exception)"));
    const auto clock = now.to_time_point();
    print(L"as std::chrono::system_clock: " +
          std::to_wstring(std::chrono::duration_cast<std::chrono::seconds>(clock.time_since_epoch()).count()) +
          L" s since 1970, back: " + Date(clock).to_string(SHORT_DATE_TIME));
}
