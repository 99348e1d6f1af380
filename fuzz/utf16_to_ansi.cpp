// Convertion::utf16_to_ansi on Linux, where the ANSI code page is UTF-8
// with replacement: a size query, then conversions into exactly that room,
// into less (error 122, only whole characters written) and into more; the
// bytes agree with the replacing model, decode back to the input with
// U+FFFD for what could not be encoded, nothing is written past them, and a
// length of 0xFFFFFFFF stops after the first zero unit.
#include <zop/text.h>

#include "fuzz_support.h"
#include "sys/error.h"

using zop::Convertion;

namespace {

const char kCanary = '\x5A';
constexpr unsigned kTail = 8;

// The length of the UTF-8 character that starts with `lead`.
std::size_t sequence_length(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

void convert(const wchar_t* in, unsigned length, const std::string& want, unsigned size) {
    std::string out(size + kTail, kCanary);
    const int n = Convertion::utf16_to_ansi(in, length, &out[0], size);
    std::size_t written = want.size();
    if (size >= want.size()) {
        FUZZ_CHECK(n == static_cast<int>(want.size()));
    } else {
        FUZZ_CHECK(n == 0 && zop::sys::last_error() == 122);
        // The whole characters that fit.
        written = 0;
        while (written < want.size()) {
            const std::size_t k = sequence_length(static_cast<unsigned char>(want[written]));
            if (written + k > size) break;
            written += k;
        }
    }
    FUZZ_CHECK(out.compare(0, written, want, 0, written) == 0);
    for (std::size_t i = written; i < out.size(); ++i) FUZZ_CHECK(out[i] == kCanary);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // Byte 0: the width of the units (bit 0) and the short room; the rest:
    // the units.
    std::wstring in = zop_fuzz::raw_units(data + 1, size - 1, (data[0] & 1) != 0);
    const auto length = static_cast<unsigned>(in.size());
    std::wstring units;
    const std::string want = zop_fuzz::replacing_encode(in, &units);

    if (length == 0) {
        char byte = kCanary;
        FUZZ_CHECK(Convertion::utf16_to_ansi(in.data(), 0, &byte, 1) == 0 && byte == kCanary);
        zop::sys::set_last_error(0);
        FUZZ_CHECK(Convertion::utf16_to_ansi(in.data(), 0, nullptr, 0) == 0);
        FUZZ_CHECK(zop::sys::last_error() == 87);
        return 0;
    }
    // A value above 0xFFFF (wchar_t is wider here) is no UTF-16 text at all:
    // the conversion is refused with code 87, whatever else the text holds.
    bool wide = false;
    for (wchar_t c : in) wide = wide || static_cast<std::uint32_t>(c) > 0xFFFF;
    if (wide) {
        zop::sys::set_last_error(0);
        FUZZ_CHECK(Convertion::utf16_to_ansi(in.data(), length, nullptr, 0) == 0);
        FUZZ_CHECK(zop::sys::last_error() == 87);
        return 0;
    }
    const int needed = Convertion::utf16_to_ansi(in.data(), length, nullptr, 0);
    FUZZ_CHECK(needed == static_cast<int>(want.size()));
    convert(in.data(), length, want, static_cast<unsigned>(needed));
    convert(in.data(), length, want, static_cast<unsigned>(needed) + 3);
    // Too little room (a size of 0 would be the size query).
    if (needed > 1) convert(in.data(), length, want, 1 + (data[0] >> 1) % static_cast<unsigned>(needed - 1));

    // The bytes decode back to the input, U+FFFD where it had no character.
    std::wstring back(units.size() + 1, L'\0');
    FUZZ_CHECK(Convertion::ansi_to_utf16(want.data(), static_cast<unsigned>(want.size()), &back[0],
                                         static_cast<unsigned>(back.size())) ==
               static_cast<int>(units.size()));
    FUZZ_CHECK(back.compare(0, units.size(), units) == 0);

    zop::sys::set_last_error(0);
    FUZZ_CHECK(Convertion::utf16_to_ansi(in.data(), length, nullptr, 4) == 0);
    FUZZ_CHECK(zop::sys::last_error() == 87);
    zop::sys::set_last_error(0);
    FUZZ_CHECK(Convertion::utf16_to_ansi(nullptr, length, nullptr, 0) == 0);
    FUZZ_CHECK(zop::sys::last_error() == 87);

    // Up to and including the first zero unit (one is put at the end).
    in.push_back(L'\0');
    const std::wstring upto(in.c_str(), std::char_traits<wchar_t>::length(in.c_str()) + 1);
    const std::string want_upto = zop_fuzz::replacing_encode(upto);
    FUZZ_CHECK(Convertion::utf16_to_ansi(in.data(), 0xFFFFFFFFu, nullptr, 0) ==
               static_cast<int>(want_upto.size()));
    convert(in.data(), 0xFFFFFFFFu, want_upto, static_cast<unsigned>(want_upto.size()));
    return 0;
}
