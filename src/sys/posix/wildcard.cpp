// POSIX backend: Windows wildcard matching of file names.
//
// The pattern is read as the expression FindFirstFileW hands to the file
// system, and matched with the rules of FsRtlIsNameInExpression:
//
//   '*'       any run of characters
//   DOS_STAR  any run of characters that does not pass the name's last '.'
//             ('*' followed by '.', or '<')
//   DOS_QM    one character; at a '.' or at the end of the name it matches
//             nothing instead ('?', or '>')
//   DOS_DOT   a '.', or nothing at the end of the name ('.' followed by '?'
//             or '*' or ending the pattern, or '"')
//
// The whole pattern "*.*" is a plain '*'.  Every other character matches
// itself, ASCII letters regardless of case.
//
// The match runs the pattern as a set of live positions over the name, one
// character at a time: time is the product of the two lengths at worst,
// never exponential, and nothing is read outside either string.
#include "sys/posix/wildcard.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace zop::sys::posix {

namespace {

enum class Token { Literal, Star, DosStar, DosQm, DosDot };

wchar_t fold(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

// What the pattern character at `i` stands for.
Token token_at(const std::wstring& pattern, std::size_t i) {
    const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
    switch (pattern[i]) {
        case L'*': return next == L'.' ? Token::DosStar : Token::Star;
        case L'<': return Token::DosStar;
        case L'?':
        case L'>': return Token::DosQm;
        case L'.': return (next == L'\0' || next == L'?' || next == L'*') ? Token::DosDot : Token::Literal;
        case L'"': return Token::DosDot;
        default: return Token::Literal;
    }
}

class Matcher {
public:
    Matcher(const std::wstring& pattern, const std::wstring& name)
        : pattern_(pattern), name_(name), last_dot_(name.rfind(L'.')) {}

    bool run() {
        const std::size_t m = pattern_.size();
        // Two rows of live positions (0..m), on the stack for patterns of
        // ordinary length.
        unsigned char local[2 * 130];
        std::vector<unsigned char> heap;
        unsigned char* now = local;
        if (2 * (m + 1) > sizeof local) {
            heap.resize(2 * (m + 1));
            now = heap.data();
        }
        unsigned char* next = now + m + 1;
        std::fill(now, now + m + 1, 0);
        now[0] = 1;
        close(now, 0);
        for (std::size_t i = 0; i < name_.size(); ++i) {
            std::fill(next, next + m + 1, 0);
            bool alive = false;
            for (std::size_t j = 0; j < m; ++j) {
                if (now[j] == 0) continue;
                switch (step(j, i)) {
                    case Move::Stay: next[j] = 1; alive = true; break;
                    case Move::Advance: next[j + 1] = 1; alive = true; break;
                    case Move::None: break;
                }
            }
            if (!alive) return false;
            close(next, i + 1);
            std::swap(now, next);
        }
        return now[m] != 0;
    }

private:
    enum class Move { None, Stay, Advance };

    // How the position `j` consumes the name's character at `i`.
    Move step(std::size_t j, std::size_t i) const {
        const wchar_t c = name_[i];
        switch (token_at(pattern_, j)) {
            case Token::Star: return Move::Stay;
            case Token::DosStar: return i == last_dot_ ? Move::None : Move::Stay;
            case Token::DosQm: return c == L'.' ? Move::None : Move::Advance;
            case Token::DosDot: return c == L'.' ? Move::Advance : Move::None;
            case Token::Literal: return fold(pattern_[j]) == fold(c) ? Move::Advance : Move::None;
        }
        return Move::None;
    }

    // Adds the positions reachable without consuming a character, the name
    // being at `i`.  Such moves only go forward, so one pass suffices.
    void close(unsigned char* live, std::size_t i) const {
        const bool at_end = i == name_.size();
        const bool at_dot = !at_end && name_[i] == L'.';
        for (std::size_t j = 0; j < pattern_.size(); ++j) {
            if (live[j] == 0) continue;
            switch (token_at(pattern_, j)) {
                case Token::Star:
                case Token::DosStar: live[j + 1] = 1; break;
                case Token::DosQm: if (at_end || at_dot) live[j + 1] = 1; break;
                case Token::DosDot: if (at_end) live[j + 1] = 1; break;
                case Token::Literal: break;
            }
        }
    }

    const std::wstring& pattern_;
    const std::wstring& name_;
    const std::size_t last_dot_;  // npos when the name has no dot
};

}  // namespace

bool wildcard_match(const std::wstring& pattern, const std::wstring& name) {
    // Directory entries always have names; an empty one matches only the
    // empty pattern, as in FsRtlIsNameInExpression.
    if (name.empty() || pattern.empty()) return name.empty() && pattern.empty();
    if (pattern == L"*" || pattern == L"*.*") return true;
    return Matcher(pattern, name).run();
}

}  // namespace zop::sys::posix
