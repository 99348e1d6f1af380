// Character classes against the Unicode data file, and the bridges to the
// standard library: whole-string conversion, clock times and filesystem
// paths.
#include <zop/fs.h>
#include <zop/text.h>
#include <zop/time.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace zop;

// The general category of every code unit as numbered by its place in
// kCategories (29, Cn, for the unassigned), read from the Unicode 3.0 data
// file; empty when the file cannot be read or holds a line that is no entry.
std::vector<unsigned char> unicode_categories() {
    static const char kCategories[] = "LuLlLtLmLoMnMcMeNdNlNoZsZlZpCcCfCsCoPcPdPsPePiPfPoSmScSkSoCn";
    std::ifstream file(ZOP_TEST_UNICODE_DATA);
    if (!file) return {};
    std::vector<unsigned char> cats(65536, 29);
    std::string line;
    long range_start = -1;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string code, name, cat;
        std::getline(fields, code, ';');
        std::getline(fields, name, ';');
        std::getline(fields, cat, ';');
        const char* found = cat.size() == 2 ? std::strstr(kCategories, cat.c_str()) : nullptr;
        if (found == nullptr || (found - kCategories) % 2 != 0) return {};
        const long cp = std::stol(code, nullptr, 16);
        if (cp > 0xFFFF) continue;
        // A range is given by its first and its last code point.
        if (name.find(", First>") != std::string::npos) {
            range_start = cp;
            continue;
        }
        const long from = name.find(", Last>") != std::string::npos ? range_start : cp;
        const auto category = static_cast<unsigned char>((found - kCategories) / 2);
        for (long c = from; c <= cp; ++c) cats[static_cast<std::size_t>(c)] = category;
    }
    return cats;
}

// The nine answers as a bit set, in the order whitespace digit letter lower
// upper number punctuation separator symbol.
unsigned answers(wchar_t c) {
    return Char::is_whitespace(c) | Char::is_digit(c) << 1 | Char::is_letter(c) << 2 | Char::is_lower(c) << 3 |
           Char::is_upper(c) << 4 | Char::is_number(c) << 5 | Char::is_punctuation(c) << 6 |
           Char::is_seperator(c) << 7 | Char::is_symbol(c) << 8;
}

// What the answers must be for a code point of category `cat`.
unsigned expected_answers(unsigned cp, unsigned cat) {
    bool space = cat == 11 || (cp >= 0x09 && cp <= 0x0D) || cp == 0x85 || cp == 0x2028 || cp == 0x2029;
    return space | (cat == 8) << 1 | (cat <= 4) << 2 | (cat == 1) << 3 | (cat == 0) << 4 |
           (cat >= 8 && cat <= 10) << 5 | (cat >= 18 && cat <= 24) << 6 | (cat >= 11 && cat <= 13) << 7 |
           (cat >= 25 && cat <= 28) << 8;
}

TEST(Char, EveryCodeUnitClassifiesAsTheUnicodeDataFileSays) {
    const std::vector<unsigned char> cats = unicode_categories();
    ASSERT_EQ(cats.size(), 65536u) << "cannot read " << ZOP_TEST_UNICODE_DATA;
    int mismatches = 0;
    for (unsigned cp = 0; cp < 65536; ++cp) {
        unsigned got = answers(static_cast<wchar_t>(cp));
        unsigned want = expected_answers(cp, cats[cp]);
        if (got != want && ++mismatches <= 10) {
            ADD_FAILURE() << std::hex << "U+" << cp << ": answers " << got << ", expected " << want;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Values that later Unicode versions changed keep their 3.0 classes, and
    // the CJK and Hangul ranges given by First/Last are whole; this guards
    // against the table (and the file) being some other version.  Rows: code
    // point and answers (1 whitespace, 4 letter, 8 lower, 32 number, 64
    // punctuation, 128 separator, 256 symbol).
    const unsigned pinned[][2] = {
        {0xAA, 12}, {0xBA, 12}, {0xA7, 256}, {0xB6, 256}, {0xAD, 64}, {0x17D7, 64}, {0x200B, 129},
        {0x16EE, 32}, {0x3400, 4}, {0x4DB5, 4}, {0x4E00, 4}, {0x9FA5, 4}, {0xAC00, 4}, {0xD7A3, 4},
        {0x4DB6, 0}, {0x9FA6, 0}, {0x220, 0}, {0x221, 0}, {0x237, 0}, {0x3F4, 0}, {0x20B0, 0},
        {0xFDFC, 0}, {0x1700, 0}, {0x177F, 0}, {0x180B, 0}, {0x6DD, 0}};
    for (const auto& p : pinned) EXPECT_EQ(answers(static_cast<wchar_t>(p[0])), p[1]) << std::hex << p[0];
    // Values beyond 16 bits are nothing; 0x10041 and 0x10020 would alias 'A'
    // and ' ' if the value were cut down.
    if (sizeof(wchar_t) == 2) return;
    for (long v : {0x10041L, 0x10020L, 0x10030L, 0x1FFFFL, 0x7FFFFFFFL, -1L, -0xFFBFL}) {
        EXPECT_EQ(answers(static_cast<wchar_t>(v)), 0u) << v;
    }
}

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
