#include <zop/core.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace zop;
using Pieces = std::vector<std::wstring>;

TEST(FindAny, SearchesForwardFromTheOffset) {
    const std::wstring text = L"a,b;c";
    EXPECT_EQ(find_any(text, 0, L",;"), 1);
    EXPECT_EQ(find_any(text, 2, L",;"), 3);
    EXPECT_EQ(find_any(text, 4, L",;"), -1);
    EXPECT_EQ(find_any(text, 5, L",;"), -1);
    EXPECT_EQ(find_any(text, 0, L""), -1);
    EXPECT_EQ(find_any(L"", 0, L","), -1);
    EXPECT_THROW(find_any(text, 6, L",;"), OutOfRangeException);
    EXPECT_THROW(find_any(L"", 1, L","), OutOfRangeException);
    // Surrogates are plain units.
    EXPECT_EQ(find_any(std::wstring{L'x', wchar_t(0xD83D), wchar_t(0xDE00)}, 0,
                       std::wstring(1, wchar_t(0xDE00))), 2);
}

TEST(FindLastOfAny, SearchesBackwardFromTheOffset) {
    const std::wstring text = L"a,b;c";
    EXPECT_EQ(find_last_of_any(text, 4, L",;"), 3);
    EXPECT_EQ(find_last_of_any(text, 3, L",;"), 3);
    EXPECT_EQ(find_last_of_any(text, 2, L",;"), 1);
    EXPECT_EQ(find_last_of_any(text, 0, L",;"), -1);
    EXPECT_EQ(find_last_of_any(L",", 0, L","), 0);
    EXPECT_THROW(find_last_of_any(text, 5, L",;"), OutOfRangeException);
    EXPECT_THROW(find_last_of_any(L"", 0, L","), OutOfRangeException);
    EXPECT_THROW(find_last_of_any(text, 0xFFFFFFFFu, L","), OutOfRangeException);
}

TEST(Trim, RemovesOnlySpacesAtBothEnds) {
    EXPECT_EQ(trim(L"  ab c  "), L"ab c");
    EXPECT_EQ(trim(L"\tab\t"), L"\tab\t");
    EXPECT_EQ(trim(L"    "), L"");
    EXPECT_EQ(trim(L""), L"");
    EXPECT_EQ(trim(L" \n x"), L"\n x");
    EXPECT_EQ(trim(L"x"), L"x");
}

TEST(ReplaceChar, ReplacesEveryOccurrence) {
    EXPECT_EQ(replace_char(L"a/b/c", L'/', L'\\'), L"a\\b\\c");
    EXPECT_EQ(replace_char(L"", L'a', L'b'), L"");
    EXPECT_EQ(replace_char(L"aaa", L'a', L'a'), L"aaa");
    EXPECT_EQ(replace_char(L"abc", L'x', L'y'), L"abc");
}

TEST(SplitString, PiecesAreAppendedAsTheSeparatorsFall) {
    auto split = [](const wchar_t* text, const wchar_t* separators) {
        Pieces p;
        split_string(text, p, separators);
        return p;
    };
    EXPECT_EQ(split(L",a,,b,", L","), (Pieces{L"", L"a", L"", L"b"}));
    EXPECT_EQ(split(L"a;b,c", L";,"), (Pieces{L"a", L"b", L"c"}));
    EXPECT_EQ(split(L"abc", L""), (Pieces{L"abc"}));
    EXPECT_EQ(split(L",,", L","), (Pieces{L"", L""}));
}

TEST(SplitString, NeverClearsTheVector) {
    Pieces p{L"kept"};
    split_string(L"", p, L",");
    EXPECT_EQ(p, (Pieces{L"kept"}));
    split_string(L"x,y", p, L",");
    EXPECT_EQ(p, (Pieces{L"kept", L"x", L"y"}));
}

}  // namespace
