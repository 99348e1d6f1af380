#include <zop/fs.h>
#include <zop/io.h>

#include "io/test_streams.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using namespace zop;
using zop_test::Bytes;
using zop_test::Tracked;
using zop_test::VectorInput;
using zop_test::VectorOutput;

TEST(DataOutputStream, EncodingByteForByte) {
    VectorOutput sink;
    DataOutputStream o(&sink, false);
    o.write_int(258);
    o.write_short(-2);
    o.write_int64(1);
    o.write_string(std::string("abc"));
    o.write_string(std::wstring(L"ab"));
    o.write_line(L"ab");
    o.write_line(L"");
    o.write_string(std::string());
    o.write_bool(true);
    o.write_bool(false);
    o.write_float(1.5f);
    o.write_double(-2.0);
    o.write_string(std::wstring(1, wchar_t(0xD83D)));
    EXPECT_EQ(sink.data, (Bytes{0, 0, 1, 2, 0xFF, 0xFE, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 3, 'a', 'b', 'c',
                                0, 0, 0, 2, 0, 'a', 0, 'b', 'a', 'b', 13, 10, 13, 10, 0, 0, 0, 0, 1, 0,
                                0x3F, 0xC0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0xD8, 0x3D}));
    // Lines travel in the ANSI code page: one Chinese character, whatever
    // its bytes there, then CR LF.
    sink.data.clear();
    o.write(reinterpret_cast<const unsigned char*>("xy"), 2);
    o.write_line(std::wstring(1, wchar_t(0x4E2D)));
    ASSERT_GE(sink.data.size(), 5u);
    EXPECT_EQ(sink.data[1], 'y');
    EXPECT_EQ(sink.data[sink.data.size() - 2], 13);
    EXPECT_EQ(sink.data.back(), 10);
}

// A buffered stream that sees, one call at a time, every byte the data
// streams move: a subclass that overrides the byte calls gets no whole values.
struct CountingBufferedIn : BufferedInputStream {
    using BufferedInputStream::BufferedInputStream;
    int read() override { return ++calls, BufferedInputStream::read(); }
    using BufferedInputStream::read;
    int calls = 0;
};
struct CountingBufferedOut : BufferedOutputStream {
    using BufferedOutputStream::BufferedOutputStream;
    void write(int b) override { ++calls, BufferedOutputStream::write(b); }
    using BufferedOutputStream::write;
    int calls = 0;
};

// Every type at its extremes, directly over memory, through plain buffered
// streams of 3 bytes (values cross every refill and block boundary) and
// through subclasses of them.
TEST(DataStreams, EveryTypeRoundTripsAtItsExtremes) {
    for (int chain = 0; chain < 3; ++chain) {
        VectorOutput sink;
        CountingBufferedOut* counted_out = chain == 2 ? new CountingBufferedOut(&sink, 3, false, true) : nullptr;
        OutputStream* out_base = chain == 0 ? static_cast<OutputStream*>(&sink)
                                 : chain == 1 ? new BufferedOutputStream(&sink, 3, false, true)
                                              : counted_out;
        {
            DataOutputStream out(out_base, chain != 0);
            out.write_bool(true);
            out.write_char(std::numeric_limits<char>::min());
            out.write_byte(255);
            out.write_short(std::numeric_limits<short>::min());
            out.write_ushort(65535);
            out.write_int(std::numeric_limits<int>::min());
            out.write_uint(4294967295u);
            out.write_int64(std::numeric_limits<long long>::min());
            out.write_uint64(0x0102030405060708ULL);
            out.write_float(-std::numeric_limits<float>::infinity());
            out.write_double(std::numeric_limits<double>::denorm_min());
            out.write_double(std::nan(""));
            out.write_string(std::string("\0\xFF", 2));
            out.write_string(std::wstring{L'x', wchar_t(0xFFFF), wchar_t(0)});
            out.write_line(L"line one");
            if (counted_out != nullptr) {
                EXPECT_EQ(counted_out->calls, 1 + 1 + 1 + 2 + 2 + 4 + 4 + 8 + 8 + 4 + 8 + 8 + 4 + 4);
            }
        }
        VectorInput source(sink.data);
        CountingBufferedIn* counted_in = chain == 2 ? new CountingBufferedIn(&source, 3, false, true) : nullptr;
        InputStream* in_base = chain == 0 ? static_cast<InputStream*>(&source)
                               : chain == 1 ? new BufferedInputStream(&source, 3, false, true)
                                            : counted_in;
        DataInputStream in(in_base, chain != 0);
        EXPECT_TRUE(in.read_bool());
        EXPECT_EQ(in.read_char(), std::numeric_limits<char>::min());
        EXPECT_EQ(in.read_byte(), 255);
        EXPECT_EQ(in.peek(), 0x80);  // a pending byte comes first, then the buffer
        EXPECT_EQ(in.read_short(), std::numeric_limits<short>::min());
        EXPECT_EQ(in.read_ushort(), 65535);
        EXPECT_EQ(in.read_int(), std::numeric_limits<int>::min());
        EXPECT_EQ(in.read_uint(), 4294967295u);
        EXPECT_EQ(in.read_int64(), std::numeric_limits<long long>::min());
        EXPECT_EQ(in.read_uint64(), 0x0102030405060708ULL);
        EXPECT_EQ(in.read_float(), -std::numeric_limits<float>::infinity());
        EXPECT_EQ(in.read_double(), std::numeric_limits<double>::denorm_min());
        EXPECT_TRUE(std::isnan(in.read_double()));
        if (counted_in != nullptr) {
            EXPECT_EQ(counted_in->calls, 1 + 1 + 1 + 2 + 2 + 4 + 4 + 8 + 8 + 4 + 8 + 8);
        }
        EXPECT_EQ(in.read_ansi_string(), std::string("\0\xFF", 2));
        EXPECT_EQ(in.read_uni_string(), (std::wstring{L'x', wchar_t(0xFFFF), wchar_t(0)}));
        EXPECT_EQ(in.read_line(), L"line one");
        EXPECT_EQ(in.available(), 0);
        EXPECT_THROW(in.read_byte(), EOFException);
    }
}

