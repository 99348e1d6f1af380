// The path algebra on any paths: each function throws only what it
// documents, and the answers keep their invariants:
// - combine joins exactly as documented, and a root combined with a
//   relative name stays the result's root;
// - a directory name is a prefix of its path (the two separators counting
//   as one), shorter unless the path is its own root, so that taking the
//   directory again and again ends;
// - a file name is a suffix that follows a separator;
// - a root is empty exactly for relative paths, has one of the documented
//   forms, and is its own root;
// - a completed path is absolute (or the dot path it was), ends with the
//   path, and completes to itself;
// - a new extension ends the path, replaces only the old extension, and
//   applied again changes nothing;
// - is_valid_path says no exactly for the characters it names.
// Input: a path, optionally a line feed and a second path (the name to
// combine, the new extension).
#include <zop/fs.h>

#include "fs/path_internal.h"
#include "fuzz_support.h"

using namespace zop;

namespace {

bool is_sep(wchar_t c) { return c == L'\\' || c == L'/'; }

bool starts_with(const std::wstring& s, const std::wstring& prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool ends_with(const std::wstring& s, const std::wstring& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A prefix when the two separators count as the same character.
bool prefix_but_separators(const std::wstring& prefix, const std::wstring& s) {
    if (prefix.size() > s.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (prefix[i] != s[i] && !(is_sep(prefix[i]) && is_sep(s[i]))) return false;
    }
    return true;
}

std::size_t count_separators(const std::wstring& s) {
    std::size_t n = 0;
    for (wchar_t c : s) n += is_sep(c) ? 1 : 0;
    return n;
}

bool is_unc(const std::wstring& p) { return p.size() >= 2 && is_sep(p[0]) && is_sep(p[1]); }

bool has_invalid_char(const std::wstring& p) {
    return p.find_first_of(Path::invalid_path_chars) != std::wstring::npos;
}

void check_combine(const std::wstring& a, const std::wstring& b) {
    const std::wstring c = Path::combine(a, b);
    if (a.empty() || b.empty() || Path::is_absolute_path(b)) {
        FUZZ_CHECK(c == (a.empty() || (!b.empty() && Path::is_absolute_path(b)) ? b : a));
        return;
    }
    const bool joined = is_sep(a.back());
    FUZZ_CHECK(c.size() == a.size() + b.size() + (joined ? 0 : 1));
    FUZZ_CHECK(starts_with(c, a) && ends_with(c, b));
    if (!joined) FUZZ_CHECK(c[a.size()] == Path::separator);
}

// The root of `p` combined with a relative name stays the root, except that
// a drive-relative "C:" gains its separator and a UNC root without a share
// ("\\server\") takes the name as its share.
void check_root_kept(const std::wstring& p, const std::wstring& name) {
    const std::wstring root = Path::path_root(p);
    if (root.empty() || name.empty() || Path::is_absolute_path(name)) return;
    const std::wstring c = Path::combine(root, name);
    FUZZ_CHECK(starts_with(c, root));
    const bool drive_relative = root.size() == 2 && root[1] == L':';
    const bool no_share = is_unc(root) && count_separators(root) < 4;
    if (drive_relative) {
        FUZZ_CHECK(Path::path_root(c) == root + L"\\");
    } else if (!no_share) {
        FUZZ_CHECK(Path::path_root(c) == root);
    }
}

void check_root(const std::wstring& p) {
    const std::wstring root = Path::path_root(p);
    FUZZ_CHECK(root.empty() == !Path::is_absolute_path(p));
    if (root.empty()) return;
    if (is_unc(p)) {
        // "\\server\share\", written with backslashes.
        FUZZ_CHECK(starts_with(root, L"\\\\") && root.back() == L'\\');
        FUZZ_CHECK(root.find(L'/') == std::wstring::npos);
        const std::size_t seps = count_separators(root);
        FUZZ_CHECK(seps == 3 || seps == 4);
        FUZZ_CHECK(prefix_but_separators(root.substr(0, root.size() - 1), p));
        if (seps == 4) FUZZ_CHECK(Path::path_root(root) == root);
    } else if (is_sep(p[0])) {
        FUZZ_CHECK(root == L"\\");
    } else {
        // "C:", or "C:" and the separator that follows it.
        FUZZ_CHECK(starts_with(p, root) && (root.size() == 2 || root.size() == 3));
        FUZZ_CHECK(Path::path_root(root) == root);
    }
}

void check_directory(const std::wstring& p) {
    std::wstring dir;
    try {
        dir = Path::directory_name(p);
    } catch (const ArgumentException&) {
        FUZZ_CHECK(p.empty());
        return;
    } catch (const OutOfRangeException&) {
        FUZZ_CHECK(p == L"/");
        return;
    }
    FUZZ_CHECK(prefix_but_separators(dir, p));
    if (dir == p) {
        FUZZ_CHECK(Path::path_root(p) == p);
        return;
    }
    FUZZ_CHECK(dir.size() < p.size());
    if (!dir.empty()) FUZZ_CHECK(Path::is_absolute_path(dir) == Path::is_absolute_path(p));
    // Up the tree, a few dozen levels at most (each level costs the length
    // of the path), until a root or nothing is left; every step shortens.
    std::wstring at = dir;
    for (int level = 0; level < 32 && !at.empty(); ++level) {
        const std::wstring up = Path::directory_name(at);
        if (up == at) break;
        FUZZ_CHECK(up.size() < at.size() && prefix_but_separators(up, at));
        at = up;
    }
}

void check_file_name(const std::wstring& p) {
    std::wstring name;
    try {
        name = Path::file_name(p);
    } catch (const OutOfRangeException&) {
        FUZZ_CHECK(p == L"\\");
        return;
    }
    FUZZ_CHECK(ends_with(p, name));
    if (name.empty()) return;
    FUZZ_CHECK(name.size() < p.size() && is_sep(p[p.size() - name.size() - 1]));
    // No separator inside; a trailing backslash is kept.
    const std::wstring inner = name.back() == L'\\' ? name.substr(0, name.size() - 1) : name;
    FUZZ_CHECK(count_separators(inner) == 0);
}

std::wstring windows_current() { return L"C:\\work\\dir"; }
std::wstring posix_current() { return L"/home/work"; }
std::wstring unc_current() { return L"\\\\srv\\share\\dir"; }

void check_full_path(const std::wstring& p, std::wstring (*current)()) {
    std::wstring full;
    try {
        full = detail::complete_path(p, current);
    } catch (const ArgumentException& e) {
        const bool blank = p.find_first_not_of(L' ') == std::wstring::npos;
        const bool bad_unc = is_unc(p) && (p.size() == 2 || p.find(p[0], 2) == std::wstring::npos);
        FUZZ_CHECK(blank || bad_unc);
        FUZZ_CHECK(e.message() == (blank ? L"The parameter path is not of a legal form"
                                         : L"UNC path should be of the form \\\\server\\share."));
        return;
    }
    if (!Path::is_absolute_path(p) && p[0] == L'.') {
        FUZZ_CHECK(full == p);
        return;
    }
    FUZZ_CHECK(Path::is_absolute_path(full));
    if (is_unc(p)) {
        FUZZ_CHECK(prefix_but_separators(full, p) && full.size() == p.size());
    } else {
        FUZZ_CHECK(ends_with(full, p));
    }
    FUZZ_CHECK(detail::complete_path(full, current) == full);
}

void check_extension(const std::wstring& p, const std::wstring& ext) {
    std::wstring changed = p;
    try {
        Path::change_extension(changed, ext);
    } catch (const ArgumentException& e) {
        FUZZ_CHECK(has_invalid_char(p) && changed == p);
        FUZZ_CHECK(e.message() == L"Illegal characters in path");
        return;
    }
    FUZZ_CHECK(!has_invalid_char(p));
    const std::wstring dotted = !ext.empty() && ext[0] == L'.' ? ext : L"." + ext;
    FUZZ_CHECK(ends_with(changed, dotted));
    // What was dropped is the old extension: a dot and no separator.
    const std::wstring kept = changed.substr(0, changed.size() - dotted.size());
    FUZZ_CHECK(starts_with(p, kept));
    const std::wstring dropped = p.substr(kept.size());
    FUZZ_CHECK(dropped.empty() || (dropped[0] == L'.' && count_separators(dropped) == 0));
    // An extension of one dot, without separators and characters a path may
    // not hold, is the path's extension now.
    if (dotted.find(L'.', 1) == std::wstring::npos && count_separators(dotted) == 0 &&
        !has_invalid_char(dotted)) {
        FUZZ_CHECK(Path::extension_name(changed) == (dotted.size() > 1 ? dotted : L""));
        std::wstring again = changed;
        Path::change_extension(again, ext);
        FUZZ_CHECK(again == changed);
    }
}

void check_valid(const std::wstring& p) {
    // An absolute path may hold colons at indexes 0 and 1 ("::" is valid),
    // any other path none.
    bool valid = p.find_first_of(L"\"<>/|*?") == std::wstring::npos;
    const bool absolute = !p.empty() && (p[0] == L'\\' || p[0] == L'/' || (p.size() >= 2 && p[1] == L':'));
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == L':' && (!absolute || i >= 2)) valid = false;
    }
    FUZZ_CHECK(Path::is_valid_path(p) == valid);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = zop_fuzz::wide_text(std::string(reinterpret_cast<const char*>(data), size));
    const std::size_t cut = text.find(L'\n');
    const std::wstring p = text.substr(0, cut);
    const std::wstring second = cut == std::wstring::npos ? std::wstring() : text.substr(cut + 1);

    check_combine(p, second);
    check_combine(second, p);
    check_root_kept(p, second);
    check_root(p);
    check_directory(p);
    check_file_name(p);
    check_valid(p);
    check_extension(p, second);
    for (auto current : {windows_current, posix_current, unc_current}) check_full_path(p, current);
    try {
        (void)Path::make_full_path(p);
    } catch (const ArgumentException&) {
        // Checked above with the current directory fixed.
    }
    return 0;
}
