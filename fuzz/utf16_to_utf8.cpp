// Convertion::utf16_to_utf8 on any units (16-bit, or any 32-bit value) with
// any room, against the character-list model: the same outcome and bytes,
// the terminating zero after a success only, nothing written past it
// (canaries), the room left counted right, and text converted whole decodes
// back to the same units.
#include <zop/text.h>

#include "fuzz_support.h"

using zop::Convertion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // Byte 0: the width of the units (bit 0); bytes 1-2: the room, up to
    // four bytes a unit (ample); the rest: the units.
    const std::wstring in = zop_fuzz::raw_units(data + 3, size - 3, (data[0] & 1) != 0);
    const auto length = static_cast<unsigned>(in.size());
    const unsigned room = (data[1] | (data[2] << 8)) % (4 * length + 4);

    const char kCanary = '\x5A';
    constexpr unsigned kTail = 8;
    std::string out(room + kTail, kCanary);
    unsigned left = room;
    const bool ok = Convertion::utf16_to_utf8(in.data(), length, &out[0], &left);
    FUZZ_CHECK(left <= room);
    const unsigned written = room - left;
    const zop_test::Outcome<std::string> want = zop_test::expected_encode(in, room);
    FUZZ_CHECK(ok == want.ok);
    FUZZ_CHECK(out.compare(0, written, want.text) == 0 && want.text.size() == written);
    // A success ends with a zero byte beyond the room it reports; nothing
    // else is touched.
    std::size_t clean = written;
    if (ok) FUZZ_CHECK(out[clean++] == '\0');
    for (std::size_t i = clean; i < out.size(); ++i) FUZZ_CHECK(out[i] == kCanary);

    // Text converted whole decodes back to the same units.
    const zop_test::Outcome<std::string> whole = zop_test::expected_encode(in, 4 * length);
    if (ok && whole.ok && whole.text.size() == written) {
        std::wstring back(length + 1, static_cast<wchar_t>(0x5A5A5A));
        unsigned room16 = length;
        FUZZ_CHECK(Convertion::utf8_to_utf16(out.data(), written, &back[0], &room16));
        FUZZ_CHECK(back.compare(0, length - room16, in) == 0 && room16 == 0);
    }

    // The argument rules: no room pointer or no output fails without
    // writing, so does a null input with units to read; no units give just
    // the terminating zero.
    std::string spare(2, kCanary);
    unsigned one = 1;
    FUZZ_CHECK(!Convertion::utf16_to_utf8(in.data(), length, &spare[0], nullptr));
    FUZZ_CHECK(!Convertion::utf16_to_utf8(in.data(), length, nullptr, &one) && one == 1);
    if (length != 0) FUZZ_CHECK(!Convertion::utf16_to_utf8(nullptr, length, &spare[0], &one) && one == 1);
    FUZZ_CHECK(spare == std::string(2, kCanary));
    FUZZ_CHECK(Convertion::utf16_to_utf8(nullptr, 0, &spare[0], &one) && one == 1 && spare[0] == '\0');
    return 0;
}
