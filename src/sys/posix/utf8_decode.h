// POSIX backend: the one UTF-8 decoder of the backend, shared by the ANSI
// code page (which replaces what is ill-formed) and the name mapping (which
// escapes it).
#ifndef ZOP_SYS_POSIX_UTF8_DECODE_H
#define ZOP_SYS_POSIX_UTF8_DECODE_H

#include <cstddef>
#include <cstdint>

namespace zop::sys::posix {

// One character of UTF-8 at s[0..n), n >= 1, by the table of well-formed
// byte sequences (no overlong forms, no surrogates, nothing past U+10FFFF).
// A well-formed sequence sets `valid` and `cp` and returns its length;
// anything else clears `valid` and returns the length of the maximal
// ill-formed part (at least 1), the unit that one replacement character
// stands for.
inline std::size_t decode_utf8(const unsigned char* s, std::size_t n, std::uint32_t& cp, bool& valid) {
    const std::uint32_t b = s[0];
    std::size_t len;
    std::uint32_t lo = 0x80;
    std::uint32_t hi = 0xBF;
    valid = true;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        cp = b & 0x0F;
        if (b == 0xE0) lo = 0xA0;  // no overlong forms
        if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        cp = b & 0x07;
        if (b == 0xF0) lo = 0x90;  // no overlong forms
        if (b == 0xF4) hi = 0x8F;  // nothing past U+10FFFF
    } else {
        valid = false;
        return 1;
    }
    for (std::size_t i = 1; i < len; ++i) {
        if (i >= n || s[i] < lo || s[i] > hi) {
            valid = false;
            return i;
        }
        cp = (cp << 6) | (s[i] & 0x3F);
        lo = 0x80;
        hi = 0xBF;
    }
    return len;
}

}  // namespace zop::sys::posix

#endif
