// Helpers shared by the test programs.
#ifndef ZOP_TESTS_SUPPORT_H
#define ZOP_TESTS_SUPPORT_H

#include <cstdint>
#include <string>

namespace zop_test {

// The operating system's own text for a Win32 error code, exactly as its
// message formatter returns it (line break included), or empty when it has
// none.  On Windows this asks FormatMessageW directly, bypassing zop; Linux
// has no such formatter, so there it is the English Windows text that the
// library promises to reproduce.
std::wstring os_error_text(std::uint32_t code);

// Narrow (UTF-8) form of a wide string, for readable assertion messages.
std::string narrow(const std::wstring& text);

}  // namespace zop_test

#endif
