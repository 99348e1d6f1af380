// Win32 backend: paths longer than the classic limit (see long_path.h).
#include "sys/win32/long_path.h"

#include <windows.h>

namespace zop::sys {

namespace {

// The length from which a path gets the prefix: MAX_PATH less the room a
// new directory must leave for an 8.3 name.
constexpr std::size_t kLongPath = MAX_PATH - 12;

bool is_sep(wchar_t c) { return c == L'\\' || c == L'/'; }

// An absolute drive or UNC path, not yet in the \\?\ or \\.\ form.
bool wants_prefix(const std::wstring& path) {
    if (path.size() < kLongPath) return false;
    if (path[1] == L':') return is_sep(path[2]);
    return is_sep(path[0]) && is_sep(path[1]) &&
           !((path[2] == L'?' || path[2] == L'.') && is_sep(path[3]));
}

// The full form of an absolute path with the prefix; the path itself when
// the system refuses it, and the device's name when it names one ("\\.\CON").
std::wstring prefixed(const std::wstring& path) {
    std::wstring full(::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    if (full.empty()) return path;
    const DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (n == 0 || n >= full.size()) return path;
    full.resize(n);
    if (full.size() > 1 && full[1] == L':') return L"\\\\?\\" + full;
    if (full.compare(0, 2, L"\\\\") == 0 && full[2] != L'?' && full[2] != L'.') {
        return L"\\\\?\\UNC" + full.substr(1);
    }
    return full;
}

}  // namespace

std::wstring long_path(const std::wstring& path) {
    return wants_prefix(path) ? prefixed(path) : path;
}

std::wstring long_pattern(const std::wstring& pattern) {
    if (!wants_prefix(pattern)) return pattern;
    const std::size_t last = pattern.find_last_of(L"\\/") + 1;
    return prefixed(pattern.substr(0, last)) + pattern.substr(last);
}

}  // namespace zop::sys
