// Demo: path algebra.
#include "demo.h"

#include <zop/zop.h>

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
}
