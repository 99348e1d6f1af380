/// @file
/// @ingroup fs
/// zop file system: Windows path-string algebra, file and directory objects.
///
/// Paths are wide strings of UTF-16 code units in Windows form.  Both the
/// backslash and the slash count as separators wherever a path is read;
/// wherever the library writes a separator of its own it writes a backslash.
/// On Linux the operating system's paths use slashes; they are accepted as
/// they are, and a backslash in a path handed to the system is turned into a
/// slash.  Where wchar_t is 32 bits wide a path may hold a value above 0xFFFF;
/// such a value is no UTF-16 unit and names nothing: the system refuses the
/// path as Windows refuses a malformed name (code 123), so an operation that
/// reports system failures throws IOException and a query answers "missing".
#ifndef ZOP_FS_H
#define ZOP_FS_H

#include <zop/core.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zop {

/// @defgroup fs File system
/// Windows path-string algebra, file and directory objects
/// (`<zop/fs.h>`).
/// @{

/// Stateless path algebra.  Apart from current_path, make_full_path and
/// current_module_path no operation touches the file system.
class ZOP_API Path {
public:
    static const wchar_t separator;         ///< U+005C backslash
    static const wchar_t alt_separator;     ///< U+002F slash
    static const wchar_t volume_separator;  ///< U+003A colon
    static const wchar_t path_separator;    ///< U+003B semicolon
    /// The 15 characters not allowed in a path (quote, <, >, |, U+0008 and
    /// U+0010..U+0019), zero-terminated.
    static const wchar_t invalid_path_chars[16];
    /// Backslash and slash, zero-terminated.
    static const wchar_t separator_chars[3];

    /// Joins two paths: an empty side yields the other, an absolute second
    /// path wins, otherwise one backslash is put between them unless the
    /// first already ends with a separator.  Nothing is normalised.
    static std::wstring combine(const std::wstring& first, const std::wstring& second);

    /// Completes a path against the current directory without normalising it.
    /// Relative paths starting with '.' are returned unchanged.  Throws
    /// ArgumentException for an empty or all-space path and for a malformed
    /// UNC path; IOException when the current directory cannot be read.
    static std::wstring make_full_path(const std::wstring& path);

    /// True when the path starts with a separator or has a colon as its
    /// second character ("C:foo" counts as absolute).
    static bool is_absolute_path(const std::wstring& path);

    /// The process's current directory; on Linux in the system's own form
    /// (slashes).  Throws IOException when the system call fails.
    static std::wstring current_path();

    /// The directory part of a path; a root is its own directory.  Throws
    /// ArgumentException("path") for an empty path and OutOfRangeException
    /// for the single slash "/".
    static std::wstring directory_name(const std::wstring& path);

    /// The root part: `\` for a rooted path, `\\server\share\` for a UNC
    /// path, `C:`, `C:\` or `C:/` for a drive path, empty for a relative path.
    static std::wstring path_root(const std::wstring& path);

    /// The part after the last separator (a trailing backslash is stepped over
    /// and kept).  A path without separators has an empty file name.  Throws
    /// OutOfRangeException for the single backslash `\`.
    static std::wstring file_name(const std::wstring& path);

    /// Replaces or appends the extension of `path` in place; the extension
    /// gets a leading '.' when it lacks one.  Throws ArgumentException
    /// ("Illegal characters in path") when the path holds one of
    /// invalid_path_chars, leaving it unchanged.
    static void change_extension(std::wstring& path, const std::wstring& extension);

    /// The extension with its leading '.', or empty.
    static std::wstring extension_name(const std::wstring& path);

    /// False when the path holds one of " < > / | * ?, or a colon: in an
    /// absolute path one at index 2 or later ("::" and "C:x" pass), in any
    /// other path any colon.
    static bool is_valid_path(const std::wstring& path);

    /// The directory holding the process's executable file.  Throws
    /// IOException when the system call fails.
    static std::wstring current_module_path();

    /// The path as the standard library's path of this system: on Windows
    /// the UTF-16 units as they are; on Linux the system's bytes, by the
    /// lossless mapping the library uses for every name it hands to the
    /// system (characters Windows forbids as U+F000 + the character, bytes
    /// that are not UTF-8 as U+DC80..U+DCFF; see docs/platform.md), with
    /// both separators as '/'.  Nothing is completed.  Throws
    /// ArgumentException where wchar_t is wider than 16 bits and the path
    /// holds a value above 0xFFFF, which is no UTF-16 unit.
    static std::filesystem::path to_filesystem_path(const std::wstring& path);

    /// The standard library's path as a wide path, the reverse mapping.
    static std::wstring from_filesystem_path(const std::filesystem::path& path);

