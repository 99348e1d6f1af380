// The converters against independent models (support/utf_models.h): a
// table-driven automaton for strict UTF-8, and a character-list model for
// UTF-16, on random and mutated text of every kind (with runs long enough for
// the block converters, and runs long enough for the streaming stores), at
// unaligned addresses, with ample room and with room cut short anywhere, on
// every instruction set the machine runs; and the null arguments that no
// generated input has.
#include <zop/text.h>

#include "../../src/text/utf_paths.h"
#include "support/utf_models.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using zop::Convertion;
using zop::text::UtfPath;
using namespace zop_test;

// Each test runs once on each converter; those the machine lacks are skipped.
class UtfPaths : public testing::TestWithParam<UtfPath> {
    void SetUp() override {
        if (!zop::text::use_utf_path(GetParam())) GTEST_SKIP() << "not on this build or processor";
    }
    void TearDown() override { zop::text::use_utf_path(UtfPath::automatic); }
};
class Utf8Differential : public UtfPaths {};
class Utf16Differential : public UtfPaths {};
const auto kPaths = testing::Values(UtfPath::scalar, UtfPath::sse2, UtfPath::avx2);
std::string path_name(const testing::TestParamInfo<UtfPath>& info) {
    return info.param == UtfPath::scalar ? "scalar" : info.param == UtfPath::sse2 ? "sse2" : "avx2";
}
INSTANTIATE_TEST_SUITE_P(Paths, Utf8Differential, kPaths, path_name);
INSTANTIATE_TEST_SUITE_P(Paths, Utf16Differential, kPaths, path_name);

// Valid text of all lengths of character, in runs long enough for the block
// converters.
std::string random_text(std::mt19937& rng) {
    std::string s;
    int pieces = static_cast<int>(rng() % 12);
    for (int i = 0; i < pieces; ++i) {
        const unsigned kind = rng() % 5;
        for (unsigned n = 1 + rng() % (kind == 0 ? 40 : 20); n-- > 0;) {
            switch (kind) {
            case 0: s += static_cast<char>(0x20 + rng() % 0x60); break;
            case 1: s += encode_cp(0x80 + rng() % 0x780); break;
            case 2: s += encode_cp(0x800 + rng() % 0xD000); break;
            case 3: s += encode_cp(0xE000 + rng() % 0x2000); break;
            default: s += encode_cp(0x10000 + rng() % 0x100000); break;
            }
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

TEST_P(Utf8Differential, AgreesWithTheAutomaton) {
    std::mt19937 rng(20240601);
    int invalid = 0;
    for (int i = 0; i < 40000; ++i) {
        std::string s = random_text(rng);
        // A few runs of ASCII past the length where stores bypass the cache.
        while (i % 8000 == 1 && s.size() < 300000) s += static_cast<char>(rng() % 0x80);
        if (i % 4 != 0) s = mutate(s, rng);
        if (i % 7 == 0) s = mutate(s, rng);
        // Ample room, then room cut at a random place; input and output at
        // addresses of every alignment.
        const unsigned full = static_cast<unsigned>(s.size()), in_at = i % 32, out_at = i % 8;
        const std::string input = std::string(in_at, '-') + s;
        for (unsigned room : {full, full == 0 ? 0u : static_cast<unsigned>(rng() % full)}) {
            const Outcome<std::wstring> e = expected_decode(s, room);
            std::vector<wchar_t> buffer(out_at + room + 1, 0x5A5A);
            wchar_t* out = buffer.data() + out_at;
            unsigned left = room;
            bool ok = Convertion::utf8_to_utf16(input.data() + in_at, full, out, &left);
            std::wstring got(out, room - left);
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

// The UTF-16 encoder's answer for `in` with `room`, against the model, with
// the input and the output `at` units and bytes past an aligned address.
void expect_encoded_as_modelled(const std::wstring& in, unsigned room, unsigned at = 0) {
    const Outcome<std::string> want = expected_encode(in, room);
    const std::wstring input = std::wstring(at, L'-') + in;
    std::string out(at + room + 2, 'Z');
    unsigned left = room;
    bool ok = Convertion::utf16_to_utf8(input.data() + at, static_cast<unsigned>(in.size()), &out[at], &left);
    ASSERT_EQ(ok, want.ok);
    ASSERT_EQ(out.substr(at, room - left), want.text);
    ASSERT_EQ(out[at + room - left], want.ok ? '\0' : 'Z');
}

// Random text, and the edges of the ranges, which random draws seldom hit.
// Where wchar_t is 32 bits, some inputs hold values beyond 16 bits whose low
// half is ASCII or a low surrogate, which pass for those if the value is cut
// down.
TEST_P(Utf16Differential, AgreesWithTheUnitModel) {
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
            if (kind < 15) {
                // A run of ASCII, or of units of two or of three bytes.
                for (unsigned r = 1 + rng() % 20, two = rng() % 2; r-- > 0;) {
                    unsigned bmp = two ? 0x80 + rng() % 0x780 : 0x800 + rng() % 0xF000;  // then past the surrogates
                    in.push_back(static_cast<wchar_t>(kind < 10 ? 0x20 + rng() % 0x5F : bmp < 0xD800 ? bmp : bmp + 0x800));
                }
            } else if (kind < 18) in += {static_cast<wchar_t>(0xD800 + rng() % 0x400),
                                       static_cast<wchar_t>(0xDC00 + rng() % 0x400)};
            else if (i % 3 == 0 || (wide && rng() % 2)) in.push_back(static_cast<wchar_t>(0xD800 + rng() % 0x800));
            else if (wide)
                in.push_back(static_cast<wchar_t>(0x10000u * (1 + rng() % 0xFFFF) +
                                                  (rng() % 2 ? rng() % 0x80 : 0xDC00 + rng() % 0x400)));
        }
        for (int k = 0; i % 4000 == 0 && k < 300000; ++k) in.push_back(static_cast<wchar_t>(rng() % 0x80));
        const auto ample = static_cast<unsigned>(in.size() * 3);
        ASSERT_NO_FATAL_FAILURE(expect_encoded_as_modelled(in, ample, i % 8)) << i;
        ASSERT_NO_FATAL_FAILURE(expect_encoded_as_modelled(in, static_cast<unsigned>(rng() % (ample + 2)), i % 8))
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
