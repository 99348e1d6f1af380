// Windows behaviour that the POSIX backend emulates for files.
#include <zop/fs.h>

#include "sys/error.h"
#include "sys/file.h"
#include "sys/file_stream.h"

#include "internal/last_error_test_support.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace {

using namespace zop::sys;
using zop_test::TempDir;

using zop_test::error_of;

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
    ASSERT_TRUE(zop_test::make_symlink(tmp.path(), tmp / L"up", true));
    EXPECT_EQ(get_file_attributes(tmp / L"up"), kAttrDirectory | kAttrReparsePoint);
    ASSERT_TRUE(zop_test::make_symlink(tmp / L"gone", tmp / L"dangling", false));
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
