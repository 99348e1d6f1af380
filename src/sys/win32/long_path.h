// Win32 backend: paths longer than the classic limit.
//
// Windows refuses paths of MAX_PATH (260) characters and more, and new
// directories of 248 and more, unless they carry the \\?\ prefix, which
// hands a path to the file system as it is: '/' is not turned into '\',
// "." and ".." are not resolved, trailing dots and spaces are not dropped.
// So an absolute path (drive "C:\..." or UNC "\\server\share\...") of 248
// characters or more is first given its full form by GetFullPathNameW,
// which applies exactly those rules, and then the prefix: "\\?\C:\..." or
// "\\?\UNC\server\share\...".  A long path therefore means what it would
// mean if it were short.  Shorter paths, relative ones ("a\b", "C:a"), and
// those that start with \\?\ or \\.\ already are passed on unchanged.
#ifndef ZOP_SYS_WIN32_LONG_PATH_H
#define ZOP_SYS_WIN32_LONG_PATH_H

#include <string>

namespace zop::sys {

// The form of `path` to hand to the system (see above).  A path that
// GetFullPathNameW refuses is passed on unchanged, for the call to fail.
std::wstring long_path(const std::wstring& path);

// The same for a FindFirstFileW pattern: only the directory part is put in
// full form, so the last component keeps its wildcards and trailing dots
// ("*." finds the names without a dot).
std::wstring long_pattern(const std::wstring& pattern);

}  // namespace zop::sys

#endif