    /// Path holds no state; assignment does nothing.
    Path& operator=(const Path&);

private:
    Path();
};

/// The operating system's file attribute bits, passed through unchanged.
/// ATTR_INVALID (every bit set) marks an entry that does not exist or could
/// not be examined.
enum FileAttributes : std::uint32_t {
    ATTR_READONLY = 0x1,               ///< Read-only.
    ATTR_HIDDEN = 0x2,                 ///< Hidden.
    ATTR_SYSTEM = 0x4,                 ///< Used by the operating system.
    ATTR_DIRECTORY = 0x10,             ///< A directory.
    ATTR_ARCHIVE = 0x20,               ///< Marked for archiving.
    ATTR_DEVICE = 0x40,                ///< Reserved for the system.
    ATTR_NORMAL = 0x80,                ///< No other bit set.
    ATTR_TEMPORARY = 0x100,            ///< Temporary storage.
    ATTR_SPARSE_FILE = 0x200,          ///< A sparse file.
    ATTR_REPARSE_POINT = 0x400,        ///< A reparse point (a link, a junction).
    ATTR_COMPRESSED = 0x800,           ///< Compressed.
    ATTR_OFFLINE = 0x1000,             ///< Its data are not immediately available.
    ATTR_NOT_CONTENT_INDEXED = 0x2000, ///< Not indexed by the content indexer.
    ATTR_ENCRYPTED = 0x4000,           ///< Encrypted.
    ATTR_INVALID = 0xFFFFFFFFu         ///< A missing entry, or one that could not be examined.
};

/// Base of the file-system objects: a path completed to a full path when the
/// object is made, with a lazily loaded cache of the entry's attributes, size
/// and times (tick counts: microseconds since 1970-01-01 UTC).  Making an
/// object never touches the file system (except to read the current directory
/// for a relative path).  Getters load the cache when it is stale; setters
/// mark it stale; nothing else does (not even removal).  An object is for one
/// thread at a time.  Every system failure throws IOException with the
/// system's text (throw_io_exception).
class ZOP_API SystemFile {
public:
    /// Throws ArgumentException("path or file name is invalid") for an empty
    /// path, and what Path::make_full_path throws for a malformed one.
    explicit SystemFile(const std::wstring& path);
    /// A copy owns a copy of the source's cache (current, whatever the
    /// source's state), or none.  Throws OutOfMemoryException.
    ///@{
    SystemFile(const SystemFile& other);
    SystemFile& operator=(const SystemFile& other);
    ///@}
    /// Frees the cache.
    virtual ~SystemFile();

    /// Whether the entry exists as the kind of object this is.
    virtual bool exists() const = 0;
    /// The last component of the full name.
    virtual std::wstring name() const = 0;

    /// The path completed by Path::make_full_path.
    std::wstring full_name() const;
    /// Loads the cache now, stale or not.
    void refresh();

    /// Attribute bits, or ATTR_INVALID for a missing entry.
    FileAttributes file_attrs() const;
    /// Times as tick counts; 0 for a missing entry.
    ///@{
    std::int64_t creation_time() const;
    std::int64_t last_access_time() const;
    std::int64_t last_modified_time() const;
    ///@}

    /// Writes the attribute bits.
    void file_attrs(FileAttributes attributes);
    /// Write one time (directories included).  Linux keeps no settable
    /// creation time: setting it is accepted and has no effect there.  A
    /// time at or before 1601-01-01 00:00 UTC, after the last file time
    /// (year 30828), or beyond what the file system holds throws
    /// IOException ("The parameter is incorrect.", code 87) and changes no
    /// time.
    ///@{
    void creation_time(const std::int64_t& ticks);
    void last_access_time(const std::int64_t& ticks);
    void last_modified_time(const std::int64_t& ticks);
    ///@}
    /// Writes all three times in one call.
    void file_time(const std::int64_t& creation, const std::int64_t& last_access,
                   const std::int64_t& last_modified);

    // Static operations on a path as given (not completed, not cached).

    /// True when the entry exists and is not a directory.
    static bool is_file(const std::wstring& path);
    /// True when the entry exists and is a directory.
    static bool is_dir(const std::wstring& path);
    /// The attribute bits, ATTR_INVALID for a missing entry; never throws.
    static FileAttributes file_attrs(const std::wstring& path);
    /// Writes the attribute bits of the entry.
    static void file_attrs(const std::wstring& path, FileAttributes attributes);
    /// Times of the entry; throw IOException when it cannot be examined.
    ///@{
    static std::int64_t creation_time(const std::wstring& path);
    static std::int64_t last_access_time(const std::wstring& path);
    static std::int64_t last_modified_time(const std::wstring& path);
    ///@}
    /// Write one time of the entry.
    ///@{
    static void creation_time(const std::wstring& path, const std::int64_t& ticks);
    static void last_access_time(const std::wstring& path, const std::int64_t& ticks);
    static void last_modified_time(const std::wstring& path, const std::int64_t& ticks);
    ///@}

