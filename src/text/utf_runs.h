// Runs of two- and three-byte characters converted several at a time with
// AVX2 (x86-64 only; see ascii_run.h for how AVX2 code is compiled and when it
// is called).
//
// Each converter works on whole blocks (8 or 16 characters) and takes the
// longest prefix of a block in which every character is well formed and of
// its one length; it stores exactly the output of that prefix and returns
// the number of characters converted.  A block that does not fit the input,
// the room or the limit it is given is left alone.  What they stop at (a
// character of another length, an ill-formed sequence, the end of the room)
// is left to the character loop of convertion_utf.cpp, which then gives the
// same answer it would have given without them.
#ifndef ZOP_TEXT_UTF_RUNS_H
#define ZOP_TEXT_UTF_RUNS_H

#include "text/ascii_run.h"

#if ZOP_TEXT_AVX2
namespace zop::text::avx2 {

// How many lanes from the first one on are set in an 8-bit lane mask.
inline std::size_t leading_lanes(unsigned mask) {
    return static_cast<std::size_t>(__builtin_ctz(~mask));
}

// Stores the first k (<= 8) of the 8 values (< 0x10000) in the 32-bit lanes of
// v as units.
ZOP_AVX2_FN inline void store_units8(wchar_t* out, __m256i v, std::size_t k) {
    if constexpr (sizeof(wchar_t) == 2) {
        __m256i words = _mm256_permute4x64_epi64(_mm256_packus_epi32(v, v), 0x08);
        if (k == 8) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(words));
        } else {
            store_bytes(out, words, 2 * k);
        }
    } else if (k == 8) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), v);
    } else {
        store_lanes(out, v, k);
    }
}

// Three-byte characters (U+0800..U+FFFF without the surrogates): eight a
// block, from 24 bytes.  Returns the characters converted (3 bytes, 1 unit
// each).
ZOP_AVX2_FN inline std::size_t decode_three_byte_run(const unsigned char* in, std::size_t avail, wchar_t* out,
                                                     std::size_t room) {
    // Each 32-bit lane gathers one character as [third, second, lead, 0].
    // The low half holds bytes 0..15 of the block (characters 0..3), the
    // high half bytes 8..23 (characters 4..7, from its byte 4 on).
    const __m256i gather = _mm256_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1,  //
                                            6, 5, 4, -1, 9, 8, 7, -1, 12, 11, 10, -1, 15, 14, 13, -1);
    const __m256i shape_bits = _mm256_set1_epi32(0x00F0C0C0);
    const __m256i shape = _mm256_set1_epi32(0x00E08080);
    std::size_t n = 0;
    while (avail - 3 * n >= 24 && room - n >= 8) {
        const unsigned char* p = in + 3 * n;
        __m256i raw = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)), 1);
        __m256i x = _mm256_shuffle_epi8(raw, gather);
        __m256i v = _mm256_or_si256(
            _mm256_and_si256(x, _mm256_set1_epi32(0x3F)),
            _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi32(x, 2), _mm256_set1_epi32(0xFC0)),
                            _mm256_and_si256(_mm256_srli_epi32(x, 4), _mm256_set1_epi32(0xF000))));
        // A lead 0xE0..0xEF with two continuation bytes, not overlong (below
        // U+0800), not a surrogate.
        __m256i good = _mm256_cmpeq_epi32(_mm256_and_si256(x, shape_bits), shape);
        __m256i overlong = _mm256_cmpgt_epi32(_mm256_set1_epi32(0x800), v);
        __m256i surrogate = _mm256_cmpeq_epi32(_mm256_and_si256(v, _mm256_set1_epi32(0xF800)),
                                               _mm256_set1_epi32(0xD800));
        good = _mm256_andnot_si256(_mm256_or_si256(overlong, surrogate), good);
        auto mask = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(good)));
        std::size_t k = leading_lanes(mask);
        store_units8(out + n, v, k);
        n += k;
        if (k != 8) break;
    }
    return n;
}

