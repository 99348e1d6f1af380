// Platform layer: error codes and their text.
//
// Error codes are Win32 codes on every platform; the POSIX backend maps errno
// values to the code the corresponding Windows call would report.
#ifndef ZOP_SYS_ERROR_H
#define ZOP_SYS_ERROR_H

#include "sys/error_codes.h"

#include <cstdint>
#include <string>

namespace zop::sys {

// The calling thread's last error code (GetLastError).
std::uint32_t last_error();

// Sets the calling thread's last error code (SetLastError).
void set_last_error(std::uint32_t code);

// An entry point that turns error codes into text (FormatMessageW).
struct MessageFormatter;

// Loads `library` and looks up its wide message formatter.  Null when the
// library cannot be loaded or has no formatter.  The library, once loaded,
// stays loaded for the life of the process.
const MessageFormatter* load_message_formatter(const std::wstring& library);

// Asks `formatter` for the system text of `code` in the default language.
// Returns false, leaving `text` empty, when there is no text for the code.
// The text is returned exactly as the system gives it, line break included.
bool format_message(const MessageFormatter* formatter, std::uint32_t code,
                    std::wstring& text);

}  // namespace zop::sys

#endif
