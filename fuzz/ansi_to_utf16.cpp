// Convertion::ansi_to_utf16 on Linux, where the ANSI code page is UTF-8
// with replacement: a size query, then conversions into exactly that room,
// into less (error 122, only whole characters written) and into more; the
// units agree with the replacing model, nothing is written past them, and a
// length of 0xFFFFFFFF stops after the first zero byte.
#include <zop/text.h>

#include "fuzz_support.h"
#include "sys/error.h"

#include <vector>

using zop::Convertion;

namespace {

const wchar_t kCanary = static_cast<wchar_t>(0x5A5A5A);
constexpr unsigned kTail = 8;

// Converts into `size` units (followed by canaries) and checks the count,
// the units and the untouched rest against `want`.
void convert(const char* in, unsigned length, const std::wstring& want, unsigned size) {
    std::vector<wchar_t> out(size + kTail, kCanary);
    const int n = Convertion::ansi_to_utf16(in, length, out.data(), size);
    std::size_t written = want.size();
    if (size >= want.size()) {
        FUZZ_CHECK(n == static_cast<int>(want.size()));
    } else {
        // Too small: nothing is returned, error 122, and the characters that
        // fit whole are written (a pair is never split).
        FUZZ_CHECK(n == 0 && zop::sys::last_error() == 122);
        written = size;
        if (written > 0 && want[written - 1] >= 0xD800 && want[written - 1] <= 0xDBFF) --written;
    }
    FUZZ_CHECK(std::wstring(out.data(), written) == want.substr(0, written));
    for (std::size_t i = written; i < out.size(); ++i) FUZZ_CHECK(out[i] == kCanary);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // Byte 0 chooses the short room; the rest is the text.
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto length = static_cast<unsigned>(text.size());
    const std::wstring want = zop_fuzz::replacing_decode(text);

    if (length == 0) {
        // Nothing to convert: 0 without the system for an output, error 87
        // for a size query.
        wchar_t unit = kCanary;
        FUZZ_CHECK(Convertion::ansi_to_utf16(text.data(), 0, &unit, 1) == 0 && unit == kCanary);
        zop::sys::set_last_error(0);
        FUZZ_CHECK(Convertion::ansi_to_utf16(text.data(), 0, nullptr, 0) == 0);
        FUZZ_CHECK(zop::sys::last_error() == 87);
        return 0;
    }
    const int needed = Convertion::ansi_to_utf16(text.data(), length, nullptr, 0);
    FUZZ_CHECK(needed == static_cast<int>(want.size()));
    convert(text.data(), length, want, static_cast<unsigned>(needed));
    convert(text.data(), length, want, static_cast<unsigned>(needed) + 3);
    // Too little room (a size of 0 would be the size query).
    if (needed > 1) convert(text.data(), length, want, 1 + data[0] % static_cast<unsigned>(needed - 1));

    // A null output with room, or a null input, is error 87.
    zop::sys::set_last_error(0);
    FUZZ_CHECK(Convertion::ansi_to_utf16(text.data(), length, nullptr, 4) == 0);
    FUZZ_CHECK(zop::sys::last_error() == 87);
    zop::sys::set_last_error(0);
    FUZZ_CHECK(Convertion::ansi_to_utf16(nullptr, length, nullptr, 0) == 0);
    FUZZ_CHECK(zop::sys::last_error() == 87);

    // Up to and including the first zero byte (one is put at the end).
    text.push_back('\0');
    const std::string upto(text.c_str(), std::char_traits<char>::length(text.c_str()) + 1);
    const std::wstring want_upto = zop_fuzz::replacing_decode(upto);
    FUZZ_CHECK(Convertion::ansi_to_utf16(text.data(), 0xFFFFFFFFu, nullptr, 0) ==
               static_cast<int>(want_upto.size()));
    convert(text.data(), 0xFFFFFFFFu, want_upto, static_cast<unsigned>(want_upto.size()));
    return 0;
}
