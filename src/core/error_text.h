// Helpers for operating-system error text.
#ifndef ZOP_CORE_ERROR_TEXT_H
#define ZOP_CORE_ERROR_TEXT_H

#include <string>

namespace zop::detail {

// system_error(prefix, code of the thread's last error).
std::wstring last_error_text(const std::wstring& prefix);

// Drops the line break that ends a system text: "\n" or "\r\n" as the last
// units, or a "\n" (with an optional "\r" before it) followed by one more
// unit.  Nothing else is removed.
void drop_line_break(std::wstring& text);

}  // namespace zop::detail

#endif