// Two-byte characters (U+0080..U+07FF): sixteen a block, from 32 bytes.
// Returns the characters converted (2 bytes, 1 unit each).
ZOP_AVX2_FN inline std::size_t decode_two_byte_run(const unsigned char* in, std::size_t avail, wchar_t* out,
                                                   std::size_t room) {
    std::size_t n = 0;
    while (avail - 2 * n >= 32 && room - n >= 16) {
        // Each 16-bit lane holds one character, lead byte low.
        __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * n));
        __m256i v = _mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(w, _mm256_set1_epi16(0x1F)), 6),
                                    _mm256_and_si256(_mm256_srli_epi16(w, 8), _mm256_set1_epi16(0x3F)));
        // A lead 0xC2..0xDF (0xC0 and 0xC1 would be overlong) with one
        // continuation byte.
        __m256i good = _mm256_and_si256(
            _mm256_cmpeq_epi16(_mm256_and_si256(w, _mm256_set1_epi16(static_cast<short>(0xC0E0))),
                               _mm256_set1_epi16(static_cast<short>(0x80C0))),
            _mm256_cmpgt_epi16(v, _mm256_set1_epi16(0x7F)));
        auto mask = static_cast<unsigned>(_mm256_movemask_epi8(good));
        std::size_t k = mask == 0xFFFFFFFFu ? 16 : static_cast<std::size_t>(__builtin_ctz(~mask)) / 2;
        if constexpr (sizeof(wchar_t) == 2) {
            if (k == 16) {
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + n), v);
            } else {
                store_bytes(out + n, v, 2 * k);
            }
        } else {
            __m256i lo = _mm256_cvtepu16_epi32(_mm256_castsi256_si128(v));
            __m256i hi = _mm256_cvtepu16_epi32(_mm256_extracti128_si256(v, 1));
            if (k == 16) {
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + n), lo);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + n + 8), hi);
            } else {
                store_lanes(out + n, lo, k < 8 ? k : 8);
                store_lanes(out + n + 8, hi, k < 8 ? 0 : k - 8);
            }
        }
        n += k;
        if (k != 16) break;
    }
    return n;
}

// Eight units as values in 32-bit lanes.
ZOP_AVX2_FN inline __m256i load_units8(const wchar_t* in) {
    if constexpr (sizeof(wchar_t) == 2) {
        return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
    } else {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    }
}

// Units U+0800..U+FFFF other than surrogates, to three bytes each: eight a
// block, at most `limit` units.  Returns the units converted.
ZOP_AVX2_FN inline std::size_t encode_three_byte_run(const wchar_t* in, std::size_t limit, unsigned char* out) {
    // Packs the three bytes of each 32-bit lane together: 12 bytes a half,
    // then the halves' 12 bytes next to each other.
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    std::size_t n = 0;
    while (limit - n >= 8) {
        __m256i v = load_units8(in + n);
        // Signed comparisons: values past 0x7FFFFFFF (where wchar_t is
        // wider) are negative and fail the first test.
        __m256i good = _mm256_and_si256(
            _mm256_cmpgt_epi32(v, _mm256_set1_epi32(0x7FF)),
            _mm256_cmpgt_epi32(_mm256_set1_epi32(0x10000), v));
        __m256i surrogate = _mm256_cmpeq_epi32(_mm256_and_si256(v, _mm256_set1_epi32(0xF800)),
                                               _mm256_set1_epi32(0xD800));
        good = _mm256_andnot_si256(surrogate, good);
        // [0xE0 | v >> 12, 0x80 | (v >> 6 & 0x3F), 0x80 | (v & 0x3F), 0]
        __m256i bytes = _mm256_or_si256(
            _mm256_or_si256(_mm256_srli_epi32(v, 12), _mm256_set1_epi32(0x8080E0)),
            _mm256_or_si256(_mm256_and_si256(_mm256_slli_epi32(v, 2), _mm256_set1_epi32(0x3F00)),
                            _mm256_and_si256(_mm256_slli_epi32(v, 16), _mm256_set1_epi32(0x3F0000))));
        bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(bytes, pack), join);
        auto mask = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(good)));
        unsigned char* o = out + 3 * n;
        if (mask == 0xFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(bytes));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(o + 16), _mm256_extracti128_si256(bytes, 1));
            n += 8;
            continue;
        }
        std::size_t k = leading_lanes(mask);
        store_bytes(o, bytes, 3 * k);
        return n + k;
    }
    return n;
}

