#include <zop/fs.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace zop;

TEST(Path, Constants) {
    EXPECT_EQ(Path::separator, L'\\');
    EXPECT_EQ(Path::alt_separator, L'/');
    EXPECT_EQ(Path::volume_separator, L':');
    EXPECT_EQ(Path::path_separator, L';');
    EXPECT_EQ(std::wstring(Path::separator_chars), L"\\/");
    const std::wstring invalid(Path::invalid_path_chars);
    ASSERT_EQ(invalid.size(), 15u);
    EXPECT_EQ(invalid.substr(0, 4), L"\"<>|");
    EXPECT_EQ(invalid[4], wchar_t(0x08));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(invalid[5 + i], wchar_t(0x10 + i));
}

TEST(Path, IsAbsolutePath) {
    EXPECT_FALSE(Path::is_absolute_path(L""));
    EXPECT_FALSE(Path::is_absolute_path(L"C"));
    EXPECT_FALSE(Path::is_absolute_path(L"a\\b"));
    EXPECT_TRUE(Path::is_absolute_path(L"C:"));
    EXPECT_TRUE(Path::is_absolute_path(L"/x"));
    EXPECT_TRUE(Path::is_absolute_path(L"\\"));
    EXPECT_TRUE(Path::is_absolute_path(L"x:y"));
}

TEST(Path, Combine) {
    EXPECT_EQ(Path::combine(L"", L"b"), L"b");
    EXPECT_EQ(Path::combine(L"a", L""), L"a");
    EXPECT_EQ(Path::combine(L"a", L"\\b"), L"\\b");
    EXPECT_EQ(Path::combine(L"a", L"C:b"), L"C:b");
    EXPECT_EQ(Path::combine(L"a\\", L"b"), L"a\\b");
    EXPECT_EQ(Path::combine(L"a/", L"b"), L"a/b");
    EXPECT_EQ(Path::combine(L"a", L"b"), L"a\\b");
    EXPECT_EQ(Path::combine(L"a\\\\", L"..\\b"), L"a\\\\..\\b");
}

TEST(Path, MakeFullPathRejectsBadForms) {
    for (const wchar_t* p : {L"", L"   "}) {
        try {
            Path::make_full_path(p);
            FAIL() << "accepted an empty path";
        } catch (const ArgumentException& e) {
            EXPECT_EQ(e.message(), L"The parameter path is not of a legal form");
        }
    }
    for (const wchar_t* p : {L"\\\\", L"\\\\server", L"/\\server\\share", L"//server"}) {
        try {
            Path::make_full_path(p);
            FAIL() << "accepted a malformed UNC path";
        } catch (const ArgumentException& e) {
            EXPECT_EQ(e.message(), L"UNC path should be of the form \\\\server\\share.");
        }
    }
}

TEST(Path, MakeFullPathKeepsUncDriveAndDotPaths) {
    EXPECT_EQ(Path::make_full_path(L"\\\\server\\share"), L"\\\\server\\share");
    EXPECT_EQ(Path::make_full_path(L"//server/share"), L"\\\\server\\share");
    EXPECT_EQ(Path::make_full_path(L"\\/server\\x"), L"\\/server\\x");
    EXPECT_THROW(Path::make_full_path(L"\\/server/x"), ArgumentException);
    EXPECT_EQ(Path::make_full_path(L"D:x"), L"D:x");
    EXPECT_EQ(Path::make_full_path(L"C:\\a\\..\\b"), L"C:\\a\\..\\b");
    EXPECT_EQ(Path::make_full_path(L"\\"), L"\\");
    EXPECT_EQ(Path::make_full_path(L"/"), L"/");
    for (const wchar_t* p : {L".", L"..", L"..\\a", L".\\x", L".name"}) {
        EXPECT_EQ(Path::make_full_path(p), p);
    }
}

TEST(Path, MakeFullPathUsesTheCurrentDirectory) {
    const std::wstring cur = Path::current_path();
    ASSERT_FALSE(cur.empty());
    EXPECT_EQ(Path::make_full_path(L"a\\b"), cur + L"\\a\\b");
    EXPECT_EQ(Path::make_full_path(L" a "), cur + L"\\ a ");
    if (cur.size() >= 2 && cur[1] == L':') {
        EXPECT_EQ(Path::make_full_path(L"\\a"), cur.substr(0, 2) + L"\\a");
    } else {
        // A POSIX current directory has no drive: rooted paths are complete.
        EXPECT_EQ(Path::make_full_path(L"\\a"), L"\\a");
    }
}

TEST(Path, PathRoot) {
    EXPECT_EQ(Path::path_root(L""), L"");
    EXPECT_EQ(Path::path_root(L"x\\y"), L"");
    EXPECT_EQ(Path::path_root(L"\\"), L"\\");
    EXPECT_EQ(Path::path_root(L"/a/b"), L"\\");
    EXPECT_EQ(Path::path_root(L"\\\\"), L"\\\\\\");
    EXPECT_EQ(Path::path_root(L"\\\\srv\\share\\dir\\f"), L"\\\\srv\\share\\");
    EXPECT_EQ(Path::path_root(L"//srv/share/dir"), L"\\\\srv\\share\\");
    EXPECT_EQ(Path::path_root(L"\\\\srv"), L"\\\\srv\\");
    EXPECT_EQ(Path::path_root(L"\\\\srv\\share"), L"\\\\srv\\share\\");
    EXPECT_EQ(Path::path_root(L"C:\\x"), L"C:\\");
    EXPECT_EQ(Path::path_root(L"C:/x"), L"C:/");
    EXPECT_EQ(Path::path_root(L"C:x"), L"C:");
    EXPECT_EQ(Path::path_root(L"C:"), L"C:");
}

