// Strict UTF-8 <-> UTF-16 conversion on caller-supplied buffers.
//
// Both directions walk the input one character at a time; runs of ASCII are
// handed to the block copiers of ascii_run.h, and with AVX2 runs of two- and
// three-byte characters to the converters of utf_runs.h, all of which give
// the same output as the character loop.  The order of the checks for a
// multi-byte sequence decides what a caller sees when several things are
// wrong at once: a malformed lead byte, a cut-off sequence or an
// out-of-range first continuation byte is an error even when the room has
// run out; after those, a character that does not fit ends the conversion
// successfully before the remaining continuation bytes are looked at.
//
// The loops are templates over a kit of block converters, one kit per
// instruction set (portable code, SSE2, AVX2); the first conversion picks
// the widest kit the processor runs and keeps it (utf_paths.h).
#include <zop/text.h>

#include "text/ascii_run.h"
#include "text/utf_paths.h"
#include "text/utf_runs.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace zop {

namespace {

inline bool is_continuation(std::uint32_t byte) { return (byte & 0xC0) == 0x80; }

// The state of one conversion: input cursor and end, output cursor, room.
template <typename In, typename Out>
struct Cursor {
    const In* in;
    const In* end;
    Out* out;
    std::size_t room;

    std::size_t run_limit() const {
        return std::min(static_cast<std::size_t>(end - in), room);
    }
};

// The block converters of each instruction set.  kRuns tells whether the
// kit also converts characters other than ASCII in blocks: runs of two- and
// of three-byte characters, and characters of mixed lengths.
struct PortableKit {
    static constexpr bool kRuns = false;
    static std::size_t widen(const unsigned char* in, wchar_t* out, std::size_t n) {
        return text::portable::widen_ascii(in, out, n);
    }
    static std::size_t narrow(const wchar_t* in, char* out, std::size_t n) {
        return text::portable::narrow_ascii(in, out, n);
    }
};

#if defined(__SSE2__)
struct Sse2Kit {
    static constexpr bool kRuns = false;
    static std::size_t widen(const unsigned char* in, wchar_t* out, std::size_t n) {
        return text::sse2::widen_ascii(in, out, n);
    }
    static std::size_t narrow(const wchar_t* in, char* out, std::size_t n) {
        return text::sse2::narrow_ascii(in, out, n);
    }
};
#endif

#if ZOP_TEXT_AVX2
// Plain functions that call the AVX2 ones, which are not inlined into them.
struct Avx2Kit {
    static constexpr bool kRuns = true;
    static std::size_t widen(const unsigned char* in, wchar_t* out, std::size_t n) {
        return text::avx2::widen_ascii(in, out, n);
    }
    static std::size_t narrow(const wchar_t* in, char* out, std::size_t n) {
        return text::avx2::narrow_ascii(in, out, n);
    }
    static std::size_t decode2(const unsigned char* in, std::size_t avail, wchar_t* out, std::size_t room) {
        return text::avx2::decode_two_byte_run(in, avail, out, room);
    }
    static std::size_t decode3(const unsigned char* in, std::size_t avail, wchar_t* out, std::size_t room) {
        return text::avx2::decode_three_byte_run(in, avail, out, room);
    }
    static std::size_t decode_mixed(const unsigned char* in, std::size_t avail, wchar_t* out, std::size_t room,
                                    std::size_t& units) {
        return text::avx2::decode_mixed_run(in, avail, out, room, units);
    }
    static std::size_t encode2(const wchar_t* in, std::size_t limit, unsigned char* out) {
        return text::avx2::encode_two_byte_run(in, limit, out);
    }
    static std::size_t encode3(const wchar_t* in, std::size_t limit, unsigned char* out) {
        return text::avx2::encode_three_byte_run(in, limit, out);
    }
    static std::size_t encode_mixed(const wchar_t* in, std::size_t limit, unsigned char*& out) {
        return text::avx2::encode_mixed_run(in, limit, out);
    }
};
#endif

// Hands the characters from the lead byte b on to the kit's run converters:
// a run of two- or three-byte characters when the next character has the
// same length, else characters of mixed lengths.  Returns whether they
// converted any; they leave whatever they stop at to the character loop.
template <typename Kit>
bool decode_runs(Cursor<unsigned char, wchar_t>& s, std::uint32_t b, std::size_t avail) {
    if (avail < 32 || s.room < 16) return false;
    std::size_t units = 0;
    std::size_t used = 0;
    if (b < 0xE0 && (s.in[2] & 0xE0) == 0xC0) {
        units = Kit::decode2(s.in, avail, s.out, s.room);
        used = 2 * units;
    } else if (b >= 0xE0 && b < 0xF0 && (s.in[3] & 0xF0) == 0xE0) {
        units = Kit::decode3(s.in, avail, s.out, s.room);
        used = 3 * units;
    }
    if (used == 0) used = Kit::decode_mixed(s.in, avail, s.out, s.room, units);
    s.in += used;
    s.out += units;
    s.room -= units;
    return used != 0;
}

// Decodes until the input ends (true), the room ends (true) or an ill-formed
// sequence is met (false).  Unchecked, the caller has made sure that the
// room cannot run out, and the room is only counted.
template <typename Kit, bool Checked>
bool decode_run(Cursor<unsigned char, wchar_t>& s) {
    while (s.in != s.end && (!Checked || s.room != 0)) {
        std::uint32_t b = s.in[0];
        if (b < 0x80) {
            // A lone ASCII character (a space between other characters) is
            // cheaper to copy than to hand to the block copier.
            *s.out++ = static_cast<wchar_t>(b);
            ++s.in;
            --s.room;
            if (s.in != s.end && (!Checked || s.room != 0) && s.in[0] < 0x80) {
                std::size_t limit = Checked ? s.run_limit() : static_cast<std::size_t>(s.end - s.in);
                std::size_t n = Kit::widen(s.in, s.out, limit);
                s.in += n;
                s.out += n;
                s.room -= n;
            }
            continue;
        }
        std::size_t avail = static_cast<std::size_t>(s.end - s.in);
        if constexpr (Kit::kRuns) {
            if (decode_runs<Kit>(s, b, avail)) continue;
        }
        if (b < 0xE0) {
            // 0x80..0xBF stray continuation bytes; 0xC0, 0xC1 overlong.
            if (b < 0xC2 || avail < 2) return false;
            std::uint32_t c1 = s.in[1];
            if (!is_continuation(c1)) return false;
            *s.out++ = static_cast<wchar_t>(((b & 0x1F) << 6) | (c1 & 0x3F));
            s.in += 2;
            s.room -= 1;
        } else if (b < 0xF0) {
            if (avail < 3) return false;
            std::uint32_t c1 = s.in[1];
            if (b == 0xE0 && (c1 & 0x20) == 0) return false;  // overlong
            if (b == 0xED && (c1 & 0x20) != 0) return false;  // surrogate
            std::uint32_t c2 = s.in[2];
            if (!is_continuation(c1) || !is_continuation(c2)) return false;
            *s.out++ = static_cast<wchar_t>(((b & 0x0F) << 12) | ((c1 & 0x3F) << 6) | (c2 & 0x3F));
            s.in += 3;
            s.room -= 1;
        } else {
            if (b >= 0xF8 || avail < 4) return false;
            std::uint32_t c1 = s.in[1];
            if (b == 0xF0 && (c1 & 0x30) == 0) return false;  // overlong
            if (b >= 0xF5) return false;                      // past U+10FFFF
            if (b == 0xF4 && (c1 & 0x30) != 0) return false;  // past U+10FFFF
            if (Checked && s.room < 2) return true;  // the surrogate pair does not fit
            std::uint32_t c2 = s.in[2];
            std::uint32_t c3 = s.in[3];
            if (!is_continuation(c1) || !is_continuation(c2) || !is_continuation(c3)) return false;
            std::uint32_t cp = ((b & 0x07) << 18) | ((c1 & 0x3F) << 12) |
                               ((c2 & 0x3F) << 6) | (c3 & 0x3F);
            cp -= 0x10000;
            s.out[0] = static_cast<wchar_t>(0xD800 + (cp >> 10));
            s.out[1] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            s.out += 2;
            s.in += 4;
            s.room -= 2;
        }
    }
    return true;
}

// Works on a local copy of the cursor, which the compiler keeps in
// registers, and stores it back at the end.
template <typename Kit>
bool decode_utf8(Cursor<unsigned char, wchar_t>& state) {
    Cursor<unsigned char, wchar_t> s = state;
    // Every byte gives at most one unit (four bytes give two), so with room
    // for as many units as there are bytes the room cannot run out.
    bool ok = s.room >= static_cast<std::size_t>(s.end - s.in) ? decode_run<Kit, false>(s)
                                                              : decode_run<Kit, true>(s);
    state = s;
    return ok;
}

// Encodes the units before `stop` until the room ends (true) or an unpaired
// surrogate or a value beyond 16 bits is met (false).  Writes no terminator.
// Unchecked, the caller has made sure that the room holds three bytes for
// every unit before `stop` (the most a unit needs), and a surrogate pair
// that would reach past `stop` is left for the next call.
template <typename Kit, bool Checked>
bool encode_run(Cursor<wchar_t, unsigned char>& s, const wchar_t* stop) {
    while (s.in != stop && (!Checked || s.room != 0)) {
        std::uint32_t u = text::unit_value(s.in[0]);
        if (u < 0x80) {
            *s.out++ = static_cast<unsigned char>(u);
            ++s.in;
            --s.room;
            if (s.in != stop && (!Checked || s.room != 0) && text::unit_value(s.in[0]) < 0x80) {
                std::size_t limit = Checked ? s.run_limit() : static_cast<std::size_t>(stop - s.in);
                std::size_t n = Kit::narrow(s.in, reinterpret_cast<char*>(s.out), limit);
                s.in += n;
                s.out += n;
                s.room -= n;
            }
            continue;
        }
        if constexpr (Kit::kRuns) {
            // Another unit of the same length next: try a run of them.
            std::size_t left = static_cast<std::size_t>(stop - s.in);
            std::uint32_t v = left >= 2 ? text::unit_value(s.in[1]) : 0;
            if (u < 0x800) {
                if (left >= 16 && s.room >= 32 && v - 0x80 < 0x780) {
                    std::size_t n = Kit::encode2(s.in, std::min(left, s.room / 2), s.out);
                    s.in += n;
                    s.out += 2 * n;
                    s.room -= 2 * n;
                    if (n != 0) continue;
                }
            } else if (left >= 8 && s.room >= 24 && v - 0x800 < 0xF800 && (v & 0xF800) != 0xD800 &&
                       (u & 0xF800) != 0xD800) {
                std::size_t n = Kit::encode3(s.in, std::min(left, s.room / 3), s.out);
                s.in += n;
                s.out += 3 * n;
                s.room -= 3 * n;
                if (n != 0) continue;
            }
            if constexpr (!Checked) {
                // Characters of mixed lengths.
                unsigned char* before = s.out;
                std::size_t n = Kit::encode_mixed(s.in, left, s.out);
                s.in += n;
                s.room -= static_cast<std::size_t>(s.out - before);
                if (n != 0) continue;
            }
        }
        unsigned char* o = s.out;
        if (u < 0x800) {
            if (Checked && s.room < 2) return true;
            o[0] = static_cast<unsigned char>(0xC0 | (u >> 6));
            o[1] = static_cast<unsigned char>(0x80 | (u & 0x3F));
            s.out += 2;
            s.room -= 2;
            s.in += 1;
        } else if (u - 0xD800 < 0x800) {
            if (!Checked && stop - s.in < 2) return true;
            if (Checked && s.end - s.in < 2) return false;
            std::uint32_t low = text::unit_value(s.in[1]);
            // A low surrogate first, or no low surrogate after a high one.
            if ((u >= 0xDC00) | (low - 0xDC00 >= 0x400)) return false;
            if (Checked && s.room < 4) return true;
            std::uint32_t cp = (u << 10) + low - ((0xD800u << 10) + 0xDC00u - 0x10000u);
            o[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
            o[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
            o[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
            o[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
            s.out += 4;
            s.room -= 4;
            s.in += 2;
        } else {
            if (u > 0xFFFF) return false;  // not a UTF-16 code unit
            if (Checked && s.room < 3) return true;
            o[0] = static_cast<unsigned char>(0xE0 | (u >> 12));
            o[1] = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
            o[2] = static_cast<unsigned char>(0x80 | (u & 0x3F));
            s.out += 3;
            s.room -= 3;
            s.in += 1;
        }
    }
    return true;
}

// Batches of units that cannot exhaust the room go through the unchecked
// loop; the last few units, where the room may run out, through the checked
// one.  The byte stores could alias the caller's cursor, so the loops work
// on a local copy that stays in registers.
template <typename Kit>
bool encode_utf8(Cursor<wchar_t, unsigned char>& state) {
    Cursor<wchar_t, unsigned char> s = state;
    bool ok = true;
    for (;;) {
        std::size_t batch = std::min(static_cast<std::size_t>(s.end - s.in), s.room / 3);
        if (batch < 16) break;
        ok = encode_run<Kit, false>(s, s.in + batch);
        if (!ok) break;
    }
    if (ok) ok = encode_run<Kit, true>(s, s.end);
    state = s;
    return ok;
}

// The two converters of one kit.
struct Converters {
    bool (*decode)(Cursor<unsigned char, wchar_t>&);
    bool (*encode)(Cursor<wchar_t, unsigned char>&);
};

template <typename Kit>
constexpr Converters kConverters{&decode_utf8<Kit>, &encode_utf8<Kit>};

#if ZOP_TEXT_AVX2
bool has_avx2() {
    // Also false where the system does not save the AVX registers.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}
#endif

// The converters of `path`, or null where there are none.
const Converters* converters_of(text::UtfPath path) {
    switch (path) {
    case text::UtfPath::automatic:
        if (const Converters* c = converters_of(text::UtfPath::avx2)) return c;
        if (const Converters* c = converters_of(text::UtfPath::sse2)) return c;
        return converters_of(text::UtfPath::scalar);
    case text::UtfPath::scalar:
        return &kConverters<PortableKit>;
    case text::UtfPath::sse2:
#if defined(__SSE2__)
        return &kConverters<Sse2Kit>;
#else
        return nullptr;
#endif
    case text::UtfPath::avx2:
#if ZOP_TEXT_AVX2
        return has_avx2() ? &kConverters<Avx2Kit> : nullptr;
#else
        return nullptr;
#endif
    }
    return nullptr;
}

// The converters in use; the first call picks them.  Threads that race on
// the first call pick the same ones.
std::atomic<const Converters*> g_converters{nullptr};

const Converters& converters() {
    const Converters* c = g_converters.load(std::memory_order_relaxed);
    if (c == nullptr) {
        c = converters_of(text::UtfPath::automatic);
        g_converters.store(c, std::memory_order_relaxed);
    }
    return *c;
}

}  // namespace

bool text::use_utf_path(UtfPath path) {
    const Converters* c = converters_of(path);
    if (c == nullptr) return false;
    g_converters.store(c, std::memory_order_relaxed);
    return true;
}

Convertion::Convertion() = default;
Convertion::~Convertion() = default;
Convertion& Convertion::operator=(const Convertion&) { return *this; }

bool Convertion::utf8_to_utf16(const char* input, unsigned int length,
                               wchar_t* output, unsigned int* room) {
    if (room == nullptr) return false;
    if (length == 0) return true;
    if (input == nullptr || (output == nullptr && *room != 0)) return false;
    const auto* in = reinterpret_cast<const unsigned char*>(input);
    Cursor<unsigned char, wchar_t> s{in, in + length, output, *room};
    bool ok = converters().decode(s);
    *room = static_cast<unsigned int>(s.room);
    return ok;
}

bool Convertion::utf16_to_utf8(const wchar_t* input, unsigned int length,
                               char* output, unsigned int* room) {
    if (room == nullptr || output == nullptr) return false;
    if (input == nullptr && length != 0) return false;
    Cursor<wchar_t, unsigned char> s{input, input + length,
                                     reinterpret_cast<unsigned char*>(output), *room};
    bool ok = converters().encode(s);
    *room = static_cast<unsigned int>(s.room);
    if (ok) *s.out = 0;
    return ok;
}

}  // namespace zop
