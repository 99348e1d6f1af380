// POSIX backend: UTF-16 paths to and from the system's byte paths.
//
// Linux names may hold what a Windows name cannot: the characters
// \ : * ? " < > | and the controls 1-31, and bytes that are not UTF-8.  The
// wide form shows each such name as one plain component and maps it back
// exactly:
//   - a forbidden character c becomes the private-use character U+F000 + c
//     (the convention Wine uses for Linux names);
//   - a byte that does not belong to a valid UTF-8 sequence becomes the lone
//     surrogate U+DC00 + byte (U+DC80..U+DCFF: such bytes are 0x80..0xFF);
//   - a name that really holds one of those private-use characters spells
//     it by its three bytes, escaped as above, so that no two byte names
//     share a wide form.
// Every byte name therefore survives bytes -> wide -> bytes unchanged.
#ifndef ZOP_SYS_POSIX_UTF8_PATH_H
#define ZOP_SYS_POSIX_UTF8_PATH_H

#include <string>

namespace zop::sys::posix {

// UTF-16 units to system bytes in `out`: both separators become '/', U+F000
// + a forbidden character becomes that character, U+DC80..U+DCFF the byte it
// escapes, other unpaired surrogates their generalised UTF-8 form (three
// bytes, never a valid sequence), everything else UTF-8.  A value above
// 0xFFFF (wchar_t is 32 bits wide) is no UTF-16 unit and can be no name:
// false, with last error 123 (ERROR_INVALID_NAME).
bool to_system_path(const std::wstring& path, std::string& out);

// System bytes to UTF-16 units by the rules above; '/' stays as it is (it
// can only separate components).
std::wstring from_system_path(const std::string& path);

// The same into `out`, reusing its storage.
void from_system_path(const char* path, std::size_t length, std::wstring& out);

}  // namespace zop::sys::posix

#endif
