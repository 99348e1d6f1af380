// The converters against independent models (support/utf_models.h): a
// table-driven automaton for strict UTF-8, and a character-list model for
// UTF-16, on random and mutated text of every kind, with ample room and with
// room cut short anywhere; and the null arguments that no generated input
// has.
#include <zop/text.h>

#include "support/utf_models.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using zop::Convertion;
using namespace zop_test;

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
            const Outcome<std::wstring> e = expected_decode(s, room);
            std::vector<wchar_t> out(room + 1, 0x5A5A);
            unsigned left = room;
            bool ok = Convertion::utf8_to_utf16(s.data(), full, out.data(), &left);
            std::wstring got(out.data(), room - left);
            ASSERT_EQ(ok, e.ok) << testing::PrintToString(s) << " room " << room;
            ASSERT_EQ(got, e.text) << testing::PrintToString(s) << " room " << room;
            ASSERT_EQ(out[room - left], 0x5A5A) << "wrote past the converted units";
            if (room == full && !ok) ++invalid;
        }
    }
    // The mix must exercise both outcomes in earnest.
    EXPECT_GT(invalid, 10000);
    EXPECT_LT(invalid, 35000);
}

// The UTF-16 encoder's answer for `in` with `room`, against the model.
void expect_encoded_as_modelled(const std::wstring& in, unsigned room) {
    const Outcome<std::string> want = expected_encode(in, room);
    std::string out(room + 2, 'Z');
    unsigned left = room;
    bool ok = Convertion::utf16_to_utf8(in.data(), static_cast<unsigned>(in.size()), &out[0], &left);
    ASSERT_EQ(ok, want.ok);
    ASSERT_EQ(out.substr(0, room - left), want.text);
    ASSERT_EQ(out[room - left], want.ok ? '\0' : 'Z');
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
