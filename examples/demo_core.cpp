// Demo: string utilities, system error text and exceptions.
#include "demo.h"

#include <zop/zop.h>

#include <vector>

void demo_core() {
    using namespace zop;

    section(L"Strings");
    std::vector<std::wstring> pieces;
    split_string(L"alpha;beta,,gamma", pieces, L";,");
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        print(L"  piece " + std::to_wstring(i) + L": [" + pieces[i] + L"]");
    }
    print(L"  trim: [" + trim(L"   padded text   ") + L"]");

    section(L"System error text");
    for (int code : {2, 3, 5, 32, 183}) {
        print(L"  " + std::to_wstring(code) + L": " + system_error(L"", code));
    }
    print(system_error(L"Cannot create thread: ", 5));
    print(L"OS version code: " + std::to_wstring(static_cast<int>(running_os_version())));

    section(L"Exceptions");
    IOException disk(L"The disk is full.");
    InvalidOperationException save(L"Cannot save the report", &disk);
    try {
        throw save;
    } catch (const Exception& e) {
        print(L"caught:     " + e.message());
        print(L"root cause: " + e.base_exception()->message());
    }
    try {
        Path::make_full_path(L"\\\\server");
    } catch (const ArgumentException& e) {
        print(L"make_full_path(\\\\server) threw: " + e.message());
    }
    try {
        SystemFile::throw_io_exception(2, true, L"missing.txt");
    } catch (const IOException& e) {
        print(L"throw_io_exception(2) threw IOException: " + e.message());
    }
}
