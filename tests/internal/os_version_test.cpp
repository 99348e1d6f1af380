#include "core/os_version.h"

#include <gtest/gtest.h>

namespace {

using namespace zop;
using zop::sys::VersionRecord;

VersionRecord record(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                     const wchar_t* sp = L"") {
    VersionRecord r;
    r.platform = platform;
    r.major = major;
    r.minor = minor;
    r.service_pack = sp;
    return r;
}

TEST(OsVersion, ClassifiesEveryRowOfTheTable) {
    // Only the first upper-case unit of the service pack counts; lower case
    // never qualifies.
    const struct {
        VersionRecord r;
        OSVersion expected;
    } cases[] = {{record(0, 0, 0), UnknownOS},    {record(3, 10, 0), UnknownOS},
                 {record(2, 3, 51), UnknownOS},   {record(2, 4, 0), WindowsNT4},
                 {record(2, 5, 0), Windows2000},  {record(2, 5, 1), WindowsXP},
                 {record(2, 5, 2), WindowsNewer}, {record(2, 6, 0), WindowsNewer},
                 {record(2, 10, 0), WindowsNewer}, {record(1, 4, 0), Windows95},
                 {record(1, 4, 9, L" A "), Windows95}, {record(1, 4, 10), Windows98},
                 {record(1, 4, 10, L" A "), Windows98SE}, {record(1, 4, 89, L"  B"), Windows98SE},
                 {record(1, 4, 10, L" a "), Windows98}, {record(1, 4, 90), WindowsMe}};
    for (const auto& c : cases) EXPECT_EQ(detail::classify_os_version(c.r), c.expected) << &c - cases;
}

int g_queries = 0;
template <std::uint32_t Platform>
void fake_system(VersionRecord& r) {
    ++g_queries;
    r = record(Platform, 5, 1);
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
