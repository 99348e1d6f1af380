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
    EXPECT_EQ(sys::wide_to_ansi(text, 3, nullptr, 0), 3);
    EXPECT_EQ(sys::wide_to_ansi(text, -1, nullptr, 0), 4);
    EXPECT_EQ(sys::ansi_to_wide("abc", -1, nullptr, 0), 4);
    EXPECT_EQ(sys::ansi_to_wide("abc", -1, wide, 4), 4);
    EXPECT_EQ(std::wstring(wide), L"abc");

    EXPECT_EQ(error_of([&] { return sys::wide_to_ansi(text, 3, narrow, 2); }), 122u);
    EXPECT_EQ(error_of([&] { return sys::ansi_to_wide("abc", -1, wide, 3); }), 122u);

    // Invalid arguments: empty or null input, null output with a size,
    // negative size.
    struct Call {
        const wchar_t* in;
        int length;
        char* out;
        int size;
    } bad[] = {{text, 0, narrow, 8}, {nullptr, 3, narrow, 8}, {text, 3, nullptr, 8}, {text, 3, narrow, -2}};
    for (const Call& c : bad) {
        EXPECT_EQ(error_of([&] { return sys::wide_to_ansi(c.in, c.length, c.out, c.size); }), 87u);
    }
    EXPECT_EQ(error_of([&] { return sys::ansi_to_wide(nullptr, 1, wide, 8); }), 87u);
}

TEST(Codepage, ConvertionKeepsTheSystemsAnswers) {
    // An empty input with a null output goes to the system, which refuses it.
    EXPECT_EQ(error_of([&] { return Convertion::utf16_to_ansi(L"", 0, nullptr, 0); }), 87u);
    EXPECT_EQ(error_of([&] { return Convertion::ansi_to_utf16("abc", 3, nullptr, 5); }), 87u);
    // A too small buffer is reported as such.
    char narrow[2];
    EXPECT_EQ(error_of([&] { return Convertion::utf16_to_ansi(L"abc", 0xFFFFFFFFu, narrow, 2); }), 122u);
}

}  // namespace
