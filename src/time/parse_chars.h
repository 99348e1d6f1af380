// The character classes of date parsing: white space and decimal digits as
// the Unicode 3.0 character database defines them, the same answers as
// Char::is_whitespace and Char::is_digit give.  Kept here, with the ASCII
// range first, because parsing asks for every character it reads.
#ifndef ZOP_TIME_PARSE_CHARS_H
#define ZOP_TIME_PARSE_CHARS_H

namespace zop::detail {

// Space separators (Zs), tab to carriage return, next line, and the line
// and paragraph separators.
inline bool is_parse_space(wchar_t c) {
    if (c <= 0x20) return c == 0x20 || (c >= 0x09 && c <= 0x0D);
    if (c < 0x85) return false;
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x3000;
}

// Decimal digits (Nd) of the Basic Multilingual Plane.
inline bool is_parse_digit(wchar_t c) {
    if (c < 0x80) return c >= L'0' && c <= L'9';
    // First units of the ten-digit blocks, in order; Tamil has nine digits
    // (U+0BE7-U+0BEF) and Ethiopic nine (U+1369-U+1371).
    static constexpr unsigned kBlocks[] = {0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6,
                                           0x0B66, 0x0C66, 0x0CE6, 0x0D66, 0x0E50, 0x0ED0,
                                           0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};
    const auto u = static_cast<unsigned>(c);
    if ((u >= 0x0BE7 && u <= 0x0BEF) || (u >= 0x1369 && u <= 0x1371)) return true;
    for (unsigned first : kBlocks) {
        if (u < first) return false;
        if (u <= first + 9) return true;
    }
    return false;
}

}  // namespace zop::detail

#endif
