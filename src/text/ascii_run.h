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
// On x86-64, AVX2 versions handle 32 per step; they are compiled for AVX2
// alone (function attributes), so the rest of the library keeps running on
// any x86-64 processor, and they are only called once the processor is known
// to have AVX2 (convertion_utf.cpp).
#ifndef ZOP_TEXT_ASCII_RUN_H
#define ZOP_TEXT_ASCII_RUN_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZOP_TEXT_AVX2 1
#define ZOP_AVX2_FN __attribute__((target("avx2")))
#include <immintrin.h>
#else
#define ZOP_TEXT_AVX2 0
#endif

namespace zop::text {

// Copies n <= 32 bytes exactly: two overlapping moves of the largest size
// that fits, so no byte outside [dst, dst + n) is stored.
inline void copy_upto32(void* dst, const void* src, std::size_t n) {
    auto* d = static_cast<unsigned char*>(dst);
    const auto* s = static_cast<const unsigned char*>(src);
    if (n >= 16) {
        std::memcpy(d, s, 16);
        std::memcpy(d + n - 16, s + n - 16, 16);
    } else if (n >= 8) {
        std::memcpy(d, s, 8);
        std::memcpy(d + n - 8, s + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(d, s, 4);
        std::memcpy(d + n - 4, s + n - 4, 4);
    } else if (n != 0) {
        d[0] = s[0];
        d[n / 2] = s[n / 2];
        d[n - 1] = s[n - 1];
    }
}

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

#if ZOP_TEXT_AVX2
namespace avx2 {

using sse2::kStreamAfter;
using sse2::kStreamMin;
// How far ahead (bytes) the loops ask for their input.
constexpr std::size_t kPrefetch = 4096;

inline bool aligned32(const void* p) {
    return (reinterpret_cast<std::uintptr_t>(p) & 31) == 0;
}

template <bool Stream>
ZOP_AVX2_FN inline void store(void* out, __m256i v) {
    if constexpr (Stream) {
        _mm256_stream_si256(static_cast<__m256i*>(out), v);
    } else {
        _mm256_storeu_si256(static_cast<__m256i*>(out), v);
    }
}

// Stores the first k (<= 32) bytes of v at out and nothing else.
ZOP_AVX2_FN inline void store_bytes(void* out, __m256i v, std::size_t k) {
    alignas(32) unsigned char bytes[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(bytes), v);
    copy_upto32(out, bytes, k);
}

// Stores the first k (<= 8) 32-bit lanes of v at out and nothing else.
ZOP_AVX2_FN inline void store_lanes(void* out, __m256i v, std::size_t k) {
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i mask = _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<int>(k)), lane);
    _mm256_maskstore_epi32(static_cast<int*>(out), mask, v);
}

// The 8 bytes at in as 8 32-bit lanes, and the 16 bytes at in as 16 16-bit
// lanes.
ZOP_AVX2_FN inline __m256i widen8(const unsigned char* in) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in)));
}
ZOP_AVX2_FN inline __m256i widen16(const unsigned char* in) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
}

// Widens the first p (<= 32) of the 32 ASCII bytes at in to units at out.
template <bool Stream>
ZOP_AVX2_FN inline void store_widened(const unsigned char* in, wchar_t* out, std::size_t p) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (p == 32) {
            store<Stream>(out, widen16(in));
            store<Stream>(out + 16, widen16(in + 16));
            return;
        }
        // Masked stores work on pairs of units; an odd last unit is
        // stored by itself.
        store_lanes(out, widen16(in), p >= 16 ? 8 : p / 2);
        store_lanes(out + 16, widen16(in + 16), p >= 16 ? (p - 16) / 2 : 0);
        if (p & 1) out[p - 1] = static_cast<wchar_t>(in[p - 1]);
    } else {
        if (p == 32) {
            for (std::size_t k = 0; k < 32; k += 8) store<Stream>(out + k, widen8(in + k));
            return;
        }
        for (std::size_t k = 0; k < 32; k += 8) {
            store_lanes(out + k, widen8(in + k), p > k ? p - k : 0);
        }
    }
}

// Widens blocks of 32 from i while they are ASCII and fit below n.  A block
// that holds a non-ASCII byte has its ASCII prefix stored and ends the run:
// `end` is set to where it stopped.  Returns where it stopped either way.
template <bool Stream>
ZOP_AVX2_FN inline std::size_t widen_blocks(const unsigned char* in, wchar_t* out, std::size_t i,
                                            std::size_t n, bool& end) {
    for (; i + 32 <= n; i += 32) {
        if constexpr (Stream) _mm_prefetch(reinterpret_cast<const char*>(in + i) + kPrefetch, _MM_HINT_T0);
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        auto mask = static_cast<unsigned>(_mm256_movemask_epi8(v));
        if (mask != 0) {
            std::size_t p = static_cast<std::size_t>(__builtin_ctz(mask));
            store_widened<false>(in + i, out + i, p);
            end = true;
            return i + p;
        }
        store_widened<Stream>(in + i, out + i, 32);
    }
    return i;
}

