// The platform layer's ANSI conversion: the Windows call conventions, which
// the POSIX backend reproduces.  Only ASCII is used in the common test, as the
// ANSI code page of the machine running the tests is not known; the POSIX
// backend's code page is UTF-8, with ill-formed input replaced as Windows does
// for CP_UTF8 without flags.
#include "sys/codepage.h"
#include "sys/error.h"

#include "internal/last_error_test_support.h"

#include <zop/text.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using namespace zop;

using zop_test::error_of;

TEST(Codepage, SizesTerminatorAndErrors) {
    const wchar_t text[] = L"abc";
    char narrow[8];
    wchar_t wide[8];
    // Size 0 asks for the size; a negative length (all bits set, through
    // Convertion) includes the terminator.
    EXPECT_EQ(sys::wide_to_ansi(text, 3, nullptr, 0), 3);
    EXPECT_EQ(Convertion::utf16_to_ansi(text, 0xFFFFFFFFu, nullptr, 0), 4);
    EXPECT_EQ(Convertion::utf16_to_ansi(text, 0xFFFFFFFFu, narrow, 8), 4);
    EXPECT_STREQ(narrow, "abc");
    EXPECT_EQ(Convertion::ansi_to_utf16(narrow, 0xFFFFFFFFu, nullptr, 0), 4);
    EXPECT_EQ(Convertion::ansi_to_utf16(narrow, 3, wide, 8), 3);
    EXPECT_EQ(std::wstring(wide, 3), L"abc");
    EXPECT_EQ(error_of([&] { return Convertion::utf16_to_ansi(text, 3, narrow, 2); }), 122u);
    EXPECT_EQ(error_of([&] { return Convertion::ansi_to_utf16("abc", 0xFFFFFFFFu, wide, 3); }), 122u);
    // An empty input with an output is answered without the system; with no
    // output the system refuses it.
    EXPECT_EQ(error_of([&] { return Convertion::utf16_to_ansi(text, 0, narrow, 8); }), 0u);
    EXPECT_EQ(error_of([&] { return Convertion::ansi_to_utf16("x", 0, wide, 8); }), 0u);
    EXPECT_EQ(error_of([&] { return Convertion::utf16_to_ansi(L"", 0, nullptr, 0); }), 87u);
    // Invalid arguments: empty or null input, null output with a size,
    // negative size.
    EXPECT_EQ(error_of([&] { return sys::wide_to_ansi(text, 0, narrow, 8); }), 87u);
    EXPECT_EQ(error_of([&] { return sys::wide_to_ansi(nullptr, 3, narrow, 8); }), 87u);
    EXPECT_EQ(error_of([&] { return sys::wide_to_ansi(text, 3, nullptr, 8); }), 87u);
    EXPECT_EQ(error_of([&] { return sys::wide_to_ansi(text, 3, narrow, -2); }), 87u);
    EXPECT_EQ(error_of([&] { return sys::ansi_to_wide(nullptr, 1, wide, 8); }), 87u);
    EXPECT_EQ(error_of([&] { return Convertion::ansi_to_utf16("abc", 3, nullptr, 5); }), 87u);
}

#if !defined(_WIN32)
std::wstring to_wide(const std::string& s) {
    wchar_t out[64];
    int n = sys::ansi_to_wide(s.data(), static_cast<int>(s.size()), out, 64);
    return std::wstring(out, static_cast<std::size_t>(n));
}

std::string to_narrow(const std::wstring& s) {
    char out[64];
    int n = sys::wide_to_ansi(s.data(), static_cast<int>(s.size()), out, 64);
    return std::string(out, static_cast<std::size_t>(n));
}

TEST(CodepagePosix, IsUtf8WithIllFormedInputReplaced) {
    const wchar_t r = 0xFFFD;
    const std::string utf8 = "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
    const std::wstring utf16 = {0x41, 0xE9, 0x4E2D, 0xD83D, 0xDE00};
    // A cut-off sequence is one replacement; a byte that cannot start or
    // continue a sequence is one each.
    const std::pair<std::string, std::wstring> cases[] = {
        {utf8, utf16}, {"\xE2\x82" "A", {r, 'A'}}, {"\x80\xBF", {r, r}}, {"\xC0\xAF", {r, r}},
        {"\xED\xA0\x80", {r, r, r}}, {"\xF0\x9F\x98", {r}}, {"\xF4\x90\x80\x80", {r, r, r, r}}};
    for (const auto& c : cases) EXPECT_EQ(to_wide(c.first), c.second) << testing::PrintToString(c.first);
    const std::string rep = "\xEF\xBF\xBD";
    const std::pair<std::wstring, std::string> back[] = {
        {utf16, utf8}, {{0x7FF, 0x800}, "\xDF\xBF\xE0\xA0\x80"}, {{'a', 0xDC00, 'b'}, "a" + rep + "b"},
        {{0xD83D}, rep}, {{0xD83D, 0xD83D, 0xDE00}, rep + "\xF0\x9F\x98\x80"}};
    for (const auto& c : back) EXPECT_EQ(to_narrow(c.first), c.second) << c.second;
    EXPECT_EQ(sys::wide_to_ansi(utf16.c_str() + 3, 2, nullptr, 0), 4);
    // wchar_t is 32 bits here: a value above 0xFFFF is no UTF-16 text at all.
    EXPECT_EQ(error_of([] { return sys::wide_to_ansi(std::wstring{'a', 0x10041}.c_str(), 2, nullptr, 0); }), 87u);
    // Too small an output gets only whole characters.
    char out[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(error_of([&] { return sys::wide_to_ansi(std::wstring{'a', 0x4E2D}.c_str(), 2, out, 3); }), 122u);
    EXPECT_EQ(std::string(out, 4), "a###");
}

#endif

}  // namespace
