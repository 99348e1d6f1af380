// Convertion between whole strings: the strict converters with room for
// everything, and the place of the first fault when there is one.
#include <zop/text.h>

#include <limits>

namespace zop {

namespace {

// Inputs longer than the converters' unsigned counts cannot be converted in
// one call; such texts are refused rather than cut.
template <typename Text>
unsigned checked_length(const Text& text) {
    if (text.size() >= std::numeric_limits<unsigned>::max() / 4) {
        throw ArgumentException(L"Text too long to convert");
    }
    return static_cast<unsigned>(text.size());
}

}  // namespace

std::wstring Convertion::to_utf16(const std::string& text) {
    const unsigned length = checked_length(text);
    std::wstring out(length, L'\0');  // never more units than bytes
    unsigned room = length;
    const bool ok = utf8_to_utf16(text.data(), length, &out[0], &room);
    out.resize(length - room);
    if (ok) return out;
    // The bytes of what was converted tell where the fault starts.
    std::size_t offset = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto u = static_cast<unsigned long>(out[i]);
        offset += u < 0x80 ? 1 : u < 0x800 ? 2 : (u & 0xFC00) == 0xD800 ? 4 : (u & 0xFC00) == 0xDC00 ? 0 : 3;
    }
    throw FormatException(L"Invalid UTF-8 at byte " + std::to_wstring(offset));
}

std::string Convertion::to_utf8(const std::wstring& text) {
    const unsigned length = checked_length(text);
    std::string out(length * 3 + 1, '\0');  // three bytes a unit at most, and the zero
    unsigned room = length * 3;
    const bool ok = utf16_to_utf8(text.data(), length, &out[0], &room);
    out.resize(length * 3 - room);
    if (ok) return out;
    // The units of what was converted tell where the fault is.
    std::size_t offset = 0;
    for (unsigned char b : out) {
        if ((b & 0xC0) != 0x80) offset += (b & 0xF8) == 0xF0 ? 2 : 1;
    }
    throw FormatException(L"Invalid UTF-16 at unit " + std::to_wstring(offset));
}

}  // namespace zop
