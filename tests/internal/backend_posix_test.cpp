// The POSIX backend's own translations (error codes, names, wildcards) and
// the Windows behaviour it emulates for files; Windows has nothing to
// translate.
#include <zop/fs.h>

#include "sys/error.h"
#include "sys/file.h"
#include "sys/file_stream.h"
#include "sys/posix/errno_map.h"
#include "sys/posix/errno_table.h"
#include "sys/posix/utf8_path.h"
#include "sys/posix/wildcard.h"

#include "internal/last_error_test_support.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

namespace {

using namespace zop::sys;
using zop_test::TempDir;
using zop_test::error_of;

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

TEST(Wildcard, StarQuestionMarkCaseAndDots) {
    // Only ASCII letters fold; '?' matches nothing at a dot or the end; a '*'
    // before a dot stops at the last dot; '<', '>' and '"' are the system's
    // own wildcards.  The rows are those that the listings of the contract
    // transcript (both builds over one prepared tree, compared) leave out.
    const wchar_t* matching[][2] = {{L"*a*b*c*", L"xxaxxbxxcxx"}, {L"READ?E.*", L"readme.md"},
                                    {L"a?.txt", L"A.TXT"}, {L"??.txt", L"a.txt"}, {L"A.?", L"a.c"},
                                    {L"?.x", L".x"}, {L"a<", L"abc"}, {L"a>\"b", L"a.b"}};
    for (const auto& m : matching) EXPECT_TRUE(posix::wildcard_match(m[0], m[1])) << &m - matching;
    const wchar_t* different[][2] = {{L"a?c", L"ac"}, {L"*a*b*c*", L"xxcxxbxxaxx"}, {L"\xC9", L"\xE9"},
                                     {L"readme.*", L"readme2"}, {L"*", L""}};
    for (const auto& d : different) EXPECT_FALSE(posix::wildcard_match(d[0], d[1])) << &d - different;
    // A long name against many stars finishes quickly (no exponential
    // backtracking).
    EXPECT_FALSE(posix::wildcard_match(L"*a*a*a*a*a*a*a*a*b", std::wstring(5000, L'a')));
    EXPECT_TRUE(posix::wildcard_match(std::wstring(300, L'?') + L"*.", std::wstring(299, L'a')));
}

TEST(FilePosix, AttributesAsWinePresentsThem) {
    TempDir tmp;
    zop_test::write_file(tmp / L"plain", "x");
    // Read-only and back (last column 1): write permission returns to the
    // owner, and to group and others where they may read and the umask
    // grants it.  A file the owner may write keeps its mode.
    const std::string plain = zop_test::narrow(tmp / L"plain");
    const mode_t round_trips[][4] = {{002, 0664, 0664, 1}, {022, 0664, 0644, 1}, {002, 0600, 0600, 1},
                                     {000, 0604, 0606, 1}, {000, 0640, 0660, 1}, {000, 0644, 0644, 0}};
    for (const auto& r : round_trips) {
        const mode_t saved = ::umask(r[0]);
        ::chmod(plain.c_str(), r[1]);
        const bool ok = (r[3] == 0 || (set_file_attributes(tmp / L"plain", kAttrReadonly) &&
                                       get_file_attributes(tmp / L"plain") == (kAttrReadonly | kAttrArchive))) &&
                        set_file_attributes(tmp / L"plain", kAttrNormal);
        ::umask(saved);
        struct stat st;
        ASSERT_TRUE(ok && ::stat(plain.c_str(), &st) == 0);
        EXPECT_EQ(st.st_mode & 0777, r[2]) << std::oct << r[0] << " " << r[1];
    }
    ASSERT_TRUE(set_file_attributes(tmp / L"plain", kAttrReadonly | kAttrHidden));
    EXPECT_EQ(get_file_attributes(tmp / L"plain"), kAttrReadonly | kAttrArchive);
    // Windows opens a read-only file for writing only to fail, whoever asks;
    // readers are let in.
    std::uint64_t t = 130000000000000000ull;
    EXPECT_EQ(error_of(set_file_times(tmp / L"plain", nullptr, nullptr, &t)), 5u);
    EXPECT_EQ(error_of(delete_file(tmp / L"plain")), 5u);
    EXPECT_EQ(open_file(tmp / L"plain", kAccessWrite, 7, kOpenExisting), kInvalidFile);
    EXPECT_EQ(last_error(), 5u);
    FileHandle reader = open_file(tmp / L"plain", kAccessRead, 7, kOpenExisting);
    ASSERT_NE(reader, kInvalidFile);
    EXPECT_TRUE(close_file(reader));
    std::filesystem::create_directory_symlink(tmp.path(), tmp / L"up");
    EXPECT_EQ(get_file_attributes(tmp / L"up"), kAttrDirectory | kAttrReparsePoint);
    std::filesystem::create_symlink(tmp / L"gone", tmp / L"dangling");
    EXPECT_EQ(get_file_attributes(tmp / L"dangling"), kAttrReparsePoint | kAttrArchive);
    EXPECT_TRUE(delete_file(tmp / L"dangling"));
}

// tmpfs holds every file time, so the latest one is set, not refused.
TEST(FilePosix, LatestFileTimeIsSettable) {
    if (!std::filesystem::is_directory("/dev/shm")) GTEST_SKIP() << "no tmpfs at /dev/shm";
    const std::wstring path = L"/dev/shm/zop-latest-" + std::to_wstring(::getpid());
    zop_test::write_file(path, "t");
    EXPECT_NO_THROW(zop::SystemFile::last_modified_time(path, 910692730085477580));
    EXPECT_EQ(zop::SystemFile::last_modified_time(path), 910692730085477580);
    zop::File(path).remove();
}

}  // namespace
