#include <zop/fs.h>
#include <zop/io.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <functional>
#include <string>
#include <thread>

namespace {

using namespace zop;
using zop_test::TempDir;

std::string read_all(const std::wstring& path) {
    FileInputStream in(path, READ_WRITE);
    std::string out;
    unsigned char buf[256];
    for (int n; (n = in.read(buf, sizeof buf)) > 0;) out.append(reinterpret_cast<char*>(buf), n);
    return out;
}

// One file through the modes that open, create, truncate and append, then
// read and sought through, its streams given bad arguments and closed.
TEST(FileStreams, ModesReadsSeeksArgumentsAndClosedState) {
    TempDir tmp;
    const std::wstring path = tmp / L"out";
    EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { FileInputStream bad(L"", READ); }),
              L"Empty file name");
    EXPECT_THROW(FileOutputStream(L"", CREATE, NONE), ArgumentException);
    EXPECT_THROW(FileInputStream(path, READ), IOException);
    EXPECT_THROW(FileInputStream(tmp.path(), READ), IOException);  // a directory
    EXPECT_THROW(FileOutputStream(path, OPEN, NONE), IOException);
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

    unsigned char buf[64];
    FileInputStream in(File(path), NONE);
    EXPECT_EQ(in.read(buf, 64), 6);
    EXPECT_EQ(std::string(buf, buf + 6), "Jello!");
    EXPECT_EQ(in.read(buf, 64), -1);
    EXPECT_EQ(in.seek(0, BEGIN), -6);
    EXPECT_EQ(in.read(), 'J');
    EXPECT_EQ(in.seek(0, END), 5);
    EXPECT_EQ(in.seek(-4, CURRENT), -4);
    EXPECT_EQ(in.read(buf, 2), 2);
    EXPECT_EQ(std::string(buf, buf + 2), "ll");
    EXPECT_EQ(in.seek(3, static_cast<SeekOrigin>(7)), -1);  // unknown origin: from the start
    EXPECT_EQ(in.seek(20, BEGIN), 17);                       // beyond the end
    EXPECT_EQ(in.available(), -14);
    EXPECT_EQ(in.read(buf, 4), -1);
    EXPECT_THROW(in.seek(-100, CURRENT), IOException);       // before the start
    EXPECT_EQ(in.available(), -14);                          // a failed seek moves nothing
    EXPECT_THROW(in.read(nullptr, 1), ArgumentException);
    EXPECT_THROW(in.read(buf, 0), ArgumentException);
    EXPECT_THROW(in.read(buf, -1), ArgumentException);
    in.close();
    // The closed check comes before the arguments.
    EXPECT_EQ(zop_test::thrown<IOException>([&] { in.read(nullptr, 0); }),
              L"The file '" + File(path).full_name() + L"' has been closed.");
    EXPECT_THROW(in.seek(0, BEGIN), IOException);
    EXPECT_THROW(in.available(), IOException);

    FileOutputStream out(path, CREATE, NONE);
    EXPECT_EQ(out.seek(0, END), 0);  // emptied
    EXPECT_THROW(out.write(buf, 0), ArgumentException);
    out.write(buf, 3);
    out.close();
    EXPECT_EQ(zop_test::thrown<IOException>([&] { out.write(buf, 0); }),
              L"The file '" + path + L"' has been closed.");
    EXPECT_THROW(out.flush(), IOException);
    EXPECT_THROW(out.seek(0, BEGIN), IOException);
    FileOutputStream(path, TRUNCATE, NONE);
    EXPECT_EQ(File(path).length(), 0);
    FileOutputStream(tmp / L"fresh", OPEN_OR_CREATE, NONE);
    EXPECT_TRUE(File(tmp / L"fresh").exists());
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

