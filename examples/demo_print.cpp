// Output helpers of the demo program.
#include "demo.h"

#include <zop/text.h>

#include <cstdio>
#include <string>

// Writes UTF-16 text to stdout as UTF-8.  Listings can hold names that are
// no valid UTF-16 (an unpaired surrogate, or where wchar_t is wider a value
// above 0xFFFF); those units are shown as U+FFFD.
void print(const std::wstring& text) {
    std::string out;
    try {
        out = zop::Convertion::to_utf8(text);
    } catch (const zop::FormatException&) {
        std::wstring shown(text);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const auto u = static_cast<unsigned long>(shown[i]);
            const auto next = i + 1 < shown.size() ? static_cast<unsigned long>(shown[i + 1]) : 0;
            if (u >= 0xD800 && u <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
                ++i;  // a pair
            } else if ((u >= 0xD800 && u <= 0xDFFF) || u > 0xFFFF) {
                shown[i] = 0xFFFD;
            }
        }
        out = zop::Convertion::to_utf8(shown);
    }
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
}

void section(const wchar_t* title) { print(std::wstring(L"\n== ") + title + L" =="); }
