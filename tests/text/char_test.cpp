#include <zop/text.h>

#include "support/unicode_data.h"

#include <gtest/gtest.h>


namespace {

using zop::Char;

// The nine answers for one code unit, as a bit set, in the order
// whitespace digit letter lower upper number punctuation separator symbol.
unsigned answers(wchar_t c) {
    bool bits[] = {Char::is_whitespace(c), Char::is_digit(c),       Char::is_letter(c),
                   Char::is_lower(c),      Char::is_upper(c),       Char::is_number(c),
                   Char::is_punctuation(c), Char::is_seperator(c), Char::is_symbol(c)};
    unsigned set = 0;
    for (unsigned i = 0; i < 9; ++i) set |= static_cast<unsigned>(bits[i]) << i;
    return set;
}

// What the answers must be for a code point of category `cat`.
unsigned expected_answers(unsigned cp, unsigned cat) {
    bool space = cat == 11 || (cp >= 0x09 && cp <= 0x0D) || cp == 0x85 || cp == 0x2028 ||
                 cp == 0x2029;
    bool bits[] = {space,     cat == 8,  cat <= 4,  cat == 1,  cat == 0, cat >= 8 && cat <= 10,
                   cat >= 18 && cat <= 24, cat >= 11 && cat <= 13, cat >= 25 && cat <= 28};
    unsigned set = 0;
    for (unsigned i = 0; i < 9; ++i) set |= static_cast<unsigned>(bits[i]) << i;
    return set;
}

TEST(Char, EveryCodeUnitClassifiesAsTheUnicodeDataFileSays) {
    std::string error;
    std::vector<unsigned char> cats = zop_test::unicode_categories(error);
    ASSERT_EQ(cats.size(), 65536u) << error;
    int mismatches = 0;
    for (unsigned cp = 0; cp < 65536; ++cp) {
        unsigned got = answers(static_cast<wchar_t>(cp));
        unsigned want = expected_answers(cp, cats[cp]);
        if (got != want && ++mismatches <= 10) {
            ADD_FAILURE() << std::hex << "U+" << cp << ": answers " << got << ", expected " << want;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// Values that later Unicode versions changed keep their 3.0 classes; this
// guards against the table being built from some other version of the file.
TEST(Char, KeepsUnicode3Classes) {
    for (unsigned cp : {0x00AAu, 0x00BAu}) EXPECT_TRUE(Char::is_lower(static_cast<wchar_t>(cp)));
    for (unsigned cp : {0x00A7u, 0x00B6u}) EXPECT_TRUE(Char::is_symbol(static_cast<wchar_t>(cp)));
    for (unsigned cp : {0x00ADu, 0x17D7u}) EXPECT_TRUE(Char::is_punctuation(static_cast<wchar_t>(cp)));
    EXPECT_TRUE(Char::is_whitespace(0x200B) && Char::is_seperator(0x200B));
    EXPECT_TRUE(Char::is_number(0x16EE) && !Char::is_letter(0x16EE));
    for (unsigned cp : {0x0220u, 0x0221u, 0x0237u, 0x03F4u, 0x20B0u, 0xFDFCu, 0x1700u, 0x177Fu,
                        0x180Bu, 0x06DDu, 0xD800u, 0xDFFFu, 0xE000u, 0xFFFFu}) {
        EXPECT_EQ(answers(static_cast<wchar_t>(cp)), 0u) << std::hex << cp;
    }
    // The whole of the CJK and Hangul ranges given by First/Last are letters.
    for (unsigned cp : {0x3400u, 0x4DB5u, 0x4E00u, 0x9FA5u, 0xAC00u, 0xD7A3u}) {
        EXPECT_TRUE(Char::is_letter(static_cast<wchar_t>(cp))) << std::hex << cp;
    }
    EXPECT_FALSE(Char::is_letter(0x4DB6));
    EXPECT_FALSE(Char::is_letter(0x9FA6));
}

TEST(Char, ValuesBeyondSixteenBitsAreNothing) {
    if (sizeof(wchar_t) == 2) GTEST_SKIP() << "wchar_t holds only 16-bit values here";
    // 0x10041 and 0x10020 would alias 'A' and ' ' if the value were cut down.
    for (long v : {0x10041L, 0x10020L, 0x10030L, 0x1FFFFL, 0x7FFFFFFFL, -1L, -0xFFBFL}) {
        EXPECT_EQ(answers(static_cast<wchar_t>(v)), 0u) << v;
    }
}

}  // namespace
