// POSIX backend: the ANSI code page is UTF-8, converted with the conventions
// of the Windows calls for code page CP_UTF8 and flags 0.
//
// As on Windows, ill-formed input is not an error: each unpaired surrogate
// becomes U+FFFD, and so does each maximal ill-formed part of a UTF-8
// sequence (a lead byte with the continuation bytes that fit it so far; a
// byte that cannot start a sequence on its own).  A value above 0xFFFF
// (wchar_t is 32 bits wide) is no UTF-16 text at all, which Windows cannot
// be given: the call fails with 87 there.  When the output is too small, the
// characters that fit whole are written and the call fails with 122.
#include "sys/codepage.h"

#include "sys/error.h"
#include "sys/posix/utf8_decode.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zop::sys {

namespace {
constexpr std::uint32_t kReplacement = 0xFFFD;

template <typename T>
std::size_t zero_terminated_length(const T* s) {
    std::size_t n = 0;
    while (s[n] != 0) ++n;
    return n + 1;
}

// One character of UTF-16 at s[0..n): its code point, or U+FFFD for an
// unpaired surrogate.  Returns the units consumed, 0 for a value that is no
// 16-bit unit.
std::size_t read_utf16(const wchar_t* s, std::size_t n, std::uint32_t& cp) {
    auto u = static_cast<std::uint32_t>(s[0]);
    cp = u;
    if (u > 0xFFFF) return 0;
    if (u >= 0xDC00 && u <= 0xDFFF) {
        cp = kReplacement;
    } else if (u >= 0xD800 && u <= 0xDBFF) {
        auto low = n > 1 ? static_cast<std::uint32_t>(s[1]) : 0;
        if (low < 0xDC00 || low > 0xDFFF) {
            cp = kReplacement;
        } else {
            cp = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            return 2;
        }
    }
    return 1;
}

// One character of UTF-8 at s[0..n): its code point, or U+FFFD for an
// ill-formed part.  Returns the bytes consumed (at least 1).
std::size_t read_utf8(const unsigned char* s, std::size_t n, std::uint32_t& cp) {
    bool valid;
    const std::size_t len = posix::decode_utf8(s, n, cp, valid);
    if (!valid) cp = kReplacement;
    return len;
}

std::size_t write_utf8(std::uint32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

std::size_t write_utf16(std::uint32_t cp, wchar_t* out) {
    if (cp < 0x10000) {
        out[0] = static_cast<wchar_t>(cp);
        return 1;
    }
    cp -= 0x10000;
    out[0] = static_cast<wchar_t>(0xD800 + (cp >> 10));
    out[1] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    return 2;
}

// The loop both directions share: read a character, encode it into a small
// buffer, copy it out if it fits (or only count it when size is 0).
template <typename In, typename Out, typename Read, typename Write>
int convert(const In* input, int length, Out* output, int size, Read read, Write write) {
    if (input == nullptr || length == 0 || (output == nullptr && size != 0) || size < 0) {
        set_last_error(kErrorInvalidParameter);
        return 0;
    }
    std::size_t n = length < 0 ? zero_terminated_length(input) : static_cast<std::size_t>(length);
    std::size_t count = 0;
    for (std::size_t i = 0; i < n;) {
        std::uint32_t cp;
        const std::size_t used = read(input + i, n - i, cp);
        if (used == 0) {
            set_last_error(kErrorInvalidParameter);  // not text of this encoding
            return 0;
        }
        i += used;
        Out encoded[4];
        std::size_t k = write(cp, encoded);
        if (size != 0) {
            if (count + k > static_cast<std::size_t>(size)) {
                set_last_error(kErrorInsufficientBuffer);
                return 0;
            }
            std::memcpy(output + count, encoded, k * sizeof(Out));
        }
        count += k;
        if (count > static_cast<std::size_t>(INT_MAX)) {
            set_last_error(kErrorInvalidParameter);  // the count cannot be returned
            return 0;
        }
    }
    return static_cast<int>(count);
}

}  // namespace

int wide_to_ansi(const wchar_t* input, int length, char* output, int size) {
    return convert(input, length, output, size, read_utf16, write_utf8);
}

int ansi_to_wide(const char* input, int length, wchar_t* output, int size) {
    auto read = [](const char* s, std::size_t n, std::uint32_t& cp) {
        return read_utf8(reinterpret_cast<const unsigned char*>(s), n, cp);
    };
    return convert(input, length, output, size, read, write_utf16);
}

}  // namespace zop::sys
