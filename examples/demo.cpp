// zop demo: a short tour of the library.
#include <zop/zop.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Writes UTF-16 text to stdout as UTF-8.
void print(const std::wstring& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned long c = static_cast<unsigned long>(text[i]) & 0xFFFF;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + ((static_cast<unsigned long>(text[++i]) & 0xFFFF) - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
}

void section(const wchar_t* title) { print(std::wstring(L"\n== ") + title + L" =="); }

}  // namespace

int main() {
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
    return 0;
}
