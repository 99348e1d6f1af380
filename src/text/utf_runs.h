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

// The value v, which the compiler may no longer rebuild from its parts: kept
// in a register (or on the stack) instead of being made again in every step
// of a loop.
ZOP_AVX2_FN inline __m256i opaque(__m256i v) {
    __asm__("" : "+x"(v));
    return v;
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
    const __m256i shape_bits = opaque(_mm256_set1_epi32(0x00F0C0C0));
    const __m256i shape = opaque(_mm256_set1_epi32(0x00E08080));
    const __m256i low6 = opaque(_mm256_set1_epi32(0x3F));
    const __m256i middle6 = opaque(_mm256_set1_epi32(0xFC0));
    const __m256i high4 = opaque(_mm256_set1_epi32(0xF000));
    const __m256i smallest = opaque(_mm256_set1_epi32(0x800));
    const __m256i top5 = opaque(_mm256_set1_epi32(0xF800));
    const __m256i surrogates = opaque(_mm256_set1_epi32(0xD800));
    std::size_t n = 0;
    while (avail - 3 * n >= 24 && room - n >= 8) {
        const unsigned char* p = in + 3 * n;
        __m256i raw = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)), 1);
        __m256i x = _mm256_shuffle_epi8(raw, gather);
        __m256i v = _mm256_or_si256(
            _mm256_and_si256(x, low6),
            _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi32(x, 2), middle6),
                            _mm256_and_si256(_mm256_srli_epi32(x, 4), high4)));
        // A lead 0xE0..0xEF with two continuation bytes, not overlong (below
        // U+0800), not a surrogate.
        __m256i good = _mm256_cmpeq_epi32(_mm256_and_si256(x, shape_bits), shape);
        __m256i overlong = _mm256_cmpgt_epi32(smallest, v);
        __m256i surrogate = _mm256_cmpeq_epi32(_mm256_and_si256(v, top5), surrogates);
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
    const __m256i low5 = opaque(_mm256_set1_epi16(0x1F));
    const __m256i low6 = opaque(_mm256_set1_epi16(0x3F));
    const __m256i shape_bits = opaque(_mm256_set1_epi16(static_cast<short>(0xC0E0)));
    const __m256i shape = opaque(_mm256_set1_epi16(static_cast<short>(0x80C0)));
    const __m256i ascii_max = opaque(_mm256_set1_epi16(0x7F));
    std::size_t n = 0;
    while (avail - 2 * n >= 32 && room - n >= 16) {
        // Each 16-bit lane holds one character, lead byte low.
        __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * n));
        __m256i v = _mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(w, low5), 6),
                                    _mm256_and_si256(_mm256_srli_epi16(w, 8), low6));
        // A lead 0xC2..0xDF (0xC0 and 0xC1 would be overlong) with one
        // continuation byte.
        __m256i good = _mm256_and_si256(_mm256_cmpeq_epi16(_mm256_and_si256(w, shape_bits), shape),
                                        _mm256_cmpgt_epi16(v, ascii_max));
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
    const __m256i below = opaque(_mm256_set1_epi32(0x7FF));
    const __m256i above = opaque(_mm256_set1_epi32(0x10000));
    const __m256i top5 = opaque(_mm256_set1_epi32(0xF800));
    const __m256i surrogates = opaque(_mm256_set1_epi32(0xD800));
    const __m256i marks = opaque(_mm256_set1_epi32(0x8080E0));
    const __m256i second = opaque(_mm256_set1_epi32(0x3F00));
    const __m256i third = opaque(_mm256_set1_epi32(0x3F0000));
    std::size_t n = 0;
    while (limit - n >= 8) {
        _mm_prefetch(reinterpret_cast<const char*>(in + n) + kPrefetch, _MM_HINT_T0);
        __m256i v = load_units8(in + n);
        // Signed comparisons: values past 0x7FFFFFFF (where wchar_t is
        // wider) are negative and fail the first test.
        __m256i good = _mm256_and_si256(_mm256_cmpgt_epi32(v, below), _mm256_cmpgt_epi32(above, v));
        __m256i surrogate = _mm256_cmpeq_epi32(_mm256_and_si256(v, top5), surrogates);
        good = _mm256_andnot_si256(surrogate, good);
        // [0xE0 | v >> 12, 0x80 | (v >> 6 & 0x3F), 0x80 | (v & 0x3F), 0]
        __m256i bytes = _mm256_or_si256(
            _mm256_or_si256(_mm256_srli_epi32(v, 12), marks),
            _mm256_or_si256(_mm256_and_si256(_mm256_slli_epi32(v, 2), second),
                            _mm256_and_si256(_mm256_slli_epi32(v, 16), third)));
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
    const __m256i lead_mark = opaque(_mm256_set1_epi16(0xC0));
    const __m256i mark = opaque(_mm256_set1_epi16(0x80));
    const __m256i low6 = opaque(_mm256_set1_epi16(0x3F));
    const __m256i span = opaque(_mm256_set1_epi16(0x77F));
    const __m256i ascii_max = opaque(_mm256_set1_epi32(0x7F));
    const __m256i above = opaque(_mm256_set1_epi32(0x800));
    std::size_t n = 0;
    while (limit - n >= 16) {
        _mm_prefetch(reinterpret_cast<const char*>(in + n) + kPrefetch, _MM_HINT_T0);
        __m256i w;
        __m256i good;
        if constexpr (sizeof(wchar_t) == 2) {
            w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + n));
            __m256i d = _mm256_sub_epi16(w, mark);
            good = _mm256_cmpeq_epi16(_mm256_min_epu16(d, span), d);
        } else {
            __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + n));
            __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + n + 8));
            __m256i ga = _mm256_and_si256(_mm256_cmpgt_epi32(a, ascii_max), _mm256_cmpgt_epi32(above, a));
            __m256i gb = _mm256_and_si256(_mm256_cmpgt_epi32(b, ascii_max), _mm256_cmpgt_epi32(above, b));
            w = _mm256_permute4x64_epi64(_mm256_packus_epi32(a, b), 0xD8);
            good = _mm256_permute4x64_epi64(_mm256_packs_epi32(ga, gb), 0xD8);
        }
        // [0xC0 | w >> 6, 0x80 | (w & 0x3F)] in each 16-bit lane.
        __m256i bytes = _mm256_or_si256(_mm256_or_si256(_mm256_srli_epi16(w, 6), lead_mark),
                                        _mm256_slli_epi16(_mm256_or_si256(_mm256_and_si256(w, low6), mark), 8));
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

