// Bridges to the standard library: whole-string conversion, clock times and
// filesystem paths.
#include <zop/fs.h>
#include <zop/text.h>
#include <zop/time.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace zop;

TEST(Bridges, WholeStringsConvertOrNameTheFault) {
    const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
    const std::wstring utf16 = {L'a', 0xE9, 0x20AC, 0xD83D, 0xDE00, L'z'};
    EXPECT_EQ(Convertion::to_utf16(utf8), utf16);
    EXPECT_EQ(Convertion::to_utf8(utf16), utf8);
    EXPECT_EQ(Convertion::to_utf16(""), L"");
    const std::pair<std::string, const wchar_t*> bad8[] = {
        {"\x80", L"0"}, {"ab\xC3", L"2"}, {utf8 + "\xED\xA0\x80", L"11"}, {"\xF0\x9F\x98\x80\xC0\xAF", L"4"}};
    for (const auto& b : bad8) {
        EXPECT_EQ(zop_test::thrown<FormatException>([&] { Convertion::to_utf16(b.first); }),
                  std::wstring(L"Invalid UTF-8 at byte ") + b.second);
    }
    const std::pair<std::wstring, const wchar_t*> bad16[] = {
        {{0xDC00}, L"0"}, {{L'a', 0xE9, 0xD83D}, L"2"}, {{0xD83D, 0xDE00, 0x20AC, 0xD83D, L'x'}, L"3"}};
    for (const auto& b : bad16) {
        EXPECT_EQ(zop_test::thrown<FormatException>([&] { Convertion::to_utf8(b.first); }),
                  std::wstring(L"Invalid UTF-16 at unit ") + b.second);
    }
}

TEST(Bridges, DatesAndClockTimes) {
    using namespace std::chrono;
    for (long long ticks : {0LL, 1614834367123456LL, -1LL, -86400000001LL}) {
        const Date date(ticks);
        EXPECT_EQ(Date(date.to_time_point()).time(), ticks);
        EXPECT_EQ(duration_cast<microseconds>(date.to_time_point().time_since_epoch()).count(), ticks);
    }
    // Finer clock counts round down, before 1970 too.
    EXPECT_EQ(Date(system_clock::time_point(duration_cast<system_clock::duration>(nanoseconds(-1)))).time(),
              system_clock::duration(1) < microseconds(1) ? -1 : 0);
    const long long now = Date(system_clock::now()).time();
    EXPECT_LE(std::llabs(now - Date::now_time()), 5000000LL);
    if (duration_cast<hours>(system_clock::duration::max()).count() < 24LL * 366 * 8100) {
        // A clock of nanoseconds ends in 2262.
        EXPECT_THROW(Date(9999, 1, 1, 0, 0, 0, 0).to_time_point(), OutOfRangeException);
    }
}

TEST(Bridges, FilesystemPathsNameTheSameFiles) {
    zop_test::TempDir tmp;
    const std::wstring dir = Directory(tmp.path()).full_name();
    // On Linux a name Windows forbids travels as U+F000 + the character.
    const std::wstring name = sizeof(wchar_t) > 2 ? std::wstring{L'a', wchar_t(0xF03A), L'b'} : L"a b";
    const std::filesystem::path native = Path::to_filesystem_path(dir + L"\\" + name);
    std::ofstream(native) << "xyz";
    EXPECT_EQ(Path::file_name(Path::from_filesystem_path(native)), name);
    // The library's own listing finds it under the same name.
    std::vector<std::wstring> listed;
    Directory(dir).list(listed, L"*");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(Path::file_name(listed[0]), name);
    EXPECT_EQ(File(listed[0]).length(), 3);
    EXPECT_TRUE(std::filesystem::equivalent(Path::to_filesystem_path(listed[0]), native));
}

}  // namespace
