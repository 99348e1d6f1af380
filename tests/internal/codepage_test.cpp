// The platform layer's ANSI conversion: the Windows call conventions, which
// the POSIX backend reproduces.  Only ASCII is used here, as the ANSI code
// page of the machine running the tests is not known.
#include "sys/codepage.h"
#include "sys/error.h"

#include "internal/last_error_test_support.h"

#include <zop/text.h>

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
