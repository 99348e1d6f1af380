#include <zop/text.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using zop::Char;

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

}  // namespace
