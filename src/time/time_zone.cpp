// TimeZone and the library's zone built from the system settings.
#include <zop/time.h>

#include "time/calendar.h"
#include "time/time_zone_internal.h"

#include <new>

namespace zop {

namespace {

detail::ZoneSettingsSource g_source = nullptr;

// The system zone at its standard offset.  The daylight offset is kept but
// never applied: is_daylight_time() answers false for every date.
class SystemTimeZone final : public TimeZone {
public:
    long long utc_offset(const Date& date) const override {
        return is_daylight_time(date) ? daylight_offset : standard_offset;
    }

    bool is_daylight_time(const Date&) const override { return false; }

    std::wstring standard_name;
    long long daylight_offset = 0;
    long long standard_offset = 0;
};

constexpr long long kTicksPerMinute = 60000000LL;

// Fills `zone` from the settings for the current year.  Years outside the
// system's zone rules leave the name empty and both offsets 0.
void load(SystemTimeZone& zone) {
    sys::TimeZoneSettings settings;
    const std::uint32_t id =
        g_source != nullptr ? g_source(settings) : sys::time_zone_information(settings);
    if (id == sys::kZoneIdInvalid) {
        throw InvalidOperationException(L"Can't get timezone information.");
    }
    const int year = Date().year();
    if (year < 1602 || year > 30827) return;
    zone.standard_name = settings.standard_name;
    zone.standard_offset =
        -(static_cast<long long>(settings.bias) + settings.standard_bias) * kTicksPerMinute;
    zone.daylight_offset =
        -(static_cast<long long>(settings.bias) + settings.daylight_bias) * kTicksPerMinute;
}

}  // namespace

TimeZone* TimeZone::_cur_tz = nullptr;

TimeZone::TimeZone() = default;
TimeZone::TimeZone(const TimeZone&) {}
TimeZone& TimeZone::operator=(const TimeZone&) { return *this; }
TimeZone::~TimeZone() = default;

TimeZone* TimeZone::current_time_zone() {
    if (_cur_tz != nullptr) return _cur_tz;
    auto* zone = new (std::nothrow) SystemTimeZone();
    if (zone == nullptr) throw OutOfMemoryException(L"Out of memory");
    try {
        load(*zone);
    } catch (...) {
        delete zone;
        throw;
    }
    _cur_tz = zone;
    return _cur_tz;
}

int TimeZone::del_current_time_zone() {
    if (_cur_tz == nullptr) return 0;
    delete _cur_tz;
    _cur_tz = nullptr;
    return 1;
}

long long Date::local_time() const {
    return detail::wrap_add(ticks_, TimeZone::current_time_zone()->utc_offset(*this));
}

void Date::local_time(long long local) {
    const long long offset = TimeZone::current_time_zone()->utc_offset(Date(local));
    ticks_ = detail::wrap_add(local, detail::wrap_mul(offset, -1));
}

namespace detail {

void time_zone_source(ZoneSettingsSource source) { g_source = source; }

}  // namespace detail
}  // namespace zop
