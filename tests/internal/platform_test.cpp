#include "core/error_text.h"
#include "fs/path_internal.h"
#include "support/test_support.h"
#include "sys/error.h"
#include "sys/posix/english_messages.h"

#include <zop/core.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

using namespace zop;

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

TEST(CompletePath, JoinsWithTheCurrentDirectory) {
    // Rows: current directory, path, completed path.  A drive current
    // directory lends its drive, a UNC one its server and share; a POSIX one
    // has a single root.
    const wchar_t* cases[][3] = {
        {L"C:\\work", L"a\\b", L"C:\\work\\a\\b"}, {L"C:\\work", L"..\\a", L"..\\a"},
        {L"C:\\work", L"\\a", L"C:\\a"}, {L"C:\\work", L"/a", L"C:/a"}, {L"C:\\work", L"D:x", L"D:x"},
        {L"C:\\work", L"C:\\a\\..\\b", L"C:\\a\\..\\b"}, {L"C:\\", L"a", L"C:\\\\a"},
        {L"\\\\srv\\share\\dir", L"\\a", L"\\\\srv\\share\\a"}, {L"//srv/share", L"\\a", L"\\\\srv\\share\\a"},
        {L"\\\\srv", L"\\a", L"\\\\srv\\a"}, {L"\\\\srv\\share\\dir", L"a", L"\\\\srv\\share\\dir\\a"},
        {L"/home/u", L"\\a", L"\\a"}, {L"/home/u", L"a/b", L"/home/u\\a/b"}};
    for (const auto& c : cases) EXPECT_EQ(complete_in(c[0], c[1]), c[2]) << &c - cases;
}

TEST(CompletePath, AsksForTheCurrentDirectoryOnlyWhenNeeded) {
    g_current_calls = 0;
    complete_in(L"C:\\w", L"C:\\x");
    complete_in(L"C:\\w", L"\\\\s\\h");
    complete_in(L"C:\\w", L".\\x");
    EXPECT_EQ(g_current_calls, 0);
    complete_in(L"C:\\w", L"x");
    EXPECT_EQ(g_current_calls, 1);
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
                                 {L"a\r\nb\r\n", L"a\r\nb"}, {L"\r\n", L""}, {L"\n", L""}, {L"", L""},
                                 {L"x\r", L"x\r"}};
    for (const auto& c : cases) EXPECT_EQ(dropped(c[0]), c[1]) << &c - cases;
}

}  // namespace
