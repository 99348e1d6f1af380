// DataInputStream over any bytes (directly over an in-memory stream, or
// through a BufferedInputStream of a chosen size), reading a sequence of
// typed values, strings, lines, skips, peeks, raw reads and seeks chosen by
// the input.  Each result is compared with a model that reads the same
// bytes by the documented encoding; running out of bytes must be an
// EOFException that consumes what was left, and a string's storage must
// stay within what its bytes can fill (a length prefix is trusted for no
// more than 64 KiB up front).
//
// Input: byte 0 holds the number of operation bytes (low five bits) and
// whether to buffer (bit 5, with the buffer size in byte 1); then the
// operation bytes; the rest is the stream's content.
#include <zop/io.h>
#include <zop/text.h>

#include "fuzz_support.h"
#include "io/test_streams.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

using namespace zop;

namespace {

constexpr std::size_t kReserveBound = 64 * 1024;

// The model: the content and how much of it the reader has consumed.
struct Model {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t pos;

    std::size_t left() const { return size - pos; }
    // The next n bytes as a big-endian number; false (all consumed) when
    // fewer are left.
    bool take(std::size_t n, std::uint64_t& value) {
        if (left() < n) {
            pos = size;
            return false;
        }
        value = 0;
        for (std::size_t i = 0; i < n; ++i) value = (value << 8) | bytes[pos++];
        return true;
    }
};

// Runs a typed read: equal to the model's value, or EOFException exactly
// when the model runs out.
template <typename T, typename Read>
void typed(Model& m, std::size_t n, Read read) {
    std::uint64_t want = 0;
    const bool there = m.take(n, want);
    try {
        const T got = read();
        FUZZ_CHECK(there);
        if (std::is_same<T, bool>::value) want = want != 0 ? 1 : 0;  // any non-zero byte is true
        std::uint64_t bits = 0;
        std::memcpy(&bits, &got, sizeof got);
        FUZZ_CHECK(bits == want);
    } catch (const EOFException&) {
        FUZZ_CHECK(!there);
    }
}

template <typename S>
void check_storage(const S& s) {
    FUZZ_CHECK(s.capacity() <= std::max<std::size_t>(kReserveBound, 2 * s.size() + 32));
}

// A narrow or wide string: a count, then that many bytes or units.
template <typename S, typename Read>
void string_read(Model& m, std::size_t unit, Read read) {
    std::uint64_t count = 0;
    bool there = m.take(4, count);
    S want;
    if (there && count == 0xFFFFFFFFu) {
        // The count that stands for no string at all: refused, only the
        // count consumed.
        there = false;
    } else if (there) {
        if (m.left() < count * unit) {
            m.pos = m.size;
            there = false;
        } else {
            for (std::uint64_t i = 0; i < count; ++i) {
                std::uint64_t v = 0;
                m.take(unit, v);
                want.push_back(static_cast<typename S::value_type>(v));
            }
        }
    }
    try {
        const S got = read();
        FUZZ_CHECK(there && got == want);
        check_storage(got);
    } catch (const EOFException&) {
        FUZZ_CHECK(!there);
    }
}

void line_read(Model& m, DataInputStream& in) {
    const std::uint8_t* begin = m.bytes + m.pos;
    const std::uint8_t* end = m.bytes + m.size;
    const std::uint8_t* stop = std::find_if(begin, end, [](std::uint8_t b) { return b == 13 || b == 10; });
    const bool there = stop != end;
    const std::string line(begin, stop);
    if (there) {
        m.pos = static_cast<std::size_t>(stop - m.bytes) + 1;
        if (*stop == 13 && m.pos < m.size && m.bytes[m.pos] == 10) ++m.pos;
    } else {
        m.pos = m.size;
    }
    try {
        const std::wstring got = in.read_line();
        FUZZ_CHECK(there && got == zop_fuzz::replacing_decode(line));
    } catch (const EOFException&) {
        FUZZ_CHECK(!there);
    }
}

void skip_lines(Model& m, DataInputStream& in, unsigned n) {
    for (unsigned i = 0; i < n && m.pos < m.size; ++i) {
        while (m.pos < m.size) {
            const std::uint8_t b = m.bytes[m.pos++];
            if (b == 0 || b == 10) break;
        }
    }
    FUZZ_CHECK(in.skip_line(n) == n);
}

void raw_read(Model& m, DataInputStream& in, int len) {
    std::vector<unsigned char> buf(static_cast<std::size_t>(len) + 4, 0x5A);
    const int n = in.read(buf.data(), len);
    const std::size_t want = std::min<std::size_t>(static_cast<std::size_t>(len), m.left());
    if (want == 0) {
        FUZZ_CHECK(n <= 0);
    } else {
        FUZZ_CHECK(n == static_cast<int>(want));
        FUZZ_CHECK(std::memcmp(buf.data(), m.bytes + m.pos, want) == 0);
        m.pos += want;
    }
    for (std::size_t i = n > 0 ? static_cast<std::size_t>(n) : 0; i < buf.size(); ++i) FUZZ_CHECK(buf[i] == 0x5A);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool buffered = (data[0] & 0x20) != 0;
    const unsigned buffer_size = 1 + data[1] % 64;
    const std::size_t op_count = std::min<std::size_t>(data[0] & 0x1F, size - 2);
    const std::uint8_t* ops = data + 2;
    Model m{ops + op_count, size - 2 - op_count, 0};

    auto* source = new zop_test::VectorInput(zop_test::Bytes(m.bytes, m.bytes + m.size));
    InputStream* wrapped = source;
    if (buffered) wrapped = new BufferedInputStream(source, buffer_size, true, true);
    DataInputStream in(wrapped, true);

    for (std::size_t k = 0; k < op_count; ++k) {
        const unsigned op = ops[k] & 0x0F;
        const unsigned arg = ops[k] >> 4;
        switch (op) {
        case 0: typed<bool>(m, 1, [&] { return in.read_bool(); }); break;
        case 1: typed<char>(m, 1, [&] { return in.read_char(); }); break;
        case 2: typed<unsigned char>(m, 1, [&] { return in.read_byte(); }); break;
        case 3: typed<short>(m, 2, [&] { return in.read_short(); }); break;
        case 4: typed<unsigned short>(m, 2, [&] { return in.read_ushort(); }); break;
        case 5: typed<int>(m, 4, [&] { return in.read_int(); }); break;
        case 6: typed<unsigned int>(m, 4, [&] { return in.read_uint(); }); break;
        case 7:
            if (arg & 1) typed<long long>(m, 8, [&] { return in.read_int64(); });
            else typed<unsigned long long>(m, 8, [&] { return in.read_uint64(); });
            break;
        case 8: typed<float>(m, 4, [&] { return in.read_float(); }); break;
        case 9: typed<double>(m, 8, [&] { return in.read_double(); }); break;
        case 10: string_read<std::string>(m, 1, [&] { return in.read_ansi_string(); }); break;
        case 11: string_read<std::wstring>(m, 2, [&] { return in.read_uni_string(); }); break;
        case 12: line_read(m, in); break;
        case 13: skip_lines(m, in, arg == 15 ? 0xFFFFFFFFu : arg); break;
        case 14:
            if (arg & 1) {
                FUZZ_CHECK(in.peek() == (m.left() > 0 ? m.bytes[m.pos] : -1));
            } else {
                FUZZ_CHECK(in.read() == (m.left() > 0 ? m.bytes[m.pos++] : -1));
            }
            break;
        default:
            if (arg < 12) {
                raw_read(m, in, static_cast<int>(arg * 3));
            } else if (arg == 12) {
                FUZZ_CHECK(in.available() == static_cast<long long>(m.left()));
            } else if (!buffered) {
                // Seeks within the content, from the start or from here.
                const std::size_t to = m.size == 0 ? 0 : (m.pos * 7 + arg) % (m.size + 1);
                if (arg == 13) in.seek(static_cast<long long>(to), BEGIN);
                else in.seek(static_cast<long long>(to) - static_cast<long long>(m.pos), CURRENT);
                m.pos = to;
            }
            break;
        }
    }
    return 0;
}
