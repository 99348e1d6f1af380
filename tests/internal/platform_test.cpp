#include "core/error_text.h"
#include "core/os_version.h"
#include "fs/path_internal.h"
#include "support/test_support.h"
#include "sys/error.h"
#include "sys/posix/english_messages.h"

#include <zop/core.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace {

using namespace zop;
using zop::sys::VersionRecord;

#if defined(_WIN32)
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

std::wstring g_current;
int g_current_calls = 0;
std::wstring fake_current() {
    ++g_current_calls;
    return g_current;
}

std::wstring complete_in(const std::wstring& cur, const std::wstring& path) {
    g_current = cur;
    return detail::complete_path(path, &fake_current);
}

TEST(CompletePath, JoinsWithTheCurrentDirectoryOnlyWhenNeeded) {
    // Rows: current directory, path, completed path.  A drive current
    // directory lends its drive, a UNC one its server and share; a POSIX one
    // has a single root.  UNC, drive and dot paths are complete.
    const wchar_t* cases[][3] = {
        {L"C:\\work", L"a\\b", L"C:\\work\\a\\b"}, {L"C:\\work", L"\\a", L"C:\\a"}, {L"C:\\work", L"/a", L"C:/a"},
        {L"C:\\", L"a", L"C:\\\\a"}, {L"\\\\srv\\share\\dir", L"\\a", L"\\\\srv\\share\\a"},
        {L"//srv/share", L"\\a", L"\\\\srv\\share\\a"}, {L"\\\\srv", L"\\a", L"\\\\srv\\a"},
        {L"\\\\srv\\share\\dir", L"a", L"\\\\srv\\share\\dir\\a"}, {L"/home/u", L"\\a", L"\\a"},
        {L"/home/u", L"a/b", L"/home/u\\a/b"}};
    g_current_calls = 0;
    for (const auto& c : cases) EXPECT_EQ(complete_in(c[0], c[1]), c[2]) << &c - cases;
    EXPECT_EQ(g_current_calls, static_cast<int>(sizeof cases / sizeof cases[0]));
    for (const wchar_t* complete : {L"\\\\server\\share", L"\\/server\\x", L"D:x", L"C:\\a\\..\\b", L"\\",
                                    L"/", L".", L"..", L"..\\a", L".\\x", L".name"}) {
        EXPECT_EQ(complete_in(L"C:\\w", complete), complete);
    }
    EXPECT_EQ(complete_in(L"C:\\w", L"//server/share"), L"\\\\server\\share");
    EXPECT_EQ(g_current_calls, static_cast<int>(sizeof cases / sizeof cases[0]));
}

TEST(Platform, FormatterKnowsOnlyItsLibraryAndItsCodes) {
    const sys::MessageFormatter* f = sys::load_message_formatter(L"kernel32.dll");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(sys::load_message_formatter(L"no-such-library-zop.dll"), nullptr);
    std::wstring none = L"stale";
    EXPECT_FALSE(sys::format_message(f, 0x3FFFFFF1u, none));
    EXPECT_TRUE(none.empty());
}

// The POSIX backend's English texts are those of the system's formatter:
// all of them on Windows, those the test support knows on Linux.  Wine words
// its messages its own way ("Access denied.") and has none for 223 and 1287,
// so under Wine only the existence of each message is compared.
TEST(Platform, PosixTextsAreTheWindowsTexts) {
    for (const sys::posix::EnglishMessage& m : sys::posix::kEnglishMessages) {
        const std::wstring ours(m.text, m.text + std::char_traits<char>::length(m.text));
        const std::wstring system = zop_test::os_error_text(m.code);
        if (zop_test::under_wine()) {
            EXPECT_EQ(system.empty(), m.code == 223 || m.code == 1287) << m.code;
        } else if (!system.empty() || kWindows) {
            EXPECT_EQ(ours, system) << m.code;
        }
        EXPECT_EQ(ours.substr(ours.size() - 2), L"\r\n") << m.code;
    }
}

TEST(SystemError, DropsEveryFormOfTrailingLineBreak) {
    auto dropped = [](std::wstring t) {
        detail::drop_line_break(t);
        return t;
    };
    const wchar_t* cases[][2] = {{L"Access is denied.\r\n", L"Access is denied."}, {L"Done.\n", L"Done."},
                                 {L"Done.\r\n ", L"Done."}, {L"Done.\nx", L"Done."}, {L"Done.", L"Done."},
                                 {L"a\r\nb\r\n", L"a\r\nb"}, {L"\r\n", L""}, {L"\r\n ", L""}, {L"\n", L""},
                                 {L"", L""},
                                 {L"x\r", L"x\r"}};
    for (const auto& c : cases) EXPECT_EQ(dropped(c[0]), c[1]) << &c - cases;
}

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
    // Wine and Linux both present themselves as a current NT system.
    EXPECT_GT(running_os_version(), WindowsMe);
}

}  // namespace
