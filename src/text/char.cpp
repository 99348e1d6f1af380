// Character classification: one lookup in the category table, then a
// comparison of the category number.
#include <zop/text.h>

#include "text/category_table.h"

namespace zop {

namespace {

using text::Category;

// The category of `c`; a value beyond the 16-bit range (possible where
// wchar_t is 32 bits) gets Cn, which answers false to every query.
inline unsigned category_of(wchar_t c) {
    auto u = static_cast<unsigned long>(c);
    if (u > 0xFFFF) return text::Cn;
    return text::category_table.bytes[u];
}

inline bool in_range(wchar_t c, Category low, Category high) {
    unsigned cat = category_of(c);
    return cat >= low && cat <= high;
}

}  // namespace

Char::Char() = default;
Char::~Char() = default;
Char& Char::operator=(const Char&) { return *this; }

bool Char::is_whitespace(wchar_t c) {
    if (category_of(c) == text::Zs) return true;
    auto u = static_cast<unsigned long>(c);
    if (u == 0x85) return true;
    if (u < 0x85) return u >= 0x09 && u <= 0x0D;
    return u == 0x2028 || u == 0x2029;
}

bool Char::is_digit(wchar_t c) { return category_of(c) == text::Nd; }
bool Char::is_letter(wchar_t c) { return in_range(c, text::Lu, text::Lo); }
bool Char::is_lower(wchar_t c) { return category_of(c) == text::Ll; }
bool Char::is_upper(wchar_t c) { return category_of(c) == text::Lu; }
bool Char::is_number(wchar_t c) { return in_range(c, text::Nd, text::No); }
bool Char::is_punctuation(wchar_t c) { return in_range(c, text::Pc, text::Po); }
bool Char::is_seperator(wchar_t c) { return in_range(c, text::Zs, text::Zp); }
bool Char::is_symbol(wchar_t c) { return in_range(c, text::Sm, text::So); }

}  // namespace zop
