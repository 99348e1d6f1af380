// Win32 backend: the version record.
#include "sys/version.h"

#include <windows.h>

namespace zop::sys {

void query_version(VersionRecord& record) {
    OSVERSIONINFOW info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    // GetVersionExW is deprecated but still answers; a failed call leaves
    // the zeroed record, which reads as an unknown system.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    ::GetVersionExW(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    record.platform = info.dwPlatformId;
    record.major = info.dwMajorVersion;
    record.minor = info.dwMinorVersion;
    record.service_pack.assign(info.szCSDVersion);
}

}  // namespace zop::sys
