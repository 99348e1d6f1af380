#include <zop/fs.h>
#include <zop/io.h>

#include "io/test_streams.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace zop;
using zop_test::Bytes;
using zop_test::Tracked;
using zop_test::VectorInput;
using zop_test::VectorOutput;

Bytes encoded(void (*writer)(DataOutputStream&)) {
    VectorOutput sink;
    DataOutputStream out(&sink, false);
    writer(out);
    return sink.data;
}

TEST(DataOutputStream, EncodingByteForByte) {
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_int(258); }), (Bytes{0, 0, 1, 2}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_short(-2); }), (Bytes{0xFF, 0xFE}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_int64(1); }), (Bytes{0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_string(std::string("abc")); }),
              (Bytes{0, 0, 0, 3, 'a', 'b', 'c'}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_string(std::wstring(L"ab")); }),
              (Bytes{0, 0, 0, 2, 0, 'a', 0, 'b'}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_line(L"ab"); }), (Bytes{'a', 'b', 13, 10}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_line(L""); }), (Bytes{13, 10}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_string(std::string()); }), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_bool(true); o.write_bool(false); }),
              (Bytes{1, 0}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_float(1.5f); }), (Bytes{0x3F, 0xC0, 0, 0}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_double(-2.0); }),
              (Bytes{0xC0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(encoded([](DataOutputStream& o) { o.write_string(std::wstring(1, wchar_t(0xD83D))); }),
              (Bytes{0, 0, 0, 1, 0xD8, 0x3D}));
    // Lines travel in the ANSI code page: one Chinese character, whatever
    // its bytes there, then CR LF.
    Bytes line = encoded([](DataOutputStream& o) { o.write_line(std::wstring(1, wchar_t(0x4E2D))); });
    ASSERT_GE(line.size(), 3u);
    EXPECT_EQ(line[line.size() - 2], 13);
    EXPECT_EQ(line.back(), 10);
}

TEST(DataStreams, EveryTypeRoundTripsAtItsExtremes) {
    VectorOutput sink;
    {
        DataOutputStream out(&sink, false);
        out.write_bool(true);
        out.write_char(std::numeric_limits<char>::min());
        out.write_byte(255);
        out.write_short(std::numeric_limits<short>::min());
        out.write_ushort(65535);
        out.write_int(std::numeric_limits<int>::min());
        out.write_uint(4294967295u);
        out.write_int64(std::numeric_limits<long long>::min());
        out.write_uint64(std::numeric_limits<unsigned long long>::max());
        out.write_float(-std::numeric_limits<float>::infinity());
        out.write_double(std::numeric_limits<double>::denorm_min());
        out.write_double(std::nan(""));
        out.write_string(std::string("\0\xFF", 2));
        out.write_string(std::wstring{L'x', wchar_t(0xFFFF), wchar_t(0)});
        out.write_line(L"line one");
    }
    VectorInput source(sink.data);
    DataInputStream in(&source, false);
    EXPECT_TRUE(in.read_bool());
    EXPECT_EQ(in.read_char(), std::numeric_limits<char>::min());
    EXPECT_EQ(in.read_byte(), 255);
    EXPECT_EQ(in.read_short(), std::numeric_limits<short>::min());
    EXPECT_EQ(in.read_ushort(), 65535);
    EXPECT_EQ(in.read_int(), std::numeric_limits<int>::min());
    EXPECT_EQ(in.read_uint(), 4294967295u);
    EXPECT_EQ(in.read_int64(), std::numeric_limits<long long>::min());
    EXPECT_EQ(in.read_uint64(), std::numeric_limits<unsigned long long>::max());
    EXPECT_EQ(in.read_float(), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(in.read_double(), std::numeric_limits<double>::denorm_min());
    EXPECT_TRUE(std::isnan(in.read_double()));
    EXPECT_EQ(in.read_ansi_string(), std::string("\0\xFF", 2));
    EXPECT_EQ(in.read_uni_string(), (std::wstring{L'x', wchar_t(0xFFFF), wchar_t(0)}));
    EXPECT_EQ(in.read_line(), L"line one");
    EXPECT_EQ(in.available(), 0);
    EXPECT_THROW(in.read_byte(), EOFException);
}

TEST(DataInputStream, DecodesSignsAndWidths) {
    auto in_of = [](Bytes b) { return VectorInput(std::move(b)); };
    VectorInput a = in_of({0xFF, 0xFE, 0xFF, 0xFE, 2});
    DataInputStream da(&a, false);
    EXPECT_EQ(da.read_short(), -2);
    EXPECT_EQ(da.read_ushort(), 65534);
    EXPECT_TRUE(da.read_bool());
    VectorInput b = in_of(Bytes(8, 0xFF));
    EXPECT_EQ(DataInputStream(&b, false).read_int64(), -1);
    VectorInput c = in_of({0x80, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(DataInputStream(&c, false).read_uint64(), 1ULL << 63);
    VectorInput d = in_of({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    DataInputStream dd(&d, false);
    EXPECT_EQ(dd.read_ansi_string(), "");
    EXPECT_THROW(dd.read_ansi_string(), EOFException);
}

TEST(DataInputStream, TruncatedInputDeliversEveryWholeRecordFirst) {
    VectorOutput sink;
    {
        DataOutputStream out(&sink, false);
        for (int i = 0; i < 100; ++i) {
            out.write_int(i);
            out.write_string(L"record " + std::to_wstring(i));
        }
    }
    // Cut the data at every length: all whole records come back, then
    // EOFException; never a crash or a wrong value.
    for (std::size_t cut = 0; cut < sink.data.size(); cut += 7) {
        VectorInput source(Bytes(sink.data.begin(), sink.data.begin() + static_cast<long>(cut)));
        DataInputStream in(&source, false);
        int records = 0;
        try {
            for (;;) {
                int id = in.read_int();
                std::wstring text = in.read_uni_string();
                ASSERT_EQ(id, records);
                ASSERT_EQ(text, L"record " + std::to_wstring(records));
                ++records;
            }
        } catch (const EOFException&) {
        }
        // Record i takes 8 + 2 * length("record i") bytes.
        std::size_t whole = 0;
        int expected = 0;
        while (true) {
            std::size_t size = 8 + 2 * (L"record " + std::to_wstring(expected)).size();
            if (whole + size > cut) break;
            whole += size;
            ++expected;
        }
        EXPECT_EQ(records, expected) << "cut at " << cut;
    }
    // A length prefix that promises far more than the input holds fails at
    // the end of the data without reserving the promised gigabytes.
    VectorInput huge(Bytes{0x7F, 0xFF, 0xFF, 0xF0, 0, 'a', 0, 'b'});
    EXPECT_THROW(DataInputStream(&huge, false).read_uni_string(), EOFException);
    VectorInput huge_ansi(Bytes{0xFF, 0xFF, 0xFF, 0xF0, 'a'});
    EXPECT_THROW(DataInputStream(&huge_ansi, false).read_ansi_string(), EOFException);
    // Three bytes of an int are consumed and lost.
    VectorInput three(Bytes{1, 2, 3});
    DataInputStream in3(&three, false);
    EXPECT_THROW(in3.read_int(), EOFException);
    EXPECT_EQ(in3.read(), -1);
}

TEST(DataInputStream, LinesPeekAndSkip) {
    VectorInput a(zop_test::bytes_of("ab\r\ncd\n"));
    DataInputStream da(&a, false);
    EXPECT_EQ(da.read_line(), L"ab");
    EXPECT_EQ(da.read_line(), L"cd");
    EXPECT_THROW(da.read_line(), EOFException);

    VectorInput b(zop_test::bytes_of("ab\rcd"));
    DataInputStream db(&b, false);
    EXPECT_EQ(db.read_line(), L"ab");
    EXPECT_THROW(db.read_line(), EOFException);

    VectorInput c(zop_test::bytes_of("\nab\rx"));
    DataInputStream dc(&c, false);
    EXPECT_EQ(dc.read_line(), L"");
    EXPECT_EQ(dc.read_line(), L"ab");
    EXPECT_EQ(dc.peek(), 'x');  // left pending after the CR
    EXPECT_EQ(dc.available(), 1);
    unsigned char buf[4];
    const int reads_before = c.reads;
    EXPECT_EQ(dc.read(buf, 1), 1);
    EXPECT_EQ(buf[0], 'x');
    EXPECT_EQ(c.reads, reads_before);  // served from the pending byte
    EXPECT_EQ(dc.peek(), -1);
    EXPECT_EQ(dc.available(), 0);

    VectorInput d(Bytes{0, 200, 7, 8, 9});
    DataInputStream dd(&d, false);
    EXPECT_EQ(dd.peek(), 0);
    EXPECT_EQ(dd.read(), 0);
    EXPECT_EQ(dd.peek(), 200);
    EXPECT_EQ(dd.peek(), 200);
    EXPECT_EQ(dd.read(buf, 3), 3);
    EXPECT_EQ(Bytes(buf, buf + 3), (Bytes{200, 7, 8}));
    EXPECT_EQ(dd.peek(), 9);
    EXPECT_EQ(dd.seek(-2, CURRENT), -2);  // the pending byte counts as read
    EXPECT_EQ(dd.read(), 7);

    VectorInput e(zop_test::bytes_of("only one line\n"));
    DataInputStream de(&e, false);
    EXPECT_EQ(de.skip_line(0), 0u);
    EXPECT_EQ(de.skip_line(3), 3u);
    EXPECT_EQ(de.read(), -1);
}

TEST(DataStreams, ClosedStatesAndOwnership) {
    DataInputStream none_in(nullptr, true);
    try {
        none_in.read();
        FAIL() << "read from a null stream";
    } catch (const IOException& e) {
        EXPECT_EQ(e.message(), L"Input stream has closed.");
    }
    none_in.close();
    DataOutputStream none_out(nullptr, true);
    EXPECT_THROW(none_out.write_int(1), IOException);
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
