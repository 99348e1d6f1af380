// The Unicode 3.0.0 character data file that the library's category table
// is built from, read independently by the tests.
#ifndef ZOP_TESTS_UNICODE_DATA_H
#define ZOP_TESTS_UNICODE_DATA_H

#include <string>
#include <vector>

namespace zop_test {

// The category number of each of the 65536 code points below U+10000 as the
// copy in third_party/unicode gives it (29 for unlisted ones, ranges given
// by First/Last entries filled whole), numbered from 0 to 29 in the order
// Lu Ll Lt Lm Lo Mn Mc Me Nd Nl No Zs Zl Zp Cc Cf Cs Co Pc Pd Ps Pe Pi Pf Po
// Sm Sc Sk So Cn.  Empty when the file cannot be read; `error` then says why.
std::vector<unsigned char> unicode_categories(std::string& error);

}  // namespace zop_test

#endif
