// The data streams and the buffered streams beneath them, over in-memory
// streams that count the calls they get, so that the tests see what a
// decorator asks of them.
#include <zop/io.h>

#include "io/test_streams.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

using namespace zop;
using namespace zop_test;

Bytes ten() { return bytes_of("0123456789"); }

TEST(BufferedInputStream, ConstructionRefillsSeeksAndDirectReads) {
    VectorInput in(ten());
    // The pointer is checked before the size.
    EXPECT_EQ(thrown<ArgumentException>([&] { BufferedInputStream b(nullptr, 0, false, false); }),
              L"The input stream is NULL.");
    EXPECT_THROW(BufferedInputStream(nullptr, true, true), ArgumentException);
    EXPECT_EQ(thrown<ArgumentException>([&] { BufferedInputStream b(&in, 0, false, false); }),
              L"The initial size is 0.");
    // default_size is read at each construction.
    const unsigned int saved = BufferedInputStream::default_size;
    BufferedInputStream::default_size = 0;
    EXPECT_THROW(BufferedInputStream(&in, false, false), ArgumentException);
    BufferedInputStream::default_size = 4;
    BufferedInputStream b(&in, false, false);
    BufferedInputStream::default_size = saved;
    unsigned char buf[16];
    EXPECT_EQ(b.read(buf, 3), 3);  // one refill of 4
    EXPECT_EQ(b.read(buf, 3), 3);  // 1 buffered, then a refill
    EXPECT_EQ(std::string(buf, buf + 3), "345");
    EXPECT_EQ(b.available(), 4);
    EXPECT_EQ(in.reads, 2);
    // BEGIN goes to the source and drops the buffer; CURRENT stays in the
    // buffer while the target is in it, its end included.
    EXPECT_EQ(b.seek(0, BEGIN), -8);
    EXPECT_EQ(b.read(), '0');  // buffer holds 0..3, three unread
    EXPECT_EQ(b.seek(3, CURRENT), 3);
    EXPECT_EQ(b.seek(-3, CURRENT), -3);
    EXPECT_EQ(b.read(), '1');  // three unread again: 1, 2, 3 -> pos 2
    EXPECT_EQ(b.seek(5, CURRENT), 5);
    EXPECT_EQ(in.seeks, 2);  // only BEGIN and this one reached the source, which moved by 5 - 2
    EXPECT_EQ(b.read(), '7');
    EXPECT_EQ(b.seek(1, static_cast<SeekOrigin>(3)), 0);

    VectorInput in2(ten());
    BufferedInputStream direct(&in2, 4, false, false);
    EXPECT_EQ(direct.read(buf, 8), 8);  // straight to the source
    EXPECT_EQ(in2.reads, 1);
    EXPECT_EQ(direct.read(buf, 8), 2);
    EXPECT_EQ(in2.reads, 2);  // the source said nothing more is available
    // At the end a request of the buffer's size still goes to the source and
    // gets its end result; one byte less refills and gets 0.
    EXPECT_EQ(direct.read(buf, 4), -1);
    EXPECT_EQ(direct.read(buf, 3), 0);
    EXPECT_EQ(direct.InputStream::read(), -1);  // the base's byte read takes 0 as the end too
    EXPECT_EQ(direct.read(buf, 0), 0);
}

TEST(BufferedOutputStream, CollectsUntilFlushedAndGrows) {
    VectorOutput out;
    EXPECT_EQ(thrown<ArgumentException>([&] { BufferedOutputStream b(nullptr, false, false); }),
              L"The output stream is NULL.");
    EXPECT_THROW(BufferedOutputStream(&out, 0u, false, false), ArgumentException);
    BufferedOutputStream b(&out, false, false);
    EXPECT_EQ(b.buffer(), nullptr);
    b.write(reinterpret_cast<const unsigned char*>("abc"), 3);
    b.write(reinterpret_cast<const unsigned char*>("de"), 2);  // grows: 3 -> 10
    for (int i = 0; i < 5; ++i) b.write('f' + i);  // fills the 10 bytes
    EXPECT_EQ(std::string(b.buffer(), b.buffer() + 10), "abcdefghij");
    EXPECT_TRUE(out.data.empty());
    b.flush();
    EXPECT_EQ(out.writes, 1);
    EXPECT_EQ(out.flushes, 1);
    EXPECT_EQ(out.data, bytes_of("abcdefghij"));
    b.write('z');
    EXPECT_EQ(b.seek(0, BEGIN), 11);  // seeking flushes first, then asks the stream
}