// Units of all lengths mixed (surrogate pairs between spaces and short
// words, say), which send a character loop's branches the wrong way about
// every other time: eight a block, at most `limit` units, starting at a
// character (not at the second half of a pair).  Each block stores 16 bytes
// for each four units, so up to 13 bytes past its output get bytes that are
// no output.  A block is therefore only converted when the 16 units after it
// are known to be well formed and within the limit: their output, at least
// 15 bytes, comes next and overwrites those bytes whatever converts them.
// The caller must convert them (they are well formed), and must have room
// for three bytes a unit up to the limit.  Stops early after a block of
// ASCII or of three-byte units, which other converters do faster.  Returns
// the units converted and advances `out` past their bytes.
ZOP_AVX2_FN inline std::size_t encode_mixed_run(const wchar_t* in, std::size_t limit, unsigned char*& out) {
    const __m256i top = opaque(_mm256_set1_epi32(static_cast<int>(0xFFFFFC00u)));
    const __m256i high_mark = opaque(_mm256_set1_epi32(0xD800));
    const __m256i low_mark = opaque(_mm256_set1_epi32(0xDC00));
    const __m256i max_unit = opaque(_mm256_set1_epi32(0xFFFF));
    const __m256i one = opaque(_mm256_set1_epi32(1));
    const __m256i marks = opaque(_mm256_setr_epi32(0, 0, 0x80C0, 0x8080E0, static_cast<int>(0x808080F0u), 0, 0, 0));
    const __m256i weights = opaque(_mm256_setr_epi32(1, 5, 25, 125, 1, 5, 25, 125));
    // Whether the eight units at p, with the one after them, are well
    // formed: a high surrogate exactly where a low one follows, nothing
    // above 0xFFFF.
    auto well_formed = [&](const wchar_t* p) ZOP_AVX2_FN {
        __m256i cur = load_units8(p);
        __m256i high = _mm256_cmpeq_epi32(_mm256_and_si256(cur, top), high_mark);
        __m256i low_next = _mm256_cmpeq_epi32(_mm256_and_si256(load_units8(p + 1), top), low_mark);
        __m256i unit = _mm256_cmpeq_epi32(_mm256_min_epu32(cur, max_unit), cur);
        __m256i bad = _mm256_or_si256(_mm256_xor_si256(high, low_next), _mm256_xor_si256(unit, _mm256_cmpeq_epi32(cur, cur)));
        return _mm256_testz_si256(bad, bad) != 0;
    };
    if (limit < 25 || (unit_value(in[0]) & 0xFFFFFC00u) == 0xDC00 || !well_formed(in) || !well_formed(in + 8)) {
        return 0;
    }
    std::size_t n = 0;
    unsigned char* o = out;
    while (n + 25 <= limit && well_formed(in + n + 16)) {
        _mm_prefetch(reinterpret_cast<const char*>(in + n) + kPrefetch, _MM_HINT_T0);
        __m256i cur = load_units8(in + n);
        __m256i next = load_units8(in + n + 1);
        __m256i masked = _mm256_and_si256(cur, top);
        __m256i high = _mm256_cmpeq_epi32(masked, high_mark);
        __m256i low = _mm256_cmpeq_epi32(masked, low_mark);
        __m256i joined = _mm256_add_epi32(_mm256_slli_epi32(cur, 10),
                                          _mm256_sub_epi32(next, _mm256_set1_epi32((0xD800 << 10) + 0xDC00 - 0x10000)));
        __m256i cp = _mm256_blendv_epi8(cur, joined, high);
        // 1 to 4 bytes, none for a low surrogate (its pair is the high
        // one's).
        __m256i len = _mm256_sub_epi32(one, _mm256_cmpgt_epi32(cp, _mm256_set1_epi32(0x7F)));
        len = _mm256_sub_epi32(len, _mm256_cmpgt_epi32(cp, _mm256_set1_epi32(0x7FF)));
        len = _mm256_andnot_si256(low, _mm256_sub_epi32(len, _mm256_cmpgt_epi32(cp, max_unit)));
        // The four-byte form's value bits, first byte lowest; shorter forms
        // drop its first bytes (zero for them) and get their own marks.
        __m256i bits = _mm256_or_si256(
            _mm256_or_si256(_mm256_srli_epi32(cp, 18),
                            _mm256_and_si256(_mm256_srli_epi32(cp, 4), _mm256_set1_epi32(0x3F00))),
            _mm256_or_si256(_mm256_and_si256(_mm256_slli_epi32(cp, 10), _mm256_set1_epi32(0x3F0000)),
                            _mm256_and_si256(_mm256_slli_epi32(cp, 24), _mm256_set1_epi32(0x3F000000))));
        __m256i word = _mm256_or_si256(
            _mm256_srlv_epi32(bits, _mm256_sub_epi32(_mm256_set1_epi32(32), _mm256_slli_epi32(len, 3))),
            _mm256_permutevar8x32_epi32(marks, len));
        word = _mm256_blendv_epi8(word, cp, _mm256_cmpeq_epi32(len, one));
        // Each half's table index, summed across its four lanes.
        __m256i index = _mm256_madd_epi16(len, weights);
        index = _mm256_add_epi32(index, _mm256_shuffle_epi32(index, 0x4E));
        index = _mm256_add_epi32(index, _mm256_shuffle_epi32(index, 0xB1));
        auto i0 = static_cast<unsigned>(_mm_cvtsi128_si32(_mm256_castsi256_si128(index)));
        auto i1 = static_cast<unsigned>(_mm_cvtsi128_si32(_mm256_extracti128_si256(index, 1)));
        __m256i shuffle = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kPack.shuffle[i0]))),
            _mm_load_si128(reinterpret_cast<const __m128i*>(kPack.shuffle[i1])), 1);
        __m256i packed = _mm256_shuffle_epi8(word, shuffle);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(packed));
        o += kPack.size[i0];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_extracti128_si256(packed, 1));
        o += kPack.size[i1];
        n += 8;
        // All ASCII, or all three-byte units.
        if (i0 == i1 && (i0 == 1 + 5 + 25 + 125 || i0 == 3 * (1 + 5 + 25 + 125))) break;
    }
    // A pair split between blocks was converted whole.
    if (n != 0 && (unit_value(in[n - 1]) & 0xFFFFFC00u) == 0xD800) ++n;
    out = o;
    return n;
}

