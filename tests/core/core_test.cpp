// The exception classes, the system's error texts, string resources and
// the string utilities.
#include <zop/core.h>
#include <zop/fs.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

using namespace zop;

// Every constructor of every class, through sliced copies, which keep what
// the constructor stored; the parameter name stays out of the text.
TEST(Exception, MessagesAndCausesOfEveryConstructor) {
    IOException root(L"disk");
    const struct {
        Exception e;
        const wchar_t* message;
        const Exception* cause;
    } cases[] = {
        {Exception(), L"", nullptr}, {ArgumentException(), L"", nullptr}, {OutOfRangeException(), L"", nullptr},
        {InstantiationException(), L"", nullptr}, {ClassFoundException(), L"", nullptr},
        {OutOfMemoryException(), L"Out of memory", nullptr},
        {InvalidOperationException(), L"Invalid operation exception", nullptr},
        {FormatException(), L"Invalid format", nullptr}, {IOException(), L"I/O exception", nullptr},
        {FileNotFoundException(), L"File not found", nullptr},
        {DirectoryNotFoundException(), L"Directory not found", nullptr},
        {EOFException(), L"Have reached the end of file", nullptr},
        {Exception(L"m"), L"m", nullptr}, {Exception(L"m", &root), L"m", &root}, {Exception(&root), L"", &root},
        {ArgumentException(L"m"), L"m", nullptr}, {ArgumentException(L"m", L"param"), L"m", nullptr},
        {OutOfRangeException(L"m"), L"m", nullptr}, {OutOfMemoryException(L"m"), L"m", nullptr},
        {InvalidOperationException(L"m"), L"m", nullptr}, {InvalidOperationException(L"m", &root), L"m", &root},
        {FormatException(L"m"), L"m", nullptr}, {FormatException(L"m", &root), L"m", &root},
        {InstantiationException(L"m"), L"m", nullptr}, {InstantiationException(L"m", &root), L"m", &root},
        {ClassFoundException(L"m"), L"m", nullptr}, {IOException(L"m"), L"m", nullptr},
        {FileNotFoundException(L"m"), L"m", nullptr}, {DirectoryNotFoundException(L"m"), L"m", nullptr},
        {EOFException(L"m"), L"m", nullptr}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.e.message(), c.message) << &c - cases;
        EXPECT_EQ(c.e.to_string(), c.message) << &c - cases;
        EXPECT_EQ(c.e.cause(), c.cause) << &c - cases;
        EXPECT_EQ(c.e.base_exception(), c.cause != nullptr ? c.cause : &c.e) << &c - cases;
    }
}

// A subclass of the kind applications write reaches the protected setters.
TEST(Exception, BaseExceptionFollowsTheWholeChain) {
    struct AppException : Exception {
        using Exception::cause;
        using Exception::message;
    };
    Exception c(L"C");
    Exception b(L"B", &c);
    AppException a;
    a.message(L"A");
    a.cause(&b);
    EXPECT_EQ(a.message(), L"A");
    EXPECT_EQ(a.base_exception(), &c);
    a.cause(nullptr);
    EXPECT_EQ(a.base_exception(), &a);
}

template <typename Thrown>
bool caught_as_io(const Thrown& e) {
    try {
        throw e;
    } catch (const IOException&) {
        return true;
    } catch (const Exception&) {
        return false;
    }
}

TEST(Exception, HandlersMatchTheHierarchyAcrossTheLibraryBoundary) {
    EXPECT_TRUE(caught_as_io(EOFException()));
    EXPECT_TRUE(caught_as_io(DirectoryNotFoundException()));
    EXPECT_TRUE(caught_as_io(FileNotFoundException()));
    EXPECT_FALSE(caught_as_io(ArgumentException()));
    // Thrown inside the library, caught here.
    EXPECT_EQ(zop_test::thrown<OutOfRangeException>([] { find_any(L"", 1, L"x"); }),
              L"The off out of the string range");
}

using Pieces = std::vector<std::wstring>;

TEST(StringUtils, FindAnyForwardAndBackwardFromTheOffset) {
    // Rows: text, offset, characters, forward result, backward result; -2
    // stands for OutOfRangeException.
    const std::wstring pair{L'x', wchar_t(0xD83D), wchar_t(0xDE00)};
    const struct {
        std::wstring text;
        unsigned off;
        std::wstring chars;
        int forward, backward;
    } cases[] = {{L"a,b;c", 0, L",;", 1, -1},     {L"a,b;c", 2, L",;", 3, 1},  {L"a,b;c", 3, L",;", 3, 3},
                 {L"a,b;c", 4, L",;", -1, 3},     {L"a,b;c", 5, L",;", -1, -2}, {L"a,b;c", 6, L",;", -2, -2},
                 {L"a,b;c", 0, L"", -1, -1},      {L",", 0, L",", 0, 0},        {L"", 0, L",", -1, -2},
                 {L"", 1, L",", -2, -2},          {L"a,b;c", 0xFFFFFFFFu, L",", -2, -2},
                 {L"ab", 0, std::wstring(1, L'\0'), -1, -1},  // nothing is read past the end
                 {pair, 0, std::wstring(1, wchar_t(0xDE00)), 2, -1}};  // surrogates are plain units
    for (const auto& c : cases) {
        auto run = [&](int (*f)(const std::wstring&, unsigned, const std::wstring&)) {
            try {
                return f(c.text, c.off, c.chars);
            } catch (const OutOfRangeException&) {
                return -2;
            }
        };
        EXPECT_EQ(run(find_any), c.forward) << c.off;
        EXPECT_EQ(run(find_last_of_any), c.backward) << c.off;
    }
}

TEST(StringUtils, TrimReplaceAndSplit) {
    // Only spaces, only at the ends.
    for (const auto& c : {std::make_pair(L"  ab c  ", L"ab c"), {L"\tab\t", L"\tab\t"}, {L"    ", L""},
                          {L"", L""}, {L" \n x", L"\n x"}, {L"x", L"x"}}) {
        EXPECT_EQ(trim(c.first), c.second);
    }
    EXPECT_EQ(replace_char(L"a/b/c", L'/', L'\\'), L"a\\b\\c");
    EXPECT_EQ(replace_char(L"abc", L'x', L'y'), L"abc");
    // Pieces are appended as the separators fall; the vector is never cleared.
    auto split = [](const wchar_t* text, const wchar_t* separators) {
        Pieces p{L"kept"};
        split_string(text, p, separators);
        return p;
    };
    EXPECT_EQ(split(L",a,,b,", L","), (Pieces{L"kept", L"", L"a", L"", L"b"}));
    EXPECT_EQ(split(L"a;b,c", L";,"), (Pieces{L"kept", L"a", L"b", L"c"}));
    EXPECT_EQ(split(L"abc", L""), (Pieces{L"kept", L"abc"}));
    EXPECT_EQ(split(L",,", L","), (Pieces{L"kept", L"", L""}));
    EXPECT_EQ(split(L"", L","), (Pieces{L"kept"}));
}

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
