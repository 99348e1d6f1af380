// Runs of ASCII converted several characters at a time.
//
// Both helpers copy the longest ASCII prefix of their input (at most n
// characters) and return its length.  They write exactly the units or bytes
// of that prefix and nothing beyond it, so a converter that uses them leaves
// the output just as a character-by-character loop would, also where it then
// stops for lack of room or at an error.
//
// SSE2 (always present on x86-64) handles 16 characters per step; the
// portable version handles 8, reading the input a machine word at a time.
#ifndef ZOP_TEXT_ASCII_RUN_H
#define ZOP_TEXT_ASCII_RUN_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zop::text {

// A wide character as an unsigned value; where wchar_t is a signed 32-bit
// type a negative value becomes a large one, never ASCII.
inline std::uint32_t unit_value(wchar_t c) {
    return static_cast<std::uint32_t>(c);
}

namespace portable {

inline std::size_t widen_ascii(const unsigned char* in, wchar_t* out, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + i, 8);
        if (word & 0x8080808080808080ULL) break;
        for (std::size_t k = 0; k < 8; ++k) out[i + k] = static_cast<wchar_t>(in[i + k]);
    }
    for (; i < n && in[i] < 0x80; ++i) out[i] = static_cast<wchar_t>(in[i]);
    return i;
}

inline std::size_t narrow_ascii(const wchar_t* in, char* out, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint32_t any = 0;
        for (std::size_t k = 0; k < 8; ++k) any |= unit_value(in[i + k]);
        if (any >= 0x80) break;
        for (std::size_t k = 0; k < 8; ++k) out[i + k] = static_cast<char>(in[i + k]);
    }
    for (; i < n && unit_value(in[i]) < 0x80; ++i) out[i] = static_cast<char>(in[i]);
    return i;
}

}  // namespace portable

#if defined(__SSE2__)
namespace sse2 {

// Stores the 16 bytes of v as 16 wide characters.
inline void store_widened(__m128i v, wchar_t* out) {
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = _mm_unpacklo_epi8(v, zero);
    __m128i hi = _mm_unpackhi_epi8(v, zero);
    if constexpr (sizeof(wchar_t) == 2) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), hi);
    } else {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(lo, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_unpackhi_epi16(lo, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpacklo_epi16(hi, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), _mm_unpackhi_epi16(hi, zero));
    }
}

inline std::size_t widen_ascii(const unsigned char* in, wchar_t* out, std::size_t n) {
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 16));
        if (_mm_movemask_epi8(_mm_or_si128(a, b)) != 0) break;
        store_widened(a, out + i);
        store_widened(b, out + i + 16);
    }
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (_mm_movemask_epi8(v) != 0) break;
        store_widened(v, out + i);
    }
    for (; i < n && in[i] < 0x80; ++i) out[i] = static_cast<wchar_t>(in[i]);
    return i;
}

// Loads 16 wide characters as 16 bytes; `ascii` tells whether all of them
// were below 0x80 (the bytes are only meaningful then).
inline __m128i load_narrowed(const wchar_t* in, bool& ascii) {
    const __m128i zero = _mm_setzero_si128();
    if constexpr (sizeof(wchar_t) == 2) {
        const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 8));
        __m128i bits = _mm_and_si128(_mm_or_si128(a, b), high);
        ascii = _mm_movemask_epi8(_mm_cmpeq_epi16(bits, zero)) == 0xFFFF;
        return _mm_packus_epi16(a, b);
    } else {
        const __m128i high = _mm_set1_epi32(static_cast<int>(0xFFFFFF80u));
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4));
        __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 8));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 12));
        __m128i bits = _mm_and_si128(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)), high);
        ascii = _mm_movemask_epi8(_mm_cmpeq_epi32(bits, zero)) == 0xFFFF;
        return _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
    }
}

inline std::size_t narrow_ascii(const wchar_t* in, char* out, std::size_t n) {
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        bool ascii;
        __m128i v = load_narrowed(in + i, ascii);
        if (!ascii) break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), v);
    }
    for (; i < n && unit_value(in[i]) < 0x80; ++i) out[i] = static_cast<char>(in[i]);
    return i;
}

}  // namespace sse2

using sse2::narrow_ascii;
using sse2::widen_ascii;
#else
using portable::narrow_ascii;
using portable::widen_ascii;
#endif

}  // namespace zop::text

#endif
