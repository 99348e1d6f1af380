// Platform layer: the operating system's version record.
#ifndef ZOP_SYS_VERSION_H
#define ZOP_SYS_VERSION_H

#include <cstdint>
#include <string>

namespace zop::sys {

// The fields of the Windows version record that the library reads.
struct VersionRecord {
    std::uint32_t platform = 0;  // 1: Windows 9x, 2: Windows NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::wstring service_pack;   // e.g. L"Service Pack 3" or L" A "
};

// Fills `record` from the system; on failure the record stays zeroed.
void query_version(VersionRecord& record);

}  // namespace zop::sys

#endif
