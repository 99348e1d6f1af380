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

// A run this long is copied with the first kStreamAfter characters stored
// normally and the rest with non-temporal stores, which bypass the cache:
// an output of megabytes would only evict everything else, and the stores
// skip reading each cache line before writing it.  Short runs, the usual
// case in mixed text, never get there.
constexpr std::size_t kStreamAfter = 4096;
constexpr std::size_t kStreamMin = 1u << 18;

template <bool Stream>
inline void store(void* out, __m128i v) {
    if constexpr (Stream) {
        _mm_stream_si128(static_cast<__m128i*>(out), v);
    } else {
        _mm_storeu_si128(static_cast<__m128i*>(out), v);
    }
}

// Stores the 16 bytes of v as 16 wide characters.
template <bool Stream>
inline void store_widened(__m128i v, wchar_t* out) {
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = _mm_unpacklo_epi8(v, zero);
    __m128i hi = _mm_unpackhi_epi8(v, zero);
    if constexpr (sizeof(wchar_t) == 2) {
        store<Stream>(out, lo);
        store<Stream>(out + 8, hi);
    } else {
        store<Stream>(out, _mm_unpacklo_epi16(lo, zero));
        store<Stream>(out + 4, _mm_unpackhi_epi16(lo, zero));
        store<Stream>(out + 8, _mm_unpacklo_epi16(hi, zero));
        store<Stream>(out + 12, _mm_unpackhi_epi16(hi, zero));
    }
}

// Widens blocks of 32 characters from i while they are all ASCII and fit
// below n; returns where it stopped.
template <bool Stream>
inline std::size_t widen_blocks(const unsigned char* in, wchar_t* out, std::size_t i, std::size_t n) {
    for (; i + 32 <= n; i += 32) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 16));
        if (_mm_movemask_epi8(_mm_or_si128(a, b)) != 0) break;
        store_widened<Stream>(a, out + i);
        store_widened<Stream>(b, out + i + 16);
    }
    return i;
}

inline bool aligned16(const void* p) {
    return (reinterpret_cast<std::uintptr_t>(p) & 15) == 0;
}

inline std::size_t widen_ascii(const unsigned char* in, wchar_t* out, std::size_t n) {
    std::size_t i = widen_blocks<false>(in, out, 0, n < kStreamAfter + kStreamMin ? n : kStreamAfter);
    if (i == kStreamAfter) {
        // A long run: align the output for the streaming stores.
        for (; i < n && !aligned16(out + i) && in[i] < 0x80; ++i) out[i] = static_cast<wchar_t>(in[i]);
        if (aligned16(out + i)) {
            i = widen_blocks<true>(in, out, i, n);
            _mm_sfence();
        }
    }
    i = widen_blocks<false>(in, out, i, n);
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (_mm_movemask_epi8(v) != 0) break;
        store_widened<false>(v, out + i);
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

template <bool Stream>
inline std::size_t narrow_blocks(const wchar_t* in, char* out, std::size_t i, std::size_t n) {
    for (; i + 16 <= n; i += 16) {
        bool ascii;
        __m128i v = load_narrowed(in + i, ascii);
        if (!ascii) break;
        store<Stream>(out + i, v);
    }
    return i;
}

inline std::size_t narrow_ascii(const wchar_t* in, char* out, std::size_t n) {
    std::size_t i = narrow_blocks<false>(in, out, 0, n < kStreamAfter + kStreamMin ? n : kStreamAfter);
    if (i == kStreamAfter) {
        for (; i < n && !aligned16(out + i) && unit_value(in[i]) < 0x80; ++i) out[i] = static_cast<char>(in[i]);
        if (aligned16(out + i)) {
            i = narrow_blocks<true>(in, out, i, n);
            _mm_sfence();
        }
    }
    i = narrow_blocks<false>(in, out, i, n);
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
