// Win32 backend: open files for the file streams.
#include "sys/file_stream.h"
#include "sys/win32/long_path.h"

#include <windows.h>

namespace zop::sys {

const FileHandle kInvalidFile = INVALID_HANDLE_VALUE;

FileHandle open_file(const std::wstring& path, FileAccess access, std::uint32_t share,
                     Disposition disposition) {
    return ::CreateFileW(long_path(path).c_str(), access, share, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool read_file(FileHandle file, void* buffer, std::uint32_t count, std::uint32_t& done) {
    DWORD n = 0;
    if (!::ReadFile(file, buffer, count, &n, nullptr)) return false;
    done = n;
    return true;
}

bool write_file(FileHandle file, const void* buffer, std::uint32_t count) {
    DWORD n = 0;
    return ::WriteFile(file, buffer, count, &n, nullptr) != 0;
}

// SetFilePointer reports a position whose low half is all ones the same way
// as a failure; only the last error tells them apart.
bool set_file_pointer(FileHandle file, std::int64_t distance, MoveMethod method,
                      std::int64_t& position) {
    LONG high = static_cast<LONG>(distance >> 32);
    ::SetLastError(NO_ERROR);
    DWORD low = ::SetFilePointer(file, static_cast<LONG>(distance & 0xFFFFFFFF), &high, method);
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return false;
    position = (static_cast<std::int64_t>(high) << 32) | low;
    return true;
}

bool get_file_size(FileHandle file, std::int64_t& size) {
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    DWORD low = ::GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return false;
    size = (static_cast<std::int64_t>(high) << 32) | low;
    return true;
}

bool flush_file(FileHandle file) { return ::FlushFileBuffers(file) != 0; }

bool close_file(FileHandle file) { return ::CloseHandle(file) != 0; }

}  // namespace zop::sys
