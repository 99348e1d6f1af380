// POSIX backend: Windows wildcard matching of file names.
#include "sys/posix/wildcard.h"

namespace zop::sys::posix {

namespace {

wchar_t fold(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

// Classic '*'/'?' matching with a single backtrack point: on a mismatch the
// last '*' swallows one more character.  Linear in practice, never
// exponential.
bool match(const wchar_t* p, const wchar_t* p_end, const wchar_t* n, const wchar_t* n_end) {
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (n != n_end) {
        if (p != p_end && (*p == L'?' || (*p != L'*' && fold(*p) == fold(*n)))) {
            ++p;
            ++n;
        } else if (p != p_end && *p == L'*') {
            star = ++p;
            resume = n;
        } else if (star != nullptr) {
            p = star;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p != p_end && *p == L'*') ++p;
    return p == p_end;
}

}  // namespace

bool has_wildcards(const std::wstring& pattern) {
    return pattern.find_first_of(L"*?") != std::wstring::npos;
}

bool wildcard_match(const std::wstring& pattern, const std::wstring& name) {
    const wchar_t* p = pattern.data();
    const wchar_t* p_end = p + pattern.size();
    const wchar_t* n = name.data();
    const wchar_t* n_end = n + name.size();
    if (pattern == L"*") return true;
    if (match(p, p_end, n, n_end)) return true;
    // "stem.*" also matches a bare "stem".
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, L".*") == 0 &&
        name.find(L'.') == std::wstring::npos) {
        return match(p, p_end - 2, n, n_end);
    }
    return false;
}

}  // namespace zop::sys::posix
