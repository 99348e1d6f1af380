#include "support/unicode_data.h"
#include "text/ascii_run.h"
#include "text/category_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace zop::text;

TEST(CategoryTable, EqualsTheUnicodeDataFile) {
    std::string error;
    std::vector<unsigned char> cats = zop_test::unicode_categories(error);
    ASSERT_EQ(cats.size(), 65536u) << error;
    int mismatches = 0;
    for (unsigned cp = 0; cp < 65536; ++cp) {
        if (category_table.bytes[cp] != cats[cp] && ++mismatches <= 10) {
            ADD_FAILURE() << std::hex << "U+" << cp << ": " << int(category_table.bytes[cp])
                          << " instead of " << int(cats[cp]);
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Category numbers fixed independently of the file.
    EXPECT_EQ(category_table.bytes[0x01C5], 2);
    EXPECT_EQ(category_table.bytes[0x2029], 13);
    EXPECT_EQ(category_table.bytes[0xF8FF], 17);
}

// Both block copiers, whichever one the build uses, against a plain loop:
// same prefix length, same output, nothing written beyond the prefix.
template <typename Widen, typename Narrow>
void check_copiers(Widen widen, Narrow narrow) {
    std::mt19937 rng(5);
    for (int i = 0; i < 3000; ++i) {
        std::size_t n = rng() % 80;
        std::string bytes(n, 'a');
        std::wstring units(n, L'a');
        for (std::size_t k = 0; k < n; ++k) {
            bool high = rng() % 40 == 0;
            bytes[k] = static_cast<char>(high ? 0x80 + rng() % 128 : rng() % 128);
            units[k] = static_cast<wchar_t>(high ? 0x80 + rng() % 0xFF80 : rng() % 128);
            if (high && sizeof(wchar_t) > 2 && rng() % 2) units[k] = static_cast<wchar_t>(0x10000 + rng() % 128);
        }
        std::size_t limit = n == 0 ? 0 : rng() % (n + 1);
        std::size_t want_bytes = 0;
        while (want_bytes < limit && static_cast<unsigned char>(bytes[want_bytes]) < 0x80) ++want_bytes;
        std::size_t want_units = 0;
        while (want_units < limit && unit_value(units[want_units]) < 0x80) ++want_units;

        std::wstring wide(n + 1, L'#');
        ASSERT_EQ(widen(reinterpret_cast<const unsigned char*>(bytes.data()), &wide[0], limit), want_bytes);
        for (std::size_t k = 0; k < want_bytes; ++k) ASSERT_EQ(wide[k], static_cast<wchar_t>(bytes[k]));
        ASSERT_EQ(wide.substr(want_bytes), std::wstring(n + 1 - want_bytes, L'#'));

        std::string thin(n + 1, '#');
        ASSERT_EQ(narrow(units.data(), &thin[0], limit), want_units);
        for (std::size_t k = 0; k < want_units; ++k) ASSERT_EQ(thin[k], static_cast<char>(units[k]));
        ASSERT_EQ(thin.substr(want_units), std::string(n + 1 - want_units, '#'));
    }
}

TEST(AsciiRuns, PortableCopiersStopAtTheFirstNonAscii) {
    check_copiers(portable::widen_ascii, portable::narrow_ascii);
}

TEST(AsciiRuns, BuildCopiersStopAtTheFirstNonAscii) {
    check_copiers(widen_ascii, narrow_ascii);
}

}  // namespace
