// A plug-in that uses zop, for the load and unload test: the test program
// itself does not link zop, so unloading this plug-in unloads the library.
#include <zop/zop.h>

#if defined(_WIN32)
#define ZOP_PROBE_API extern "C" __declspec(dllexport)
#else
#define ZOP_PROBE_API extern "C" __attribute__((visibility("default")))
#endif

// 0 when the library is in its freshly loaded state: the predefined locales
// exist with their numbers and no time zone has been made yet.
ZOP_PROBE_API int zop_probe_fresh_state() {
    using zop::Locale;
    if (Locale::CHINA == nullptr || Locale::US == nullptr || Locale::TAIWAN == nullptr) return 1;
    if (Locale::CHINA->country_code != 156 || Locale::US->country_code != 840 ||
        Locale::TAIWAN->country_code != 158) {
        return 2;
    }
    // No zone was read yet, so there is none to delete.
    if (zop::TimeZone::del_current_time_zone() != 0) return 3;
    return 0;
}

// Makes the objects created on first use: the current zone, the shared
// formatter and its tables.  Returns the length of today's date as text.
ZOP_PROBE_API int zop_probe_use_dates() {
    zop::Date now;
    now.local_time();  // reads the current zone
    return static_cast<int>(now.to_string(zop::SHORT_DATE_TIME).size());
}