// The units of up to four characters, two 32-bit lanes a character (the
// second used by a surrogate pair only), packed together: for each
// combination of unit counts (0..2 a character) the lanes to take, and how
// many units they come to; indexed by count[0] + 3 count[1] + 9 count[2] +
// 27 count[3].  Lanes for 32-bit wchar_t, bytes (of 16-bit halves) for
// 16-bit wchar_t.
struct UnitPackTable {
    int lanes[81][8];
    unsigned char bytes[81][16];
    unsigned char size[81];
};

constexpr UnitPackTable make_unit_pack_table() {
    UnitPackTable t{};
    for (int i = 0; i < 81; ++i) {
        int at = 0;
        for (int k = 0, rest = i; k < 4; ++k, rest /= 3) {
            for (int w = 0; w < rest % 3; ++w, ++at) {
                t.lanes[i][at] = 2 * k + w;
                t.bytes[i][2 * at] = static_cast<unsigned char>(4 * k + 2 * w);
                t.bytes[i][2 * at + 1] = static_cast<unsigned char>(4 * k + 2 * w + 1);
            }
        }
        t.size[i] = static_cast<unsigned char>(at);
        for (int j = 2 * at; j < 16; ++j) t.bytes[i][j] = 0x80;
    }
    return t;
}

alignas(64) inline constexpr UnitPackTable kUnitPack = make_unit_pack_table();

