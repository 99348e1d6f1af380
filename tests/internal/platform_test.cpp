#include "core/error_text.h"
#include "fs/path_internal.h"
#include "sys/error.h"
#include "sys/process.h"

#include <zop/core.h>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using namespace zop;

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

TEST(CompletePath, DriveCurrentDirectory) {
    EXPECT_EQ(complete_in(L"C:\\work", L"a\\b"), L"C:\\work\\a\\b");
    EXPECT_EQ(complete_in(L"C:\\work", L"..\\a"), L"..\\a");
    EXPECT_EQ(complete_in(L"C:\\work", L"\\a"), L"C:\\a");
    EXPECT_EQ(complete_in(L"C:\\work", L"/a"), L"C:/a");
    EXPECT_EQ(complete_in(L"C:\\work", L"D:x"), L"D:x");
    EXPECT_EQ(complete_in(L"C:\\work", L"C:\\a\\..\\b"), L"C:\\a\\..\\b");
    EXPECT_EQ(complete_in(L"C:\\", L"a"), L"C:\\\\a");
}

TEST(CompletePath, UncAndPosixCurrentDirectories) {
    // A UNC current directory lends server and share.
    EXPECT_EQ(complete_in(L"\\\\srv\\share\\dir", L"\\a"), L"\\\\srv\\share\\a");
    EXPECT_EQ(complete_in(L"//srv/share", L"\\a"), L"\\\\srv\\share\\a");
    EXPECT_EQ(complete_in(L"\\\\srv", L"\\a"), L"\\\\srv\\a");
    EXPECT_EQ(complete_in(L"\\\\srv\\share\\dir", L"a"), L"\\\\srv\\share\\dir\\a");
    // A POSIX current directory has a single root.
    EXPECT_EQ(complete_in(L"/home/u", L"\\a"), L"\\a");
    EXPECT_EQ(complete_in(L"/home/u", L"a/b"), L"/home/u\\a/b");
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

TEST(Platform, LastErrorIsPerThreadValueThatRoundTrips) {
    sys::set_last_error(87);
    EXPECT_EQ(sys::last_error(), 87u);
    sys::set_last_error(0);
    EXPECT_EQ(sys::last_error(), 0u);
}

TEST(Platform, DirectoriesAreWhole) {
    std::wstring dir;
    ASSERT_EQ(sys::current_directory(dir), 0u);
    EXPECT_FALSE(dir.empty());
    std::wstring exe;
    ASSERT_EQ(sys::executable_path(exe), 0u);
    EXPECT_NE(exe.find(L"internal_test"), std::wstring::npos);
}

TEST(Platform, KnownCodesHaveTextEndingInALineBreak) {
    const sys::MessageFormatter* f = sys::load_message_formatter(L"kernel32.dll");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(sys::load_message_formatter(L"no-such-library-zop.dll"), nullptr);
    for (std::uint32_t code : {2u, 3u, 5u, 32u, 80u, 87u, 145u, 183u}) {
        std::wstring text;
        ASSERT_TRUE(sys::format_message(f, code, text)) << code;
        ASSERT_GE(text.size(), 3u);
        EXPECT_EQ(text.substr(text.size() - 2), L"\r\n") << code;
    }
    std::wstring none = L"stale";
    EXPECT_FALSE(sys::format_message(f, 0x3FFFFFF1u, none));
    EXPECT_TRUE(none.empty());
}

TEST(SystemError, DropsEveryFormOfTrailingLineBreak) {
    auto dropped = [](std::wstring t) {
        detail::drop_line_break(t);
        return t;
    };
    EXPECT_EQ(dropped(L"Access is denied.\r\n"), L"Access is denied.");
    EXPECT_EQ(dropped(L"Done.\n"), L"Done.");
    EXPECT_EQ(dropped(L"Done.\r\n "), L"Done.");
    EXPECT_EQ(dropped(L"Done.\nx"), L"Done.");
    EXPECT_EQ(dropped(L"Done."), L"Done.");
    EXPECT_EQ(dropped(L"a\r\nb\r\n"), L"a\r\nb");
    EXPECT_EQ(dropped(L"\r\n"), L"");
    EXPECT_EQ(dropped(L"\n"), L"");
    EXPECT_EQ(dropped(L""), L"");
    EXPECT_EQ(dropped(L"x\r"), L"x\r");
}

}  // namespace
