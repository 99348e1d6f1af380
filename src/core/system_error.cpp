// Operating-system error codes as text.
#include <zop/core.h>

#include "core/error_text.h"
#include "sys/error.h"
#include "sys/process.h"

#include <atomic>

namespace zop {

namespace {

// The system's wide message formatter, found on first use and kept for the
// life of the process.  Racing first calls find the same entry point.
std::atomic<const sys::MessageFormatter*> g_formatter{nullptr};

// The NT family has the wide formatter in kernel32.dll; the 9x family only
// through the Microsoft Layer for Unicode, shipped beside the application.
const sys::MessageFormatter* locate_formatter() {
    std::wstring library;
    if (running_os_version() > WindowsMe) {
        library = L"kernel32.dll";
    } else {
        std::wstring exe;
        // The executable's folder, cut at its last separator (kept).
        if (sys::executable_path(exe) == 0) {
            library = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"win98\\unicows.dll";
        }
    }
    return sys::load_message_formatter(library);
}

}  // namespace

std::wstring system_error(const std::wstring& prefix, int code) {
    const sys::MessageFormatter* formatter = g_formatter.load(std::memory_order_acquire);
    if (formatter == nullptr) {
        formatter = locate_formatter();
        if (formatter == nullptr) return prefix;
        g_formatter.store(formatter, std::memory_order_release);
    }
    std::wstring result(prefix);
    std::wstring text;
    if (!sys::format_message(formatter, static_cast<std::uint32_t>(code), text)) return result;
    detail::drop_line_break(text);
    result += text;
    return result;
}

namespace detail {

void drop_line_break(std::wstring& text) {
    std::size_t n = text.size();
    if (n >= 1 && text[n - 1] == L'\n') {
        --n;
        if (n >= 1 && text[n - 1] == L'\r') --n;
    } else if (n >= 2 && text[n - 2] == L'\n') {
        n -= 2;
        if (n >= 1 && text[n - 1] == L'\r') --n;
    }
    text.resize(n);
}

std::wstring last_error_text(const std::wstring& prefix) {
    return system_error(prefix, static_cast<int>(sys::last_error()));
}

}  // namespace detail
}  // namespace zop
