#include <zop/fs.h>
#include <zop/io.h>
#include <zop/thread.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace {

using namespace zop;
using zop_test::TempDir;

// Owners of a system handle are never copied (two copies would close it
// twice); path values and exceptions are.
template <typename T> constexpr bool copyable = std::is_copy_constructible_v<T> || std::is_copy_assignable_v<T>;
static_assert(!copyable<FileInputStream> && !copyable<FileOutputStream> && !copyable<Thread>);
static_assert(copyable<File> && copyable<Directory> && copyable<IOException>);

std::string read_all(const std::wstring& path) {
    FileInputStream in(path, READ_WRITE);
    std::string out;
    unsigned char buf[256];
    for (int n; (n = in.read(buf, sizeof buf)) > 0;) out.append(reinterpret_cast<char*>(buf), n);
    return out;
}

TEST(FileInputStream, ReadsAndCountsItsPosition) {
    TempDir tmp;
    zop_test::write_file(tmp / L"empty", "");
    zop_test::write_file(tmp / L"ten", "0123456789");
    unsigned char buf[64];
    FileInputStream empty(tmp / L"empty", READ);
    EXPECT_EQ(empty.available(), 0);
    EXPECT_EQ(empty.read(buf, 8), -1);
    FileInputStream in(File(tmp / L"ten"), NONE);
    EXPECT_EQ(in.get_file_name(), File(tmp / L"ten").full_name());
    EXPECT_EQ(in.read(buf, 64), 10);
    EXPECT_EQ(std::string(buf, buf + 10), "0123456789");
    EXPECT_EQ(in.read(buf, 64), -1);
    EXPECT_EQ(in.read(), -1);

    EXPECT_EQ(in.seek(0, BEGIN), -10);
    EXPECT_EQ(in.read(), '0');
    EXPECT_EQ(in.seek(0, END), 9);
    EXPECT_EQ(in.available(), 0);
    EXPECT_EQ(in.seek(-4, CURRENT), -4);
    EXPECT_EQ(in.available(), 4);
    EXPECT_EQ(in.read(buf, 2), 2);
    EXPECT_EQ(std::string(buf, buf + 2), "67");
    EXPECT_EQ(in.seek(3, static_cast<SeekOrigin>(7)), -5);  // unknown origin: from the start
    EXPECT_EQ(in.seek(20, BEGIN), 17);                       // beyond the end
    EXPECT_EQ(in.available(), -10);
    EXPECT_EQ(in.read(buf, 4), -1);
    EXPECT_THROW(in.seek(-100, CURRENT), IOException);       // before the start
    EXPECT_EQ(in.available(), -10);                          // a failed seek moves nothing
}

TEST(FileInputStream, ArgumentsAndClosedState) {
    TempDir tmp;
    zop_test::write_file(tmp / L"f", "abc");
    EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { FileInputStream bad(L"", READ); }),
              L"Empty file name");
    EXPECT_THROW(FileInputStream(tmp / L"missing", READ), IOException);
    EXPECT_THROW(FileInputStream(tmp.path(), READ), IOException);  // a directory
    FileInputStream in(tmp / L"f", READ);
    unsigned char b;
    EXPECT_THROW(in.read(nullptr, 1), ArgumentException);
    EXPECT_THROW(in.read(&b, 0), ArgumentException);
    EXPECT_THROW(in.read(&b, -1), ArgumentException);
    in.close();
    in.close();
    const std::wstring closed = L"The file '" + (tmp / L"f") + L"' has been closed.";
    // The closed check comes before the arguments.
    EXPECT_EQ(zop_test::thrown<IOException>([&] { in.read(nullptr, 0); }), closed);
    EXPECT_THROW(in.seek(0, BEGIN), IOException);
    EXPECT_THROW(in.available(), IOException);
    EXPECT_THROW(in.read(), IOException);
}

