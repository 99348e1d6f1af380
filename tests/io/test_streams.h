// Streams written by the tests: in-memory sources and sinks that count the
// calls they get, so that tests can see what a decorator asks of them.
#ifndef ZOP_TESTS_IO_TEST_STREAMS_H
#define ZOP_TESTS_IO_TEST_STREAMS_H

#include <zop/io.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace zop_test {

using Bytes = std::vector<unsigned char>;

inline Bytes bytes_of(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Reads from a byte vector; -1 at the end, like a file.  Counts its calls
// and, when given a counter, its own destruction, to check ownership flags.
class VectorInput : public zop::MemoryInputStream {
public:
    explicit VectorInput(Bytes data, int* destroyed = nullptr) : data_(std::move(data)), destroyed_(destroyed) {}
    ~VectorInput() override { if (destroyed_ != nullptr) ++*destroyed_; }
    int read(unsigned char* bytes, int len) override {
        ++reads;
        if (available() <= 0) return -1;
        const auto n = static_cast<int>(std::min<long long>(len, available()));
        std::memcpy(bytes, data_.data() + pos_, static_cast<std::size_t>(n));
        pos_ += n;
        return n;
    }
    using zop::InputStream::read;
    long long seek(long long offset, zop::SeekOrigin origin) override {
        ++seeks;
        const long long before = pos_;
        pos_ = std::max(0LL, offset + (origin == zop::CURRENT ? pos_ : origin == zop::END ? size() : 0));
        return pos_ - before;
    }
    long long available() const override { return size() - pos_; }
    void close() override { ++closes; }

    int reads = 0;
    int seeks = 0;
    int closes = 0;

private:
    long long size() const { return static_cast<long long>(data_.size()); }
    Bytes data_;
    long long pos_ = 0;
    int* destroyed_;
};

// Collects what is written; can be told to fail.  Counts like VectorInput.
class VectorOutput : public zop::MemoryOutputStream {
public:
    explicit VectorOutput(int* destroyed = nullptr) : destroyed_(destroyed) {}
    ~VectorOutput() override { if (destroyed_ != nullptr) ++*destroyed_; }
    void write(const unsigned char* bytes, unsigned int len) override {
        ++writes;
        if (fail_writes) throw zop::IOException(L"write refused");
        data.insert(data.end(), bytes, bytes + len);
    }
    using zop::OutputStream::write;
    // Only ever appends: every seek reports the end.
    long long seek(long long, zop::SeekOrigin) override { return static_cast<long long>(data.size()); }
    void flush() override { ++flushes; }
    void close() override { ++closes; }

    Bytes data;
    bool fail_writes = false;
    int writes = 0;
    int flushes = 0;
    int closes = 0;

private:
    int* destroyed_;
};

}  // namespace zop_test

#endif
