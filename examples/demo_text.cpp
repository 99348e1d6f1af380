// Demo: character classification and UTF-8 / UTF-16 / ANSI conversion.
#include "demo.h"

#include <zop/zop.h>

#include <string>

namespace {

std::wstring classes_of(wchar_t c) {
    using zop::Char;
    std::wstring out;
    if (Char::is_whitespace(c)) out += L" whitespace";
    if (Char::is_letter(c)) out += L" letter";
    if (Char::is_upper(c)) out += L" upper";
    if (Char::is_lower(c)) out += L" lower";
    if (Char::is_digit(c)) out += L" digit";
    if (Char::is_number(c)) out += L" number";
    if (Char::is_punctuation(c)) out += L" punctuation";
    if (Char::is_seperator(c)) out += L" separator";
    if (Char::is_symbol(c)) out += L" symbol";
    return out.empty() ? L" (none)" : out;
}

std::wstring hex(unsigned value, int digits) {
    const wchar_t* d = L"0123456789ABCDEF";
    std::wstring s(static_cast<std::size_t>(digits), L'0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) s[static_cast<std::size_t>(i)] = d[value & 15];
    return s;
}

}  // namespace

void demo_text() {
    using zop::Convertion;

    section(L"Character classes (Unicode 3.0)");
    for (unsigned c : {0x41u, 0x61u, 0x01C5u, 0x0660u, 0x00B2u, 0x2160u, 0x00ADu, 0x200Bu, 0x2028u,
                       0x20ACu, 0x4E2Du, 0x0220u}) {
        print(L"  U+" + hex(c, 4) + L":" + classes_of(static_cast<wchar_t>(c)));
    }

    section(L"UTF-8 to UTF-16");
    const char utf8[] = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A é € 😀
    wchar_t units[8];
    for (unsigned room : {8u, 4u}) {
        unsigned left = room;
        bool ok = Convertion::utf8_to_utf16(utf8, 10, units, &left);
        std::wstring line = L"  room " + std::to_wstring(room) + L": " + (ok ? L"true" : L"false") + L",";
        for (unsigned i = 0; i < room - left; ++i) line += L" " + hex(static_cast<unsigned>(units[i]), 4);
        print(line + L", room left " + std::to_wstring(left));
    }
    unsigned left = 8;
    bool ok = Convertion::utf8_to_utf16("\xED\xA0\x80", 3, units, &left);
    print(std::wstring(L"  ED A0 80 (a surrogate in UTF-8): ") + (ok ? L"true" : L"false"));

    section(L"UTF-16 to UTF-8");
    const wchar_t text[] = {0x41, 0xE9, 0x20AC, 0xD83D, 0xDE00};
    char bytes[11];
    for (unsigned room : {10u, 6u}) {
        left = room;
        ok = Convertion::utf16_to_utf8(text, 5, bytes, &left);
        std::wstring line = L"  room " + std::to_wstring(room) + L": " + (ok ? L"true" : L"false") + L",";
        for (unsigned i = 0; i <= room - left; ++i) {
            line += L" " + hex(static_cast<unsigned char>(bytes[i]), 2);
        }
        print(line + L" (zero included), room left " + std::to_wstring(left));
    }
    const wchar_t lone[] = {0x41, 0xDC00};
    left = 10;
    ok = Convertion::utf16_to_utf8(lone, 2, bytes, &left);
    print(std::wstring(L"  0041 DC00 (a lone low surrogate): ") + (ok ? L"true" : L"false"));

    print(L"  to_utf16(\"caf\\xC3\\xA9\") = " + Convertion::to_utf16("caf\xC3\xA9"));
    try {
        Convertion::to_utf16("ok\xC3(");
    } catch (const zop::FormatException& e) {
        print(L"  to_utf16(\"ok\\xC3(\"): FormatException: " + e.message());
    }

    section(L"ANSI code page");
    const wchar_t ascii[] = L"ANSI text";
    int needed = Convertion::utf16_to_ansi(ascii, 0xFFFFFFFFu, nullptr, 0);
    print(L"  bytes needed for \"ANSI text\" with its zero: " + std::to_wstring(needed));
    char narrow[16];
    int written = Convertion::utf16_to_ansi(ascii, 0xFFFFFFFFu, narrow, sizeof narrow);
    wchar_t back[16];
    int units_back = Convertion::ansi_to_utf16(narrow, static_cast<unsigned>(written), back, 16);
    print(L"  round trip: " + std::to_wstring(written) + L" bytes, " + std::to_wstring(units_back) +
          L" units: " + std::wstring(back));
}
