// Win32 backend: files and directories by path.
#include "sys/file.h"
#include "sys/win32/long_path.h"

#include <windows.h>

#include <new>

namespace zop::sys {

namespace {

std::uint64_t to_u64(const FILETIME& ft) {
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME to_filetime(std::uint64_t t) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(t & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    return ft;
}

}  // namespace

std::uint32_t get_file_attributes(const std::wstring& path) {
    return ::GetFileAttributesW(long_path(path).c_str());
}

bool get_file_attributes_ex(const std::wstring& path, FileAttributeData& data) {
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!::GetFileAttributesExW(long_path(path).c_str(), GetFileExInfoStandard, &info)) return false;
    data.attributes = info.dwFileAttributes;
    data.creation_time = to_u64(info.ftCreationTime);
    data.last_access_time = to_u64(info.ftLastAccessTime);
    data.last_write_time = to_u64(info.ftLastWriteTime);
    data.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return true;
}

bool set_file_attributes(const std::wstring& path, std::uint32_t attributes) {
    return ::SetFileAttributesW(long_path(path).c_str(), attributes) != 0;
}

bool set_file_times(const std::wstring& path, const std::uint64_t* creation,
                    const std::uint64_t* last_access, const std::uint64_t* last_write) {
    HANDLE h = ::CreateFileW(long_path(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    FILETIME c{}, a{}, w{};
    if (creation != nullptr) c = to_filetime(*creation);
    if (last_access != nullptr) a = to_filetime(*last_access);
    if (last_write != nullptr) w = to_filetime(*last_write);
    BOOL ok = ::SetFileTime(h, creation ? &c : nullptr, last_access ? &a : nullptr,
                            last_write ? &w : nullptr);
    DWORD error = ::GetLastError();
    ::CloseHandle(h);
    if (!ok) ::SetLastError(error);
    return ok != 0;
}

bool delete_file(const std::wstring& path) { return ::DeleteFileW(long_path(path).c_str()) != 0; }

bool native_path(const std::wstring& path, std::filesystem::path& out) {
    out = path;
    return true;
}

std::wstring from_native_path(const std::filesystem::path& path) { return path.native(); }

bool create_directory(const std::wstring& path) {
    return ::CreateDirectoryW(long_path(path).c_str(), nullptr) != 0;
}

bool remove_directory(const std::wstring& path) {
    return ::RemoveDirectoryW(long_path(path).c_str()) != 0;
}

struct FindHandle {
    HANDLE handle;
};

FindHandle* find_first_file(const std::wstring& pattern, std::wstring& name) {
    WIN32_FIND_DATAW data;
    HANDLE h = ::FindFirstFileW(long_pattern(pattern).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    auto* handle = new (std::nothrow) FindHandle{h};
    if (handle == nullptr) {
        ::FindClose(h);
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    name.assign(data.cFileName);
    return handle;
}

bool find_next_file(FindHandle* handle, std::wstring& name) {
    WIN32_FIND_DATAW data;
    if (!::FindNextFileW(handle->handle, &data)) return false;
    name.assign(data.cFileName);
    return true;
}

void find_close(FindHandle* handle) {
    if (handle == nullptr) return;
    ::FindClose(handle->handle);
    delete handle;
}

}  // namespace zop::sys
