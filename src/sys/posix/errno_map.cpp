// POSIX backend: errno values as Win32 error codes.
#include "sys/posix/errno_map.h"

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
    switch (err) {
    case 0: return 0;                              // ERROR_SUCCESS
    case ENOENT: return missing_path ? 3 : 2;      // PATH/FILE_NOT_FOUND
    case ENOTDIR: return 3;                        // ERROR_PATH_NOT_FOUND
    case EMFILE:
    case ENFILE: return 4;                         // ERROR_TOO_MANY_OPEN_FILES
    case EACCES:
    case EPERM:
    case EISDIR: return 5;                         // ERROR_ACCESS_DENIED
    case EBADF: return 6;                          // ERROR_INVALID_HANDLE
    case ENOMEM: return 8;                         // ERROR_NOT_ENOUGH_MEMORY
    case EXDEV: return 17;                         // ERROR_NOT_SAME_DEVICE
    case EROFS: return 19;                         // ERROR_WRITE_PROTECT
    case ENODEV:
    case ENXIO: return 21;                         // ERROR_NOT_READY
    case EIO: return 1117;                         // ERROR_IO_DEVICE
    case EBUSY:
    case ETXTBSY: return 32;                       // ERROR_SHARING_VIOLATION
    case EAGAIN: return 33;                        // ERROR_LOCK_VIOLATION
    case ENOSYS:
    case EOPNOTSUPP: return 50;                    // ERROR_NOT_SUPPORTED
    case EEXIST: return 80;                        // ERROR_FILE_EXISTS
    case EINVAL: return 87;                        // ERROR_INVALID_PARAMETER
    case ENOSPC: return 112;                       // ERROR_DISK_FULL
    case ESPIPE: return 132;                       // ERROR_SEEK_ON_DEVICE
    case EPIPE: return 232;                        // ERROR_NO_DATA
    case EDQUOT: return 112;
    case ENOTEMPTY: return 145;                    // ERROR_DIR_NOT_EMPTY
    case ENAMETOOLONG: return 206;                 // ERROR_FILENAME_EXCED_RANGE
    case ELOOP: return 1921;                       // ERROR_CANT_RESOLVE_FILENAME
    case ERANGE: return 122;                       // ERROR_INSUFFICIENT_BUFFER
    default: return 31;                            // ERROR_GEN_FAILURE
    }
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
