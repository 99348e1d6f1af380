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

namespace {

// The directory a search enumerates: the directory part of the search
// path.  A search at the top of a drive-less system ("/x") has no directory
// part; there it is the root, spelled as the search spells it.
std::wstring search_base(const std::wstring& search) {
    std::wstring base = Path::directory_name(search);
    if (base.empty() && !search.empty() && is_sep(search[0]) && (search.size() == 1 || !is_sep(search[1]))) {
        base = search.substr(0, 1);
    }
    return base;
}

// Checks the enumerated directory as every listing does first.
void check_base(const std::wstring& base) {
    if (has_invalid_chars(base)) throw ArgumentException(L"Path contains invalid characters");
    if (!Directory(base).exists()) {
        throw DirectoryNotFoundException(L"The directory '" + base + L"' not found.");
    }
}

}  // namespace

void Directory::list_entries(std::vector<std::wstring>& out, const std::wstring& pattern,
                             int mode) const {
    const std::wstring search = Path::combine(full_name(), pattern);
    const std::wstring base = search_base(search);
    check_base(base);
    std::wstring entry;
    FindGuard find(sys::find_first_file(search, entry));
    if (find.get() == nullptr) throw_last_error(false, search);
    // Path::combine(base, entry), with the base and its separator laid down
    // once for the whole listing.  The system's names are single plain
    // components, so every entry is this prefix plus its name.
    std::wstring prefix = Path::combine(base, L"x");
    prefix.pop_back();
    do {
        if (entry == L"." || entry == L"..") continue;
        std::wstring path;
        path.reserve(prefix.size() + entry.size());
        path.append(prefix).append(entry);
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
    check_base(search_base(Path::combine(full, L"*")));
    // The walk itself is the system layer's: it removes links as links and
    // never leaves the tree, whatever the names inside it look like.
    std::wstring failed;
    bool failed_is_file = false;
    if (!sys::remove_tree(full, failed, failed_is_file)) {
        throw_last_error(failed_is_file, failed);
    }
}

}  // namespace zop
