// The POSIX backend's own translations; Windows has nothing to translate.
#include "sys/error.h"
#include "sys/posix/errno_map.h"
#include "sys/posix/utf8_path.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

namespace {

using namespace zop::sys;

TEST(PosixBackend, ErrnoBecomesTheWindowsCode) {
    const std::pair<int, std::uint32_t> cases[] = {{ENOENT, 2u}, {ENOTDIR, 3u}, {EACCES, 5u}, {EPERM, 5u},
                                                   {EEXIST, 80u}, {ENOTEMPTY, 145u}, {ENOSPC, 112u}};
    for (const auto& c : cases) EXPECT_EQ(posix::win32_code(c.first), c.second) << c.first;
    EXPECT_EQ(posix::win32_code(ENOENT, true), 3u);
    EXPECT_EQ(posix::fail_with_errno(EACCES), 5u);
    EXPECT_EQ(last_error(), 5u);
}

TEST(PosixBackend, EveryProducedCodeHasEnglishText) {
    const MessageFormatter* f = load_message_formatter(L"kernel32.dll");
    ASSERT_NE(f, nullptr);
    for (int err = 0; err < 134; ++err) {
        for (bool missing_path : {false, true}) {
            std::uint32_t code = posix::win32_code(err, missing_path);
            std::wstring text;
            EXPECT_TRUE(format_message(f, code, text)) << "errno " << err << " -> " << code;
            EXPECT_FALSE(text.empty());
        }
    }
}

TEST(PosixBackend, PathsTravelAsUtf8WithSlashes) {
    const std::wstring wide = {L'C', L'\\', wchar_t(0x4E2D), L'/', wchar_t(0xD83D), wchar_t(0xDE00)};
    const std::string utf8 = posix::to_system_path(wide);
    EXPECT_EQ(utf8, "C/\xE4\xB8\xAD/\xF0\x9F\x98\x80");
    EXPECT_EQ(posix::from_system_path(utf8),
              (std::wstring{L'C', L'/', wchar_t(0x4E2D), L'/', wchar_t(0xD83D), wchar_t(0xDE00)}));
    // Bytes that are not UTF-8 and lone surrogates are replaced, never dropped.
    EXPECT_EQ(posix::from_system_path("a\xFF" "b\xE4\xB8"),
              (std::wstring{L'a', wchar_t(0xFFFD), L'b', wchar_t(0xFFFD), wchar_t(0xFFFD)}));
    EXPECT_EQ(posix::from_system_path("\xC0\xAF"), (std::wstring{wchar_t(0xFFFD), wchar_t(0xFFFD)}));
    EXPECT_EQ(posix::to_system_path(std::wstring{wchar_t(0xDC00), L'x'}), "\xEF\xBF\xBDx");
}

}  // namespace
