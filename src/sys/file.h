// Platform layer: files and directories by path.
//
// Every function reports failure by its result and leaves the Win32 error
// code in the thread's last error (sys::last_error()).
#ifndef ZOP_SYS_FILE_H
#define ZOP_SYS_FILE_H

#include <cstdint>
#include <filesystem>
#include <string>

namespace zop::sys {

constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFFu;
constexpr std::uint32_t kAttrReadonly = 0x1;
constexpr std::uint32_t kAttrHidden = 0x2;
constexpr std::uint32_t kAttrDirectory = 0x10;
constexpr std::uint32_t kAttrArchive = 0x20;
constexpr std::uint32_t kAttrNormal = 0x80;
constexpr std::uint32_t kAttrReparsePoint = 0x400;

// What GetFileAttributesExW reports at its standard information level.
// Times are file times: 100-nanosecond units since 1601-01-01 UTC.
struct FileAttributeData {
    std::uint32_t attributes = 0;
    std::uint64_t creation_time = 0;
    std::uint64_t last_access_time = 0;
    std::uint64_t last_write_time = 0;
    std::uint64_t size = 0;
};

// The attribute bits of an entry, or kInvalidAttributes.
std::uint32_t get_file_attributes(const std::wstring& path);

// Attributes, times and size of an entry.
bool get_file_attributes_ex(const std::wstring& path, FileAttributeData& data);

// Replaces the attribute bits of an entry.
bool set_file_attributes(const std::wstring& path, std::uint32_t attributes);

// Sets the times that are given (non-null) of a file or directory; the
// others stay as they are, and so does a time given as zero.  Opens the
// entry for writing with backup semantics (directories included) and closes
// it again.  A time the file system cannot hold fails with code 87.
bool set_file_times(const std::wstring& path, const std::uint64_t* creation,
                    const std::uint64_t* last_access, const std::uint64_t* last_write);

// Deletes a file (a link, not its target).  Fails for directories and
// read-only files with code 5.
bool delete_file(const std::wstring& path);

// Creates one directory; its parent must exist.
bool create_directory(const std::wstring& path);

// Removes an empty directory, or a link to a directory (not its target).
bool remove_directory(const std::wstring& path);

// A wide path as the standard library's path of this system, and back.
// False (code 123) where the path can name nothing on this system.
bool native_path(const std::wstring& path, std::filesystem::path& out);
std::wstring from_native_path(const std::filesystem::path& path);

// Removes the directory `path` and everything below it, children before
// their parents.  Entries that are links (reparse points) are removed as
// links and never entered; so is `path` itself when it is a link.  An entry
// that vanishes meanwhile is skipped.  On failure the removal stops (what
// was removed stays removed), `failed` names the entry that could not be
// removed and `failed_is_file` tells whether it is a file.
bool remove_tree(const std::wstring& path, std::wstring& failed, bool& failed_is_file);

// An enumeration of the entries that match a wildcard pattern ('*', '?') in
// the last component of a path, "." and ".." included where they match.
struct FindHandle;

// Starts the enumeration and stores the first entry's name; null when
// nothing matches (code 2) or the directory cannot be read.
FindHandle* find_first_file(const std::wstring& pattern, std::wstring& name);

// Stores the next entry's name; false at the end.
bool find_next_file(FindHandle* handle, std::wstring& name);

// Ends the enumeration.  Accepts null.
void find_close(FindHandle* handle);

}  // namespace zop::sys

#endif
