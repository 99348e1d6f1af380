#include <zop/fs.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using namespace zop;
using zop_test::TempDir;

// 2021-03-04 05:06:07.123456 UTC, a whole number of microseconds.
constexpr std::int64_t kSomeTime = 1614834367123456;

// Construction touches nothing; the record of a missing file answers
// without throwing, that of a present one is read once and kept until
// refresh.
TEST(File, RecordsOfMissingPresentAndRemovedFiles) {
    EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { File f(L""); }), L"path or file name is invalid");
    File relative(L"no-such-file-zop.txt");
    EXPECT_EQ(relative.full_name(), Path::current_path() + L"\\no-such-file-zop.txt");
    EXPECT_EQ(relative.name(), L"no-such-file-zop.txt");
    EXPECT_FALSE(zop_test::entry_exists(relative.full_name()));

    TempDir tmp;
    const std::wstring missing_path = tmp / L"missing.txt";
    File missing(missing_path);
    EXPECT_FALSE(missing.exists());
    EXPECT_FALSE(missing.is_readonly());
    EXPECT_THROW(missing.length(), IOException);
    EXPECT_THROW(missing.readonly(true), IOException);
    EXPECT_EQ(SystemFile::file_attrs(missing_path), ATTR_INVALID);
    EXPECT_THROW(SystemFile::last_modified_time(missing_path), IOException);
    EXPECT_THROW(missing.last_modified_time(kSomeTime), IOException);
    // Removing a missing file is quiet; a missing directory on the way is
    // an error of its own ("path not found").
    EXPECT_NO_THROW(missing.remove());
    EXPECT_THROW(File(tmp / L"missing-dir\\y.txt").remove(), IOException);

    // A directory is no file; its times are set like a file's.
    EXPECT_FALSE(File(tmp.path()).exists());
    Directory d(tmp.path());
    d.last_modified_time(kSomeTime);
    EXPECT_EQ(d.last_modified_time(), kSomeTime);

    // A stale object asks again: the file appears after the first look.
    const std::wstring path = tmp / L"data.bin";
    File f(path);
    EXPECT_FALSE(f.exists());
    zop_test::write_file(path, std::string(1000, 'x'));
    EXPECT_EQ(f.length(), 1000);
    EXPECT_EQ(f.file_attrs() & (ATTR_DIRECTORY | ATTR_READONLY), 0u);

    // The record is current: growth is seen only after refresh.  Copies
    // answer from the copied record.
    zop_test::write_file(path, std::string(2000, 'y'));
    EXPECT_EQ(f.length(), 1000);
    File copy(f), assigned(tmp / L"other");
    assigned = f;
    EXPECT_EQ(copy.length(), 1000);
    EXPECT_EQ(assigned.length(), 1000);
    EXPECT_EQ(assigned.full_name(), f.full_name());
    f.refresh();
    EXPECT_EQ(f.length(), 2000);

    // Read-only keeps the other bits and blocks deletion.
    const std::uint32_t before = f.file_attrs();
    f.readonly(true);
    EXPECT_TRUE(f.is_readonly());  // the setter marked the record stale
    EXPECT_EQ(static_cast<std::uint32_t>(f.file_attrs()) & ~0x81u, before & ~0x81u);
    EXPECT_THROW(f.remove(), IOException);
    EXPECT_TRUE(zop_test::entry_exists(path));
    // Cleared by the path alone, the removal goes through; it leaves the
    // record as it was until refresh.
    SystemFile::file_attrs(path, ATTR_NORMAL);
    f.remove();
    EXPECT_FALSE(zop_test::entry_exists(path));
    EXPECT_TRUE(f.exists());
    f.refresh();
    EXPECT_FALSE(f.exists());
    // The record of a file that went holds no times either (all three zero).
    EXPECT_EQ(f.creation_time() | f.last_access_time() | f.last_modified_time(), 0);
}

TEST(File, TimesRoundTripThroughTheSetters) {
    TempDir tmp;
    const std::wstring path = tmp / L"times.txt";
    zop_test::write_file(path, "t");
    File f(path);
    // Each setter marks the record stale and leaves the other time alone.
    f.last_modified_time(kSomeTime);
    f.last_access_time(kSomeTime + 10);
    EXPECT_EQ(f.last_access_time(), kSomeTime + 10);
    EXPECT_EQ(f.last_modified_time(), kSomeTime);
    SystemFile::last_modified_time(path, 0);  // the 1970 epoch itself
    EXPECT_EQ(SystemFile::last_modified_time(path), 0);
    SystemFile::last_access_time(path, -86400000000);  // a day before it
    EXPECT_EQ(SystemFile::last_access_time(path), -86400000000);

    // A time without a file time (1601-01-01 itself and before, after the
    // year 30828) is refused with code 87 on every system; one the file
    // system cannot hold (ext4: 1901-2446) reads back exactly or is refused
    // the same way, and then both times stay as they were.
    const struct { std::int64_t ticks; bool refused; } times[] = {
        {INT64_MIN, true}, {-11644473600000000, true}, {-11644473599999999, false},
        {-8507289600000000 /* 1700 */, false}, {253402214400000000 /* 9999 */, false},
        {910692730085477580 /* the last file time */, false}, {910692730085477581, true}, {INT64_MAX, true}};
    f.refresh();
    for (const auto& t : times) {
        for (bool access : {false, true}) {
            const std::int64_t a0 = f.last_access_time(), m0 = f.last_modified_time();
            const std::int64_t a = access ? t.ticks : a0 + 1, m = access ? m0 + 1 : t.ticks;
            try {
                f.file_time(kSomeTime, a, m);
                // Wine stores the nearest time the Linux file system holds.
                if (zop_test::under_wine() && (f.last_access_time() != a || f.last_modified_time() != m)) continue;
                EXPECT_FALSE(t.refused) << t.ticks;
                EXPECT_EQ(std::make_pair(f.last_access_time(), f.last_modified_time()), std::make_pair(a, m));
            } catch (const IOException& e) {
                EXPECT_EQ(e.message() + L"\r\n", zop_test::os_error_text(87)) << t.ticks;
                f.refresh();
                EXPECT_EQ(std::make_pair(f.last_access_time(), f.last_modified_time()), std::make_pair(a0, m0));
            }
        }
    }

    // Creation times are settable where the system keeps them.
    f.creation_time(kSomeTime - 7000000);
    f.refresh();
    if (f.creation_time() != kSomeTime - 7000000) {
        GTEST_SKIP() << "the file system keeps no settable creation time (Linux, and Wine over a Linux file system)";
    }
    f.file_time(kSomeTime - 9000000, kSomeTime, kSomeTime);
    EXPECT_EQ(SystemFile::creation_time(path), kSomeTime - 9000000);
}

}  // namespace
