// TimeZone and the library's zone built from the system settings.
#include <zop/time.h>

#include "time/calendar.h"
#include "time/date_patterns.h"
#include "time/time_zone_internal.h"

#include <algorithm>
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

namespace {

// A new system zone; out of line, so that the calls that find the zone
// made stay short.
[[gnu::noinline]] SystemTimeZone* new_system_zone() {
    auto* zone = new (std::nothrow) SystemTimeZone();
    if (zone == nullptr) throw OutOfMemoryException(L"Out of memory");
    try {
        load(*zone);
    } catch (...) {
        delete zone;
        throw;
    }
    return zone;
}

}  // namespace

TimeZone* TimeZone::current_time_zone() {
    if (_cur_tz == nullptr) _cur_tz = new_system_zone();
    return _cur_tz;
}

int TimeZone::del_current_time_zone() {
    if (_cur_tz == nullptr) return 0;
    delete _cur_tz;
    _cur_tz = nullptr;
    return 1;
}

long long TimeZone::utc_time(long long local) const {
    // The offsets a day before and a day after enclose any change that
    // could make `local` skipped or repeated.
    const long long before = utc_offset(Date(detail::wrap_add(local, -detail::kTicksPerDay)));
    const long long after = utc_offset(Date(detail::wrap_add(local, detail::kTicksPerDay)));
    const long long first = detail::wrap_add(local, detail::wrap_mul(before, -1));
    if (utc_offset(Date(first)) == before) return first;
    const long long second = detail::wrap_add(local, detail::wrap_mul(after, -1));
    if (utc_offset(Date(second)) == after) return second;
    // Skipped: the offset before the gap carries the time past it.
    return first;
}

namespace {

// The system zone's offset at `date`, moved into the range the platform
// layer answers for.
sys::ZoneOffset system_offset(const Date& date) {
    constexpr long long kFirst = detail::ticks_from_file_time(sys::kZoneFirstFileTime);
    constexpr long long kLast = detail::ticks_from_file_time(sys::kZoneLastFileTime);
    sys::ZoneOffset offset;
    if (!sys::zone_offset_at(detail::file_time_from_ticks(std::clamp(date.time(), kFirst, kLast)),
                             offset)) {
        throw InvalidOperationException(L"Can't get timezone information.");
    }
    return offset;
}

}  // namespace

DaylightTimeZone::DaylightTimeZone() = default;

long long DaylightTimeZone::utc_offset(const Date& date) const {
    return system_offset(date).minutes * kTicksPerMinute;
}

bool DaylightTimeZone::is_daylight_time(const Date& date) const {
    return system_offset(date).daylight;
}

long long Date::local_time() const {
    return detail::wrap_add(ticks_, TimeZone::current_time_zone()->utc_offset(*this));
}

void Date::local_time(long long local) {
    const long long offset = TimeZone::current_time_zone()->utc_offset(Date(local));
    ticks_ = detail::wrap_add(local, detail::wrap_mul(offset, -1));
}

namespace detail {

long long current_zone_offset() {
    // The current zone is always the system zone made above.
    return static_cast<const SystemTimeZone*>(TimeZone::current_time_zone())->standard_offset;
}

void time_zone_source(ZoneSettingsSource source) { g_source = source; }

}  // namespace detail
}  // namespace zop
