#include <zop/io.h>

#include "io/test_streams.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace zop;
using zop_test::Bytes;
using zop_test::Tracked;
using zop_test::VectorInput;
using zop_test::VectorOutput;

Bytes ten() { return zop_test::bytes_of("0123456789"); }

TEST(BufferedInputStream, ConstructionChecks) {
    VectorInput in(ten());
    // The pointer is checked before the size.
    EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { BufferedInputStream b(nullptr, 0, false, false); }),
              L"The input stream is NULL.");
    EXPECT_THROW(BufferedInputStream(nullptr, true, true), ArgumentException);
    EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { BufferedInputStream b(&in, 0, false, false); }),
              L"The initial size is 0.");
    // default_size is read at each construction.
    const unsigned int saved = BufferedInputStream::default_size;
    BufferedInputStream::default_size = 3;
    BufferedInputStream small(&in, false, false);
    BufferedInputStream::default_size = saved;
    unsigned char buf[2];
    small.read(buf, 2);
    EXPECT_EQ(in.reads, 1);
    EXPECT_EQ(small.available(), 8);  // 1 buffered + 7 in the source
}

TEST(BufferedInputStream, RefillsAndDirectReads) {
    VectorInput in(ten());
    BufferedInputStream b(&in, 4, false, false);
    unsigned char buf[16];
    EXPECT_EQ(b.read(buf, 3), 3);  // one refill of 4
    EXPECT_EQ(in.reads, 1);
    EXPECT_EQ(b.read(buf, 3), 3);  // 1 buffered, then a refill
    EXPECT_EQ(std::string(buf, buf + 3), "345");
    EXPECT_EQ(b.available(), 4);
    EXPECT_EQ(in.reads, 2);
    EXPECT_EQ(b.InputStream::available(), 0);  // the base's default

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
    EXPECT_EQ(direct.read(), -1);
    EXPECT_EQ(direct.InputStream::read(), -1);  // the base's byte read takes 0 as the end too
    EXPECT_EQ(direct.read(buf, 0), 0);
}

TEST(BufferedInputStream, SeeksInsideAndOutsideTheBuffer) {
    VectorInput in(ten());
    BufferedInputStream b(&in, 4, false, false);
    EXPECT_EQ(b.read(), '0');  // buffer holds 0..3, three unread
    EXPECT_EQ(b.seek(3, CURRENT), 3);  // to the buffer's end, still inside
    EXPECT_EQ(b.seek(-1, CURRENT), -1);
    EXPECT_EQ(in.seeks, 0);
    EXPECT_EQ(b.read(), '3');
    EXPECT_EQ(b.seek(-3, CURRENT), -3);
    EXPECT_EQ(b.read(), '1');  // three unread again: 1, 2, 3 -> pos 2
    EXPECT_EQ(b.seek(5, CURRENT), 5);
    EXPECT_EQ(in.seeks, 1);    // the source moved by 5 - 2
    EXPECT_EQ(b.read(), '7');
    EXPECT_EQ(b.seek(1, static_cast<SeekOrigin>(3)), 0);
    EXPECT_EQ(b.read(), '8');
    b.seek(0, BEGIN);
    EXPECT_EQ(b.read(), '0');
}

TEST(BufferedInputStream, OwnershipAndClosing) {
    int destroyed = 0;
    auto* owned = new Tracked<VectorInput>(&destroyed, ten());
    {
        BufferedInputStream b(owned, true, true);
        b.close();
        EXPECT_EQ(destroyed, 1);
        b.close();
        EXPECT_THROW(b.read(), IOException);
        EXPECT_EQ(zop_test::thrown<IOException>([&] { b.available(); }), L"Input stream has closed.");
    }
    VectorInput kept(ten());
    { BufferedInputStream b(&kept, true, false); }  // own without close-wrapped: untouched
    EXPECT_EQ(kept.closes, 0);
    { BufferedInputStream b(&kept, false, true); }
    EXPECT_EQ(kept.closes, 1);
}

TEST(BufferedOutputStream, CollectsUntilFlushedAndGrows) {
    VectorOutput out;
    EXPECT_EQ(zop_test::thrown<ArgumentException>([&] { BufferedOutputStream b(nullptr, false, false); }),
              L"The output stream is NULL.");
    EXPECT_THROW(BufferedOutputStream(&out, 0u, false, false), ArgumentException);
    BufferedOutputStream b(&out, false, false);
    EXPECT_EQ(b.buffer(), nullptr);
    b.write(reinterpret_cast<const unsigned char*>("abc"), 3);
    EXPECT_EQ(std::string(b.buffer(), b.buffer() + 3), "abc");
    b.write(reinterpret_cast<const unsigned char*>("de"), 2);  // grows: 3 -> 10
    for (int i = 0; i < 5; ++i) b.write('f' + i);  // fills the 10 bytes
    EXPECT_EQ(std::string(b.buffer(), b.buffer() + 10), "abcdefghij");
    EXPECT_TRUE(out.data.empty());
    b.flush();
    EXPECT_EQ(out.writes, 1);
    EXPECT_EQ(out.flushes, 1);
    EXPECT_EQ(out.data, zop_test::bytes_of("abcdefghij"));
    b.write('z');
    EXPECT_EQ(b.seek(0, BEGIN), 0);  // seeking flushes first
    EXPECT_EQ(out.writes, 2);
    EXPECT_EQ(out.seeks, 1);
}

TEST(BufferedOutputStream, CloseDropsAFailedFlushAndHonoursTheFlags) {
    int destroyed = 0;
    auto* failing = new Tracked<VectorOutput>(&destroyed);
    failing->fail_writes = true;
    BufferedOutputStream b(failing, 8, true, true);
    b.write('x');
    EXPECT_THROW(b.flush(), IOException);  // the byte stays pending
    EXPECT_NO_THROW(b.close());
    EXPECT_EQ(destroyed, 1);
    EXPECT_THROW(b.write('y'), IOException);
    EXPECT_THROW(b.buffer(), IOException);
    b.close();

    VectorOutput kept;
    {
        BufferedOutputStream keep(&kept, true, false);
        keep.write('k');
    }  // the destructor flushes, closes nothing, deletes nothing
    EXPECT_EQ(kept.closes, 0);
    kept.write(0x100);  // the base's byte write keeps the low 8 bits
    kept.write(-1);
    EXPECT_EQ(kept.data, (Bytes{'k', 0, 0xFF}));
}

}  // namespace
