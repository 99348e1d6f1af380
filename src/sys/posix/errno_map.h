// POSIX backend: the thread's last error and the errno translation.
#ifndef ZOP_SYS_POSIX_ERRNO_MAP_H
#define ZOP_SYS_POSIX_ERRNO_MAP_H

#include <cstdint>

namespace zop::sys::posix {

// The Win32 error code a Windows call would report for `err`, for calls on
// a path (ENOENT on the last component is "file not found", 2) or, with
// `missing_path` set, where a directory on the way is missing (3).
std::uint32_t win32_code(int err, bool missing_path = false);

// Records the translation of `err` as the thread's last error and returns it.
std::uint32_t fail_with_errno(int err, bool missing_path = false);

}  // namespace zop::sys::posix

#endif
