// The converters against independent models: a table-driven automaton for
// strict UTF-8, and a unit-list model for UTF-16, on random and mutated text
// of every kind, with ample room and with room cut short anywhere; and the
// null arguments that no generated input has.
#include <zop/text.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using zop::Convertion;

// Byte classes of the automaton.
enum { ASCII, C80, C90, CA0, NEVER, L2, LE0, L3, LED, LF0, L4, LF4 };

int byte_class(unsigned b) {
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
const int kNext[8][12] = {
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

// What utf8_to_utf16 must do with `room` units: take whole characters while
// they fit; a character that does not fit ends the conversion successfully.
// At an error with no room left the conversion has already ended; with one
// unit left a four-byte sequence whose lead and first continuation byte pass
// the range checks also ends there, as its pair would not fit.
struct Expected {
    bool ok;
    std::wstring units;
};

Expected expected_decode(const std::string& s, unsigned room) {
    Expected e{true, {}};
    int state = 0;
    std::uint32_t cp = 0;
    std::size_t start = 0;  // of the current sequence; where an error starts
    for (std::size_t i = 0; i < s.size() && state != 8; ++i) {
        auto b = static_cast<unsigned char>(s[i]);
        if (state == 0) {
            start = i;
            cp = b & (b >= 0xF0 ? 0x07 : b >= 0xE0 ? 0x0F : b >= 0xC0 ? 0x1F : 0x7F);
        } else {
            cp = (cp << 6) | (b & 0x3F);
        }
        state = kNext[state][byte_class(b)];
        if (state != 0) continue;
        const unsigned need = cp < 0x10000 ? 1 : 2;
        if (need > room) return e;
        room -= need;
        if (need == 1) {
            e.units.push_back(static_cast<wchar_t>(cp));
        } else {
            e.units.push_back(static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)));
            e.units.push_back(static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
    }
    if (state == 0 || room == 0) return e;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[start + k]); };
    bool four = room == 1 && at(0) >= 0xF0 && at(0) <= 0xF4 && s.size() - start >= 4;
    bool fits_range = four && (at(0) != 0xF0 || (at(1) & 0x30) != 0) &&
                      (at(0) != 0xF4 || (at(1) & 0x30) == 0);
    e.ok = fits_range;
    return e;
}

std::string encode_cp(std::uint32_t cp) {
    if (cp < 0x80) return std::string(1, static_cast<char>(cp));
    const int n = cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    std::string s(static_cast<std::size_t>(n), '\0');
    for (int i = n - 1; i > 0; --i, cp >>= 6) s[static_cast<std::size_t>(i)] = static_cast<char>(0x80 | (cp & 0x3F));
    s[0] = static_cast<char>((0xF00u >> n) | cp);  // lead byte C0, E0 or F0 and the top bits
    return s;
}

// Valid text of all lengths of character, with ASCII runs long enough for
// the block copiers.
std::string random_text(std::mt19937& rng) {
    std::string s;
    int pieces = static_cast<int>(rng() % 12);
    for (int i = 0; i < pieces; ++i) {
        switch (rng() % 5) {
        case 0: s.append(rng() % 40, static_cast<char>('a' + rng() % 26)); break;
        case 1: s += encode_cp(0x80 + rng() % 0x780); break;
        case 2: s += encode_cp(0x800 + rng() % 0xD000); break;
        case 3: s += encode_cp(0xE000 + rng() % 0x2000); break;
        default: s += encode_cp(0x10000 + rng() % 0x100000); break;
        }
    }
    return s;
}

// Valid text damaged in one of the ways that matter.
std::string mutate(std::string s, std::mt19937& rng) {
    std::size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
    const char* forms[] = {"\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xED\xA0\x80",
                           "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF7\xBF\xBF\xBF",
                           "\xF8\x88\x80\x80\x80", "\xFC\x84\x80\x80\x80\x80", "\x80", "\xBF",
                           "\xFE", "\xFF", "\xE2\x82", "\xF0\x9F\x98"};
    switch (rng() % 4) {
    case 0: if (!s.empty()) s[rng() % s.size()] ^= static_cast<char>(1u << (rng() % 8)); break;
    case 1: s.resize(at); break;
    case 2: s.insert(at, forms[rng() % (sizeof forms / sizeof forms[0])]); break;
    default: s.insert(at, 1, static_cast<char>(rng() % 256)); break;
    }
    return s;
}

TEST(Utf8Differential, AgreesWithTheAutomaton) {
    std::mt19937 rng(20240601);
    int invalid = 0;
    for (int i = 0; i < 40000; ++i) {
        std::string s = random_text(rng);
        if (i % 4 != 0) s = mutate(s, rng);
        if (i % 7 == 0) s = mutate(s, rng);
        // Ample room, then room cut at a random place.
        unsigned full = static_cast<unsigned>(s.size());
        for (unsigned room : {full, full == 0 ? 0u : static_cast<unsigned>(rng() % full)}) {
            Expected e = expected_decode(s, room);
            std::vector<wchar_t> out(room + 1, 0x5A5A);
            unsigned left = room;
            bool ok = Convertion::utf8_to_utf16(s.data(), full, out.data(), &left);
            std::wstring got(out.data(), room - left);
            ASSERT_EQ(ok, e.ok) << testing::PrintToString(s) << " room " << room;
            ASSERT_EQ(got, e.units) << testing::PrintToString(s) << " room " << room;
            ASSERT_EQ(out[room - left], 0x5A5A) << "wrote past the converted units";
            if (room == full && !ok) ++invalid;
        }
    }
    // The mix must exercise both outcomes in earnest.
    EXPECT_GT(invalid, 10000);
    EXPECT_LT(invalid, 35000);
}

