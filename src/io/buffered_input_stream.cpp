// BufferedInputStream: read-ahead over any input stream.
#include <zop/io.h>

#include "io/stream_errors.h"

#include <cstring>
#include <new>

namespace zop {

unsigned int BufferedInputStream::default_size = 2048;

BufferedInputStream::BufferedInputStream(InputStream* in, bool own, bool close_wrapped)
    : in_(in), own_(own), close_wrapped_(close_wrapped), buf_(nullptr), capacity_(default_size),
      count_(0), pos_(0) {
    if (in == nullptr) throw ArgumentException(L"The input stream is NULL.", L"in");
    if (capacity_ == 0) throw ArgumentException(L"The initial size is 0.", L"init_size");
    buf_ = new (std::nothrow) unsigned char[capacity_];
    if (buf_ == nullptr) throw OutOfMemoryException();
}

BufferedInputStream::BufferedInputStream(InputStream* in, unsigned int init_size, bool own,
                                         bool close_wrapped)
    : in_(in), own_(own), close_wrapped_(close_wrapped), buf_(nullptr), capacity_(init_size),
      count_(0), pos_(0) {
    if (in == nullptr) throw ArgumentException(L"The input stream is NULL.", L"in");
    if (init_size == 0) throw ArgumentException(L"The initial size is 0.", L"init_size");
    buf_ = new (std::nothrow) unsigned char[init_size];
    if (buf_ == nullptr) throw OutOfMemoryException();
}

BufferedInputStream::~BufferedInputStream() {
    try {
        close();
    } catch (...) {
        // A destructor does not throw; the wrapped stream's failure is lost.
    }
    delete[] buf_;
}

void BufferedInputStream::check_closed() const {
    if (in_ == nullptr) throw IOException(detail::kInputClosed);
}

void BufferedInputStream::internal_read() {
    int n = in_->read(buf_, static_cast<int>(capacity_));
    pos_ = 0;
    count_ = n > 0 ? static_cast<unsigned int>(n) : 0;
}

// The byte path of typed readers: a bounds test and a load, with the rest
// kept out of line so that this needs no stack frame.
int BufferedInputStream::read() {
    if (pos_ < count_ && in_ != nullptr) return buf_[pos_++];
    return read_refill();
}

[[gnu::noinline]] int BufferedInputStream::read_refill() {
    check_closed();
    if (pos_ < count_) return buf_[pos_++];
    internal_read();
    if (count_ == 0) return -1;
    pos_ = 1;
    return buf_[0];
}

int BufferedInputStream::read_buf(unsigned char* bytes, int len) {
    if (count_ <= pos_) {
        if (static_cast<unsigned int>(len) >= capacity_) return in_->read(bytes, len);
        internal_read();
        if (count_ == 0) return 0;
    }
    unsigned int k = count_ - pos_;
    if (k > static_cast<unsigned int>(len)) k = static_cast<unsigned int>(len);
    std::memcpy(bytes, buf_ + pos_, k);
    pos_ += k;
    return static_cast<int>(k);
}

int BufferedInputStream::read(unsigned char* bytes, int len) {
    check_closed();
    if (len == 0) return 0;
    if (len < 0) throw ArgumentException(L"The len cannot be negative.", L"len");
    if (bytes == nullptr) throw ArgumentException(L"The bytes buffer is empty.", L"bytes");
    int n = read_buf(bytes, len);
    if (n <= 0) return n;
    while (n < len) {
        if (in_->available() <= 0) break;
        int k = read_buf(bytes + n, len - n);
        if (k <= 0) break;
        n += k;
    }
    return n;
}

long long BufferedInputStream::seek(long long offset, SeekOrigin origin) {
    check_closed();
    if (origin == BEGIN || origin == END) {
        count_ = 0;
        pos_ = 0;
        return in_->seek(offset, origin);
    }
    if (origin != CURRENT) return 0;
    const long long remaining = static_cast<long long>(count_) - pos_;
    const long long target = static_cast<long long>(pos_) + offset;
    if (target >= 0 && target <= static_cast<long long>(count_)) {
        pos_ = static_cast<unsigned int>(target);
        return offset;
    }
    long long moved = in_->seek(offset - remaining, CURRENT);
    count_ = 0;
    pos_ = 0;
    return moved + remaining;
}

void BufferedInputStream::close() {
    if (in_ == nullptr) return;
    if (close_wrapped_) {
        in_->close();
        if (own_) delete in_;
    }
    in_ = nullptr;
    delete[] buf_;
    buf_ = nullptr;
}

long long BufferedInputStream::available() const {
    check_closed();
    return in_->available() + (static_cast<long long>(count_) - pos_);
}

}  // namespace zop
