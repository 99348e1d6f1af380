// Linux names that Windows cannot hold, and a tree removal that must never
// leave its tree: hostile names, links, link loops and a racing swapper.
#include <zop/fs.h>
#include <zop/io.h>

#include "sys/posix/utf8_path.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>

namespace {

using namespace zop;
using zop::sys::posix::to_system_path;
using zop_test::TempDir;
namespace fs = std::filesystem;

std::string bytes(const std::wstring& path) { std::string s; EXPECT_TRUE(to_system_path(path, s)); return s; }

void make_file(const std::string& path, const std::string& content = "x") {
    std::ofstream out(path, std::ios::binary);
    ASSERT_TRUE(out << content) << path;
}

bool present(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

// Hostile names and 300 random byte names in a tree with links out of it:
// each entry listed opens the file of its name, and the removal never
// leaves the tree (the escapes themselves are NamesMapBothWays').  Last,
// the root of the system lists and names itself as "/".
TEST(TreePosix, HostileNamesListInsideAndNeverRedirectRemoval) {
    TempDir tmp;
    const std::string root = bytes(tmp.path());
    for (const char* dir : {"/outside", "/cwd", "/tree/sub"}) fs::create_directories(root + dir);
    const std::string canary = root + "/outside/canary";
    make_file(canary);
    make_file(root + "/cwd/a:b");  // what "a:b" read as a relative path names
    // Names that spell absolute paths (the canary's, with backslashes),
    // drives, parents and wildcards as Windows reads them, a name that
    // matches a file of the current directory, and the UTF-8 of U+F03A, the
    // image of ':'.  The random names bring control characters, the other
    // characters Windows forbids and bytes that are not UTF-8.
    std::string backslashed = canary;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    std::set<std::string> names{backslashed, "a:b", "C:x", "..\\..\\x", "*", "?.?", "\\", "\xEF\x80\xBA"};
    std::mt19937 rng(20261206);
    while (names.size() < 308) {
        std::string name(1 + rng() % 10, ' ');
        for (char& c : name) c = static_cast<char>(1 + rng() % 255);
        name.erase(std::remove(name.begin(), name.end(), '/'), name.end());
        if (!name.empty() && name != "." && name != ".." && name != "sub") names.insert(name);
    }
    for (const std::string& name : names) {
        make_file(root + "/tree/" + name, name);
        make_file(root + "/tree/sub/" + name, name);
    }
    // Links out of the tree, up, and in a loop: removed as links.
    const std::pair<const char*, const char*> links[] = {
        {"loop_b", "loop_a"}, {"loop_a", "loop_b"}, {"..", "up"}, {"../../outside", "out"},
        {"../../outside/canary", "canary_link"}};
    for (const auto& link : links) fs::create_symlink(link.first, root + "/tree/sub/" + link.second);
    const fs::path old_cwd = fs::current_path();
    fs::current_path(root + "/cwd");

    Directory tree(tmp / L"tree");
    std::vector<std::wstring> listed;
    tree.list_files(listed, L"*");
    std::set<std::string> seen;
    for (const std::wstring& entry : listed) {
        const std::string name = bytes(Path::file_name(entry));
        std::string content(name.size(), '\0');
        FileInputStream in(entry, READ);
        EXPECT_EQ(in.read(reinterpret_cast<unsigned char*>(&content[0]), static_cast<int>(content.size())),
                  static_cast<int>(content.size()));
        EXPECT_EQ(content, name);
        seen.insert(name);
    }
    EXPECT_EQ(listed.size(), names.size());
    EXPECT_EQ(seen, names);
    listed.clear();
    tree.list_dirs(listed, L"*");
    EXPECT_EQ(listed, std::vector<std::wstring>{tree.full_name() + L"\\sub"});

    tree.remove_tree();
    fs::current_path(old_cwd);
    EXPECT_FALSE(present(root + "/tree"));
    EXPECT_TRUE(present(canary));
    EXPECT_TRUE(present(root + "/cwd/a:b"));
    // A tree that is itself a link: only the link goes.
    fs::create_symlink("outside", root + "/alias");
    Directory(tmp / L"alias").remove_tree();
    EXPECT_FALSE(present(root + "/alias"));
    EXPECT_TRUE(present(canary));

    // The root lists its entries under "/", and names itself.
    listed.clear();
    Directory(L"/").list(listed, L"*");
    EXPECT_NE(std::find(listed.begin(), listed.end(), L"/tmp"), listed.end());
    listed.clear();
    Directory(L"/tmp").list(listed, L"");
    EXPECT_EQ(listed, std::vector<std::wstring>{L"/tmp"});
}

// A rival keeps exchanging a subdirectory of the tree with a link to a
// canary directory (atomically, renameat2 RENAME_EXCHANGE) while the tree
// is removed.  Whatever the removal meets, the canaries stay.
TEST(TreePosix, SwappingADirectoryForALinkNeverLeadsOutside) {
    TempDir tmp;
    const std::string root = bytes(tmp.path());
    const std::string canaries = root + "/canaries";
    fs::create_directory(canaries);
    constexpr int kCanaries = 20;
    for (int i = 0; i < kCanaries; ++i) make_file(canaries + "/c" + std::to_string(i));
    for (int round = 0; round < 150; ++round) {
        const std::string tree = root + "/tree";
        fs::create_directories(tree + "/sub");
        for (int i = 0; i < 20; ++i) make_file(tree + "/sub/f" + std::to_string(i));
        fs::create_directory_symlink(canaries, root + "/swap");
        std::atomic<bool> stop{false};
        std::atomic<int> swaps{0};
        std::thread rival([&] {
            const std::string sub = tree + "/sub", swap = root + "/swap";
            while (!stop) {
                if (::renameat2(AT_FDCWD, sub.c_str(), AT_FDCWD, swap.c_str(), RENAME_EXCHANGE) == 0) ++swaps;
            }
        });
        while (swaps < 1 + round % 7) std::this_thread::yield();  // the rival is running
        try {
            Directory(tmp / L"tree").remove_tree();
        } catch (const IOException&) {
            // The rival may win a race; it may never lead outside.
        }
        stop = true;
        rival.join();
        ASSERT_EQ(std::distance(fs::directory_iterator(canaries), fs::directory_iterator()), kCanaries)
            << "round " << round;
        // Whichever of the two is the link now, it goes as a link.
        fs::remove_all(tree);
        fs::remove_all(root + "/swap");
    }
}

}  // namespace
