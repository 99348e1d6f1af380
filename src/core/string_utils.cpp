// Wide-string utilities: searches over a character set, trim, replace, split.
#include <zop/core.h>

namespace zop {

namespace {
const wchar_t kOffsetOutOfRange[] = L"The off out of the string range";

bool in_set(wchar_t c, const std::wstring& chars) {
    return chars.find(c) != std::wstring::npos;
}
}  // namespace

int find_any(const std::wstring& text, unsigned int off, const std::wstring& chars) {
    if (off > text.size()) throw OutOfRangeException(kOffsetOutOfRange);
    for (std::size_t i = off; i < text.size(); ++i) {
        if (in_set(text[i], chars)) return static_cast<int>(i);
    }
    return -1;
}

int find_last_of_any(const std::wstring& text, unsigned int off, const std::wstring& chars) {
    if (off >= text.size()) throw OutOfRangeException(kOffsetOutOfRange);
    for (std::size_t i = off + 1; i-- > 0;) {
        if (in_set(text[i], chars)) return static_cast<int>(i);
    }
    return -1;
}

std::wstring trim(const std::wstring& text) {
    std::size_t begin = text.find_first_not_of(L' ');
    if (begin == std::wstring::npos) return std::wstring();
    std::size_t end = text.find_last_not_of(L' ');
    return text.substr(begin, end - begin + 1);
}

std::wstring replace_char(const std::wstring& text, wchar_t old_char, wchar_t new_char) {
    std::wstring result(text);
    for (wchar_t& c : result) {
        if (c == old_char) c = new_char;
    }
    return result;
}

void split_string(const std::wstring& text, std::vector<std::wstring>& pieces,
                  const std::wstring& separators) {
    if (text.empty()) return;
    if (separators.empty()) {
        pieces.push_back(text);
        return;
    }
    std::size_t start = 0;
    for (int p = find_any(text, 0, separators); p >= 0;) {
        pieces.push_back(text.substr(start, static_cast<std::size_t>(p) - start));
        start = static_cast<std::size_t>(p) + 1;
        if (start >= text.size()) return;
        p = find_any(text, static_cast<unsigned int>(start), separators);
    }
    pieces.push_back(text.substr(start));
}

}  // namespace zop
