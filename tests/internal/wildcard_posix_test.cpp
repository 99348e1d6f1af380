// Windows wildcard rules as the POSIX backend applies them to names.
#include "sys/posix/wildcard.h"

#include <gtest/gtest.h>

namespace {

using zop::sys::posix::wildcard_match;

TEST(Wildcard, StarAndQuestionMark) {
    EXPECT_TRUE(wildcard_match(L"*", L""));
    EXPECT_TRUE(wildcard_match(L"*", L".hidden"));
    EXPECT_TRUE(wildcard_match(L"*.txt", L"a.b.txt"));
    EXPECT_FALSE(wildcard_match(L"*.txt", L"a.txt.bak"));
    EXPECT_TRUE(wildcard_match(L"a?c", L"abc"));
    EXPECT_FALSE(wildcard_match(L"a?c", L"ac"));
    EXPECT_FALSE(wildcard_match(L"a?c", L"abbc"));
    EXPECT_TRUE(wildcard_match(L"*a*b*c*", L"xxaxxbxxcxx"));
    EXPECT_FALSE(wildcard_match(L"*a*b*c*", L"xxcxxbxxaxx"));
    EXPECT_TRUE(wildcard_match(L"exact", L"exact"));
    EXPECT_FALSE(wildcard_match(L"exact", L"exact2"));
    // A long name against many stars finishes quickly (no exponential
    // backtracking).
    EXPECT_FALSE(wildcard_match(L"*a*a*a*a*a*a*a*a*b", std::wstring(5000, L'a')));
}

TEST(Wildcard, CaseAndDotRules) {
    EXPECT_TRUE(wildcard_match(L"*.TXT", L"readme.txt"));
    EXPECT_TRUE(wildcard_match(L"READ?E.*", L"readme.md"));
    // Only ASCII letters fold.
    EXPECT_FALSE(wildcard_match(std::wstring(1, wchar_t(0xC9)), std::wstring(1, wchar_t(0xE9))));
    // "*.*" matches every name; "stem.*" also the bare stem.
    EXPECT_TRUE(wildcard_match(L"*.*", L"Makefile"));
    EXPECT_TRUE(wildcard_match(L"*.*", L"a.b"));
    EXPECT_TRUE(wildcard_match(L"readme.*", L"README"));
    EXPECT_FALSE(wildcard_match(L"readme.*", L"readme2"));
}

}  // namespace
