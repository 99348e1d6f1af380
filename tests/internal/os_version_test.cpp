#include "core/os_version.h"

#include <gtest/gtest.h>

namespace {

using namespace zop;
using zop::sys::VersionRecord;

TEST(OsVersion, ClassifiesEveryRowOfTheTable) {
    // Rows: platform, major, minor, service pack.  Only the first upper-case
    // unit of the service pack counts; lower case never qualifies.
    const struct {
        VersionRecord r;
        OSVersion expected;
    } cases[] = {{{0, 0, 0, L""}, UnknownOS},          {{3, 10, 0, L""}, UnknownOS},
                 {{2, 3, 51, L""}, UnknownOS},         {{2, 4, 0, L""}, WindowsNT4},
                 {{2, 5, 0, L""}, Windows2000},        {{2, 5, 1, L""}, WindowsXP},
                 {{2, 5, 2, L""}, WindowsNewer},       {{2, 6, 0, L""}, WindowsNewer},
                 {{2, 10, 0, L""}, WindowsNewer},      {{1, 4, 0, L""}, Windows95},
                 {{1, 4, 9, L" A "}, Windows95},       {{1, 4, 10, L""}, Windows98},
                 {{1, 4, 10, L" A "}, Windows98SE},    {{1, 4, 89, L"  B"}, Windows98SE},
                 {{1, 4, 10, L" a "}, Windows98},      {{1, 4, 90, L""}, WindowsMe}};
    for (const auto& c : cases) EXPECT_EQ(detail::classify_os_version(c.r), c.expected) << &c - cases;
}

int g_queries = 0;
template <std::uint32_t Platform>
void fake_system(VersionRecord& r) {
    ++g_queries;
    r = VersionRecord{Platform, 5, 1, L""};
}

TEST(OsVersion, RemembersAKnownSystemButAsksAgainForAnUnknownOne) {
    for (bool known : {true, false}) {
        std::atomic<OSVersion> cache{UnknownOS};
        g_queries = 0;
        auto* query = known ? &fake_system<2> : &fake_system<7>;
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(detail::detect_os_version(cache, query), known ? WindowsXP : UnknownOS);
        }
        EXPECT_EQ(g_queries, known ? 1 : 2);
    }
}

}  // namespace
