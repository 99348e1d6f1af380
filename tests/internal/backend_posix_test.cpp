// The POSIX backend's own translations; Windows has nothing to translate.
#include "sys/error.h"
#include "sys/posix/errno_map.h"
#include "sys/posix/errno_table.h"
#include "sys/posix/utf8_path.h"


#include <gtest/gtest.h>


#include <cerrno>
#include <utility>

namespace {

using namespace zop::sys;

// Every row of the errno table: the value becomes its code (no other row
// shadows it) and the code has English text; values without a row share one.
TEST(PosixBackend, ErrnoTableGivesCodesWithEnglishText) {
    const MessageFormatter* f = load_message_formatter(L"kernel32.dll");
    ASSERT_NE(f, nullptr);
    std::wstring text;
    for (const posix::ErrnoCode& row : posix::kErrnoCodes) {
        EXPECT_EQ(posix::win32_code(row.err), row.code) << "errno " << row.err;
        EXPECT_TRUE(format_message(f, row.code, text)) << row.code;
    }
    EXPECT_EQ(posix::win32_code(ENOENT, true), 3u);
    EXPECT_EQ(posix::win32_code(EHWPOISON), posix::kUnmappedErrnoCode);
    EXPECT_TRUE(format_message(f, posix::kUnmappedErrnoCode, text));
    EXPECT_EQ(posix::fail_with_errno(EACCES), 5u);
    EXPECT_EQ(last_error(), 5u);
}

// Seeking a pipe once gave "A device attached to the system is not
// functioning."
TEST(PosixBackend, NamesMapBothWaysWithoutLoss) {
    using W = std::wstring;
    auto to_system_path = [](const W& path) { std::string s; EXPECT_TRUE(posix::to_system_path(path, s)); return s; };
    const std::pair<std::string, W> both_ways[] = {
        {"C/\xE4\xB8\xAD/\xF0\x9F\x98\x80", W{L'C', L'/', 0x4E2D, L'/', 0xD83D, 0xDE00}},
        // Characters Windows forbids: U+F000 + the character.
        {"\\tmp\\x:y", W{0xF05C, L't', L'm', L'p', 0xF05C, L'x', 0xF03A, L'y'}},
        {"\x01\x1F|*?\"<>", W{0xF001, 0xF01F, 0xF07C, 0xF02A, 0xF03F, 0xF022, 0xF03C, 0xF03E}},
        // Bytes outside UTF-8, one escape each (overlong forms and encoded
        // surrogates included).
        {"a\xFF" "b\xE4\xB8", W{L'a', 0xDCFF, L'b', 0xDCE4, 0xDCB8}},
        {"\xC0\xAF\xED\xA0\x80", W{0xDCC0, 0xDCAF, 0xDCED, 0xDCA0, 0xDC80}},
        // A real U+F03A would read as ':' and is escaped; U+F041 is no image.
        {"\xEF\x80\xBA\xEF\x81\x81", W{0xDCEF, 0xDC80, 0xDCBA, 0xF041}},
    };
    for (const auto& c : both_ways) {
        EXPECT_EQ(posix::from_system_path(c.first), c.second) << c.first;
        EXPECT_EQ(to_system_path(c.second), c.first) << c.first;
    }
    // Both separators become '/'; a surrogate that escapes no byte keeps
    // its generalised UTF-8 form.
    EXPECT_EQ(to_system_path(W{L'\\', L'a', 0xDC00, L'/'}), "/a\xED\xB0\x80/");
}

}  // namespace
