// zop file system: Windows path-string algebra and file objects.
//
// Paths are wide strings of UTF-16 code units in Windows form.  Both the
// backslash and the slash count as separators wherever a path is read;
// wherever the library writes a separator of its own it writes a backslash.
// On Linux the operating system's paths use slashes; they are accepted as
// they are, and a backslash in a path handed to the system is turned into a
// slash.
#ifndef ZOP_FS_H
#define ZOP_FS_H

#include <zop/core.h>

#include <string>

namespace zop {

// Stateless path algebra.  Apart from current_path, make_full_path and
// current_module_path no operation touches the file system.
class ZOP_API Path {
public:
    static const wchar_t separator;         // U+005C backslash
    static const wchar_t alt_separator;     // U+002F slash
    static const wchar_t volume_separator;  // U+003A colon
    static const wchar_t path_separator;    // U+003B semicolon
    // The 15 characters not allowed in a path (quote, <, >, |, U+0008 and
    // U+0010..U+0019), zero-terminated.
    static const wchar_t invalid_path_chars[16];
    // Backslash and slash, zero-terminated.
    static const wchar_t separator_chars[3];

    // Joins two paths: an empty side yields the other, an absolute second
    // path wins, otherwise one backslash is put between them unless the
    // first already ends with a separator.  Nothing is normalised.
    static std::wstring combine(const std::wstring& first, const std::wstring& second);

    // Completes a path against the current directory without normalising it.
    // Relative paths starting with '.' are returned unchanged.  Throws
    // ArgumentException for an empty or all-space path and for a malformed
    // UNC path; IOException when the current directory cannot be read.
    static std::wstring make_full_path(const std::wstring& path);

    // True when the path starts with a separator or has a colon as its
    // second character ("C:foo" counts as absolute).
    static bool is_absolute_path(const std::wstring& path);

    // The process's current directory; on Linux in the system's own form
    // (slashes).  Throws IOException when the system call fails.
    static std::wstring current_path();

    // The directory part of a path; a root is its own directory.  Throws
    // ArgumentException("path") for an empty path and OutOfRangeException
    // for the single slash "/".
    static std::wstring directory_name(const std::wstring& path);

    // The root part: "\" for a rooted path, "\\server\share\" for a UNC path,
    // "C:", "C:\" or "C:/" for a drive path, empty for a relative path.
    static std::wstring path_root(const std::wstring& path);

    // The part after the last separator (a trailing backslash is stepped over
    // and kept).  A path without separators has an empty file name.  Throws
    // OutOfRangeException for the single backslash "\".
    static std::wstring file_name(const std::wstring& path);

    // Replaces or appends the extension of `path` in place; the extension
    // gets a leading '.' when it lacks one.  Throws ArgumentException
    // ("Illegal characters in path") when the path holds one of
    // invalid_path_chars, leaving it unchanged.
    static void change_extension(std::wstring& path, const std::wstring& extension);

    // The extension with its leading '.', or empty.
    static std::wstring extension_name(const std::wstring& path);

    // False when the path holds one of " < > / | * ? or a colon anywhere but
    // at index 1 of an absolute path.
    static bool is_valid_path(const std::wstring& path);

    // The directory holding the process's executable file.  Throws
    // IOException when the system call fails.
    static std::wstring current_module_path();

    // Path holds no state; assignment does nothing.
    Path& operator=(const Path&);

private:
    Path();
};

// Base of the library's file-system objects.
class ZOP_API SystemFile {
public:
    // Throws IOException whose message is the system's text for the Win32
    // error code `code` (the prefix-less system_error).  The flag and the
    // path do not change what is thrown: a missing file (2) or path (3)
    // also yields IOException, and the path is not part of the message.
    [[noreturn]] static void throw_io_exception(int code, bool is_file,
                                                const std::wstring& path);
};

}  // namespace zop

#endif
