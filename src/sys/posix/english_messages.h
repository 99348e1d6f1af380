// POSIX backend: the English Windows system texts of the error codes this
// backend produces (every code of errno_table.h and those it sets itself),
// and a few more that callers commonly pass.
//
// Plain data without system headers, so that the Windows build's tests can
// compare every text with the system's own formatter.
#ifndef ZOP_SYS_POSIX_ENGLISH_MESSAGES_H
#define ZOP_SYS_POSIX_ENGLISH_MESSAGES_H

#include <cstddef>
#include <cstdint>

namespace zop::sys::posix {

// A Win32 error code and its text (ASCII).
struct EnglishMessage {
    std::uint32_t code;
    const char* text;
};

// Sorted by code.  Texts as Windows formats them in English, with the
// trailing CR LF of the system's message table.
inline constexpr EnglishMessage kEnglishMessages[] = {
    {0, "The operation completed successfully.\r\n"},
    {1, "Incorrect function.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {3, "The system cannot find the path specified.\r\n"},
    {4, "The system cannot open the file.\r\n"},
    {5, "Access is denied.\r\n"},
    {6, "The handle is invalid.\r\n"},
    {8, "Not enough memory resources are available to process this command.\r\n"},
    {11, "An attempt was made to load a program with an incorrect format.\r\n"},
    {14, "Not enough memory resources are available to complete this operation.\r\n"},
    {15, "The system cannot find the drive specified.\r\n"},
    {16, "The directory cannot be removed.\r\n"},
    {17, "The system cannot move the file to a different disk drive.\r\n"},
    {18, "There are no more files.\r\n"},
    {19, "The media is write protected.\r\n"},
    {20, "The system cannot find the device specified.\r\n"},
    {21, "The device is not ready.\r\n"},
    {31, "A device attached to the system is not functioning.\r\n"},
    {32, "The process cannot access the file because it is being used by another process.\r\n"},
    {33, "The process cannot access the file because another process has locked a portion of the file.\r\n"},
    {38, "Reached the end of the file.\r\n"},
    {39, "The disk is full.\r\n"},
    {50, "The request is not supported.\r\n"},
    {55, "The specified network resource or device is no longer available.\r\n"},
    {80, "The file exists.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {109, "The pipe has been ended.\r\n"},
    {112, "There is not enough space on the disk.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n"},
    {123, "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {131, "An attempt was made to move the file pointer before the beginning of the file.\r\n"},
    {132, "The file pointer cannot be set on the specified device or file.\r\n"},
    {145, "The directory is not empty.\r\n"},
    {156, "The recipient process has refused the signal.\r\n"},
    {160, "One or more arguments are not correct.\r\n"},
    {161, "The specified path is invalid.\r\n"},
    {167, "Unable to lock a region of a file.\r\n"},
    {170, "The requested resource is in use.\r\n"},
    {183, "Cannot create a file when that file already exists.\r\n"},
    {206, "The filename or extension is too long.\r\n"},
    {223, "The file size exceeds the limit allowed and cannot be saved.\r\n"},
    {232, "The pipe is being closed.\r\n"},
    {267, "The directory name is invalid.\r\n"},
    {995, "The I/O operation has been aborted because of either a thread exit or an application request.\r\n"},
    {998, "Invalid access to memory location.\r\n"},
    {1006, "The volume for a file has been externally altered so that the opened file is no longer valid.\r\n"},
    {1113, "No mapping for the Unicode character exists in the target multi-byte code page.\r\n"},
    {1117, "The request could not be performed because of an I/O device error.\r\n"},
    {1131, "A potential deadlock condition has been detected.\r\n"},
    {1142, "An attempt was made to create more links on a file than the file system supports.\r\n"},
    {1237, "The operation could not be completed. A retry should be performed.\r\n"},
    {1287, "Insufficient information exists to identify the cause of failure.\r\n"},
    {1392, "The file or directory is corrupted and unreadable.\r\n"},
    {1450, "Insufficient system resources exist to complete the requested service.\r\n"},
    {1460, "This operation returned because the timeout period expired.\r\n"},
    {1921, "The name of the file cannot be resolved by the system.\r\n"},
};

// True when the table is strictly ascending, as the lookup needs.
constexpr bool english_messages_sorted() {
    for (std::size_t i = 1; i < sizeof kEnglishMessages / sizeof kEnglishMessages[0]; ++i) {
        if (kEnglishMessages[i - 1].code >= kEnglishMessages[i].code) return false;
    }
    return true;
}
static_assert(english_messages_sorted(), "kEnglishMessages must be sorted by code");

}  // namespace zop::sys::posix

#endif