ZOP_AVX2_FN inline std::size_t widen_ascii(const unsigned char* in, wchar_t* out, std::size_t n) {
    bool end = false;
    std::size_t i = widen_blocks<false>(in, out, 0, n < kStreamAfter + kStreamMin ? n : kStreamAfter, end);
    if (end) return i;
    if (i == kStreamAfter) {
        // A long run: align the output for the streaming stores.
        for (; i < n && !aligned32(out + i) && in[i] < 0x80; ++i) out[i] = static_cast<wchar_t>(in[i]);
        if (aligned32(out + i)) {
            i = widen_blocks<true>(in, out, i, n, end);
            _mm_sfence();
            if (end) return i;
        }
    }
    i = widen_blocks<false>(in, out, i, n, end);
    if (end || i == n) return i;
    if (n >= 32) {
        // The last block ends at n and overlaps units already stored, which
        // get their own values again.
        std::size_t j = n - 32;
        auto mask = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + j))));
        std::size_t p = mask == 0 ? 32 : static_cast<std::size_t>(__builtin_ctz(mask));
        store_widened<false>(in + j, out + j, p);
        return j + p;
    }
    return i + sse2::widen_ascii(in + i, out + i, n - i);
}

// All ones in each 32-bit lane that holds an ASCII value.
ZOP_AVX2_FN inline __m256i ascii_lanes(__m256i x) {
    const __m256i bits = _mm256_set1_epi32(static_cast<int>(0xFFFFFF80u));
    return _mm256_cmpeq_epi32(_mm256_and_si256(x, bits), _mm256_setzero_si256());
}

// 32 units as 32 bytes, and a mask with a bit set for each unit that is not
// ASCII (the bytes of those are meaningless).
ZOP_AVX2_FN inline __m256i load_narrowed(const wchar_t* in, unsigned& high) {
    if constexpr (sizeof(wchar_t) == 2) {
        const __m256i bits = _mm256_set1_epi16(static_cast<short>(0xFF80));
        __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
        __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 16));
        high = 0;
        if (!_mm256_testz_si256(_mm256_or_si256(a, b), bits)) {
            const __m256i zero = _mm256_setzero_si256();
            __m256i ascii = _mm256_packs_epi16(_mm256_cmpeq_epi16(_mm256_and_si256(a, bits), zero),
                                               _mm256_cmpeq_epi16(_mm256_and_si256(b, bits), zero));
            high = ~static_cast<unsigned>(_mm256_movemask_epi8(_mm256_permute4x64_epi64(ascii, 0xD8)));
        }
        return _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8);
    } else {
        const __m256i bits = _mm256_set1_epi32(static_cast<int>(0xFFFFFF80u));
        const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
        __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
        __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 8));
        __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 16));
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 24));
        high = 0;
        if (!_mm256_testz_si256(_mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d)), bits)) {
            __m256i m = _mm256_packs_epi16(_mm256_packs_epi32(ascii_lanes(a), ascii_lanes(b)),
                                           _mm256_packs_epi32(ascii_lanes(c), ascii_lanes(d)));
            high = ~static_cast<unsigned>(_mm256_movemask_epi8(_mm256_permutevar8x32_epi32(m, order)));
        }
        // Units above 0xFFFF saturate; only ASCII bytes are kept anyway.
        __m256i words = _mm256_packus_epi16(_mm256_packus_epi32(a, b), _mm256_packus_epi32(c, d));
        return _mm256_permutevar8x32_epi32(words, order);
    }
}

template <bool Stream>
ZOP_AVX2_FN inline std::size_t narrow_blocks(const wchar_t* in, char* out, std::size_t i, std::size_t n,
                                             bool& end) {
    for (; i + 32 <= n; i += 32) {
        // Units are wide, so reading them sets the pace more than the work:
        // ask for the input a few kilobytes ahead.
        _mm_prefetch(reinterpret_cast<const char*>(in + i) + kPrefetch, _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(in + i) + kPrefetch + 64, _MM_HINT_T0);
        unsigned high;
        __m256i v = load_narrowed(in + i, high);
        if (high != 0) {
            std::size_t p = static_cast<std::size_t>(__builtin_ctz(high));
            store_bytes(out + i, v, p);
            end = true;
            return i + p;
        }
        store<Stream>(out + i, v);
    }
    return i;
}

ZOP_AVX2_FN inline std::size_t narrow_ascii(const wchar_t* in, char* out, std::size_t n) {
    bool end = false;
    std::size_t i = narrow_blocks<false>(in, out, 0, n < kStreamAfter + kStreamMin ? n : kStreamAfter, end);
    if (end) return i;
    if (i == kStreamAfter) {
        for (; i < n && !aligned32(out + i) && unit_value(in[i]) < 0x80; ++i) out[i] = static_cast<char>(in[i]);
        if (aligned32(out + i)) {
            i = narrow_blocks<true>(in, out, i, n, end);
            _mm_sfence();
            if (end) return i;
        }
    }
    i = narrow_blocks<false>(in, out, i, n, end);
    if (end || i == n) return i;
    if (n >= 32) {
        std::size_t j = n - 32;
        unsigned high;
        __m256i v = load_narrowed(in + j, high);
        std::size_t p = high == 0 ? 32 : static_cast<std::size_t>(__builtin_ctz(high));
        store_bytes(out + j, v, p);
        return j + p;
    }
    return i + sse2::narrow_ascii(in + i, out + i, n - i);
}

}  // namespace avx2
#endif

using sse2::narrow_ascii;
using sse2::widen_ascii;
#else
using portable::narrow_ascii;
using portable::widen_ascii;
#endif

}  // namespace zop::text

#endif
