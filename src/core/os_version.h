// Detection of the running Windows version from the system's version record.
#ifndef ZOP_CORE_OS_VERSION_H
#define ZOP_CORE_OS_VERSION_H

#include <zop/core.h>

#include "sys/version.h"

#include <atomic>

namespace zop::detail {

// The OSVersion that a version record describes.
OSVersion classify_os_version(const sys::VersionRecord& record);

// Returns `cache` when it is known (non-zero); otherwise asks `query`,
// classifies the record and stores the result in `cache`.
OSVersion detect_os_version(std::atomic<OSVersion>& cache,
                            void (*query)(sys::VersionRecord&));

}  // namespace zop::detail

#endif
