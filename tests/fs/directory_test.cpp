#include <zop/fs.h>
#include <zop/io.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using namespace zop;
using zop_test::TempDir;
using Names = std::vector<std::wstring>;

Names sorted(Names v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(Directory, RootsParentsAndNamesAreComputedFromText) {
    // "/" is the root of a drive-less system.
    for (const wchar_t* root : {L"C:\\", L"C:", L"\\\\srv\\share\\", L"/"}) {
        EXPECT_TRUE(Directory(root).is_root());
    }
    for (const wchar_t* dir : {L"C:\\a", L"\\\\srv\\share"}) EXPECT_FALSE(Directory(dir).is_root());
    EXPECT_EQ(zop_test::thrown<IOException>([&] { Directory(L"C:\\").parent(); }),
              L"Cannot get parent due to the directory is root");
    EXPECT_EQ(Directory(L"C:\\a").parent().full_name(), L"C:\\");
    EXPECT_EQ(Directory(L"C:\\a\\b\\").parent().full_name(), L"C:\\a");
    EXPECT_TRUE(Directory(L"/top").parent().is_root());
    EXPECT_EQ(Directory(L"C:\\a\\b").name(), L"b");
    EXPECT_EQ(Directory(L"C:\\a\\b\\").name(), L"b\\");
    EXPECT_EQ(Directory(L"C:\\").name(), L"C:\\");
}

TEST(Directory, CreateAndList) {
    TempDir tmp;
    Directory deep(tmp / L"x\\y\\z");
    EXPECT_FALSE(deep.exists());
    deep.create();
    EXPECT_TRUE(deep.exists());  // a record that found nothing stays stale
    EXPECT_NO_THROW(Directory(Path::path_root(tmp.path())).create());
    EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { Directory(tmp / L"bad|name").create(); }),
              L"Path contains invalid chars");
    // A file in the way stops the creation, and is no directory to list.
    zop_test::write_file(tmp / L"file", "f");
    EXPECT_THROW(Directory(tmp / L"file\\sub").create(), IOException);
    Names out;
    EXPECT_THROW(Directory(tmp / L"file").list(out, L"*"), DirectoryNotFoundException);

    // A subdirectory is named by the last component of the name given.
    Directory d(tmp / L"d");
    const std::wstring base = d.full_name();
    EXPECT_EQ(d.create_subdirectory(L"x\\sub").full_name(), base + L"\\sub");  // also creates d
    EXPECT_EQ(d.create_subdirectory(L"plain").full_name(), base + L"\\plain");
    EXPECT_THROW(d.create_subdirectory(L"\\sub"), IOException);  // "sub" exists now
    zop_test::write_file(tmp / L"d\\a.txt", "a");
    zop_test::write_file(tmp / L"d\\B.TXT", "b");
    zop_test::write_file(tmp / L"d\\sub\\inner.txt", "i");

    // Entries already in the list stay in front.
    auto listed = [&](void (Directory::*list)(Names&, const std::wstring&) const, const wchar_t* pattern) {
        Names kept{L"kept"};
        (d.*list)(kept, pattern);
        EXPECT_EQ(kept.front(), L"kept");
        return sorted(Names(kept.begin() + 1, kept.end()));
    };
    const Names files = sorted({base + L"\\B.TXT", base + L"\\a.txt"});
    const Names dirs{base + L"\\plain", base + L"\\sub"};
    EXPECT_EQ(listed(&Directory::list, L"*"), sorted({files[0], files[1], dirs[0], dirs[1]}));
    EXPECT_EQ(listed(&Directory::list_files, L"*"), files);
    EXPECT_EQ(listed(&Directory::list_dirs, L"*"), dirs);
    // Matching ignores ASCII case and takes '?' for one character.
    EXPECT_EQ(listed(&Directory::list, L"?.txt"), files);
    EXPECT_EQ(listed(&Directory::list, L"sub\\*"), Names{base + L"\\sub\\inner.txt"});
    // The empty pattern names the directory itself, found in its parent.
    const Names self = listed(&Directory::list, L"");
    ASSERT_EQ(self.size(), 1u);
    EXPECT_EQ(Path::file_name(self[0]), L"d");
    EXPECT_EQ(Path::directory_name(self[0]), Path::directory_name(base));

    EXPECT_THROW(d.list(out, L"nothing-matches-*.zzz"), IOException);
    EXPECT_EQ(zop_test::thrown<DirectoryNotFoundException>(
                  [&] { Directory(tmp / L"missing").list(out, L"*"); }),
              L"The directory '" + Directory(tmp / L"missing").full_name() + L"' not found.");
    EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { d.list(out, L"a<b\\*"); }),
              L"Path contains invalid characters");
    EXPECT_TRUE(out.empty());
}

