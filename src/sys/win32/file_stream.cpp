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

FileType file_type(FileHandle file) {
    switch (::GetFileType(file)) {
    case FILE_TYPE_DISK: return kTypeDisk;
    case FILE_TYPE_CHAR: return kTypeChar;
    case FILE_TYPE_PIPE: return kTypePipe;
    default: return kTypeUnknown;
    }
}

bool read_file(FileHandle file, void* buffer, std::uint32_t count, std::uint32_t& done) {
    DWORD n = 0;
    if (!::ReadFile(file, buffer, count, &n, nullptr)) {
        // A pipe whose writers have closed reports that as an error.
        if (::GetLastError() != ERROR_BROKEN_PIPE) return false;
        n = 0;
    }
    done = n;
    return true;
}

bool write_file(FileHandle file, const void* buffer, std::uint32_t count) {
    DWORD n = 0;
    return ::WriteFile(file, buffer, count, &n, nullptr) != 0;
}

// Windows raises no signal: a pipe without a reader fails with ERROR_NO_DATA.
bool write_pipe(FileHandle file, const void* buffer, std::uint32_t count) {
    return write_file(file, buffer, count);
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
