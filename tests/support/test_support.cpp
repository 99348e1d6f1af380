#include "support/test_support.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace zop_test {

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
    case 145: return L"The directory is not empty.\r\n";
    case 183: return L"Cannot create a file when that file already exists.\r\n";
    default: return std::wstring();
    }
#endif
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        auto u = static_cast<std::uint32_t>(c);
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else {
            out += "\\u{" + std::to_string(u) + "}";
        }
    }
    return out;
}

}  // namespace zop_test
