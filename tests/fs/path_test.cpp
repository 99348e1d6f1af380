#include <zop/fs.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using namespace zop;
using zop_test::thrown;
using Cases = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;

// Checks `f(input) == expected` for each row.
template <typename F>
void expect_each(F f, Cases cases) {
    for (const auto& c : cases) EXPECT_EQ(f(c.first), c.second) << zop_test::narrow(c.first);
}

TEST(Path, IsAbsoluteIsValidAndCombine) {
    for (const wchar_t* p : {L"", L"C", L"a\\b"}) EXPECT_FALSE(Path::is_absolute_path(p));
    for (const wchar_t* p : {L"C:", L"/x", L"\\", L"x:y"}) EXPECT_TRUE(Path::is_absolute_path(p));
    for (const wchar_t* p : {L"", L"C:\\a", L"a:b", L"a\x10", L"::"}) EXPECT_TRUE(Path::is_valid_path(p));
    for (const wchar_t* p : {L"a/b", L"C:\\a:b", L"ab:c", L"a\"", L"a<", L"a>", L"a|", L"a*", L"a?", L":a"}) {
        EXPECT_FALSE(Path::is_valid_path(p)) << zop_test::narrow(p);
    }
    const wchar_t* cases[][3] = {{L"", L"b", L"b"}, {L"a", L"", L"a"}, {L"a", L"\\b", L"\\b"},
                                 {L"a", L"C:b", L"C:b"}, {L"a\\", L"b", L"a\\b"}, {L"a/", L"b", L"a/b"},
                                 {L"a", L"b", L"a\\b"}, {L"a\\\\", L"..\\b", L"a\\\\..\\b"}};
    for (const auto& c : cases) EXPECT_EQ(Path::combine(c[0], c[1]), c[2]) << zop_test::narrow(c[0]);
}

// The rules themselves are in the table of CompletePath (platform_test.cpp);
// here the errors and the real current and module directories.
TEST(Path, MakeFullPathAndModulePath) {
    for (const wchar_t* p : {L"", L"   "}) {
        EXPECT_EQ(thrown<ArgumentException>([&] { Path::make_full_path(p); }),
                  L"The parameter path is not of a legal form");
    }
    for (const wchar_t* p : {L"\\\\", L"\\\\server", L"/\\server\\share", L"//server", L"\\/server/x"}) {
        EXPECT_EQ(thrown<ArgumentException>([&] { Path::make_full_path(p); }),
                  L"UNC path should be of the form \\\\server\\share.");
    }
    const std::wstring cur = Path::current_path();
    ASSERT_FALSE(cur.empty());
    EXPECT_EQ(Path::make_full_path(L" a "), cur + L"\\ a ");
    // The test programs are built into a folder named bin.
    const std::wstring module_dir = Path::current_module_path();
    EXPECT_TRUE(Path::is_absolute_path(module_dir));
    EXPECT_EQ(Path::file_name(module_dir), L"bin") << module_dir.size();
}

TEST(Path, PathRoot) {
    expect_each(Path::path_root,
                {{L"", L""}, {L"x\\y", L""}, {L"\\", L"\\"}, {L"/a/b", L"\\"}, {L"\\\\", L"\\\\\\"},
                 {L"\\\\srv\\share\\dir\\f", L"\\\\srv\\share\\"}, {L"//srv/share/dir", L"\\\\srv\\share\\"},
                 {L"\\\\srv", L"\\\\srv\\"}, {L"\\\\srv\\share", L"\\\\srv\\share\\"},
                 {L"C:\\x", L"C:\\"}, {L"C:/x", L"C:/"}, {L"C:x", L"C:"}, {L"C:", L"C:"}});
}

TEST(Path, FileAndDirectoryNames) {
    expect_each(Path::file_name, {{L"", L""}, {L"C:\\a\\b.txt", L"b.txt"}, {L"C:/a/b.txt", L"b.txt"},
                                  {L"b.txt", L""}, {L"/", L""}, {L"C:\\dir\\", L"dir\\"}, {L"C:/dir/", L""}});
    EXPECT_THROW(Path::file_name(L"\\"), OutOfRangeException);
    EXPECT_EQ(thrown<ArgumentException>([] { Path::directory_name(L""); }), L"path");
    EXPECT_THROW(Path::directory_name(L"/"), OutOfRangeException);
    // Roots are their own directory.
    expect_each(Path::directory_name,
                {{L"a\\b", L""}, {L"ab\\c", L"ab"}, {L"\\a", L""}, {L"abc", L""}, {L"C:", L"C:"},
                 {L"C:\\", L"C:\\"}, {L"\\", L"\\"}, {L"\\\\srv\\share\\", L"\\\\srv\\share\\"},
                 {L"C:\\a", L"C:\\"}, {L"C:\\a\\b.txt", L"C:\\a"}, {L"C:\\a\\", L"C:\\"},
                 {L"C:/a/b/", L"C:/a"}, {L"\\\\srv\\share\\f", L"\\\\srv\\share"},
                 {L"\\\\srv\\share", L"\\\\srv"}, {L"/usr/lib/x.so", L"/usr/lib"}});
}

TEST(Path, Extensions) {
    expect_each(Path::extension_name,
                {{L"", L""}, {L"a.txt", L".txt"}, {L"a.b.c", L".c"}, {L".profile", L".profile"},
                 {L"a.", L""}, {L"dir.d\\file", L""}, {L"dir.d/file", L""}, {L"dir\\f.x", L".x"}});
    // Rows: path, new extension, result; the extension itself is not checked.
    const wchar_t* changes[][3] = {{L"a.txt", L"doc", L"a.doc"}, {L"a", L".doc", L"a.doc"},
                                   {L"a.", L"doc", L"a.doc"}, {L"dir.d\\file", L"x", L"dir.d\\file.x"},
                                   {L"a", L"", L"a."}, {L"", L"x", L".x"}, {L"a.b", L"<", L"a.<"},
                                   {L".profile", L"x", L".x"}};
    for (const auto& c : changes) {
        std::wstring path = c[0];
        Path::change_extension(path, c[1]);
        EXPECT_EQ(path, c[2]);
    }
    // The characters of invalid_path_chars, and only those, leave the path
    // as it was with an exception.
    for (wchar_t c = 1; c < 0x80; ++c) {
        const std::wstring before = std::wstring(L"a") + c + L".txt";
        std::wstring path = before;
        const bool invalid = std::wstring(L"\"<>|\x08").find(c) != std::wstring::npos || (c >= 0x10 && c <= 0x19);
        try {
            Path::change_extension(path, L"x");
            EXPECT_FALSE(invalid) << int(c);
        } catch (const ArgumentException& e) {
            EXPECT_TRUE(invalid) << int(c);
            EXPECT_EQ(e.message(), L"Illegal characters in path");
            EXPECT_EQ(path, before);
        }
    }
}

}  // namespace
