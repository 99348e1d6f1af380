#include <zop/core.h>
#include <zop/fs.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <utility>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

using namespace zop;
using zop_test::os_error_text;

// The system's text without its final line break.
std::wstring without_line_break(std::wstring text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

// A code no system has a message for.
constexpr int kCodeWithoutText = 0x3FFFFFF1;

// system_error and the exceptions that carry its text.
TEST(SystemError, PrefixIsFollowedByTheSystemTextWithoutItsLineBreak) {
    for (int code : {5, 2, 3, 32, kCodeWithoutText, -1}) {
        for (const wchar_t* prefix : {L"", L"Cannot create thread: "}) {
            EXPECT_EQ(system_error(prefix, code), prefix + without_line_break(os_error_text(code))) << code;
        }
        // Always IOException, never FileNotFoundException or
        // DirectoryNotFoundException.
        try {
            SystemFile::throw_io_exception(code, code % 2 != 0, L"C:\\missing.txt");
            ADD_FAILURE() << "nothing thrown";
        } catch (const IOException& e) {
            EXPECT_EQ(typeid(e), typeid(IOException)) << code;
            EXPECT_EQ(e.message(), without_line_break(os_error_text(code)));
        }
    }
}

TEST(ResString, NoModuleOrNoStringGivesNullAndKeepsTheLength) {
    unsigned int length = 1234;
    EXPECT_EQ(load_res_string(nullptr, 16, &length), nullptr);
#if !defined(_WIN32)
    int anchor = 0;  // Linux has no string resources
    EXPECT_EQ(load_res_string(&anchor, 16, &length), nullptr);
    EXPECT_EQ(load_res_string(&anchor, 17, nullptr), nullptr);
#endif
    EXPECT_EQ(length, 1234u);
    after_load_string(nullptr);
}

#if defined(_WIN32)
TEST(ResString, ReadsTheStringTableOfAModule) {
    HMODULE module = LoadLibraryW(L"zop_test_strings.dll");
    ASSERT_NE(module, nullptr) << "zop_test_strings.dll is built beside the tests";
    auto load = [&](unsigned id) -> std::wstring {
        unsigned int length = 0xDEAD;
        const wchar_t* s = load_res_string(module, id, &length);
        if (s == nullptr) {
            EXPECT_EQ(length, 0xDEADu) << "length changed for a missing string " << id;
            return L"<null>";
        }
        std::wstring text(s, length);
        after_load_string(s);
        return text;
    };
    // Block 2 holds 16, 17 and 31; empty slots and the missing blocks 1 and 3
    // give null.
    const std::pair<unsigned, const wchar_t*> cases[] = {
        {16, L"Sixteen"}, {17, L"Seventeen"}, {31, L"Last of block two"}, {18, L"<null>"}, {30, L"<null>"},
        {0, L"<null>"}, {15, L"<null>"}, {32, L"<null>"}, {0xFFFFFFFFu, L"<null>"}};
    for (const auto& c : cases) EXPECT_EQ(load(c.first), c.second) << c.first;
    // Strings are not terminated: the length is what bounds them.
    unsigned int length = 0;
    const wchar_t* s = load_res_string(module, 16, &length);
    EXPECT_EQ(load_res_string(module, 17, nullptr), s + length + 1);
    FreeLibrary(module);
}
#endif

}  // namespace