// Every type at its extremes: how it is written, and what reading it back
// must give.
using Out = DataOutputStream&;
using In = DataInputStream&;
const std::wstring wide{L'x', wchar_t(0xD83D), wchar_t(0xFFFF), wchar_t(0)};  // a lone surrogate too
const std::pair<std::function<void(Out)>, std::function<void(In)>> values[] = {
    {[](Out o) { o.write_bool(true); }, [](In i) { EXPECT_TRUE(i.read_bool()); }},
    {[](Out o) { o.write_bool(false); }, [](In i) { EXPECT_FALSE(i.read_bool()); }},
    {[](Out o) { o.write_char('\x80'); }, [](In i) { EXPECT_EQ(i.read_char(), '\x80'); }},
    {[](Out o) { o.write_byte(255); }, [](In i) { EXPECT_EQ(i.read_byte(), 255); }},
    {[](Out o) { o.write_short(std::numeric_limits<short>::min()); },
     [](In i) { EXPECT_EQ(i.read_short(), std::numeric_limits<short>::min()); }},
    {[](Out o) { o.write_ushort(65534); }, [](In i) { EXPECT_EQ(i.read_ushort(), 65534); }},
    {[](Out o) { o.write_int(std::numeric_limits<int>::min()); },
     [](In i) { EXPECT_EQ(i.read_int(), std::numeric_limits<int>::min()); }},
    {[](Out o) { o.write_uint(0xFFFEFDFCu); },
     [](In i) {
         EXPECT_EQ(i.peek(), i.available() > 0 ? 0xFF : -1);  // a pending byte comes first, then the buffer
         EXPECT_EQ(i.read_uint(), 0xFFFEFDFCu);
     }},
    {[](Out o) { o.write_int64(std::numeric_limits<long long>::min()); },
     [](In i) { EXPECT_EQ(i.read_int64(), std::numeric_limits<long long>::min()); }},
    {[](Out o) { o.write_uint64(0x0102030405060708ULL); },
     [](In i) { EXPECT_EQ(i.read_uint64(), 0x0102030405060708ULL); }},
    {[](Out o) { o.write_float(-std::numeric_limits<float>::infinity()); },
     [](In i) { EXPECT_EQ(i.read_float(), -std::numeric_limits<float>::infinity()); }},
    {[](Out o) { o.write_double(std::numeric_limits<double>::denorm_min()); },
     [](In i) { EXPECT_EQ(i.read_double(), std::numeric_limits<double>::denorm_min()); }},
    {[](Out o) { o.write_double(-2.0); }, [](In i) { EXPECT_EQ(i.read_double(), -2.0); }},
    {[](Out o) { o.write_string(std::string("\0\xFF", 2)); },
     [](In i) { EXPECT_EQ(i.read_ansi_string(), std::string("\0\xFF", 2)); }},
    {[](Out o) { o.write_string(std::string()); }, [](In i) { EXPECT_EQ(i.read_ansi_string(), ""); }},
    {[](Out o) { o.write_string(wide); }, [](In i) { EXPECT_EQ(i.read_uni_string(), wide); }},
    {[](Out o) { o.write_string(std::wstring()); }, [](In i) { EXPECT_EQ(i.read_uni_string(), L""); }},
    {[](Out o) { o.write_line(L"line one"); }, [](In i) { EXPECT_EQ(i.read_line(), L"line one"); }},
    {[](Out o) { o.write_line(L""); }, [](In i) { EXPECT_EQ(i.read_line(), L""); }},
};

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

// Every value byte for byte, directly over memory, through plain buffered
// streams of 6 bytes (some values are taken whole from the block, others
// cross a refill) and through subclasses of them, which must see every byte.
// The data read back is cut at every length: all whole values come back,
// then EOFException; never a crash or a wrong value.
TEST(DataStreams, EveryTypeRoundTripsAtItsExtremesAndCutAnywhere) {
    const Bytes encoded{1, 0, 0x80, 0xFF, 0x80, 0, 0xFF, 0xFE, 0x80, 0, 0, 0, 0xFF, 0xFE, 0xFD, 0xFC,
                        0x80, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0xFF, 0x80, 0, 0,
                        0, 0, 0, 0, 0, 0, 0, 1, 0xC0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0xFF,
                        0, 0, 0, 0, 0, 0, 0, 4, 0, 'x', 0xD8, 0x3D, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0,
                        'l', 'i', 'n', 'e', ' ', 'o', 'n', 'e', 13, 10, 13, 10};
    std::vector<std::size_t> ends;  // where each value is whole: a line once its CR has come
    for (int chain = 0; chain < 3; ++chain) {
        VectorOutput sink;
        BufferedOutputStream plain_out(&sink, 6, false, false);
        CountingBufferedOut counted_out(&sink, 6, false, false);
        OutputStream* const outs[] = {&sink, &plain_out, &counted_out};
        {
            DataOutputStream out(outs[chain], false);
            for (const auto& value : values) {
                value.first(out);
                if (chain == 0) ends.push_back(sink.data.size() - (sink.data.back() == 10 ? 1 : 0));
            }
        }
        EXPECT_EQ(sink.data, encoded) << "chain " << chain;
        EXPECT_EQ(counted_out.calls, chain == 2 ? 68 : 0);  // all but the string bodies and the lines
        for (std::size_t cut = 0; cut <= encoded.size(); ++cut) {
            VectorInput source(Bytes(encoded.begin(), encoded.begin() + static_cast<long>(cut)));
            BufferedInputStream plain_in(&source, 6, false, false);
            CountingBufferedIn counted_in(&source, 6, false, false);
            InputStream* const ins[] = {&source, &plain_in, &counted_in};
            DataInputStream in(ins[chain], false);
            std::size_t whole = 0;
            try {
                for (const auto& value : values) {
                    value.second(in);
                    ++whole;
                }
                in.read_byte();
                ADD_FAILURE() << "no end after the last value";
            } catch (const EOFException&) {
            }
            EXPECT_EQ(whole, std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin())
                << "chain " << chain << ", cut at " << cut;
            if (cut == encoded.size()) {
                EXPECT_EQ(counted_in.calls, chain == 2 ? static_cast<int>(cut) + 1 : 0);
            }
        }
    }
    // Lines travel in the ANSI code page: two Chinese characters, whatever
    // their bytes there (up to three each), then CR LF.
    VectorOutput sink;
    DataOutputStream(&sink, false).write_line(std::wstring{wchar_t(0x4E2D), wchar_t(0x6587)});
    ASSERT_GE(sink.data.size(), 4u);
    EXPECT_EQ(Bytes(sink.data.end() - 2, sink.data.end()), (Bytes{13, 10}));
}

