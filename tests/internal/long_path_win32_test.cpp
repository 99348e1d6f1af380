#include "sys/win32/long_path.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

// Long absolute paths get the \\?\ form of their full name; the others
// pass unchanged.
TEST(LongPathWin32, LongAbsolutePathsTakeThePrefixedFullForm) {
    const std::wstring n(250, L'n');
    const struct { std::wstring given, passed; } cases[] = {
        {L"C:\\a\\..\\b", L"C:\\a\\..\\b"}, {L"C:\\" + n, L"\\\\?\\C:\\" + n},
        {L"C:/x/./y/../" + n + L"/", L"\\\\?\\C:\\x\\" + n + L"\\"},
        {L"\\\\srv\\share\\" + n, L"\\\\?\\UNC\\srv\\share\\" + n},
        {L"\\\\?\\C:\\x/" + n, L"\\\\?\\C:\\x/" + n}, {L"x\\" + n, L"x\\" + n}, {L"C:" + n, L"C:" + n},
    };
    for (const auto& c : cases) EXPECT_EQ(zop::sys::long_path(c.given), c.passed) << zop_test::narrow(c.given);
    EXPECT_EQ(zop::sys::long_pattern(L"C:/" + n + L"/*."), L"\\\\?\\C:\\" + n + L"\\*.");
}

}  // namespace