TEST(FileOutputStream, ModesCreateTruncateAndAppend) {
    TempDir tmp;
    const std::wstring path = tmp / L"out";
    EXPECT_THROW(FileOutputStream(path, OPEN, NONE), IOException);
    EXPECT_THROW(FileOutputStream(path, static_cast<FileMode>(0), NONE), IOException);
    EXPECT_THROW(FileOutputStream(path, TRUNCATE, NONE), IOException);
    FileOutputStream(path, CREATE_NEW, NONE).write(reinterpret_cast<const unsigned char*>("hello"), 5);
    EXPECT_THROW(FileOutputStream(path, CREATE_NEW, NONE), IOException);
    {
        FileOutputStream out(File(path), APPEND, READ);
        EXPECT_EQ(out.get_current_offset(), 5);
        out.write('!');
        EXPECT_EQ(out.seek(0, BEGIN), 0);
        out.write('H');
        EXPECT_EQ(out.seek(0, END), 6);
        out.flush();
    }
    EXPECT_EQ(read_all(path), "Hello!");
    FileOutputStream(path, OPEN_OR_CREATE, NONE).write('J');
    EXPECT_EQ(read_all(path), "Jello!");
    FileOutputStream(path, CREATE, NONE);
    EXPECT_EQ(File(path).length(), 0);
    zop_test::write_file(path, "xyz");
    FileOutputStream(path, TRUNCATE, NONE);
    EXPECT_EQ(File(path).length(), 0);
    FileOutputStream(tmp / L"fresh", OPEN_OR_CREATE, NONE);
    EXPECT_TRUE(File(tmp / L"fresh").exists());
}

TEST(FileOutputStream, ArgumentsAndClosedState) {
    TempDir tmp;
    EXPECT_THROW(FileOutputStream(L"", CREATE, NONE), ArgumentException);
    FileOutputStream out(tmp / L"o", CREATE, NONE);
    EXPECT_THROW(out.write(nullptr, 1), ArgumentException);
    const unsigned char b = 1;
    EXPECT_THROW(out.write(&b, 0), ArgumentException);
    out.close();
    out.close();
    EXPECT_EQ(zop_test::thrown<IOException>([&] { out.write(&b, 0); }),
              L"The file '" + (tmp / L"o") + L"' has been closed.");
    EXPECT_THROW(out.flush(), IOException);
    EXPECT_THROW(out.seek(0, BEGIN), IOException);
}

TEST(FileStreams, ShareModesDecideWhoElseMayOpen) {
    TempDir tmp;
    const std::wstring path = tmp / L"shared";
    zop_test::write_file(path, "data");
    auto violation = [](auto&& open) { return zop_test::thrown<IOException>(open); };
    const std::wstring sharing = system_error(L"", 32);
    {
        FileInputStream first(path, NONE);
        EXPECT_EQ(violation([&] { FileInputStream(path, READ_WRITE); }), sharing);
        EXPECT_EQ(violation([&] { FileOutputStream(path, OPEN, READ_WRITE); }), sharing);
    }
    {
        FileInputStream first(path, READ);
        EXPECT_NO_THROW(FileInputStream(path, READ));
        EXPECT_EQ(violation([&] { FileOutputStream(path, OPEN, READ_WRITE); }), sharing);
        // A second reader that denies reading conflicts with the first.
        EXPECT_EQ(violation([&] { FileInputStream(path, WRITE); }), sharing);
    }
    {
        FileOutputStream writer(path, OPEN, READ);
        EXPECT_NO_THROW(FileInputStream(path, READ_WRITE));
        EXPECT_EQ(violation([&] { FileOutputStream(path, OPEN, READ_WRITE); }), sharing);
        // A refused CREATE must not have truncated the file.
        EXPECT_EQ(violation([&] { FileOutputStream(path, CREATE, READ_WRITE); }), sharing);
    }
    EXPECT_EQ(File(path).length(), 4);
    {
        FileInputStream reader(path, READ_WRITE);
        FileOutputStream writer(path, OPEN, READ_WRITE);
        writer.write('D');
        // READ_WRITE also lets others delete the open file; Windows removes
        // it when the last handle closes.
        EXPECT_NO_THROW(File(path).remove());
    }
    EXPECT_FALSE(File(path).exists());
}

}  // namespace