// A data stream over bytes in memory.
struct DataOver {
    explicit DataOver(Bytes b) : source(std::move(b)), in(&source, false) {}
    VectorInput source;
    DataInputStream in;
};

TEST(DataInputStream, CountsBeyondTheDataAndLostBytes) {
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
    DataOver c(bytes_of("ab\r\nc\n\nd\rxy"));  // CR LF, LF and CR end a line
    for (const wchar_t* line : {L"ab", L"c", L"", L"d"}) EXPECT_EQ(c.in.read_line(), line);
    EXPECT_EQ(c.in.peek(), 'x');  // left pending after the CR
    unsigned char buf[4];
    const int reads_before = c.source.reads;
    EXPECT_EQ(c.in.read(buf, 1), 1);
    EXPECT_EQ(buf[0], 'x');
    EXPECT_EQ(c.source.reads, reads_before);  // served from the pending byte
    EXPECT_EQ(c.in.peek(), 'y');
    EXPECT_EQ(c.in.read(buf, 4), 1);  // the pending byte alone at the end

    DataOver d(Bytes{0, 200, 7, 8, 9});
    EXPECT_EQ(d.in.peek(), 0);
    EXPECT_EQ(d.in.available(), 5);  // a pending 0 counts too
    EXPECT_EQ(d.in.read(), 0);
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

// A closed stream deletes what it owns, refuses every call but close and
// leaves alone what it was not told to close; a data stream over a buffered
// stream closed beneath it refuses whole values too.
TEST(Streams, ClosedStatesAndOwnership) {
    int destroyed = 0;
    BufferedInputStream buffered_in(new VectorInput(Bytes(8, 1), &destroyed), true, true);
    DataInputStream in(&buffered_in, false);
    EXPECT_EQ(in.read_int(), 0x01010101);
    buffered_in.close();
    EXPECT_EQ(destroyed, 1);
    buffered_in.close();
    EXPECT_THROW(in.read_int(), IOException);
    EXPECT_EQ(thrown<IOException>([&] { buffered_in.available(); }), L"Input stream has closed.");
    VectorInput kept(ten());
    { BufferedInputStream own_only(&kept, true, false); }  // own without close-wrapped: untouched
    EXPECT_EQ(kept.closes, 0);
    { BufferedInputStream close_only(&kept, false, true); }
    EXPECT_EQ(kept.closes, 1);

    auto* failing = new VectorOutput(&destroyed);
    failing->fail_writes = true;
    BufferedOutputStream buffered_out(failing, 8, true, true);
    DataOutputStream over_closed(&buffered_out, false);
    buffered_out.write('x');
    EXPECT_THROW(buffered_out.flush(), IOException);  // the byte stays pending
    EXPECT_NO_THROW(buffered_out.close());
    EXPECT_EQ(destroyed, 2);
    EXPECT_THROW(over_closed.write_int(2), IOException);
    EXPECT_THROW(buffered_out.buffer(), IOException);
    buffered_out.close();
    VectorOutput sink;
    {
        BufferedOutputStream keep(&sink, true, false);
        keep.write('k');
    }  // the destructor flushes, closes nothing, deletes nothing
    EXPECT_EQ(sink.closes, 0);
    sink.write(-1);  // the base's byte write keeps the low 8 bits
    EXPECT_EQ(sink.data, (Bytes{'k', 0xFF}));

    DataInputStream none_in(nullptr, true);
    EXPECT_EQ(thrown<IOException>([&] { none_in.read(); }), L"Input stream has closed.");
    none_in.close();
    DataOutputStream none_out(nullptr, true);
    EXPECT_THROW(none_out.write_int(1), IOException);
    EXPECT_THROW(none_out.write_bool(true), IOException);
    EXPECT_THROW(none_out.write_line(L"x"), IOException);
    DataOutputStream out(new VectorOutput(&destroyed), true);
    out.close();
    EXPECT_EQ(destroyed, 3);
    out.close();
    EXPECT_THROW(out.flush(), IOException);
    EXPECT_THROW(out.seek(0, BEGIN), IOException);
}

}  // namespace
