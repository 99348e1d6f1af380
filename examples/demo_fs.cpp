// Demo: path algebra.
#include "demo.h"

#include <zop/zop.h>

#include <cstring>
#include <ctime>
#include <vector>

void demo_fs() {
    using namespace zop;

    section(L"Paths");
    print(L"current directory:   " + Path::current_path());
    print(L"executable's folder: " + Path::current_module_path());
    const std::wstring report = L"C:\\Reports\\2026\\summary.final.txt";
    print(L"path:                " + report);
    print(L"  root:              " + Path::path_root(report));
    print(L"  directory:         " + Path::directory_name(report));
    print(L"  file name:         " + Path::file_name(report));
    print(L"  extension:         " + Path::extension_name(report));
    std::wstring renamed = report;
    Path::change_extension(renamed, L"csv");
    print(L"  as csv:            " + renamed);
    print(L"combine(C:\\data, logs\\a.log) = " + Path::combine(L"C:\\data", L"logs\\a.log"));
    print(L"make_full_path(notes.txt) = " + Path::make_full_path(L"notes.txt"));

    section(L"Files and directories");
    Directory bin(Path::current_module_path());
    std::vector<std::wstring> entries;
    bin.list_files(entries, L"*");
    print(L"files beside the demo program (" + bin.full_name() + L"):");
    for (std::size_t i = 0; i < entries.size() && i < 6; ++i) {
        File file(entries[i]);
        std::time_t seconds = static_cast<std::time_t>(file.last_modified_time() / 1000000);
        char when[32];
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::gmtime(&seconds));
        print(L"  " + file.name() + L"  " + std::to_wstring(file.length()) + L" bytes  modified " +
              std::wstring(when, when + std::strlen(when)) + L" UTC");
    }
    Directory scratch(Path::combine(bin.full_name(), L"zop-demo-dir\\a\\b"));
    scratch.create();
    Directory top = scratch.parent().parent();
    print(L"created " + scratch.full_name() + L"; removing " + top.full_name());
    top.remove_tree();
    top.refresh();
    print(std::wstring(L"  still there: ") + (top.exists() ? L"yes" : L"no"));

    // Paths past 260 characters work on Windows too.
    std::wstring deep = Path::combine(bin.full_name(), L"zop-demo-long");
    while (deep.size() < 300) deep += L"\\" + std::wstring(40, L'x');
    Directory(deep).create();
    const unsigned char text[] = "long path";
    FileOutputStream(Path::combine(deep, L"note.txt"), CREATE, NONE).write(text, 9);
    print(L"wrote " + std::to_wstring(File(Path::combine(deep, L"note.txt")).length()) +
          L" bytes at a path of " + std::to_wstring(deep.size() + 9) + L" characters");
    // The same file through the standard library (whose Windows runtime may
    // itself stop at 260 characters).
    try {
        const auto native = Path::to_filesystem_path(Path::combine(deep, L"note.txt"));
        print(L"std::filesystem::file_size sees " + std::to_wstring(std::filesystem::file_size(native)) + L" bytes");
    } catch (const std::filesystem::filesystem_error&) {
        print(L"std::filesystem cannot reach it (its runtime keeps the 260-character limit)");
    }
    Directory(Path::combine(bin.full_name(), L"zop-demo-long")).remove_tree();
}
