// POSIX backend: the thread's last error and the errno translation.
#ifndef ZOP_SYS_POSIX_ERRNO_MAP_H
#define ZOP_SYS_POSIX_ERRNO_MAP_H

#include <cstdint>
#include <string>

namespace zop::sys::posix {

// The Win32 error code of `err` by the rows of errno_table.h (values without
// a row give kUnmappedErrnoCode).  ENOENT is "file not found" (2), or with
// `missing_path` set, where a directory on the way is missing, 3.
std::uint32_t win32_code(int err, bool missing_path = false);

// Records the translation of `err` as the thread's last error and returns it.
std::uint32_t fail_with_errno(int err, bool missing_path = false);

// Records `code` as the thread's last error; returns false for the caller
// to pass on.
bool fail(std::uint32_t code);

// Records the translation of `err` for an operation on `path` (UTF-8):
// ENOENT is "file not found" (2) when the directory holding the entry
// exists and "path not found" (3) when it does not, as Windows tells them
// apart.  Returns false.
bool fail_on_path(int err, const std::string& path);

}  // namespace zop::sys::posix

#endif
