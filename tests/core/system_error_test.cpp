#include <zop/core.h>
#include <zop/fs.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

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

TEST(SystemError, PrefixIsFollowedByTheSystemTextWithoutItsLineBreak) {
    const std::wstring raw = os_error_text(5);
    ASSERT_FALSE(raw.empty());
    ASSERT_EQ(raw.back(), L'\n') << "the system text is expected to end in a line break";
    EXPECT_EQ(system_error(L"Cannot create thread: ", 5), L"Cannot create thread: " + without_line_break(raw));
    EXPECT_EQ(system_error(L"", 2), without_line_break(os_error_text(2)));
}

TEST(SystemError, CodeWithoutTextGivesThePrefixAlone) {
    ASSERT_TRUE(os_error_text(kCodeWithoutText).empty());
    EXPECT_EQ(system_error(L"Cannot stop thread: ", kCodeWithoutText), L"Cannot stop thread: ");
    EXPECT_EQ(system_error(L"", kCodeWithoutText), L"");
    EXPECT_EQ(system_error(L"p", -1), L"p");
}

TEST(SystemError, ThrowIoExceptionAlwaysThrowsIOException) {
    for (int code : {2, 3, 5, 32}) {
        for (bool is_file : {true, false}) {
            try {
                SystemFile::throw_io_exception(code, is_file, L"x");
                FAIL() << "nothing thrown";
            } catch (const IOException& e) {
                // Not FileNotFoundException or DirectoryNotFoundException.
                EXPECT_EQ(typeid(e), typeid(IOException)) << code;
                EXPECT_EQ(e.message(), without_line_break(os_error_text(code)));
                EXPECT_EQ(e.cause(), nullptr);
            }
        }
    }
    EXPECT_EQ(zop_test::thrown<IOException>(
                  [] { SystemFile::throw_io_exception(kCodeWithoutText, true, L"C:\\missing.txt"); }),
              L"");
}

TEST(OsVersion, IsStableAndInTheNtFamily) {
    OSVersion first = running_os_version();
    // Wine and Linux both present themselves as a current NT system.
    EXPECT_GT(first, WindowsMe);
    EXPECT_EQ(running_os_version(), first);
}

TEST(ResString, NullModuleGivesNullAndKeepsTheLength) {
    unsigned int length = 1234;
    EXPECT_EQ(load_res_string(nullptr, 16, &length), nullptr);
    EXPECT_EQ(length, 1234u);
    after_load_string(nullptr);
}

#if defined(_WIN32)
class ResStringTable : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(L"zop_test_strings.dll");
        ASSERT_NE(module_, nullptr) << "zop_test_strings.dll is built beside the tests";
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    std::wstring load(unsigned id) {
        unsigned int length = 0xDEAD;
        const wchar_t* s = load_res_string(module_, id, &length);
        if (s == nullptr) {
            EXPECT_EQ(length, 0xDEADu) << "length changed for a missing string " << id;
            return L"<null>";
        }
        std::wstring text(s, length);
        after_load_string(s);
        return text;
    }
    HMODULE module_ = nullptr;
};

TEST_F(ResStringTable, ReadsStringsOfTheSecondBlock) {
    EXPECT_EQ(load(16), L"Sixteen");
    EXPECT_EQ(load(17), L"Seventeen");
    EXPECT_EQ(load(31), L"Last of block two");
    // Strings are not terminated: the length is what bounds them.
    unsigned int length = 0;
    const wchar_t* s = load_res_string(module_, 16, &length);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(length, 7u);
    EXPECT_EQ(load_res_string(module_, 17, nullptr), s + length + 1);
}

TEST_F(ResStringTable, EmptyOrMissingStringsGiveNull) {
    EXPECT_EQ(load(18), L"<null>");   // empty slot in an existing block
    EXPECT_EQ(load(30), L"<null>");
    EXPECT_EQ(load(0), L"<null>");    // block 1 does not exist
    EXPECT_EQ(load(15), L"<null>");
    EXPECT_EQ(load(32), L"<null>");   // block 3 does not exist
    EXPECT_EQ(load(0xFFFFFFFFu), L"<null>");
}
#else
TEST(ResString, LinuxHasNoStringResources) {
    unsigned int length = 7;
    int anchor = 0;
    EXPECT_EQ(load_res_string(&anchor, 16, &length), nullptr);
    EXPECT_EQ(load_res_string(&anchor, 17, nullptr), nullptr);
    EXPECT_EQ(length, 7u);
}
#endif

}  // namespace
