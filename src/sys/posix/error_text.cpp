// POSIX backend: the English Windows system texts for the error codes this
// backend produces (and a few more that callers commonly pass).
#include "sys/error.h"

#include <algorithm>
#include <iterator>

namespace zop::sys {

namespace {

struct MessageEntry {
    std::uint32_t code;
    const char* text;  // ASCII
};

// Sorted by code.  Texts as Windows formats them in English, with the
// trailing CR LF of the system's message table.
constexpr MessageEntry kMessages[] = {
    {0, "The operation completed successfully.\r\n"},
    {1, "Incorrect function.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {3, "The system cannot find the path specified.\r\n"},
    {4, "The system cannot open the file.\r\n"},
    {5, "Access is denied.\r\n"},
    {6, "The handle is invalid.\r\n"},
    {8, "Not enough memory resources are available to process this command.\r\n"},
    {14, "Not enough memory resources are available to complete this operation.\r\n"},
    {15, "The system cannot find the drive specified.\r\n"},
    {16, "The directory cannot be removed.\r\n"},
    {17, "The system cannot move the file to a different disk drive.\r\n"},
    {18, "There are no more files.\r\n"},
    {19, "The media is write protected.\r\n"},
    {21, "The device is not ready.\r\n"},
    {31, "A device attached to the system is not functioning.\r\n"},
    {32, "The process cannot access the file because it is being used by another process.\r\n"},
    {33, "The process cannot access the file because another process has locked a portion of the file.\r\n"},
    {38, "Reached the end of the file.\r\n"},
    {39, "The disk is full.\r\n"},
    {50, "The request is not supported.\r\n"},
    {80, "The file exists.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {112, "There is not enough space on the disk.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n"},
    {123, "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {131, "An attempt was made to move the file pointer before the beginning of the file.\r\n"},
    {132, "The file pointer cannot be set on the specified device or file.\r\n"},
    {145, "The directory is not empty.\r\n"},
    {156, "The recipient process has refused the signal.\r\n"},
    {161, "The specified path is invalid.\r\n"},
    {183, "Cannot create a file when that file already exists.\r\n"},
    {206, "The filename or extension is too long.\r\n"},
    {232, "The pipe is being closed.\r\n"},
    {267, "The directory name is invalid.\r\n"},
    {1117, "The request could not be performed because of an I/O device error.\r\n"},
    {1921, "The name of the file cannot be resolved by the system.\r\n"},
};

// The POSIX system's only formatter; its address is the handle.
struct EnglishTable {
    int unused;
};
constexpr EnglishTable kEnglish{0};

}  // namespace

// Only the name Windows would load the formatter from is known.
const MessageFormatter* load_message_formatter(const std::wstring& library) {
    if (library != L"kernel32.dll") return nullptr;
    return reinterpret_cast<const MessageFormatter*>(&kEnglish);
}

bool format_message(const MessageFormatter*, std::uint32_t code, std::wstring& text) {
    text.clear();
    auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), code,
                               [](const MessageEntry& e, std::uint32_t c) { return e.code < c; });
    if (it == std::end(kMessages) || it->code != code) return false;
    for (const char* p = it->text; *p != '\0'; ++p) text.push_back(static_cast<wchar_t>(*p));
    return true;
}

}  // namespace zop::sys
