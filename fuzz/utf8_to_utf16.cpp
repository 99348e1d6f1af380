// Convertion::utf8_to_utf16 on any bytes with any room, against the UTF-8
// automaton: the same outcome and units, nothing written past the units it
// reports (canaries after them), the room left counted right, and valid
// text converted whole encodes back to the same bytes.
#include <zop/text.h>

#include "fuzz_support.h"

#include <cstring>
#include <vector>

using zop::Convertion;

namespace {

// No unit the decoder writes can hold this value.
const wchar_t kCanary = static_cast<wchar_t>(0x5A5A5A);
constexpr unsigned kTail = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first two bytes choose the room: up to the input length plus a few
    // (ample), the input text is the rest.
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const auto length = static_cast<unsigned>(text.size());
    const unsigned room = (data[0] | (data[1] << 8)) % (length + 4);

    std::vector<wchar_t> out(room + kTail, kCanary);
    unsigned left = room;
    const bool ok = Convertion::utf8_to_utf16(text.data(), length, out.data(), &left);
    FUZZ_CHECK(left <= room);
    const unsigned written = room - left;
    const zop_test::Outcome<std::wstring> want = zop_test::expected_decode(text, room);
    FUZZ_CHECK(ok == want.ok);
    FUZZ_CHECK(std::wstring(out.data(), written) == want.text);
    for (std::size_t i = written; i < out.size(); ++i) FUZZ_CHECK(out[i] == kCanary);

    // Valid text converted whole comes back byte for byte.
    const zop_test::Outcome<std::wstring> whole = zop_test::expected_decode(text, length);
    if (ok && whole.ok && whole.text.size() == written) {
        std::string back(length + 2, '\x5A');
        unsigned room8 = length;
        FUZZ_CHECK(Convertion::utf16_to_utf8(out.data(), written, &back[0], &room8));
        FUZZ_CHECK(room8 == 0);
        FUZZ_CHECK(back.compare(0, length, text) == 0);
        FUZZ_CHECK(back[length] == '\0' && back[length + 1] == '\x5A');
    }

    // The argument rules: no room pointer, a null input or output where
    // there is something to read or room to write, fail without writing; an
    // empty input succeeds and leaves the room as it is.
    FUZZ_CHECK(!Convertion::utf8_to_utf16(text.data(), length, out.data(), nullptr));
    left = room;
    FUZZ_CHECK(Convertion::utf8_to_utf16(nullptr, 0, out.data(), &left) && left == room);
    if (length != 0) {
        FUZZ_CHECK(!Convertion::utf8_to_utf16(nullptr, length, out.data(), &left) && left == room);
    }
    if (room != 0 && length != 0) {
        FUZZ_CHECK(!Convertion::utf8_to_utf16(text.data(), length, nullptr, &left) && left == room);
    }
    // Without room nothing is read: a null output is fine then.
    unsigned none = 0;
    FUZZ_CHECK(Convertion::utf8_to_utf16(text.data(), length, nullptr, &none) && none == 0);
    return 0;
}
