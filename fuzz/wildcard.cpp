// The POSIX backend's wildcard matching against a reference matcher
// written here from the documented rules (docs/fs.md): the pattern is first
// rewritten into the file system's tokens, then matched by plain recursion
// over (pattern position, name position) with a memo.  Both must agree on
// every pattern and name.  Input: the pattern, a line feed, the name.
#include "fuzz_support.h"
#include "sys/posix/wildcard.h"

#include <vector>

namespace {

enum Kind { CHAR, STAR, DOS_STAR, DOS_QM, DOS_DOT };

struct Token {
    Kind kind;
    wchar_t c;
};

// The rewriting FindFirstFileW does: '?' is DOS_QM; a '.' before '?' or
// '*', or at the end, is DOS_DOT; a '*' before a '.' is DOS_STAR; '<', '>'
// and '"' are DOS_STAR, DOS_QM and DOS_DOT already.
std::vector<Token> tokens(const std::wstring& p) {
    std::vector<Token> out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const wchar_t c = p[i];
        const bool last = i + 1 == p.size();
        const wchar_t next = last ? 0 : p[i + 1];
        Kind k = CHAR;
        if (c == L'?' || c == L'>') k = DOS_QM;
        else if (c == L'<') k = DOS_STAR;
        else if (c == L'"') k = DOS_DOT;
        else if (c == L'*') k = !last && next == L'.' ? DOS_STAR : STAR;
        else if (c == L'.' && (last || next == L'?' || next == L'*')) k = DOS_DOT;
        out.push_back({k, c});
    }
    return out;
}

wchar_t lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

class Reference {
public:
    Reference(const std::wstring& pattern, const std::wstring& name)
        : t_(tokens(pattern)), name_(name), last_dot_(name.rfind(L'.')),
          memo_((t_.size() + 1) * (name.size() + 1), -1) {}

    bool matches() { return at(0, 0); }

private:
    // Whether tokens from i match the name from j.
    bool at(std::size_t i, std::size_t j) {
        signed char& m = memo_[i * (name_.size() + 1) + j];
        if (m < 0) m = solve(i, j) ? 1 : 0;
        return m == 1;
    }

    bool solve(std::size_t i, std::size_t j) {
        const bool end = j == name_.size();
        if (i == t_.size()) return end;
        switch (t_[i].kind) {
        case STAR:  // any run: nothing, or one more character
            return at(i + 1, j) || (!end && at(i, j + 1));
        case DOS_STAR:  // any run that does not take the name's last dot
            return at(i + 1, j) || (!end && j != last_dot_ && at(i, j + 1));
        case DOS_QM:  // one character; nothing at a dot or the end
            if (end || name_[j] == L'.') return at(i + 1, j);
            return at(i + 1, j + 1);
        case DOS_DOT:  // a dot, or nothing at the end
            if (end) return at(i + 1, j);
            return name_[j] == L'.' && at(i + 1, j + 1);
        case CHAR:
            return !end && lower(t_[i].c) == lower(name_[j]) && at(i + 1, j + 1);
        }
        return false;
    }

    std::vector<Token> t_;
    const std::wstring& name_;
    std::size_t last_dot_;
    std::vector<signed char> memo_;
};

bool reference_match(const std::wstring& pattern, const std::wstring& name) {
    // Entries always have names: an empty one matches only the empty
    // pattern.  "*.*" is "*".
    if (name.empty() || pattern.empty()) return name.empty() && pattern.empty();
    return Reference(pattern == L"*.*" ? L"*" : pattern, name).matches();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = zop_fuzz::wide_text(std::string(reinterpret_cast<const char*>(data), size));
    const std::size_t cut = text.find(L'\n');
    if (cut == std::wstring::npos) return 0;
    const std::wstring pattern = text.substr(0, cut);
    const std::wstring name = text.substr(cut + 1);
    // The reference's memo grows with the product of the lengths; patterns
    // past the matcher's stack rows (129 units) stay within reach.
    if (pattern.size() * name.size() > (1u << 17)) return 0;
    FUZZ_CHECK(zop::sys::posix::wildcard_match(pattern, name) == reference_match(pattern, name));
    return 0;
}
