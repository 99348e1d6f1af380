// Win32 backend: error codes and the system's message formatter.
#include "sys/error.h"

#include <windows.h>

namespace zop::sys {

std::uint32_t last_error() { return ::GetLastError(); }

void set_last_error(std::uint32_t code) { ::SetLastError(code); }

namespace {
using FormatMessageWFn = DWORD(WINAPI*)(DWORD, LPCVOID, DWORD, DWORD, LPWSTR,
                                        DWORD, va_list*);
}

// The formatter is the FormatMessageW entry point itself; the struct type
// only keeps it opaque to the portable code.
const MessageFormatter* load_message_formatter(const std::wstring& library) {
    HMODULE module = ::LoadLibraryW(library.c_str());
    if (module == nullptr) return nullptr;
    FARPROC proc = ::GetProcAddress(module, "FormatMessageW");
    return reinterpret_cast<const MessageFormatter*>(proc);
}

bool format_message(const MessageFormatter* formatter, std::uint32_t code,
                    std::wstring& text) {
    text.clear();
    auto fn = reinterpret_cast<FormatMessageWFn>(
        reinterpret_cast<void (*)()>(const_cast<MessageFormatter*>(formatter)));
    wchar_t* buffer = nullptr;
    DWORD n = fn(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM,
                 nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                 reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    if (buffer == nullptr) return false;
    text.assign(buffer, n);
    ::LocalFree(buffer);
    return true;
}

}  // namespace zop::sys
