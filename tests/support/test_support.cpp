#include "support/test_support.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace zop_test {

namespace {
// Wide strings hold UTF-16 units; test names stay ASCII, so the standard
// library's wide paths carry them unchanged on both systems.  Tests write
// Windows separators, which Linux needs as slashes.
fs::path to_path(std::wstring p) {
#if !defined(_WIN32)
    for (wchar_t& c : p) {
        if (c == L'\\') c = L'/';
    }
#endif
    return fs::path(p);
}
}  // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() /
                             ("zop-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.wstring();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Read-only entries would stop the removal on Windows.
    for (auto it = fs::recursive_directory_iterator(to_path(path_), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add |
                        fs::perm_options::nofollow, ec);
    }
    fs::remove_all(to_path(path_), ec);
}

bool under_wine() {
#if defined(_WIN32)
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

std::wstring TempDir::operator/(const std::wstring& name) const {
    return (to_path(path_) / to_path(name)).wstring();
}

void write_file(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(to_path(path), std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write a test file");
}

void make_dir(const std::wstring& path) { fs::create_directories(to_path(path)); }

bool entry_exists(const std::wstring& path) {
    std::error_code ec;
    return fs::symlink_status(to_path(path), ec).type() != fs::file_type::not_found && !ec;
}

std::wstring os_error_text(std::uint32_t code) {
#if defined(_WIN32)
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                             code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                             reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    if (buffer == nullptr) return std::wstring();
    std::wstring text(buffer, n);
    LocalFree(buffer);
    return text;
#else
    switch (code) {
    case 2: return L"The system cannot find the file specified.\r\n";
    case 3: return L"The system cannot find the path specified.\r\n";
    case 5: return L"Access is denied.\r\n";
    case 32: return L"The process cannot access the file because it is being used by another process.\r\n";
    case 87: return L"The parameter is incorrect.\r\n";
    case 145: return L"The directory is not empty.\r\n";
    case 183: return L"Cannot create a file when that file already exists.\r\n";
    default: return std::wstring();
    }
#endif
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        const auto u = static_cast<std::uint32_t>(c);
        out += u < 0x80 ? std::string(1, static_cast<char>(u)) : "\\u{" + std::to_string(u) + "}";
    }
    return out;
}

}  // namespace zop_test
