// Internals of the path algebra, reachable by the library's own tests.
#ifndef ZOP_FS_PATH_INTERNAL_H
#define ZOP_FS_PATH_INTERNAL_H

#include <string>

namespace zop::detail {

// Path::make_full_path with the current directory supplied by `current`,
// which is called only when the path needs it.
std::wstring complete_path(const std::wstring& path, std::wstring (*current)());

}  // namespace zop::detail

#endif