// Stores the first k (1..8) 16-bit lanes of the low half of v at out and
// nothing else: pairs with a masked store, an odd last unit by itself.
ZOP_AVX2_FN inline void store_words(wchar_t* out, __m128i v, std::size_t k) {
    const __m128i lane = _mm_setr_epi32(0, 1, 2, 3);
    _mm_maskstore_epi32(reinterpret_cast<int*>(out), _mm_cmpgt_epi32(_mm_set1_epi32(static_cast<int>(k / 2)), lane), v);
    alignas(16) std::uint16_t units[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(units), v);
    out[k - 1] = static_cast<wchar_t>(units[k - 1]);
}

// UTF-8 of all lengths mixed (emoji between spaces and short words, say):
// each step decodes the characters that start in the next 8 bytes, reading
// 16.  A step is taken only when all of them are well formed (each lead
// followed by just its continuation bytes, no overlong form, surrogate or
// value past U+10FFFF) and there is room for 16 units; otherwise, or at a
// step of ASCII only, of three-byte characters only or of two-byte ones only
// (which other converters do faster), it stops and leaves the rest to the
// character loop.  `in` must be at the start of a character.  Sets `units`
// to the units written and returns the bytes consumed.
ZOP_AVX2_FN inline std::size_t decode_mixed_run(const unsigned char* in, std::size_t avail, wchar_t* out,
                                                std::size_t room, std::size_t& units) {
    // Length of a character by the high half of its lead byte; 0 for a
    // continuation byte.
    const __m128i lengths = _mm_setr_epi8(1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 2, 2, 3, 4);
    // Lane i gathers bytes i..i+3, the lead byte highest.
    const __m256i gather = _mm256_setr_epi8(3, 2, 1, 0, 4, 3, 2, 1, 5, 4, 3, 2, 6, 5, 4, 3,  //
                                            7, 6, 5, 4, 8, 7, 6, 5, 9, 8, 7, 6, 10, 9, 8, 7);
    // By length (0..4): the value bits of the lead byte (kept in place), the
    // shift that drops the bytes beyond the character, the smallest value
    // (anything below is overlong).
    const __m256i lead_bits = opaque(_mm256_setr_epi32(0, 0x7FFFFFFF, 0x1FFFFFFF, 0x0FFFFFFF, 0x07FFFFFF, 0, 0, 0));
    const __m256i shifts = opaque(_mm256_setr_epi32(24, 18, 12, 6, 0, 0, 0, 0));
    const __m256i smallest = opaque(_mm256_setr_epi32(0, 0, 0x80, 0x800, 0x10000, 0, 0, 0));
    const __m256i first_bits = opaque(_mm256_set1_epi32(0x1FC0000));
    const __m256i second_bits = opaque(_mm256_set1_epi32(0x3F000));
    const __m256i third_bits = opaque(_mm256_set1_epi32(0xFC0));
    const __m256i low6 = opaque(_mm256_set1_epi32(0x3F));
    const __m256i four = opaque(_mm256_set1_epi32(4));
    const __m256i largest = opaque(_mm256_set1_epi32(0x10FFFF));
    const __m256i top = opaque(_mm256_set1_epi32(0x1FF800));
    const __m256i high_mark = opaque(_mm256_set1_epi32(0xD800));
    const __m256i low_mark = opaque(_mm256_set1_epi32(0xDC00));
    const __m256i lead4 = opaque(_mm256_set1_epi32(0x1E));
    const __m256i plane1 = opaque(_mm256_set1_epi32(0x10000));
    const __m256i low10 = opaque(_mm256_set1_epi32(0x3FF));
    const __m256i one = opaque(_mm256_set1_epi32(1));
    const __m256i weights = opaque(_mm256_setr_epi32(1, 3, 9, 27, 1, 3, 9, 27));
    std::size_t at = 0;
    std::size_t n = 0;
    while (avail - at >= 16 && room - n >= 16) {
        __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + at));
        auto ascii = static_cast<unsigned>(_mm_movemask_epi8(raw)) == 0;
        __m128i len = _mm_shuffle_epi8(lengths, _mm_and_si128(_mm_srli_epi16(raw, 4), _mm_set1_epi8(0x0F)));
        auto cont = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(len, _mm_setzero_si128())));
        auto two = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(len, _mm_set1_epi8(1))));
        auto three = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(len, _mm_set1_epi8(2))));
        auto four_bytes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(len, _mm_set1_epi8(3))));
        // The continuation bytes the leads call for must be just the ones
        // there are, up to the first lead at 8 or later, where the step ends.
        // There is one among bytes 8..11 unless the bytes are ill formed.
        unsigned expected = (two << 1) | (three << 2) | (four_bytes << 3);
        unsigned later = ~cont & 0xFF00;
        if (ascii || later == 0) break;
        unsigned end = static_cast<unsigned>(__builtin_ctz(later));
        if (((expected ^ cont) & ((2u << end) - 1)) != 0) break;
        unsigned starts = ~cont & 0xFF;
        if ((three & ~four_bytes & starts) == starts || (two & ~three & starts) == starts) break;

        __m256i x = _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(raw), gather);
        __m256i l = _mm256_cvtepu8_epi32(len);
        __m256i y = _mm256_and_si256(x, _mm256_permutevar8x32_epi32(lead_bits, l));
        __m256i bits = _mm256_or_si256(
            _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi32(y, 6), first_bits),
                            _mm256_and_si256(_mm256_srli_epi32(x, 4), second_bits)),
            _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi32(x, 2), third_bits), _mm256_and_si256(x, low6)));
        __m256i cp = _mm256_srlv_epi32(bits, _mm256_permutevar8x32_epi32(shifts, l));
        __m256i is4 = _mm256_cmpeq_epi32(l, four);
        __m256i bad = _mm256_or_si256(_mm256_cmpgt_epi32(_mm256_permutevar8x32_epi32(smallest, l), cp),
                                      _mm256_cmpgt_epi32(cp, largest));
        bad = _mm256_or_si256(bad, _mm256_cmpeq_epi32(_mm256_and_si256(cp, top), high_mark));
        // F8..FF are no lead bytes at all.
        bad = _mm256_or_si256(bad, _mm256_andnot_si256(_mm256_cmpeq_epi32(_mm256_srli_epi32(x, 27), lead4), is4));
        auto bad_lanes = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(bad)));
        if ((bad_lanes & starts) != 0) break;

        // One unit, or a surrogate pair for four bytes; none for a
        // continuation byte.  Both halves have a character (at most three
        // continuation bytes follow each other), so k0, k1 >= 1.
        __m256i v = _mm256_sub_epi32(cp, plane1);
        __m256i first = _mm256_blendv_epi8(cp, _mm256_add_epi32(_mm256_srli_epi32(v, 10), high_mark), is4);
        __m256i second = _mm256_or_si256(_mm256_and_si256(v, low10), low_mark);
        __m256i count = _mm256_sub_epi32(_mm256_min_epu32(l, one), is4);
        __m256i index = _mm256_madd_epi16(count, weights);
        index = _mm256_add_epi32(index, _mm256_shuffle_epi32(index, 0x4E));
        index = _mm256_add_epi32(index, _mm256_shuffle_epi32(index, 0xB1));
        auto i0 = static_cast<unsigned>(_mm_cvtsi128_si32(_mm256_castsi256_si128(index)));
        auto i1 = static_cast<unsigned>(_mm_cvtsi128_si32(_mm256_extracti128_si256(index, 1)));
        std::size_t k0 = kUnitPack.size[i0];
        std::size_t k1 = kUnitPack.size[i1];
        if constexpr (sizeof(wchar_t) == 2) {
            __m256i words = _mm256_or_si256(first, _mm256_slli_epi32(second, 16));
            __m256i pack = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kUnitPack.bytes[i0]))),
                _mm_load_si128(reinterpret_cast<const __m128i*>(kUnitPack.bytes[i1])), 1);
            words = _mm256_shuffle_epi8(words, pack);
            store_words(out + n, _mm256_castsi256_si128(words), k0);
            store_words(out + n + k0, _mm256_extracti128_si256(words, 1), k1);
        } else {
            // Characters 0..3 and 4..7, each as [first, second] lanes.
            __m256i lo = _mm256_unpacklo_epi32(first, second);
            __m256i hi = _mm256_unpackhi_epi32(first, second);
            __m256i a = _mm256_permute2x128_si256(lo, hi, 0x20);
            __m256i b = _mm256_permute2x128_si256(lo, hi, 0x31);
            a = _mm256_permutevar8x32_epi32(a, _mm256_load_si256(reinterpret_cast<const __m256i*>(kUnitPack.lanes[i0])));
            b = _mm256_permutevar8x32_epi32(b, _mm256_load_si256(reinterpret_cast<const __m256i*>(kUnitPack.lanes[i1])));
            store_lanes(out + n, a, k0);
            store_lanes(out + n + k0, b, k1);
        }
        n += k0 + k1;
        at += end;
    }
    units = n;
    return at;
}

}  // namespace zop::text::avx2
#endif

#endif
