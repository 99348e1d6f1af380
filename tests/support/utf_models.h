// Independent models of the strict converters, shared by the differential
// tests and the fuzz targets: a table-driven automaton for UTF-8 and a
// character-list reading of UTF-16.  They are formulated apart from the
// library's code and use nothing of it.
#ifndef ZOP_TESTS_SUPPORT_UTF_MODELS_H
#define ZOP_TESTS_SUPPORT_UTF_MODELS_H

#include <cstdint>
#include <string>

namespace zop_test {

// Byte classes of the automaton.
enum { ASCII, C80, C90, CA0, NEVER, L2, LE0, L3, LED, LF0, L4, LF4 };

inline int byte_class(unsigned b) {
    if (b < 0x80) return ASCII;
    if (b < 0x90) return C80;
    if (b < 0xA0) return C90;
    if (b < 0xC0) return CA0;
    if (b < 0xC2 || b > 0xF4) return NEVER;
    if (b < 0xE0) return L2;
    if (b == 0xE0) return LE0;
    if (b == 0xED) return LED;
    if (b < 0xF0) return L3;
    if (b == 0xF0) return LF0;
    return b == 0xF4 ? LF4 : L4;
}

// States: 0 between characters, 1..3 that many continuation bytes of any
// kind still needed, 4 after E0, 5 after ED, 6 after F0, 7 after F4; 8 is
// the dead state.
constexpr int kNext[8][12] = {
    // ASCII C80 C90 CA0 NEVER L2 LE0 L3 LED LF0 L4 LF4
    {0, 8, 8, 8, 8, 1, 4, 2, 5, 6, 3, 7},
    {8, 0, 0, 0, 8, 8, 8, 8, 8, 8, 8, 8},
    {8, 1, 1, 1, 8, 8, 8, 8, 8, 8, 8, 8},
    {8, 2, 2, 2, 8, 8, 8, 8, 8, 8, 8, 8},
    {8, 8, 8, 1, 8, 8, 8, 8, 8, 8, 8, 8},
    {8, 1, 1, 8, 8, 8, 8, 8, 8, 8, 8, 8},
    {8, 8, 2, 2, 8, 8, 8, 8, 8, 8, 8, 8},
    {8, 2, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8},
};

// The value bits a byte brings: all of an ASCII byte, the low bits of a
// lead byte, six of a continuation byte.
inline std::uint32_t add_bits(std::uint32_t cp, int state, unsigned b) {
    if (state != 0) return (cp << 6) | (b & 0x3F);
    return b & (b >= 0xF0 ? 0x07 : b >= 0xE0 ? 0x0F : b >= 0xC0 ? 0x1F : 0x7F);
}

// Appends a code point as one unit or a surrogate pair.
inline void append_utf16(std::wstring& out, std::uint32_t cp) {
    if (cp < 0x10000) return out.push_back(static_cast<wchar_t>(cp));
    out += {static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)), static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF))};
}

// A conversion's outcome and the text it leaves in the output.
template <typename Text>
struct Outcome {
    bool ok;
    Text text;
};

// What utf8_to_utf16 must do with `room` units: take whole characters while
// they fit; a character that does not fit ends the conversion successfully.
// At an error with no room left the conversion has already ended; with one
// unit left a four-byte sequence whose lead and first continuation byte pass
// the range checks also ends there, as its pair would not fit.
inline Outcome<std::wstring> expected_decode(const std::string& s, unsigned room) {
    Outcome<std::wstring> e{true, {}};
    int state = 0;
    std::uint32_t cp = 0;
    std::size_t start = 0;  // of the current sequence; where an error starts
    for (std::size_t i = 0; i < s.size() && state != 8; ++i) {
        auto b = static_cast<unsigned char>(s[i]);
        if (state == 0) start = i;
        cp = add_bits(cp, state, b);
        state = kNext[state][byte_class(b)];
        if (state != 0) continue;
        const unsigned need = cp < 0x10000 ? 1 : 2;
        if (need > room) return e;
        room -= need;
        append_utf16(e.text, cp);
    }
    if (state == 0 || room == 0) return e;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[start + k]); };
    bool four = room == 1 && at(0) >= 0xF0 && at(0) <= 0xF4 && s.size() - start >= 4;
    bool fits_range = four && (at(0) != 0xF0 || (at(1) & 0x30) != 0) &&
                      (at(0) != 0xF4 || (at(1) & 0x30) == 0);
    e.ok = fits_range;
    return e;
}

inline std::string encode_cp(std::uint32_t cp) {
    if (cp < 0x80) return std::string(1, static_cast<char>(cp));
    const int n = cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    std::string s(static_cast<std::size_t>(n), '\0');
    for (int i = n - 1; i > 0; --i, cp >>= 6) s[static_cast<std::size_t>(i)] = static_cast<char>(0x80 | (cp & 0x3F));
    s[0] = static_cast<char>((0xF00u >> n) | cp);  // lead byte C0, E0 or F0 and the top bits
    return s;
}

// What utf16_to_utf8 must do with `room` bytes: each character (a unit or a
// pair) is taken whole while it fits; an unpaired surrogate, or a value that
// is no 16-bit unit, is an error unless the room has already run out.
inline Outcome<std::string> expected_encode(const std::wstring& in, unsigned room) {
    Outcome<std::string> e{true, {}};
    for (std::size_t k = 0; k < in.size() && e.text.size() < room;) {
        const auto u = static_cast<std::uint32_t>(in[k]);
        const auto low = k + 1 < in.size() ? static_cast<std::uint32_t>(in[k + 1]) : 0u;
        const bool pair = u >= 0xD800 && u < 0xDC00 && low >= 0xDC00 && low <= 0xDFFF;
        if (u > 0xFFFF || (u >= 0xD800 && u <= 0xDFFF && !pair)) return {false, e.text};
        const std::string bytes = encode_cp(pair ? 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00) : u);
        if (e.text.size() + bytes.size() > room) break;
        e.text += bytes;
        k += pair ? 2 : 1;
    }
    return e;
}

}  // namespace zop_test

#endif
