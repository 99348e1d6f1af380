// POSIX backend: Windows wildcard matching of file names.
#ifndef ZOP_SYS_POSIX_WILDCARD_H
#define ZOP_SYS_POSIX_WILDCARD_H

#include <string>

namespace zop::sys::posix {

// True when `name` matches `pattern` as FindFirstFileW matches: '*' stands
// for any run of characters (dots included), '?' for exactly one; ASCII
// letters match regardless of case; a pattern ending in ".*" also matches
// names without an extension, so "*.*" matches every name.
bool wildcard_match(const std::wstring& pattern, const std::wstring& name);

// True when the pattern holds '*' or '?'.
bool has_wildcards(const std::wstring& pattern);

}  // namespace zop::sys::posix

#endif
