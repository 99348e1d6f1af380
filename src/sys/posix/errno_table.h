// POSIX backend: which Win32 error code each errno value becomes.
//
// Each row names the code a Windows call reports in the same situation.
// Where Windows has no such situation, the row takes the Windows code whose
// text says what happened; an errno value without a row becomes
// kUnmappedErrnoCode.  Aliases (EWOULDBLOCK, ENOTSUP, EDEADLOCK) share the
// value of the row that names them.
#ifndef ZOP_SYS_POSIX_ERRNO_TABLE_H
#define ZOP_SYS_POSIX_ERRNO_TABLE_H

#include "sys/error_codes.h"

#include <cerrno>
#include <cstdint>

namespace zop::sys::posix {

// One errno value and its Win32 code.
struct ErrnoCode {
    int err;
    std::uint32_t code;
};

// The rows, each errno value once, with the Windows name of the code.
inline constexpr ErrnoCode kErrnoCodes[] = {
    {0, 0},               // ERROR_SUCCESS
    {ENOTTY, 1},          // ERROR_INVALID_FUNCTION: the device has no such control
    {ENOENT, 2},          // ERROR_FILE_NOT_FOUND (3 when a directory on the way is missing)
    {ENOTDIR, 3},         // ERROR_PATH_NOT_FOUND: a file stands where a directory should
    {EMFILE, 4},          // ERROR_TOO_MANY_OPEN_FILES: the process's limit
    {ENFILE, 4},          //   and the system's
    {EACCES, 5},          // ERROR_ACCESS_DENIED
    {EPERM, 5},           //   operation not permitted
    {EISDIR, 5},          //   a directory opened or removed as a file, as on Windows
    {ENOKEY, 5},          //   an encrypted directory whose key is not loaded
    {EBADF, 6},           // ERROR_INVALID_HANDLE
    {ENOMEM, 8},          // ERROR_NOT_ENOUGH_MEMORY
    {ENOEXEC, 11},        // ERROR_BAD_FORMAT: not a program this system can run
    {EXDEV, 17},          // ERROR_NOT_SAME_DEVICE: a move across file systems
    {EROFS, 19},          // ERROR_WRITE_PROTECT: a read-only file system
    {ENODEV, 20},         // ERROR_BAD_UNIT: no such device (or it was removed)
    {ENXIO, 20},          //   no such device or address
    {ENOMEDIUM, 21},      // ERROR_NOT_READY: a drive without its medium
    {ETXTBSY, 32},        // ERROR_SHARING_VIOLATION: writing a program that is running
    {EOPNOTSUPP, 50},     // ERROR_NOT_SUPPORTED (ENOTSUP on Linux)
    {ENOSYS, 50},         //   a call the system does not implement
    {ENOTCONN, 55},       // ERROR_DEV_NOT_EXIST: a mount whose server has gone
    {EEXIST, 80},         // ERROR_FILE_EXISTS
    {EINVAL, 87},         // ERROR_INVALID_PARAMETER
    {ECONNRESET, 109},    // ERROR_BROKEN_PIPE: the other end went away
    {ENOSPC, 112},        // ERROR_DISK_FULL
    {EDQUOT, 112},        //   the user's quota: Windows reports quotas as a full disk
    {ERANGE, 122},        // ERROR_INSUFFICIENT_BUFFER
    {ESPIPE, 132},        // ERROR_SEEK_ON_DEVICE: seeking a pipe, socket or terminal
    {ENOTEMPTY, 145},     // ERROR_DIR_NOT_EMPTY
    {E2BIG, 160},         // ERROR_BAD_ARGUMENTS: an argument list too long
    {ENOLCK, 167},        // ERROR_LOCK_FAILED: no lock available
    {EBUSY, 170},         // ERROR_BUSY: a mount point or a device in use
    {ENAMETOOLONG, 206},  // ERROR_FILENAME_EXCED_RANGE
    {EFBIG, 223},         // ERROR_FILE_TOO_LARGE: past the file system's or the process's size limit
    {EOVERFLOW, 223},     //   a size or offset too large for the type that holds it
    {EPIPE, 232},         // ERROR_NO_DATA: writing a pipe nobody reads
    {EINTR, 995},         // ERROR_OPERATION_ABORTED: a signal stopped a blocking call
    {ECANCELED, 995},     //   the operation was cancelled
    {EFAULT, 998},        // ERROR_NOACCESS: a buffer outside the process's memory
    {ESTALE, 1006},       // ERROR_FILE_INVALID: a network file changed under its handle
    {EILSEQ, 1113},       // ERROR_NO_UNICODE_TRANSLATION: a name the file system cannot encode
    {EIO, 1117},          // ERROR_IO_DEVICE
    {EDEADLK, 1131},      // ERROR_POSSIBLE_DEADLOCK
    {EMLINK, 1142},       // ERROR_TOO_MANY_LINKS
    {EAGAIN, 1237},       // ERROR_RETRY: temporarily unavailable (EWOULDBLOCK)
    {EUCLEAN, 1392},      // ERROR_FILE_CORRUPT: the file system needs repair
    {ENOBUFS, 1450},      // ERROR_NO_SYSTEM_RESOURCES
    {ETIMEDOUT, 1460},    // ERROR_TIMEOUT
    {ELOOP, 1921},        // ERROR_CANT_RESOLVE_FILENAME: too many symbolic links
};

// ERROR_UNIDENTIFIED_ERROR, "Insufficient information exists to identify
// the cause of failure.": the code of every errno value without a row.
// Windows has nothing to say about such failures, and a specific code
// (ERROR_GEN_FAILURE, a device fault) would send the user the wrong way.
inline constexpr std::uint32_t kUnmappedErrnoCode = kErrorUnidentified;

}  // namespace zop::sys::posix

#endif