TEST(Path, FileName) {
    EXPECT_EQ(Path::file_name(L""), L"");
    EXPECT_EQ(Path::file_name(L"C:\\a\\b.txt"), L"b.txt");
    EXPECT_EQ(Path::file_name(L"C:/a/b.txt"), L"b.txt");
    EXPECT_EQ(Path::file_name(L"b.txt"), L"");
    EXPECT_EQ(Path::file_name(L"/"), L"");
    EXPECT_EQ(Path::file_name(L"C:\\dir\\"), L"dir\\");
    EXPECT_EQ(Path::file_name(L"C:/dir/"), L"");
    EXPECT_THROW(Path::file_name(L"\\"), OutOfRangeException);
}

TEST(Path, DirectoryName) {
    EXPECT_THROW(
        {
            try {
                Path::directory_name(L"");
            } catch (const ArgumentException& e) {
                EXPECT_EQ(e.message(), L"path");
                throw;
            }
        },
        ArgumentException);
    EXPECT_THROW(Path::directory_name(L"/"), OutOfRangeException);
    EXPECT_EQ(Path::directory_name(L"a\\b"), L"");
    EXPECT_EQ(Path::directory_name(L"ab\\c"), L"ab");
    EXPECT_EQ(Path::directory_name(L"\\a"), L"");
    EXPECT_EQ(Path::directory_name(L"abc"), L"");
    for (const wchar_t* root : {L"C:", L"C:\\", L"\\", L"\\\\srv\\share\\"}) {
        EXPECT_EQ(Path::directory_name(root), root);
    }
    EXPECT_EQ(Path::directory_name(L"C:\\a"), L"C:\\");
    EXPECT_EQ(Path::directory_name(L"C:\\a\\b.txt"), L"C:\\a");
    EXPECT_EQ(Path::directory_name(L"C:\\a\\"), L"C:\\");
    EXPECT_EQ(Path::directory_name(L"C:/a/b/"), L"C:/a");
    EXPECT_EQ(Path::directory_name(L"\\\\srv\\share\\f"), L"\\\\srv\\share");
    EXPECT_EQ(Path::directory_name(L"\\\\srv\\share"), L"\\\\srv");
    EXPECT_EQ(Path::directory_name(L"/usr/lib/x.so"), L"/usr/lib");
}

TEST(Path, ExtensionName) {
    EXPECT_EQ(Path::extension_name(L""), L"");
    EXPECT_EQ(Path::extension_name(L"a.txt"), L".txt");
    EXPECT_EQ(Path::extension_name(L"a.b.c"), L".c");
    EXPECT_EQ(Path::extension_name(L".profile"), L".profile");
    EXPECT_EQ(Path::extension_name(L"a."), L"");
    EXPECT_EQ(Path::extension_name(L"dir.d\\file"), L"");
    EXPECT_EQ(Path::extension_name(L"dir.d/file"), L"");
    EXPECT_EQ(Path::extension_name(L"dir\\f.x"), L".x");
}

TEST(Path, ChangeExtension) {
    auto changed = [](std::wstring path, const std::wstring& ext) {
        Path::change_extension(path, ext);
        return path;
    };
    EXPECT_EQ(changed(L"a.txt", L"doc"), L"a.doc");
    EXPECT_EQ(changed(L"a", L".doc"), L"a.doc");
    EXPECT_EQ(changed(L"a.", L"doc"), L"a.doc");
    EXPECT_EQ(changed(L"dir.d\\file", L"x"), L"dir.d\\file.x");
    EXPECT_EQ(changed(L"a", L""), L"a.");
    EXPECT_EQ(changed(L"", L"x"), L".x");
    EXPECT_EQ(changed(L"a.b", L"<"), L"a.<");  // the extension is not checked

    std::wstring bad = L"a<b";
    try {
        Path::change_extension(bad, L"x");
        FAIL() << "accepted an illegal character";
    } catch (const ArgumentException& e) {
        EXPECT_EQ(e.message(), L"Illegal characters in path");
    }
    EXPECT_EQ(bad, L"a<b");
    std::wstring control = std::wstring(L"a") + wchar_t(0x19) + L".txt";
    EXPECT_THROW(Path::change_extension(control, L"x"), ArgumentException);
}

TEST(Path, IsValidPath) {
    EXPECT_TRUE(Path::is_valid_path(L""));
    EXPECT_FALSE(Path::is_valid_path(L"a/b"));
    EXPECT_FALSE(Path::is_valid_path(L"C:\\a:b"));
    EXPECT_TRUE(Path::is_valid_path(L"C:\\a"));
    EXPECT_FALSE(Path::is_valid_path(L"ab:c"));
    EXPECT_TRUE(Path::is_valid_path(L"a:b"));
    for (const wchar_t* p : {L"a\"", L"a<", L"a>", L"a|", L"a*", L"a?"}) {
        EXPECT_FALSE(Path::is_valid_path(p)) << *p;
    }
    EXPECT_TRUE(Path::is_valid_path(std::wstring(L"a") + wchar_t(0x10)));
}

TEST(Path, CurrentModulePathHoldsTheTestProgram) {
    const std::wstring dir = Path::current_module_path();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(Path::is_absolute_path(dir));
    // The test programs are built into a folder named bin.
    EXPECT_EQ(Path::file_name(dir), L"bin") << dir.size();
}

}  // namespace
