// The running Windows version, detected once.
#include "core/os_version.h"

#include <cwctype>

namespace zop {
namespace detail {

OSVersion classify_os_version(const sys::VersionRecord& record) {
    if (record.platform == 2) {
        if (record.major < 4) return UnknownOS;
        if (record.major == 4) return WindowsNT4;
        if (record.major == 5) {
            if (record.minor == 0) return Windows2000;
            if (record.minor == 1) return WindowsXP;
        }
        return WindowsNewer;
    }
    if (record.platform == 1) {
        // Windows 98 Second Edition reports " A " as its service-pack text:
        // the first upper-case unit tells the editions apart.
        wchar_t edition = 0;
        for (wchar_t c : record.service_pack) {
            if (std::iswupper(static_cast<std::wint_t>(c)) != 0) {
                edition = c;
                break;
            }
        }
        if (record.minor < 10) return Windows95;
        if (record.minor < 90) return edition >= L'A' ? Windows98SE : Windows98;
        return WindowsMe;
    }
    return UnknownOS;
}

OSVersion detect_os_version(std::atomic<OSVersion>& cache,
                            void (*query)(sys::VersionRecord&)) {
    OSVersion known = cache.load(std::memory_order_relaxed);
    if (known != UnknownOS) return known;
    sys::VersionRecord record;
    query(record);
    known = classify_os_version(record);
    // Racing first calls compute the same value, so a plain store is enough.
    cache.store(known, std::memory_order_relaxed);
    return known;
}

}  // namespace detail

namespace {
std::atomic<OSVersion> g_detected_os_version{UnknownOS};
}

OSVersion running_os_version() {
    return detail::detect_os_version(g_detected_os_version, &sys::query_version);
}

}  // namespace zop
