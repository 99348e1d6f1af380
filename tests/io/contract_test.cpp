#include <zop/io.h>

#include "io/test_streams.h"

#include <gtest/gtest.h>

namespace {

using namespace zop;
using zop_test::Bytes;
using zop_test::VectorInput;
using zop_test::VectorOutput;

// Delivers a fixed result from every block read.
class FixedInput : public MemoryInputStream {
public:
    FixedInput(int result, unsigned char byte) : result_(result), byte_(byte) {}
    int read(unsigned char* bytes, int) override {
        if (result_ > 0) bytes[0] = byte_;
        return result_;
    }
    using InputStream::read;
    long long seek(long long, SeekOrigin) override { return 0; }

private:
    int result_;
    unsigned char byte_;
};

TEST(StreamContracts, DefaultSingleByteOperations) {
    EXPECT_EQ(FixedInput(-1, 0).read(), -1);
    EXPECT_EQ(FixedInput(0, 0).read(), -1);  // nothing delivered counts as the end
    EXPECT_EQ(FixedInput(1, 0xFF).read(), 255);
    EXPECT_EQ(FixedInput(1, 0).read(), 0);

    VectorOutput out;
    out.write(0x100);
    out.write(-1);
    out.write(0x1FF);
    out.write(0x41);
    EXPECT_EQ(out.data, (Bytes{0x00, 0xFF, 0xFF, 0x41}));
    EXPECT_EQ(out.writes, 4);
}

TEST(StreamContracts, DefaultsOfTheBases) {
    FixedInput in(1, 7);
    EXPECT_EQ(in.available(), 0);
    in.close();
    in.close();
    EXPECT_EQ(in.available(), 0);
    class NullOutput : public MemoryOutputStream {
    public:
        void write(const unsigned char*, unsigned int) override {}
        using OutputStream::write;
        long long seek(long long, SeekOrigin) override { return 0; }
    } out;
    EXPECT_EQ(out.buffer(), nullptr);
    out.flush();
    out.close();
    EXPECT_EQ(out.buffer(), nullptr);

    // Assignment through a base changes nothing in either object.
    VectorInput a(Bytes{1, 2, 3});
    VectorInput b(Bytes{9});
    static_cast<InputStream&>(a) = static_cast<const InputStream&>(b);
    EXPECT_EQ(a.read(), 1);
    EXPECT_EQ(b.read(), 9);
}

}  // namespace
