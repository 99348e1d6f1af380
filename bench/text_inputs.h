// The texts of the text conversion benchmarks (text_bench.cpp and
// text_selftimed.cpp): about 16 MiB of UTF-8 each of English ASCII, of mixed
// English and Chinese sentences, and of text that is mostly emoji with spaces
// and short words, made from a fixed seed so that every run and every build
// converts the same text.
#ifndef ZOP_BENCH_TEXT_INPUTS_H
#define ZOP_BENCH_TEXT_INPUTS_H

#include <cstddef>
#include <random>
#include <string>

namespace zop_bench {

constexpr std::size_t kTextSize = 16u << 20;

constexpr const char* kTextNames[] = {"ascii", "mixed_en_zh", "emoji"};

// Appends a code point as UTF-16 units.
inline void put(std::wstring& s, char32_t cp) {
    if (cp < 0x10000) {
        s += static_cast<wchar_t>(cp);
    } else {
        s += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        s += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

inline void english_sentence(std::wstring& s, std::mt19937& rng) {
    static const char* const kWords[] = {"the",   "library", "converts", "text",   "between", "encodings", "quickly",
                                         "and",   "strictly", "while",   "every",  "file",    "stream",    "reads",
                                         "lines", "of",      "data",     "from",   "disk",    "into",      "memory"};
    int n = 4 + static_cast<int>(rng() % 10);
    for (int i = 0; i < n; ++i) {
        for (const char* w = kWords[rng() % (sizeof kWords / sizeof kWords[0])]; *w; ++w) s += static_cast<wchar_t>(*w);
        s += i + 1 < n ? L" " : L". ";
    }
    if (rng() % 8 == 0) s += L"\n";
}

inline void chinese_sentence(std::wstring& s, std::mt19937& rng) {
    // Common ideographs, U+4E00..U+9FA5, with the ideographic comma and stop.
    int n = 6 + static_cast<int>(rng() % 20);
    for (int i = 0; i < n; ++i) put(s, 0x4E00 + rng() % 0x51A6);
    put(s, rng() % 2 ? 0x3002 : 0xFF0C);
}

// About kTextSize bytes of UTF-8 text of kind 0 (ASCII), 1 (mixed) or 2
// (emoji), as UTF-16.
inline std::wstring make_text(int kind) {
    std::mt19937 rng(42);
    std::wstring s;
    std::size_t bytes = 0;
    while (bytes < kTextSize) {
        std::size_t before = s.size();
        if (kind == 0) {
            english_sentence(s, rng);
        } else if (kind == 1) {
            if (rng() % 2) english_sentence(s, rng);
            else chinese_sentence(s, rng);
        } else {
            // Mostly emoji, with some spaces and short words between them.
            put(s, 0x1F300 + rng() % 0x350);
            unsigned r = rng() % 10;
            if (r < 3) s += L' ';
            else if (r == 3) s += L"ok ";
        }
        for (std::size_t i = before; i < s.size(); ++i) {
            auto u = static_cast<unsigned>(s[i]);
            bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : (u & 0xF800) == 0xD800 ? 2 : 3;
        }
    }
    return s;
}

}  // namespace zop_bench

#endif