// Units U+0080..U+07FF to two bytes each: sixteen a block, at most `limit`
// units.  Returns the units converted.
ZOP_AVX2_FN inline std::size_t encode_two_byte_run(const wchar_t* in, std::size_t limit, unsigned char* out) {
    std::size_t n = 0;
    while (limit - n >= 16) {
        __m256i w;
        __m256i good;
        if constexpr (sizeof(wchar_t) == 2) {
            w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + n));
            __m256i d = _mm256_sub_epi16(w, _mm256_set1_epi16(0x80));
            good = _mm256_cmpeq_epi16(_mm256_min_epu16(d, _mm256_set1_epi16(0x77F)), d);
        } else {
            __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + n));
            __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + n + 8));
            const __m256i low = _mm256_set1_epi32(0x7F);
            const __m256i high = _mm256_set1_epi32(0x800);
            __m256i ga = _mm256_and_si256(_mm256_cmpgt_epi32(a, low), _mm256_cmpgt_epi32(high, a));
            __m256i gb = _mm256_and_si256(_mm256_cmpgt_epi32(b, low), _mm256_cmpgt_epi32(high, b));
            w = _mm256_permute4x64_epi64(_mm256_packus_epi32(a, b), 0xD8);
            good = _mm256_permute4x64_epi64(_mm256_packs_epi32(ga, gb), 0xD8);
        }
        // [0xC0 | w >> 6, 0x80 | (w & 0x3F)] in each 16-bit lane.
        __m256i bytes = _mm256_or_si256(
            _mm256_or_si256(_mm256_srli_epi16(w, 6), _mm256_set1_epi16(0xC0)),
            _mm256_slli_epi16(_mm256_or_si256(_mm256_and_si256(w, _mm256_set1_epi16(0x3F)),
                                              _mm256_set1_epi16(0x80)),
                              8));
        auto mask = static_cast<unsigned>(_mm256_movemask_epi8(good));
        unsigned char* o = out + 2 * n;
        if (mask == 0xFFFFFFFFu) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(o), bytes);
            n += 16;
            continue;
        }
        std::size_t k = static_cast<std::size_t>(__builtin_ctz(~mask)) / 2;
        store_bytes(o, bytes, 2 * k);
        return n + k;
    }
    return n;
}

// The shuffles that pack the bytes of four 32-bit lanes, lane k holding its
// first length[k] (0..4) bytes, and the number of bytes they come to;
// indexed by length[0] + 5 length[1] + 25 length[2] + 125 length[3].
struct PackTable {
    unsigned char shuffle[625][16];
    unsigned char size[625];
};

constexpr PackTable make_pack_table() {
    PackTable t{};
    for (int i = 0; i < 625; ++i) {
        int at = 0;
        for (int lane = 0, rest = i; lane < 4; ++lane, rest /= 5) {
            for (int b = 0; b < rest % 5; ++b) t.shuffle[i][at++] = static_cast<unsigned char>(4 * lane + b);
        }
        t.size[i] = static_cast<unsigned char>(at);
        for (; at < 16; ++at) t.shuffle[i][at] = 0x80;  // a zero byte
    }
    return t;
}

alignas(64) inline constexpr PackTable kPack = make_pack_table();

// Whether the eight units at in, with the one after them, are well formed:
// a high surrogate exactly where a low one follows, nothing above 0xFFFF.
ZOP_AVX2_FN inline bool mixed_ok(const wchar_t* in) {
    const __m256i top = _mm256_set1_epi32(static_cast<int>(0xFFFFFC00u));
    __m256i cur = load_units8(in);
    __m256i high = _mm256_cmpeq_epi32(_mm256_and_si256(cur, top), _mm256_set1_epi32(0xD800));
    __m256i low_next = _mm256_cmpeq_epi32(_mm256_and_si256(load_units8(in + 1), top), _mm256_set1_epi32(0xDC00));
    __m256i unit = _mm256_cmpeq_epi32(_mm256_min_epu32(cur, _mm256_set1_epi32(0xFFFF)), cur);
    __m256i bad = _mm256_or_si256(_mm256_xor_si256(high, low_next), _mm256_xor_si256(unit, _mm256_set1_epi32(-1)));
    return _mm256_testz_si256(bad, bad) != 0;
}

