// One battery of calls whose answers both builds must share, written as a
// transcript: one line per case, "section key<TAB>answer".  The test command
// runs it natively and under Wine and compares the two transcripts
// (tests/transcript/compare.sh); the lines allowed to differ are listed in
// tests/transcript/allowed_differences.txt with their reasons.
#include <zop/zop.h>

// The codes, plain data shared by both builds.
#include "sys/posix/english_messages.h"

#include "support/test_support.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace zop;

std::FILE* g_out = nullptr;
// The temporary directory's path and name as show() writes them; lines
// say "T" and "N" instead.
std::string g_root, g_name;

// Printable ASCII as it is; every other unit as \uXXXX, so that both
// builds write the same bytes whatever their wchar_t.
std::string show(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        auto u = static_cast<unsigned long>(c);
        if (u >= 0x20 && u < 0x7F && u != '\\') {
            out.push_back(static_cast<char>(u));
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, u == '\\' ? "\\\\" : "\\u%04lX", u);
            out += buf;
        }
    }
    return out;
}

void line(const char* section, const std::string& key, std::string answer) {
    for (const auto& [from, to] : {std::make_pair(g_root, "T"), std::make_pair(g_name, "N")}) {
        for (std::size_t at; !from.empty() && (at = answer.find(from)) != std::string::npos;) {
            answer.replace(at, from.size(), to);
        }
    }
    std::fprintf(g_out, "%s %s\t%s\n", section, key.c_str(), answer.c_str());
}

std::string num(long long v) { return std::to_string(v); }

// "#code" for a message that is the system's text of a known code, so that
// failures compare by code (Wine words the messages its own way).
std::string shown_message(const std::wstring& message) {
    for (const auto& m : sys::posix::kEnglishMessages) {
        const int code = static_cast<int>(m.code);
        if (code != 0 && system_error(L"", code) == message) return "#" + std::to_string(code);
    }
    return show(message);
}

// The answer of a call, or the class and message of the exception it threw.
template <typename F>
std::string answer(F&& call) {
    try {
        return call();
    } catch (const DirectoryNotFoundException& e) {
        return "!DirectoryNotFound:" + show(e.message());
    } catch (const IOException& e) {
        return "!IO:" + shown_message(e.message());
    } catch (const ArgumentException& e) {
        return "!Argument:" + show(e.message());
    } catch (const Exception& e) {
        return "!Exception:" + show(e.message());
    }
}

std::string names(std::vector<std::wstring> listed) {
    std::sort(listed.begin(), listed.end());
    std::string out;
    for (const std::wstring& path : listed) out += (out.empty() ? "" : " ") + show(path);
    return out;
}

// Listings of one prepared tree by many patterns; files and directories,
// attributes, times and the errors of missing and busy entries.
void file_system() {
    zop_test::TempDir tmp;
    // Written with backslashes, so that the paths built from it are spelled
    // alike on both systems.
    std::wstring root = tmp.path();
    std::replace(root.begin(), root.end(), L'/', L'\\');
    g_root = show(Directory(root).full_name());
    g_name = show(Path::file_name(Directory(root).full_name()));
    zop_test::make_dir(root + L"\\sub");
    for (const wchar_t* name : {L"a", L"ab", L"abc", L"a.c", L"a.txt", L"a.txt.bak", L"readme", L"Makefile",
                                L".hidden", L"b.b.b", L"x y", L"sub\\inner.txt"}) {
        zop_test::write_file(tmp / name, "12345");
    }
    File f(root + L"\\a.txt");
    const std::wstring missing_file = root + L"\\missing\\x.txt";
    Directory dir(root);
    line("list", "files *", answer([&] { std::vector<std::wstring> out; dir.list_files(out, L"*"); return names(out); }));
    line("list", "dirs *", answer([&] { std::vector<std::wstring> out; dir.list_dirs(out, L"*"); return names(out); }));
    std::vector<std::wstring> patterns{L"*.", L"*.txt", L"sub\\*", L"readme.*", L"A*", L"*B*", L"?", L"??",
                                       L"???", L"*.?", L"a.?", L"a?", L"a?c", L"a.txt?", L"a?.txt", L"?.*",
                                       L".*", L"x y", L"missing\\*", L"", L"sub", L"*.t?t", L"a<", L"a>",
                                       L"a\"", L"<", L"..", L"."};
    const std::wstring alphabet = L"ab*.";
    for (wchar_t x : alphabet) {
        for (wchar_t y : alphabet) {
            patterns.push_back({x, y});
            for (wchar_t z : alphabet) patterns.push_back({x, y, z});
        }
    }
    for (const std::wstring& pattern : patterns) {
        line("list", show(pattern), answer([&] {
                 std::vector<std::wstring> out;
                 dir.list(out, pattern);
                 return names(out);
             }));
    }
    const long long when = 1614834367123456;
    line("file", "attrs", num(f.file_attrs()) + " " + num(SystemFile::file_attrs(root + L"\\.hidden")) + " " +
                              num(SystemFile::file_attrs(root + L"\\sub")) + " " + num(f.length()));
    line("file", "times", answer([&] {
             f.file_time(when, when + 10, when + 20);
             f.refresh();
             return num(f.last_access_time() - when) + " " + num(f.last_modified_time() - when);
         }));
    line("file", "readonly", answer([&] {
             f.readonly(true);
             f.refresh();
             std::string a = num(f.file_attrs()) + " " + answer([&] { f.remove(); return std::string("removed"); });
             a += " " + answer([&] { f.last_modified_time(when); return std::string("set"); });
             f.readonly(false);
             f.refresh();
             return a + " " + num(f.file_attrs());
         }));
    File missing(missing_file);
    line("file", "missing", num(missing.file_attrs()) + " " + num(missing.last_modified_time()) + " " +
                                answer([&] { return num(missing.length()); }) + " " +
                                answer([&] { missing.remove(); return std::string("removed"); }));
    line("file", "remove directory", answer([&] { File(root + L"\\sub").remove(); return std::string("removed"); }));
    line("dir", "create existing", answer([&] { Directory(root + L"\\sub").create(); return std::string("made"); }));
    line("dir", "remove full", answer([&] { Directory(root + L"\\sub").remove(); return std::string("removed"); }));
    line("dir", "remove file", answer([&] { Directory(root + L"\\a").remove(); return std::string("removed"); }));
    line("dir", "remove missing", answer([&] { Directory(root + L"\\none").remove(); return std::string("removed"); }));
    line("dir", "tree missing", answer([&] { Directory(root + L"\\none").remove_tree(); return std::string("removed"); }));
    line("dir", "tree", answer([&] { dir.remove_tree(); return num(SystemFile::is_dir(root)); }));
    g_root.clear();
    g_name.clear();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: contract_transcript OUTPUT\n");
        return 2;
    }
    g_out = std::fopen(argv[1], "wb");
    if (g_out == nullptr) return 2;
    file_system();
    return std::fclose(g_out) == 0 ? 0 : 1;
}
