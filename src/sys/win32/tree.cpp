// Win32 backend: removing a directory tree.
#include "sys/file.h"
#include "sys/win32/long_path.h"

#include <windows.h>

#include <string>
#include <vector>

namespace zop::sys {

namespace {

struct Entry {
    std::wstring path;
    DWORD attributes;
};

bool is_dot_name(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

bool fail(const std::wstring& path, bool is_file, std::wstring& failed, bool& failed_is_file) {
    DWORD code = ::GetLastError();
    failed = path;
    failed_is_file = is_file;
    ::SetLastError(code);
    return false;
}

// Empties and removes the directory `dir` (not a link).  Its entries are
// read whole before any is removed, so the enumeration never sees its own
// deletions.
bool remove_directory_tree(const std::wstring& dir, std::wstring& failed, bool& failed_is_file) {
    std::wstring prefix = dir;
    if (prefix.back() != L'\\' && prefix.back() != L'/') prefix += L'\\';
    std::vector<Entry> entries;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(long_pattern(prefix + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        if (::GetLastError() != ERROR_FILE_NOT_FOUND) return fail(dir, false, failed, failed_is_file);
    } else {
        do {
            if (!is_dot_name(data.cFileName)) entries.push_back({prefix + data.cFileName, data.dwFileAttributes});
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    for (const Entry& entry : entries) {
        bool directory = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool link = (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (directory && !link) {
            if (!remove_directory_tree(entry.path, failed, failed_is_file)) return false;
        } else if (directory ? !::RemoveDirectoryW(long_path(entry.path).c_str())
                              : !::DeleteFileW(long_path(entry.path).c_str())) {
            // An entry that is gone already is not an error.
            if (::GetLastError() != ERROR_FILE_NOT_FOUND) return fail(entry.path, !directory, failed, failed_is_file);
        }
    }
    if (!::RemoveDirectoryW(long_path(dir).c_str())) return fail(dir, false, failed, failed_is_file);
    return true;
}

}  // namespace

bool remove_tree(const std::wstring& path, std::wstring& failed, bool& failed_is_file) {
    DWORD self = ::GetFileAttributesW(long_path(path).c_str());
    // A link to a directory is removed as a link: its target lies outside.
    if (self != INVALID_FILE_ATTRIBUTES && (self & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (::RemoveDirectoryW(long_path(path).c_str())) return true;
        return fail(path, false, failed, failed_is_file);
    }
    return remove_directory_tree(path, failed, failed_is_file);
}

}  // namespace zop::sys
