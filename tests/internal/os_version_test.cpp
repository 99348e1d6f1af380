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
    using detail::classify_os_version;
    EXPECT_EQ(classify_os_version(record(0, 0, 0)), UnknownOS);
    EXPECT_EQ(classify_os_version(record(3, 10, 0)), UnknownOS);
    EXPECT_EQ(classify_os_version(record(2, 3, 51)), UnknownOS);
    EXPECT_EQ(classify_os_version(record(2, 4, 0)), WindowsNT4);
    EXPECT_EQ(classify_os_version(record(2, 5, 0)), Windows2000);
    EXPECT_EQ(classify_os_version(record(2, 5, 1)), WindowsXP);
    EXPECT_EQ(classify_os_version(record(2, 5, 2)), WindowsNewer);
    EXPECT_EQ(classify_os_version(record(2, 6, 0)), WindowsNewer);
    EXPECT_EQ(classify_os_version(record(2, 10, 0)), WindowsNewer);
    EXPECT_EQ(classify_os_version(record(1, 4, 0)), Windows95);
    EXPECT_EQ(classify_os_version(record(1, 4, 9, L" A ")), Windows95);
    EXPECT_EQ(classify_os_version(record(1, 4, 10)), Windows98);
    EXPECT_EQ(classify_os_version(record(1, 4, 10, L" A ")), Windows98SE);
    EXPECT_EQ(classify_os_version(record(1, 4, 89, L"  B")), Windows98SE);
    // Only the first upper-case unit counts; lower case never qualifies.
    EXPECT_EQ(classify_os_version(record(1, 4, 10, L" a ")), Windows98);
    EXPECT_EQ(classify_os_version(record(1, 4, 90)), WindowsMe);
}

int g_queries = 0;
void fake_xp(VersionRecord& r) {
    ++g_queries;
    r = record(2, 5, 1);
}
void fake_unknown(VersionRecord& r) {
    ++g_queries;
    r = record(7, 1, 1);
}

TEST(OsVersion, RemembersAKnownSystemButAsksAgainForAnUnknownOne) {
    std::atomic<OSVersion> cache{UnknownOS};
    g_queries = 0;
    EXPECT_EQ(detail::detect_os_version(cache, &fake_xp), WindowsXP);
    EXPECT_EQ(detail::detect_os_version(cache, &fake_xp), WindowsXP);
    EXPECT_EQ(g_queries, 1);

    std::atomic<OSVersion> unknown{UnknownOS};
    g_queries = 0;
    EXPECT_EQ(detail::detect_os_version(unknown, &fake_unknown), UnknownOS);
    EXPECT_EQ(detail::detect_os_version(unknown, &fake_unknown), UnknownOS);
    EXPECT_EQ(g_queries, 2);
}

}  // namespace
