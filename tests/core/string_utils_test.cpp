#include <zop/core.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace zop;
using Pieces = std::vector<std::wstring>;

TEST(StringUtils, FindAnyForwardAndBackwardFromTheOffset) {
    // Rows: text, offset, characters, forward result, backward result; -2
    // stands for OutOfRangeException.
    const std::wstring pair{L'x', wchar_t(0xD83D), wchar_t(0xDE00)};
    const struct {
        std::wstring text;
        unsigned off;
        std::wstring chars;
        int forward, backward;
    } cases[] = {{L"a,b;c", 0, L",;", 1, -1},     {L"a,b;c", 2, L",;", 3, 1},  {L"a,b;c", 3, L",;", 3, 3},
                 {L"a,b;c", 4, L",;", -1, 3},     {L"a,b;c", 5, L",;", -1, -2}, {L"a,b;c", 6, L",;", -2, -2},
                 {L"a,b;c", 0, L"", -1, -1},      {L",", 0, L",", 0, 0},        {L"", 0, L",", -1, -2},
                 {L"", 1, L",", -2, -2},          {L"a,b;c", 0xFFFFFFFFu, L",", -2, -2},
                 {L"ab", 0, std::wstring(1, L'\0'), -1, -1},  // nothing is read past the end
                 {pair, 0, std::wstring(1, wchar_t(0xDE00)), 2, -1}};  // surrogates are plain units
    for (const auto& c : cases) {
        auto run = [&](int (*f)(const std::wstring&, unsigned, const std::wstring&)) {
            try {
                return f(c.text, c.off, c.chars);
            } catch (const OutOfRangeException&) {
                return -2;
            }
        };
        EXPECT_EQ(run(find_any), c.forward) << c.off;
        EXPECT_EQ(run(find_last_of_any), c.backward) << c.off;
    }
}

TEST(StringUtils, TrimReplaceAndSplit) {
    // Only spaces, only at the ends.
    for (const auto& c : {std::make_pair(L"  ab c  ", L"ab c"), {L"\tab\t", L"\tab\t"}, {L"    ", L""},
                          {L"", L""}, {L" \n x", L"\n x"}, {L"x", L"x"}}) {
        EXPECT_EQ(trim(c.first), c.second);
    }
    EXPECT_EQ(replace_char(L"a/b/c", L'/', L'\\'), L"a\\b\\c");
    EXPECT_EQ(replace_char(L"abc", L'x', L'y'), L"abc");
    // Pieces are appended as the separators fall; the vector is never cleared.
    auto split = [](const wchar_t* text, const wchar_t* separators) {
        Pieces p{L"kept"};
        split_string(text, p, separators);
        return p;
    };
    EXPECT_EQ(split(L",a,,b,", L","), (Pieces{L"kept", L"", L"a", L"", L"b"}));
    EXPECT_EQ(split(L"a;b,c", L";,"), (Pieces{L"kept", L"a", L"b", L"c"}));
    EXPECT_EQ(split(L"abc", L""), (Pieces{L"kept", L"abc"}));
    EXPECT_EQ(split(L",,", L","), (Pieces{L"kept", L"", L""}));
    EXPECT_EQ(split(L"", L","), (Pieces{L"kept"}));
}

}  // namespace
