// POSIX backend: current directory and executable path.
#include "sys/process.h"

#include "sys/posix/errno_map.h"
#include "sys/posix/utf8_path.h"

#include <unistd.h>

#include <cerrno>
#include <string>

namespace zop::sys {

std::uint32_t current_directory(std::wstring& dir) {
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(&buffer[0], buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            dir = posix::from_system_path(buffer);
            return 0;
        }
        if (errno != ERANGE) return posix::fail_with_errno(errno, true);
        buffer.resize(buffer.size() * 2);
    }
}

std::uint32_t executable_path(std::wstring& path) {
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", &buffer[0], buffer.size());
        if (n < 0) return posix::fail_with_errno(errno);
        if (static_cast<std::size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(n));
            path = posix::from_system_path(buffer);
            return 0;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace zop::sys