// Encodes the eight well-formed units at in (a pair may reach one unit past
// them) at out and returns the end of their bytes.  Stores 16 bytes for each
// four units, so up to 13 bytes past the end get bytes that are no output.
// Sets `uniform` when all eight were ASCII, or all three-byte units.
ZOP_AVX2_FN inline unsigned char* encode_mixed8(const wchar_t* in, unsigned char* out, bool& uniform) {
    const __m256i top = _mm256_set1_epi32(static_cast<int>(0xFFFFFC00u));
    __m256i cur = load_units8(in);
    __m256i next = load_units8(in + 1);
    __m256i masked = _mm256_and_si256(cur, top);
    __m256i high = _mm256_cmpeq_epi32(masked, _mm256_set1_epi32(0xD800));
    __m256i low = _mm256_cmpeq_epi32(masked, _mm256_set1_epi32(0xDC00));
    __m256i joined = _mm256_add_epi32(_mm256_slli_epi32(cur, 10),
                                      _mm256_sub_epi32(next, _mm256_set1_epi32((0xD800 << 10) + 0xDC00 - 0x10000)));
    __m256i cp = _mm256_blendv_epi8(cur, joined, high);
    // 1 to 4 bytes, none for a low surrogate (its pair is the high one's).
    __m256i len = _mm256_sub_epi32(_mm256_set1_epi32(1), _mm256_cmpgt_epi32(cp, _mm256_set1_epi32(0x7F)));
    len = _mm256_sub_epi32(len, _mm256_cmpgt_epi32(cp, _mm256_set1_epi32(0x7FF)));
    len = _mm256_andnot_si256(low, _mm256_sub_epi32(len, _mm256_cmpgt_epi32(cp, _mm256_set1_epi32(0xFFFF))));
    // The four-byte form's value bits, first byte lowest; shorter forms drop
    // its first bytes (zero for them) and get their own marks.
    __m256i bits = _mm256_or_si256(
        _mm256_or_si256(_mm256_srli_epi32(cp, 18), _mm256_and_si256(_mm256_srli_epi32(cp, 4), _mm256_set1_epi32(0x3F00))),
        _mm256_or_si256(_mm256_and_si256(_mm256_slli_epi32(cp, 10), _mm256_set1_epi32(0x3F0000)),
                        _mm256_and_si256(_mm256_slli_epi32(cp, 24), _mm256_set1_epi32(0x3F000000))));
    const __m256i marks = _mm256_setr_epi32(0, 0, 0x80C0, 0x8080E0, static_cast<int>(0x808080F0u), 0, 0, 0);
    __m256i word = _mm256_or_si256(_mm256_srlv_epi32(bits, _mm256_sub_epi32(_mm256_set1_epi32(32), _mm256_slli_epi32(len, 3))),
                                   _mm256_permutevar8x32_epi32(marks, len));
    word = _mm256_blendv_epi8(word, cp, _mm256_cmpeq_epi32(len, _mm256_set1_epi32(1)));
    // Each half's table index, summed across its four lanes.
    __m256i index = _mm256_madd_epi16(len, _mm256_setr_epi32(1, 5, 25, 125, 1, 5, 25, 125));
    index = _mm256_add_epi32(index, _mm256_shuffle_epi32(index, 0x4E));
    index = _mm256_add_epi32(index, _mm256_shuffle_epi32(index, 0xB1));
    auto i0 = static_cast<unsigned>(_mm_cvtsi128_si32(_mm256_castsi256_si128(index)));
    auto i1 = static_cast<unsigned>(_mm_cvtsi128_si32(_mm256_extracti128_si256(index, 1)));
    __m256i shuffle = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kPack.shuffle[i0]))),
        _mm_load_si128(reinterpret_cast<const __m128i*>(kPack.shuffle[i1])), 1);
    __m256i packed = _mm256_shuffle_epi8(word, shuffle);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
    out += kPack.size[i0];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_extracti128_si256(packed, 1));
    uniform = i0 == i1 && (i0 == 1 + 5 + 25 + 125 || i0 == 3 * (1 + 5 + 25 + 125));
    return out + kPack.size[i1];
}

// Units of all lengths mixed (surrogate pairs between spaces and short
// words, say), which send a character loop's branches the wrong way about
// every other time: eight a block, at most `limit` units, starting at a
// character (not at the second half of a pair).  A block's stores reach up
// to 13 bytes past its output, so a block is only converted when the 16
// units after it are known to be well formed and within the limit: their
// output, at least 15 bytes, comes next and overwrites those bytes whatever
// converts them.  The caller must convert them (they are well formed), and
// must have room for three bytes a unit up to the limit.  Stops early after
// a block of ASCII or of three-byte units, which other converters do
// faster.  Returns the units converted and advances `out` past their bytes.
ZOP_AVX2_FN inline std::size_t encode_mixed_run(const wchar_t* in, std::size_t limit, unsigned char*& out) {
    if (limit < 25 || (unit_value(in[0]) & 0xFFFFFC00u) == 0xDC00 || !mixed_ok(in) || !mixed_ok(in + 8)) return 0;
    std::size_t n = 0;
    bool uniform = false;
    unsigned char* o = out;
    while (!uniform && n + 25 <= limit && mixed_ok(in + n + 16)) {
        o = encode_mixed8(in + n, o, uniform);
        n += 8;
    }
    // A pair split between blocks was converted whole.
    if (n != 0 && (unit_value(in[n - 1]) & 0xFFFFFC00u) == 0xD800) ++n;
    out = o;
    return n;
}

}  // namespace zop::text::avx2
#endif

#endif
