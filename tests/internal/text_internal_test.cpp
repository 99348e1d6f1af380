#include "text/ascii_run.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace zop::text;

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

TEST(AsciiRuns, CopiersStopAtTheFirstNonAscii) {
    check_copiers(portable::widen_ascii, portable::narrow_ascii);
    check_copiers(widen_ascii, narrow_ascii);
}

}  // namespace