// A data stream over bytes in memory.
struct DataOver {
    explicit DataOver(Bytes b) : source(std::move(b)), in(&source, false) {}
    explicit DataOver(const char* text) : DataOver(zop_test::bytes_of(text)) {}
    VectorInput source;
    DataInputStream in;
};

TEST(DataInputStream, TruncatedInputDeliversEveryWholeRecordFirst) {
    VectorOutput sink;
    std::vector<std::size_t> ends;  // where each record ends
    {
        DataOutputStream out(&sink, false);
        for (int i = 0; i < 100; ++i) {
            out.write_int(i);
            out.write_string(L"record " + std::to_wstring(i));
            ends.push_back(sink.data.size());
        }
    }
    // Cut the data at every length: all whole records come back, then
    // EOFException; never a crash or a wrong value.
    for (std::size_t cut = 0; cut < sink.data.size(); cut += 7) {
        VectorInput source(Bytes(sink.data.begin(), sink.data.begin() + static_cast<long>(cut)));
        DataInputStream in(&source, false);
        int records = 0;
        try {
            for (;; ++records) {
                ASSERT_EQ(in.read_int(), records);
                ASSERT_EQ(in.read_uni_string(), L"record " + std::to_wstring(records));
            }
        } catch (const EOFException&) {
        }
        EXPECT_EQ(records, std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin()) << "cut at " << cut;
    }
    // A length prefix that promises far more than the input holds fails at
    // the end of the data without reserving the promised gigabytes.
    EXPECT_THROW(DataOver(Bytes{0x7F, 0xFF, 0xFF, 0xF0, 0, 'a', 0, 'b'}).in.read_uni_string(), EOFException);
    EXPECT_THROW(DataOver(Bytes{0xFF, 0xFF, 0xFF, 0xF0, 'a'}).in.read_ansi_string(), EOFException);
    // 0xFFFFFFFF is no count: the end at once, after an empty string.
    DataOver d(Bytes{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 'a'});
    EXPECT_EQ(d.in.read_ansi_string(), "");
    EXPECT_THROW(d.in.read_ansi_string(), EOFException);
    // Three bytes of an int are consumed and lost.
    DataOver three(Bytes{1, 2, 3});
    EXPECT_THROW(three.in.read_int(), EOFException);
    EXPECT_EQ(three.in.read(), -1);
}

