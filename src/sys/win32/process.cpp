// Win32 backend: current directory and executable path.
#include "sys/process.h"

#include <windows.h>

#include <vector>

namespace zop::sys {

std::uint32_t current_directory(std::wstring& dir) {
    // MAX_PATH + 1 covers the usual case in one call; a longer directory
    // makes the system report the size it needs, and we ask again.
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        DWORD n = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n == 0) return ::GetLastError();
        if (n < buffer.size()) {
            dir.assign(buffer.data(), n);
            return 0;
        }
        buffer.resize(n + 1);
    }
}

std::uint32_t executable_path(std::wstring& path) {
    // GetModuleFileNameW truncates silently when the buffer is too small and
    // then fills it completely; grow until the name fits with room to spare.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return ::GetLastError();
        if (n < buffer.size() - 1) {
            path.assign(buffer.data(), n);
            return 0;
        }
        if (buffer.size() >= 32768 * 2) {
            path.assign(buffer.data(), n);
            return 0;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace zop::sys