TEST(Directory, RemoveAndRemoveTree) {
    TempDir tmp;
    Directory root(tmp / L"tree");
    for (const wchar_t* dir : {L"tree", L"tree\\a", L"tree\\a\\b\\c", L"tree\\a\\d", L"tree\\e"}) {
        zop_test::make_dir(tmp / dir);
        zop_test::write_file(tmp / dir + L"\\f.txt", "data");
    }
    // A read-only file stops the removal, and stays.
    File(tmp / L"tree\\a\\d\\f.txt").readonly(true);
    EXPECT_EQ(zop_test::thrown<IOException>([&] { root.remove_tree(); }) + L"\r\n",
              zop_test::os_error_text(5));
    EXPECT_TRUE(zop_test::entry_exists(tmp / L"tree\\a\\d\\f.txt"));
    File(tmp / L"tree\\a\\d\\f.txt").readonly(false);
    root.remove_tree();
    EXPECT_FALSE(zop_test::entry_exists(root.full_name()));
    EXPECT_THROW(root.remove_tree(), DirectoryNotFoundException);
    // An empty directory goes by remove; a missing one is an error.
    root.create();
    root.remove();
    EXPECT_FALSE(zop_test::entry_exists(root.full_name()));
    EXPECT_THROW(root.remove(), IOException);

    // Files that vanish while the tree is removed are no errors.
    zop_test::make_dir(tmp / L"big");
    for (int i = 0; i < 400; ++i) zop_test::write_file(tmp / (L"big\\f" + std::to_wstring(i)), "x");
    std::thread rival([&] {
        // Once the directory itself is gone, removals fail: that ends the race.
        try {
            for (int i = 399; i >= 0; --i) File(tmp / (L"big\\f" + std::to_wstring(i))).remove();
        } catch (const IOException&) {
        }
    });
    EXPECT_NO_THROW(Directory(tmp / L"big").remove_tree());
    rival.join();
    EXPECT_FALSE(zop_test::entry_exists(tmp / L"big"));
}

// Wine cannot create symbolic links itself, but shows those of the Linux
// side as reparse points.  tests/fs_links_wine.sh prepares such a tree, runs
// this test under Wine, and checks afterwards that the links' targets are
// intact; without the prepared tree there is nothing to do.  Wine 8 can
// delete neither kind of Linux link (RemoveDirectoryW and DeleteFileW both
// refuse), so there the removal may stop at a link with an IOException;
// what matters is that it never descends through one.
TEST(Directory, RemoveTreeOfPreparedLinks) {
    const char* tree = std::getenv("ZOP_PREPARED_LINK_TREE");
    if (tree == nullptr) GTEST_SKIP() << "run by tests/fs_links_wine.sh only";
    const std::wstring path(tree, tree + std::strlen(tree));
    Directory d(path);
    ASSERT_TRUE(d.exists());
    try {
        d.remove_tree();
        EXPECT_FALSE(zop_test::entry_exists(path));
    } catch (const IOException& e) {
        std::printf("removal stopped at a link: %s\n", zop_test::narrow(e.message()).c_str());
    }
}

// A tree past the 260 characters that Windows takes without the prefix
// "\\?\"; the file is named with a slash and a "." that the long form must
// resolve as a short path's.
TEST(Directory, TreesPastTheClassicPathLimit) {
    TempDir tmp;
    std::wstring deep = tmp.path();
    for (wchar_t c = L'a'; deep.size() < 400; ++c) deep += L"\\" + std::wstring(50, c);
    Directory(deep).create();
    FileOutputStream(deep + L"/./data.bin", CREATE, NONE).write(77);
    EXPECT_EQ(FileInputStream(deep + L"/./data.bin", READ).read(), 77);
    const File file(deep + L"\\data.bin");
    EXPECT_EQ(file.length(), 1);
    Names found;
    Directory(deep).list_files(found, L"*.bin");
    EXPECT_EQ(found, Names{file.full_name()});
    Directory(tmp / std::wstring(50, L'a')).remove_tree();
    EXPECT_FALSE(zop_test::entry_exists(tmp / std::wstring(50, L'a')));
}

}  // namespace
