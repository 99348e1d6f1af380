// The character classes of date parsing: Char's white space and decimal
// digits, with the ASCII range answered inline because parsing asks for
// every character it reads.
#ifndef ZOP_TIME_PARSE_CHARS_H
#define ZOP_TIME_PARSE_CHARS_H

#include <zop/text.h>

namespace zop::detail {

inline bool is_parse_space(wchar_t c) {
    const auto u = static_cast<unsigned long>(c);
    if (u < 0x80) return u == 0x20 || (u >= 0x09 && u <= 0x0D);
    return Char::is_whitespace(c);
}

inline bool is_parse_digit(wchar_t c) {
    const auto u = static_cast<unsigned long>(c);
    if (u < 0x80) return u - 0x30 < 10;
    return Char::is_digit(c);
}

}  // namespace zop::detail

#endif
