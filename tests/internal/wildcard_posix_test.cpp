// Windows wildcard rules as the POSIX backend applies them to names.
#include "sys/posix/wildcard.h"

#include <gtest/gtest.h>

namespace {

using zop::sys::posix::wildcard_match;

TEST(Wildcard, StarQuestionMarkCaseAndDots) {
    // Only ASCII letters fold; '?' matches nothing at a dot or the end; a '*'
    // before a dot stops at the last dot; '<', '>' and '"' are the system's
    // own wildcards.
    const wchar_t* matching[][2] = {{L"*", L".hidden"}, {L"*.txt", L"a.b.txt"}, {L"a?c", L"abc"},
                                    {L"*a*b*c*", L"xxaxxbxxcxx"}, {L"exact", L"exact"}, {L"*.TXT", L"readme.txt"},
                                    {L"READ?E.*", L"readme.md"}, {L"*.*", L"Makefile"}, {L"*.*", L"a.b"},
                                    {L"readme.*", L"README"}, {L"*.", L"Makefile"}, {L"a.txt?", L"a.txt"},
                                    {L"a?.txt", L"A.TXT"}, {L"??.txt", L"a.txt"}, {L"a.?", L"a"},
                                    {L"A.?", L"a.c"}, {L"?.x", L".x"}, {L"a<", L"abc"}, {L"a>\"b", L"a.b"}};
    for (const auto& m : matching) EXPECT_TRUE(wildcard_match(m[0], m[1])) << &m - matching;
    const wchar_t* different[][2] = {{L"*.txt", L"a.txt.bak"}, {L"a?c", L"ac"}, {L"a?c", L"abbc"},
                                     {L"*a*b*c*", L"xxcxxbxxaxx"}, {L"exact", L"exact2"},
                                     {L"\xC9", L"\xE9"}, {L"readme.*", L"readme2"}, {L"*", L""},
                                     {L"*.", L"a.b"}, {L"a?c", L"a.c"}, {L"a.?", L"a.bc"}, {L"a.?", L"ab"},
                                     {L"a<", L"a.b"}};
    for (const auto& d : different) EXPECT_FALSE(wildcard_match(d[0], d[1])) << &d - different;
    // A long name against many stars finishes quickly (no exponential
    // backtracking).
    EXPECT_FALSE(wildcard_match(L"*a*a*a*a*a*a*a*a*b", std::wstring(5000, L'a')));
    EXPECT_TRUE(wildcard_match(std::wstring(300, L'?') + L"*.", std::wstring(299, L'a')));
}

}  // namespace
