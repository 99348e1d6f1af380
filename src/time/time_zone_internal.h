// Where the current time zone takes its settings from.
#ifndef ZOP_TIME_TIME_ZONE_INTERNAL_H
#define ZOP_TIME_TIME_ZONE_INTERNAL_H

#include "sys/time.h"

#include <cstdint>

namespace zop::detail {

// A provider of time-zone settings with the contract of
// sys::time_zone_information.
using ZoneSettingsSource = std::uint32_t (*)(sys::TimeZoneSettings&);

// Makes `source` the provider that the next current zone is built from;
// null restores the operating system.  The current zone is not touched:
// call TimeZone::del_current_time_zone() for the change to take effect.
// Lets tests run under zones of their choosing on every system.
void time_zone_source(ZoneSettingsSource source);

}  // namespace zop::detail

#endif
