// Platform layer: facts about the running process.
#ifndef ZOP_SYS_PROCESS_H
#define ZOP_SYS_PROCESS_H

#include <cstdint>
#include <string>

namespace zop::sys {

// Stores the whole current directory in `dir` (however long it is) and
// returns 0, or returns the error code and leaves `dir` unchanged.
std::uint32_t current_directory(std::wstring& dir);

// Stores the full file name of the process's executable in `path` (however
// long it is) and returns 0, or returns the error code.
std::uint32_t executable_path(std::wstring& path);

}  // namespace zop::sys

#endif