// UTF-16 model: each element is one character (a unit or a pair) or an
// error.
void expect_encoded_as_modelled(const std::wstring& in, unsigned room) {
    std::string want;
    bool want_ok = true;
    for (std::size_t k = 0; k < in.size() && want.size() < room;) {
        auto u = static_cast<std::uint32_t>(in[k]);
        std::uint32_t cp = u;
        std::size_t used = 1;
        if (u > 0xFFFF) {
            want_ok = false;
            break;
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            auto low = k + 1 < in.size() ? static_cast<std::uint32_t>(in[k + 1]) : 0;
            if (u >= 0xDC00 || low < 0xDC00 || low > 0xDFFF) {
                want_ok = false;
                break;
            }
            cp = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            used = 2;
        }
        std::string bytes = encode_cp(cp);
        if (want.size() + bytes.size() > room) break;
        want += bytes;
        k += used;
    }
    std::string out(room + 2, 'Z');
    unsigned left = room;
    bool ok = Convertion::utf16_to_utf8(in.data(), static_cast<unsigned>(in.size()), &out[0], &left);
    ASSERT_EQ(ok, want_ok);
    ASSERT_EQ(out.substr(0, room - left), want);
    ASSERT_EQ(out[room - left], want_ok ? '\0' : 'Z');
}

// Random text, and the edges of the ranges, which random draws seldom hit.
// Where wchar_t is 32 bits, some inputs hold values beyond 16 bits whose low
// half is ASCII or a low surrogate, which pass for those if the value is cut
// down.
TEST(Utf16Differential, AgreesWithTheUnitModel) {
    for (const std::wstring& in : {std::wstring{0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF},
                                   std::wstring{0xDC00, 0xDC00}, std::wstring{0xDBFF, 0xE000}}) {
        ASSERT_NO_FATAL_FAILURE(expect_encoded_as_modelled(in, 20)) << testing::PrintToString(in);
    }
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        std::wstring in;
        const bool wide = i % 3 == 1 && sizeof(wchar_t) > 2;
        int n = static_cast<int>(rng() % 60);
        for (int k = 0; k < n; ++k) {
            unsigned kind = rng() % 20;
            unsigned bmp = 0x80 + rng() % 0xF780;  // outside the surrogates
            if (kind < 10) in.append(rng() % 20, static_cast<wchar_t>(0x20 + rng() % 0x5F));
            else if (kind < 15) in.push_back(static_cast<wchar_t>(bmp < 0xD800 ? bmp : bmp + 0x800));
            else if (kind < 18) in += {static_cast<wchar_t>(0xD800 + rng() % 0x400),
                                       static_cast<wchar_t>(0xDC00 + rng() % 0x400)};
            else if (i % 3 == 0 || (wide && rng() % 2)) in.push_back(static_cast<wchar_t>(0xD800 + rng() % 0x800));
            else if (wide)
                in.push_back(static_cast<wchar_t>(0x10000u * (1 + rng() % 0xFFFF) +
                                                  (rng() % 2 ? rng() % 0x80 : 0xDC00 + rng() % 0x400)));
        }
        ASSERT_NO_FATAL_FAILURE(expect_encoded_as_modelled(in, static_cast<unsigned>(rng() % (in.size() * 3 + 2))))
            << i;
    }
}

TEST(Convertion, NullArgumentsFailWithoutWriting) {
    wchar_t units[4] = {};
    char bytes[4] = {'x'};
    unsigned room = 4, none = 0;
    EXPECT_FALSE(Convertion::utf8_to_utf16("a", 1, units, nullptr));
    EXPECT_FALSE(Convertion::utf8_to_utf16(nullptr, 1, units, &room));
    EXPECT_FALSE(Convertion::utf8_to_utf16("a", 1, nullptr, &room));
    EXPECT_TRUE(Convertion::utf8_to_utf16(nullptr, 0, nullptr, &room));
    EXPECT_TRUE(Convertion::utf8_to_utf16("a", 1, nullptr, &none));
    EXPECT_FALSE(Convertion::utf16_to_utf8(L"a", 1, bytes, nullptr));
    EXPECT_FALSE(Convertion::utf16_to_utf8(L"a", 1, nullptr, &room));
    EXPECT_FALSE(Convertion::utf16_to_utf8(nullptr, 1, bytes, &room));
    EXPECT_EQ(room, 4u);
    EXPECT_TRUE(Convertion::utf16_to_utf8(nullptr, 0, bytes, &room));
    EXPECT_EQ(bytes[0], '\0');
}

}  // namespace
