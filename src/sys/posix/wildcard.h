// POSIX backend: Windows wildcard matching of file names.
#ifndef ZOP_SYS_POSIX_WILDCARD_H
#define ZOP_SYS_POSIX_WILDCARD_H

#include <string>

namespace zop::sys::posix {

// True when `name` matches `pattern` as FindFirstFileW matches:
// - '*' stands for any run of characters, dots included; followed by a '.'
//   it stops short of the name's last dot ("*.txt" misses "a.txt.bak");
// - '?' stands for one character, but matches nothing at a '.' or at the
//   end of the name ("a?.txt" and "a.txt?" match "a.txt", "a?c" misses
//   "a.c");
// - a '.' followed by '?' or '*', or ending the pattern, also matches the
//   end of the name: "stem.*" matches "stem", "*." the names without a dot;
// - "*.*" matches every name;
// - '<', '>' and '"' are the file system's own forms of the three
//   rewritten wildcards (the '*' before a '.', '?', and the '.' before a
//   wildcard or the end), as Windows passes them through;
// - ASCII letters match regardless of case, other characters exactly.
// An empty name matches only the empty pattern.  Time grows with the
// product of the two lengths at worst.
bool wildcard_match(const std::wstring& pattern, const std::wstring& name);

}  // namespace zop::sys::posix

#endif
