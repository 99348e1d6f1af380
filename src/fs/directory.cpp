// Directory: creation, listing and removal.
#include <zop/fs.h>

#include "sys/error.h"
#include "sys/file.h"

namespace zop {

namespace {

enum ListMode { kFilesOnly = 1, kDirsOnly = 2, kEverything = 3 };

bool has_invalid_chars(const std::wstring& path) {
    return path.find_first_of(Path::invalid_path_chars) != std::wstring::npos;
}

bool is_sep(wchar_t c) { return c == Path::separator || c == Path::alt_separator; }

// A full name is a root when it is its own root; a lone separator is the
// root of a drive-less system such as Linux.
bool is_root_path(const std::wstring& path) {
    return Path::path_root(path) == path || (path.size() == 1 && is_sep(path[0]));
}

[[noreturn]] void throw_last_error(bool is_file, const std::wstring& path) {
    SystemFile::throw_io_exception(static_cast<int>(sys::last_error()), is_file, path);
}

// Closes an enumeration on every way out.
class FindGuard {
public:
    explicit FindGuard(sys::FindHandle* h) : h_(h) {}
    ~FindGuard() { sys::find_close(h_); }
    FindGuard(const FindGuard&) = delete;
    FindGuard& operator=(const FindGuard&) = delete;
    sys::FindHandle* get() const { return h_; }

private:
    sys::FindHandle* h_;
};

}  // namespace

Directory::Directory(const std::wstring& path) : SystemFile(path) {}
Directory::Directory(const Directory& other) = default;
Directory& Directory::operator=(const Directory& other) = default;
Directory::~Directory() = default;

bool Directory::exists() const {
    std::uint32_t a = cached_attributes();
    return a != sys::kInvalidAttributes && (a & sys::kAttrDirectory) != 0;
}

std::wstring Directory::name() const {
    const std::wstring full = full_name();
    std::wstring leaf = Path::file_name(full);
    return leaf.empty() ? full : leaf;
}

bool Directory::is_root() const { return is_root_path(full_name()); }

Directory Directory::parent() const {
    const std::wstring full = full_name();
    if (is_root_path(full)) throw IOException(L"Cannot get parent due to the directory is root");
    std::wstring dir = Path::directory_name(full);
    // "\a" (a top-level directory of a drive-less system) has the root as
    // its parent.
    if (dir.empty() && Path::is_absolute_path(full)) dir = Path::path_root(full);
    return Directory(dir);
}

void Directory::create() const {
    const std::wstring full = full_name();
    if (has_invalid_chars(full)) throw ArgumentException(L"Path contains invalid chars");
    if (is_root()) return;
    Directory up = parent();
    if (!up.is_root() && !up.exists()) up.create();
    if (!sys::create_directory(full)) throw_last_error(false, full);
}

Directory Directory::create_subdirectory(const std::wstring& name) const {
    std::wstring leaf = Path::file_name(name);
    // A bare name has no separator and so no file name of its own: it is
    // the subdirectory's name itself.
    if (leaf.empty() && name.find_first_of(Path::separator_chars) == std::wstring::npos) leaf = name;
    Directory sub(Path::combine(full_name(), leaf));
    sub.create();
    return sub;
}

void Directory::list(std::vector<std::wstring>& out, const std::wstring& pattern) const {
    list_entries(out, pattern, kEverything);
}

void Directory::list_dirs(std::vector<std::wstring>& out, const std::wstring& pattern) const {
    list_entries(out, pattern, kDirsOnly);
}

void Directory::list_files(std::vector<std::wstring>& out, const std::wstring& pattern) const {
    list_entries(out, pattern, kFilesOnly);
}

void Directory::list_entries(std::vector<std::wstring>& out, const std::wstring& pattern,
                             int mode) const {
    const std::wstring search = Path::combine(full_name(), pattern);
    const std::wstring base = Path::directory_name(search);
    if (has_invalid_chars(base)) throw ArgumentException(L"Path contains invalid characters");
    if (!Directory(base).exists()) {
        throw DirectoryNotFoundException(L"The directory '" + base + L"' not found.");
    }
    std::wstring entry;
    FindGuard find(sys::find_first_file(search, entry));
    if (find.get() == nullptr) throw_last_error(false, search);
    // Path::combine(base, entry), with the base and its separator laid down
    // once for the whole listing.
    std::wstring prefix = Path::combine(base, L"x");
    prefix.pop_back();
    do {
        if (entry == L"." || entry == L"..") continue;
        std::wstring path;
        if (Path::is_absolute_path(entry)) {
            path = entry;
        } else {
            path.reserve(prefix.size() + entry.size());
            path.append(prefix).append(entry);
        }
        if (mode == kEverything || (mode == kFilesOnly && is_file(path)) ||
            (mode == kDirsOnly && is_dir(path))) {
            out.push_back(std::move(path));
        }
    } while (sys::find_next_file(find.get(), entry));
}

void Directory::remove() const {
    const std::wstring full = full_name();
    if (!sys::remove_directory(full)) throw_last_error(false, full);
}

void Directory::remove_tree() const {
    const std::wstring full = full_name();
    // A link to a directory is removed as a link: its target lies outside
    // the tree being removed.
    std::uint32_t self = sys::get_file_attributes(full);
    if (self != sys::kInvalidAttributes && (self & sys::kAttrReparsePoint) &&
        (self & sys::kAttrDirectory)) {
        remove();
        return;
    }
    std::vector<std::wstring> entries;
    list(entries, L"*");
    for (const std::wstring& path : entries) {
        std::uint32_t a = sys::get_file_attributes(path);
        bool is_directory = a != sys::kInvalidAttributes && (a & sys::kAttrDirectory);
        bool is_link = a != sys::kInvalidAttributes && (a & sys::kAttrReparsePoint);
        if (is_directory && !is_link) {
            Directory(path).remove_tree();
        } else if (is_directory) {
            if (!sys::remove_directory(path) && sys::last_error() != 2) throw_last_error(false, path);
        } else {
            // Listed paths extend this directory's full name, so they are
            // full names already.
            if (!sys::delete_file(path) && sys::last_error() != 2) throw_last_error(true, path);
        }
    }
    remove();
}

}  // namespace zop