    /// Throws IOException whose message is the system's text for the Win32
    /// error code `code` (the prefix-less system_error).  The flag and the
    /// path do not change what is thrown: a missing file (2) or path (3)
    /// also yields IOException, and the path is not part of the message.
    [[noreturn]] static void throw_io_exception(int code, bool is_file,
                                                const std::wstring& path);

protected:
    /// Reads the entry's attributes, size and times into the cache.  A
    /// missing entry (or path) fills ATTR_INVALID and zeros and keeps the
    /// stale flag; other failures throw IOException.
    void load_file_attrs() const;
    /// The cached attribute bits and size, loading first when stale.
    ///@{
    std::uint32_t cached_attributes() const;
    std::int64_t cached_size() const;
    ///@}
    /// Marks the cache stale.
    void mark_stale();

private:
    struct Record;
    void set_times(const std::int64_t* creation, const std::int64_t* last_access,
                   const std::int64_t* last_modified);
    const Record& record() const;

    std::wstring given_name_;
    std::wstring full_name_;
    mutable Record* record_;
    mutable bool stale_;
};

/// A regular file.
class ZOP_API File : public SystemFile {
public:
    /// See SystemFile(path).
    explicit File(const std::wstring& path);
    /// Frees the cache.
    ~File() override;

    /// True when the entry exists and is not a directory.
    bool exists() const override;
    /// Path::file_name of the full name.
    std::wstring name() const override;
    /// Size in bytes.  Throws IOException (code 2) when the file does not exist.
    std::int64_t length() const;
    /// The read-only bit; false for a missing file.
    bool is_readonly() const;
    /// Sets or clears the read-only bit, keeping the other bits.  Throws
    /// IOException for a missing file.
    void readonly(bool on);
    /// Deletes the file; a missing file is not an error.  The cache is left
    /// as it is: exists() answers from it until refresh().
    void remove();
};

/// A directory.
class ZOP_API Directory : public SystemFile {
public:
    /// See SystemFile(path).
    explicit Directory(const std::wstring& path);
    /// As SystemFile's copy: a copy owns a copy of the source's cache, or
    /// none.  Throws OutOfMemoryException.
    ///@{
    Directory(const Directory& other);
    Directory& operator=(const Directory& other);
    ///@}
    /// Frees the cache.
    ~Directory() override;

    /// True when the entry exists and is a directory.
    bool exists() const override;
    /// Path::file_name of the full name, or the full name for a root.
    std::wstring name() const override;
    /// True when the full name is a root (`C:`, `C:\`, `\\srv\share\`, `\`).
    bool is_root() const;
    /// The directory above, as a plain object.  Throws IOException("Cannot
    /// get parent due to the directory is root") for a root.
    Directory parent() const;
    /// Creates the directory and its missing ancestors, outermost first.
    /// Throws ArgumentException("Path contains invalid chars") for invalid
    /// characters and IOException when it exists already or cannot be made.
    void create() const;
    /// Creates the subdirectory named by the last component of `name` (or by
    /// `name` itself when it has no separator), and this directory if it is
    /// missing, and returns it.
    Directory create_subdirectory(const std::wstring& name) const;
    /// Append the full paths of the entries matching `pattern` ('*', '?'
    /// by the rules of FindFirstFileW, so "*." finds names without a dot and
    /// "a?.txt" finds "a.txt" (see docs/fs.md); ASCII case-insensitive; may
    /// carry subdirectories; an empty pattern names the directory itself) to
    /// `out`, in the system's order: every entry, only directories, only
    /// files.  Throw ArgumentException("Path contains invalid characters"),
    /// DirectoryNotFoundException when the enumerated directory is missing,
    /// and IOException when nothing matches.
    ///@{
    void list(std::vector<std::wstring>& out, const std::wstring& pattern) const;
    void list_dirs(std::vector<std::wstring>& out, const std::wstring& pattern) const;
    void list_files(std::vector<std::wstring>& out, const std::wstring& pattern) const;
    ///@}
    /// Removes the empty directory.  Throws IOException.
    void remove() const;
    /// Removes the directory and everything below it, children first.  Links
    /// (symbolic links, junctions) are removed as links: removal never
    /// follows one out of the tree.  A read-only file stops the removal with
    /// the access-denied IOException; what was removed before stays removed.
    void remove_tree() const;

private:
    void list_entries(std::vector<std::wstring>& out, const std::wstring& pattern,
                      int mode) const;
};

/// @}

}  // namespace zop

#endif
