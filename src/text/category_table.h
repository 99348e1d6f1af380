// The Unicode 3.0 general category of every code unit of the Basic
// Multilingual Plane, as one constant table.
#ifndef ZOP_TEXT_CATEGORY_TABLE_H
#define ZOP_TEXT_CATEGORY_TABLE_H

namespace zop::text {

// General categories, numbered as the table stores them.
enum Category : unsigned char {
    Lu, Ll, Lt, Lm, Lo,      // letters: 0..4
    Mn, Mc, Me,              // marks: 5..7
    Nd, Nl, No,              // numbers: 8..10
    Zs, Zl, Zp,              // separators: 11..13
    Cc, Cf, Cs, Co,          // control, format, surrogate, private use: 14..17
    Pc, Pd, Ps, Pe, Pi, Pf, Po,  // punctuation: 18..24
    Sm, Sc, Sk, So,          // symbols: 25..28
    Cn                       // not assigned: 29
};

// category_table.bytes[u] is the Category of code unit u.
struct CategoryTable {
    unsigned char bytes[65536];
};

// Constant data built at compile time; it needs no initialisation when the
// library loads.
extern const CategoryTable category_table;

}  // namespace zop::text

#endif