TEST(DataInputStream, LinesPeekAndSkip) {
    DataOver a("ab\r\nc\n");
    EXPECT_EQ(a.in.read_line(), L"ab");
    EXPECT_EQ(a.in.read_line(), L"c");
    EXPECT_THROW(a.in.read_line(), EOFException);
    DataOver b("ab\rcd");
    EXPECT_EQ(b.in.read_line(), L"ab");
    EXPECT_THROW(b.in.read_line(), EOFException);

    DataOver c("\nab\rx");
    EXPECT_EQ(c.in.read_line(), L"");
    EXPECT_EQ(c.in.read_line(), L"ab");
    EXPECT_EQ(c.in.peek(), 'x');  // left pending after the CR
    EXPECT_EQ(c.in.available(), 1);
    unsigned char buf[4];
    const int reads_before = c.source.reads;
    EXPECT_EQ(c.in.read(buf, 1), 1);
    EXPECT_EQ(buf[0], 'x');
    EXPECT_EQ(c.source.reads, reads_before);  // served from the pending byte
    EXPECT_EQ(c.in.peek(), -1);
    EXPECT_EQ(c.in.available(), 0);

    DataOver d(Bytes{0, 200, 7, 8, 9});
    EXPECT_EQ(d.in.peek(), 0);
    EXPECT_EQ(d.in.read(), 0);
    EXPECT_EQ(d.in.peek(), 200);
    EXPECT_EQ(d.in.peek(), 200);
    EXPECT_EQ(d.in.read(buf, 3), 3);
    EXPECT_EQ(Bytes(buf, buf + 3), (Bytes{200, 7, 8}));
    EXPECT_EQ(d.in.peek(), 9);
    EXPECT_EQ(d.in.seek(-2, CURRENT), -2);  // the pending byte counts as read
    EXPECT_EQ(d.in.read(), 7);

    DataOver e(Bytes{'a', 0, 'b', '\n', 'c', '\n'});  // a NUL ends a line too
    EXPECT_EQ(e.in.skip_line(0), 0u);
    EXPECT_EQ(e.in.skip_line(1), 1u);
    EXPECT_EQ(e.in.read(), 'b');
    EXPECT_EQ(e.in.skip_line(3), 3u);
    EXPECT_EQ(e.in.read(), -1);
    const int reads_at_end = e.source.reads;
    EXPECT_EQ(e.in.skip_line(0xFFFFFFFFu), 0xFFFFFFFFu);  // found by fuzz_data_input: it read on
    EXPECT_EQ(e.source.reads, reads_at_end + 1);
}

TEST(DataStreams, ClosedStatesAndOwnership) {
    DataInputStream none_in(nullptr, true);
    EXPECT_EQ(zop_test::thrown<IOException>([&] { none_in.read(); }), L"Input stream has closed.");
    none_in.close();
    DataOutputStream none_out(nullptr, true);
    EXPECT_THROW(none_out.write_int(1), IOException);
    EXPECT_THROW(none_out.write_bool(true), IOException);
    EXPECT_THROW(none_out.write_line(L"x"), IOException);
    none_out.close();

    int destroyed = 0;
    auto* inner = new Tracked<VectorOutput>(&destroyed);
    DataOutputStream out(inner, true);
    out.write_byte(1);
    EXPECT_EQ(out.buffer(), nullptr);
    out.close();
    EXPECT_EQ(destroyed, 1);
    out.close();
    EXPECT_THROW(out.flush(), IOException);
    EXPECT_THROW(out.write_float(1.0f), IOException);
    EXPECT_THROW(out.seek(0, BEGIN), IOException);

    // A buffered stream closed underneath a data stream refuses whole values too.
    VectorOutput sink;
    BufferedOutputStream buffered_out(&sink, 64, false, false);
    DataOutputStream over_closed(&buffered_out, false);
    over_closed.write_int(1);
    buffered_out.close();
    EXPECT_THROW(over_closed.write_int(2), IOException);
    VectorInput source(Bytes(8, 1));
    BufferedInputStream buffered_in(&source, 64, false, false);
    DataInputStream in(&buffered_in, false);
    EXPECT_EQ(in.read_int(), 0x01010101);
    buffered_in.close();
    EXPECT_THROW(in.read_int(), IOException);
}

TEST(DataStreams, DecoratorsStackOverRealFiles) {
    zop_test::TempDir tmp;
    const std::wstring path = tmp / L"records.bin";
    {
        auto* file = new FileOutputStream(path, CREATE, NONE);
        auto* buffered = new BufferedOutputStream(file, true, true);
        DataOutputStream out(new BufferedOutputStream(buffered, 16, true, true), true);
        for (int i = 0; i < 5000; ++i) {
            out.write_int(i * 7);
            out.write_line(L"line " + std::to_wstring(i));
        }
        EXPECT_EQ(File(path).length(), 0);  // still pending in the blocks
    }
    // Per record: 4 bytes, "line ", the digits, CR LF.
    long long digits = 10 * 1 + 90 * 2 + 900 * 3 + 4000 * 4;
    EXPECT_EQ(File(path).length(), 5000 * (4 + 5 + 2) + digits);
    auto* file = new FileInputStream(path, READ);
    auto* buffered = new BufferedInputStream(file, 5, true, true);
    DataInputStream in(new BufferedInputStream(buffered, 64, true, true), true);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(in.read_int(), i * 7);
        ASSERT_EQ(in.read_line(), L"line " + std::to_wstring(i));
    }
    EXPECT_EQ(in.peek(), -1);
    EXPECT_THROW(in.read_int(), EOFException);
    in.close();
    EXPECT_THROW(in.read(), IOException);
}

}  // namespace
