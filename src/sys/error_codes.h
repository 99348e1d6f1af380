// Platform layer: the Win32 error codes that the library's code reports or
// looks for by name, each defined once.  The Windows backend has them from
// <windows.h>; the POSIX backend and the subsystems use these.  The POSIX
// backend's two tables (errno_table.h, english_messages.h) are data keyed
// by the codes' numbers, as the system's own message table is.
#ifndef ZOP_SYS_ERROR_CODES_H
#define ZOP_SYS_ERROR_CODES_H

#include <cstdint>

namespace zop::sys {

inline constexpr std::uint32_t kErrorFileNotFound = 2;        // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kErrorPathNotFound = 3;        // ERROR_PATH_NOT_FOUND
inline constexpr std::uint32_t kErrorAccessDenied = 5;        // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kErrorInvalidHandle = 6;       // ERROR_INVALID_HANDLE
inline constexpr std::uint32_t kErrorNotEnoughMemory = 8;     // ERROR_NOT_ENOUGH_MEMORY
inline constexpr std::uint32_t kErrorSharingViolation = 32;   // ERROR_SHARING_VIOLATION
inline constexpr std::uint32_t kErrorFileExists = 80;         // ERROR_FILE_EXISTS
inline constexpr std::uint32_t kErrorInvalidParameter = 87;   // ERROR_INVALID_PARAMETER
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;  // ERROR_INSUFFICIENT_BUFFER
inline constexpr std::uint32_t kErrorInvalidName = 123;       // ERROR_INVALID_NAME
inline constexpr std::uint32_t kErrorNegativeSeek = 131;      // ERROR_NEGATIVE_SEEK
inline constexpr std::uint32_t kErrorSeekOnDevice = 132;      // ERROR_SEEK_ON_DEVICE
inline constexpr std::uint32_t kErrorDirNotEmpty = 145;       // ERROR_DIR_NOT_EMPTY
inline constexpr std::uint32_t kErrorSignalRefused = 156;     // ERROR_SIGNAL_REFUSED
inline constexpr std::uint32_t kErrorAlreadyExists = 183;     // ERROR_ALREADY_EXISTS
inline constexpr std::uint32_t kErrorNoData = 232;            // ERROR_NO_DATA: a pipe's reader is gone
inline constexpr std::uint32_t kErrorDirectory = 267;         // ERROR_DIRECTORY: not a directory name
inline constexpr std::uint32_t kErrorUnidentified = 1287;     // ERROR_UNIDENTIFIED_ERROR

}  // namespace zop::sys

#endif