// Devices and pipes have no position and nothing to flush, take no share
// marks, and end when a read delivers nothing.
TEST(FileStreams, DevicesAndPipes) {
    const std::wstring no_seek = system_error(L"", 132);
    FileOutputStream out(sizeof(wchar_t) == 2 ? L"NUL" : L"/dev/null", CREATE, NONE);
    FileInputStream in(sizeof(wchar_t) == 2 ? L"NUL" : L"/dev/null", NONE);
    out.flush();
    EXPECT_EQ(zop_test::thrown<IOException>([&] { out.seek(0, BEGIN); }), no_seek);
    unsigned char byte;
    EXPECT_EQ(in.read(&byte, 1), -1);  // a device's end is -1, not 0
#if defined(_WIN32)
    GTEST_SKIP() << "the rest opens pipes by /proc/self/fd and takes descriptors away: Linux only";
#else
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    auto fd_path = [](int fd) { return L"/proc/self/fd/" + std::to_wstring(fd); };
    auto* file_out = new FileOutputStream(fd_path(fds[1]), CREATE, NONE);
    auto* file_in = new FileInputStream(fd_path(fds[0]), NONE);
    FileOutputStream orphan(fd_path(fds[1]), OPEN, NONE);  // outlives the reader
    ::close(fds[0]);
    ::close(fds[1]);
    EXPECT_EQ(zop_test::thrown<IOException>([&] { file_in->seek(0, BEGIN); }), no_seek);
    // More than a pipe holds, so the writer waits for the reader.
    const int count = 40000;
    int matched = 0;
    std::thread reader([&] {
        DataInputStream data(new BufferedInputStream(file_in, true, true), true);
        EXPECT_NO_THROW(while (matched < count && data.read_int() == matched * 7919) ++matched);
    });
    DataOutputStream data(new BufferedOutputStream(file_out, true, true), true);
    for (int i = 0; i < count; ++i) data.write_int(i * 7919);
    data.close();
    reader.join();
    EXPECT_EQ(matched, count);
    // Without a reader a write fails instead of raising SIGPIPE; a close
    // that fails still releases the handle and closes the stream.
    EXPECT_EQ(zop_test::thrown<IOException>([&] { orphan.write('x'); }), system_error(L"", 232));
    ::close(static_cast<int>(reinterpret_cast<std::intptr_t>(orphan.get_handle())));
    EXPECT_EQ(zop_test::thrown<IOException>([&] { orphan.close(); }), system_error(L"", 6));
    EXPECT_NO_THROW(orphan.close());
#endif
}

// Values above 0xFFFF (wchar_t is 32 bits wide) are no UTF-16 units: what
// encodes wide text refuses them and changes nothing; none cuts them down
// (0x10041 would pass for 'A', and the path would name "A").
TEST(WideValues, AboveFFFFAreRefused) {
    if (sizeof(wchar_t) == 2) GTEST_SKIP() << "wchar_t holds only 16-bit values here";
    TempDir tmp;
    zop_test::write_file(tmp / L"A", "kept");
    const std::wstring odd(1, static_cast<wchar_t>(0x10041)), bad_name = system_error(L"", 123);
    const std::wstring not_unit = L"The text holds a value above 0xFFFF, which is not a UTF-16 code unit.";
    DataOutputStream data(new FileOutputStream(tmp / L"out", CREATE, NONE), true);
    std::vector<std::wstring> listed;
    const std::pair<std::function<void()>, std::wstring> cases[] = {
        {[&] { data.write_string(L"ok" + odd); }, not_unit},
        {[&] { data.write_line(L"ok" + odd); }, not_unit},
        {[&] { FileOutputStream(tmp.path() + L"/" + odd, CREATE, NONE); }, bad_name},
        {[&] { Directory(tmp.path()).list(listed, odd); }, bad_name},
    };
    for (const auto& c : cases) EXPECT_EQ(zop_test::thrown<Exception>(c.first), c.second);
    EXPECT_EQ(File(tmp / L"out").length(), 0);
    EXPECT_EQ(read_all(tmp / L"A"), "kept");
}

}  // namespace
