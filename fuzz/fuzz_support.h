// What the fuzz targets share: a check that stops the run (libFuzzer keeps
// the input that made it fail), wide text made from the fuzzer's bytes, and
// models of the replacing ANSI (UTF-8) conversions, written apart from the
// library on the automaton of support/utf_models.h.
#ifndef ZOP_FUZZ_SUPPORT_H
#define ZOP_FUZZ_SUPPORT_H

#include "support/utf_models.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zop_fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::zop_fuzz::fail(#condition, __FILE__, __LINE__))

using zop_test::add_bits;
using zop_test::byte_class;
using zop_test::kNext;
constexpr int kDead = 8;  // the automaton's dead state

// Reads the longest well-formed UTF-8 character at s[i..): its code point
// and length, or length 0 when s[i] does not start one.  `taken` tells how
// many bytes fitted the sequence before it failed (at least 1).
inline std::size_t utf8_character(const std::string& s, std::size_t i, std::uint32_t& cp,
                                  std::size_t& taken) {
    int state = 0;
    cp = 0;
    std::size_t j = i;
    while (j < s.size()) {
        const auto b = static_cast<unsigned char>(s[j]);
        const int next = kNext[state][byte_class(b)];
        if (next == kDead) break;
        cp = add_bits(cp, state, b);
        state = next;
        ++j;
        if (state == 0) return j - i;
    }
    taken = j == i ? 1 : j - i;
    return 0;
}

// Wide text from bytes, so that seed files stay readable: each well-formed
// UTF-8 character becomes one value (above 0xFFFF too, which the 32-bit
// wchar_t of Linux holds and the library must refuse or pass over), every
// other byte the lone surrogate U+DC00 + byte.
inline std::wstring wide_text(const std::string& s) {
    std::wstring out;
    for (std::size_t i = 0; i < s.size();) {
        std::uint32_t cp;
        std::size_t taken;
        const std::size_t n = utf8_character(s, i, cp, taken);
        if (n != 0) {
            out.push_back(static_cast<wchar_t>(cp));
            i += n;
        } else {
            out.push_back(static_cast<wchar_t>(0xDC00 + static_cast<unsigned char>(s[i])));
            ++i;
        }
    }
    return out;
}

// Raw units: two bytes each (little-endian), or four when `wide` is set, so
// that any 32-bit value, negative ones included, can appear.
inline std::wstring raw_units(const std::uint8_t* data, std::size_t size, bool wide) {
    std::wstring out;
    const std::size_t step = wide ? 4 : 2;
    for (std::size_t i = 0; i + step <= size; i += step) {
        std::uint32_t v = data[i] | (data[i + 1] << 8);
        if (wide) v |= (static_cast<std::uint32_t>(data[i + 2]) << 16) | (static_cast<std::uint32_t>(data[i + 3]) << 24);
        out.push_back(static_cast<wchar_t>(v));
    }
    return out;
}

// The ANSI decoding model: each whole character, and U+FFFD for each
// maximal ill-formed part (a lead byte with the continuation bytes that fit
// it so far, or a byte that cannot start a character).
inline std::wstring replacing_decode(const std::string& s) {
    std::wstring out;
    for (std::size_t i = 0; i < s.size();) {
        std::uint32_t cp;
        std::size_t taken;
        const std::size_t n = utf8_character(s, i, cp, taken);
        if (n != 0) {
            zop_test::append_utf16(out, cp);
            i += n;
        } else {
            out.push_back(static_cast<wchar_t>(0xFFFD));
            i += taken;
        }
    }
    return out;
}

// The ANSI encoding model: pairs join, every other surrogate and every
// value that is no 16-bit unit becomes U+FFFD.  `units` gets the units the
// bytes decode back to.
inline std::string replacing_encode(const std::wstring& in, std::wstring* units = nullptr) {
    std::string out;
    for (std::size_t k = 0; k < in.size(); ++k) {
        const auto u = static_cast<std::uint32_t>(in[k]);
        std::uint32_t cp = u;
        if (u > 0xFFFF || (u >= 0xDC00 && u <= 0xDFFF)) {
            cp = 0xFFFD;
        } else if (u >= 0xD800 && u <= 0xDBFF) {
            const auto low = k + 1 < in.size() ? static_cast<std::uint32_t>(in[k + 1]) : 0u;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                ++k;
            } else {
                cp = 0xFFFD;
            }
        }
        out += zop_test::encode_cp(cp);
        if (units != nullptr) zop_test::append_utf16(*units, cp);
    }
    return out;
}

}  // namespace zop_fuzz

#endif
