// File times (100-nanosecond units since 1601-01-01 UTC) and tick counts
// (microseconds since 1970-01-01 UTC).
#ifndef ZOP_FS_FILE_TIME_H
#define ZOP_FS_FILE_TIME_H

#include <cstdint>

namespace zop::detail {

constexpr std::int64_t kEpochDifferenceTicks = 11644473600000000;

// Divides with truncation toward zero, as the file time is taken signed.
constexpr std::int64_t file_time_to_ticks(std::uint64_t file_time) {
    return static_cast<std::int64_t>(file_time) / 10 - kEpochDifferenceTicks;
}

// Kept to 64 bits: wraps like the unsigned arithmetic it stands for.
constexpr std::uint64_t ticks_to_file_time(std::int64_t ticks) {
    return (static_cast<std::uint64_t>(ticks) + static_cast<std::uint64_t>(kEpochDifferenceTicks)) * 10u;
}

}  // namespace zop::detail

#endif
