// POSIX backend: errno values as Win32 error codes.
#include "sys/posix/errno_map.h"
#include "sys/posix/errno_table.h"

#include "sys/error.h"

#include <sys/stat.h>

#include <cerrno>

namespace zop::sys {

namespace {
// Each thread has its own last error, as on Windows.
thread_local std::uint32_t t_last_error = 0;
}  // namespace

std::uint32_t last_error() { return t_last_error; }

void set_last_error(std::uint32_t code) { t_last_error = code; }

namespace posix {

std::uint32_t win32_code(int err, bool missing_path) {
    if (err == ENOENT && missing_path) return 3;  // ERROR_PATH_NOT_FOUND
    for (const ErrnoCode& row : kErrnoCodes) {
        if (row.err == err) return row.code;
    }
    return kUnmappedErrnoCode;
}

std::uint32_t fail_with_errno(int err, bool missing_path) {
    std::uint32_t code = win32_code(err, missing_path);
    t_last_error = code;
    return code;
}

bool fail(std::uint32_t code) {
    t_last_error = code;
    return false;
}

namespace {

std::string parent_of(const std::string& path) {
    std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos) return "/";
    std::size_t slash = path.rfind('/', end);
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

bool fail_on_path(int err, const std::string& path) {
    if (err == ENOENT) {
        struct stat st;
        bool parent_is_dir = ::stat(parent_of(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        return fail(parent_is_dir ? 2 : 3);
    }
    fail_with_errno(err);
    return false;
}

}  // namespace posix
}  // namespace zop::sys
