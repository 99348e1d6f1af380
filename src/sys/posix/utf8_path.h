// POSIX backend: UTF-16 wide strings to and from the system's UTF-8 paths.
#ifndef ZOP_SYS_POSIX_UTF8_PATH_H
#define ZOP_SYS_POSIX_UTF8_PATH_H

#include <string>

namespace zop::sys::posix {

// UTF-16 units to UTF-8 bytes, each backslash turned into a slash.  An
// unpaired surrogate becomes U+FFFD.
std::string to_system_path(const std::wstring& path);

// UTF-8 bytes to UTF-16 units, as the system spells the path (slashes kept).
// A byte that does not start a valid sequence becomes U+FFFD.
std::wstring from_system_path(const std::string& path);

// The same into `out`, reusing its storage.
void from_system_path(const char* path, std::size_t length, std::wstring& out);

}  // namespace zop::sys::posix

#endif
