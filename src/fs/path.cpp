// Windows path-string algebra.
#include <zop/fs.h>

#include "fs/path_internal.h"
#include "sys/file.h"
#include "sys/process.h"

namespace zop {

const wchar_t Path::separator = L'\\';
const wchar_t Path::alt_separator = L'/';
const wchar_t Path::volume_separator = L':';
const wchar_t Path::path_separator = L';';
const wchar_t Path::invalid_path_chars[16] = {
    L'"', L'<', L'>', L'|', 0x08, 0x10, 0x11, 0x12,
    0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0};
const wchar_t Path::separator_chars[3] = {L'\\', L'/', 0};

namespace {

bool is_sep(wchar_t c) { return c == L'\\' || c == L'/'; }

// Two leading separators: \\server\share.
bool is_unc(const std::wstring& path) {
    return path.size() >= 2 && is_sep(path[0]) && is_sep(path[1]);
}

const std::wstring& separator_set() {
    static const std::wstring set(Path::separator_chars);
    return set;
}

// Index of the first separator at or after `from`, or the length.
std::size_t next_sep(const std::wstring& path, std::size_t from) {
    while (from < path.size() && !is_sep(path[from])) ++from;
    return from;
}

// Index of the last separator, searching from the last unit, or -1; a
// trailing separator accepted by `step_over` is skipped.
int last_sep(const std::wstring& path, bool step_over) {
    unsigned int from = static_cast<unsigned int>(path.size() - 1);
    if (step_over) --from;
    return find_last_of_any(path, from, separator_set());
}

// Position of the '.' that starts the extension, or -1.
int extension_position(const std::wstring& path) {
    if (path.empty()) return -1;
    std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos) return -1;
    int sep = last_sep(path, false);
    if (sep >= 0 && dot < static_cast<std::size_t>(sep)) return -1;
    return static_cast<int>(dot);
}

}  // namespace

Path::Path() = default;

Path& Path::operator=(const Path&) { return *this; }

bool Path::is_absolute_path(const std::wstring& path) {
    if (path.empty()) return false;
    if (is_sep(path[0])) return true;
    return path.size() >= 2 && path[1] == volume_separator;
}

std::wstring Path::combine(const std::wstring& first, const std::wstring& second) {
    if (first.empty()) return second;
    if (second.empty()) return first;
    if (is_absolute_path(second)) return second;
    if (is_sep(first.back())) return first + second;
    return first + separator + second;
}

std::wstring Path::current_path() {
    std::wstring dir;
    std::uint32_t code = sys::current_directory(dir);
    if (code != 0) SystemFile::throw_io_exception(static_cast<int>(code), false, std::wstring());
    return dir;
}

std::wstring Path::current_module_path() {
    std::wstring exe;
    std::uint32_t code = sys::executable_path(exe);
    if (code != 0) SystemFile::throw_io_exception(static_cast<int>(code), false, std::wstring());
    return directory_name(exe);
}

std::wstring Path::make_full_path(const std::wstring& path) {
    return detail::complete_path(path, &Path::current_path);
}

std::wstring detail::complete_path(const std::wstring& path, std::wstring (*current)()) {
    if (trim(path).empty()) {
        throw ArgumentException(L"The parameter path is not of a legal form");
    }
    if (is_unc(path)) {
        const wchar_t* unc_message = L"UNC path should be of the form \\\\server\\share.";
        if (path.size() == 2) throw ArgumentException(unc_message);
        if (path.find(path[0], 2) == std::wstring::npos) throw ArgumentException(unc_message);
        if (path[0] == Path::separator) return path;
        return replace_char(path, Path::alt_separator, Path::separator);
    }
    if (!Path::is_absolute_path(path)) {
        if (path[0] == L'.') return path;
        return current() + Path::separator + path;
    }
    if (is_sep(path[0]) && path.size() >= 2) {
        // Rooted without a drive: borrow the root of the current directory.
        std::wstring cur = current();
        if (cur.size() >= 2 && cur[1] == Path::volume_separator) return cur.substr(0, 2) + path;
        if (is_unc(cur)) {
            // A UNC current directory lends its \\server\share root.
            std::wstring root = Path::path_root(cur);
            root.pop_back();
            return root + path;
        }
        // A current directory without drive or server (a POSIX system's)
        // already lives under the one root: the path is complete.
        return path;
    }
    return path;
}

std::wstring Path::path_root(const std::wstring& path) {
    if (!is_absolute_path(path)) return std::wstring();
    if (is_sep(path[0]) && (path.size() < 2 || !is_sep(path[1]))) return std::wstring(1, separator);
    if (is_unc(path)) {
        std::size_t i1 = next_sep(path, 2);
        std::size_t i2 = i1 < path.size() ? next_sep(path, i1 + 1) : path.size();
        std::wstring root = L"\\\\";
        root += replace_char(path.substr(2, i2 - 2), alt_separator, separator);
        root += separator;
        return root;
    }
    // Drive path: "C:" and a separator right after it, as written.
    return path.substr(0, path.size() >= 3 && is_sep(path[2]) ? 3 : 2);
}

std::wstring Path::file_name(const std::wstring& path) {
    if (path.empty()) return std::wstring();
    int sep = last_sep(path, path.back() == separator);
    if (sep < 0) return std::wstring();
    return path.substr(static_cast<std::size_t>(sep) + 1);
}

std::wstring Path::directory_name(const std::wstring& path) {
    if (path.empty()) throw ArgumentException(L"path");
    if (path_root(path) == path) return path;
    int sep = last_sep(path, is_sep(path.back()));
    if (sep <= 1) return std::wstring();
    std::wstring dir = path.substr(0, static_cast<std::size_t>(sep));
    if (dir.size() >= 2 && dir.back() == volume_separator) dir += separator;
    return dir;
}

std::wstring Path::extension_name(const std::wstring& path) {
    int pos = extension_position(path);
    if (pos < 0 || static_cast<std::size_t>(pos) + 1 >= path.size()) return std::wstring();
    return path.substr(static_cast<std::size_t>(pos));
}

void Path::change_extension(std::wstring& path, const std::wstring& extension) {
    if (find_any(path, 0, invalid_path_chars) >= 0) {
        throw ArgumentException(L"Illegal characters in path");
    }
    std::wstring ext = !extension.empty() && extension[0] == L'.' ? extension : L"." + extension;
    int pos = extension_position(path);
    if (pos < 0) {
        path += ext;
    } else {
        path.replace(static_cast<std::size_t>(pos), std::wstring::npos, ext);
    }
}

bool Path::is_valid_path(const std::wstring& path) {
    if (path.find_first_of(L"\"<>/|*?") != std::wstring::npos) return false;
    std::size_t from = is_absolute_path(path) ? 2 : 0;
    return path.find(volume_separator, from) == std::wstring::npos;
}

}  // namespace zop

namespace zop {

std::filesystem::path Path::to_filesystem_path(const std::wstring& path) {
    std::filesystem::path native;
    if (!sys::native_path(path, native)) {
        throw ArgumentException(L"The path holds a value above 0xFFFF, which is not a UTF-16 code unit.");
    }
    return native;
}

std::wstring Path::from_filesystem_path(const std::filesystem::path& path) {
    return sys::from_native_path(path);
}

}  // namespace zop
