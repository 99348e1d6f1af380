// DataInputStream: typed reads in the library's big-endian encoding.
#include <zop/io.h>
#include <zop/text.h>

#include "io/stream_errors.h"

#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <typeinfo>

namespace zop {

namespace {

// A string count of all ones marks no string: reading one is the end of data.
constexpr unsigned int kNoCount = 0xFFFFFFFFu;
// A length prefix promises bytes that may never come: storage is reserved
// for no more than this up front and grows as the bytes actually arrive.
constexpr unsigned int kMaxReserve = 64 * 1024;

}  // namespace

DataInputStream::DataInputStream(InputStream* in, bool own)
    : in_(in), own_(own), pending_(-1),
      buffered_(in != nullptr && typeid(*in) == typeid(BufferedInputStream) ? static_cast<BufferedInputStream*>(in)
                                                                            : nullptr) {}

DataInputStream::~DataInputStream() {
    try {
        close();
    } catch (...) {
        // A destructor does not throw; the wrapped stream's failure is lost.
    }
}

inline void DataInputStream::check_closed() const {
    if (in_ == nullptr) throw IOException(detail::kInputClosed);
}

// The next byte of an open stream: the pending one first, then the wrapped
// stream's.  What read() does once the closed check is behind it.
inline int DataInputStream::take() {
    if (pending_ >= 0) {
        int b = pending_;
        pending_ = -1;
        return b;
    }
    return in_->read();
}

int DataInputStream::read() {
    check_closed();
    return take();
}

// The next byte for a typed read; the end of input is an EOFException.
// Typed reads call this stream's own read() by its qualified name: the
// same operation, without a virtual dispatch per byte.
int DataInputStream::next() {
    int b = DataInputStream::read();
    if (b < 0) throw EOFException();
    return b;
}

int DataInputStream::read(unsigned char* bytes, int len) {
    check_closed();
    if (pending_ >= 0 && len >= 1) {
        if (bytes == nullptr) throw ArgumentException(L"The bytes buffer is empty.", L"bytes");
        bytes[0] = static_cast<unsigned char>(pending_);
        pending_ = -1;
        if (len == 1) return 1;
        int n = in_->read(bytes + 1, len - 1);
        return n > 0 ? n + 1 : 1;
    }
    return in_->read(bytes, len);
}

long long DataInputStream::seek(long long offset, SeekOrigin origin) {
    check_closed();
    if (pending_ < 0) return in_->seek(offset, origin);
    pending_ = -1;
    if (origin == CURRENT) return in_->seek(offset - 1, CURRENT) + 1;
    return in_->seek(offset, origin);
}

void DataInputStream::close() {
    if (in_ == nullptr) return;
    in_->close();
    if (own_) delete in_;
    in_ = nullptr;
    buffered_ = nullptr;
    pending_ = -1;
}

long long DataInputStream::available() const {
    check_closed();
    return in_->available() + (pending_ >= 0 ? 1 : 0);
}

// The next `n` bytes, taken at once from the buffer of a plain
// BufferedInputStream when both streams are open (a closed data stream has
// no `buffered_`), nothing is pending and the buffer holds them all; null
// leaves the read to the byte path (refills, the end, a closed stream).
inline const unsigned char* DataInputStream::buffered_run(unsigned int n) {
    BufferedInputStream* b = buffered_;
    if (b == nullptr || pending_ >= 0 || b->in_ == nullptr || b->count_ - b->pos_ < n) return nullptr;
    const unsigned char* run = b->buf_ + b->pos_;
    b->pos_ += n;
    return run;
}

bool DataInputStream::read_bool() { return next() != 0; }
char DataInputStream::read_char() { return static_cast<char>(next()); }
unsigned char DataInputStream::read_byte() { return static_cast<unsigned char>(next()); }

unsigned short DataInputStream::read_ushort() {
    // Both bytes are taken before either is judged.
    if (const unsigned char* run = buffered_run(2)) return static_cast<unsigned short>((run[0] << 8) | run[1]);
    check_closed();
    int b1 = take();
    int b2 = in_->read();
    if ((b1 | b2) < 0) throw EOFException();
    return static_cast<unsigned short>((b1 << 8) | b2);
}

short DataInputStream::read_short() { return static_cast<short>(read_ushort()); }

unsigned int DataInputStream::read_uint() {
    if (const unsigned char* run = buffered_run(4)) {
        return (static_cast<unsigned int>(run[0]) << 24) | (static_cast<unsigned int>(run[1]) << 16) |
               (static_cast<unsigned int>(run[2]) << 8) | static_cast<unsigned int>(run[3]);
    }
    check_closed();
    // Only the first byte can be pending; the others come straight from the
    // wrapped stream.
    int b1 = take();
    InputStream* in = in_;
    int b2 = in->read();
    int b3 = in->read();
    int b4 = in->read();
    if ((b1 | b2 | b3 | b4) < 0) throw EOFException();
    return (static_cast<unsigned int>(b1) << 24) | (static_cast<unsigned int>(b2) << 16) |
           (static_cast<unsigned int>(b3) << 8) | static_cast<unsigned int>(b4);
}

int DataInputStream::read_int() { return static_cast<int>(read_uint()); }

unsigned long long DataInputStream::read_uint64() {
    // Two reads of an int through the typed interface, high half first.
    unsigned long long high = static_cast<unsigned int>(read_int());
    unsigned long long low = static_cast<unsigned int>(read_int());
    return (high << 32) | low;
}

long long DataInputStream::read_int64() { return static_cast<long long>(read_uint64()); }

float DataInputStream::read_float() {
    unsigned int bits = read_uint();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double DataInputStream::read_double() {
    unsigned long long bits = read_uint64();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string DataInputStream::read_ansi_string() {
    unsigned int n = read_uint();
    if (n == kNoCount) throw EOFException();
    std::string text;
    text.reserve(n < kMaxReserve ? n : kMaxReserve);
    for (unsigned int i = 0; i < n; ++i) text.push_back(static_cast<char>(next()));
    return text;
}

std::wstring DataInputStream::read_uni_string() {
    unsigned int n = read_uint();
    if (n == kNoCount) throw EOFException();
    std::wstring text;
    text.reserve(n < kMaxReserve ? n : kMaxReserve);
    for (unsigned int i = 0; i < n; ++i) {
        int b1 = DataInputStream::read();
        int b2 = DataInputStream::read();
        if ((b1 | b2) < 0) throw EOFException();
        text.push_back(static_cast<wchar_t>((b1 << 8) | b2));
    }
    return text;
}

int DataInputStream::peek() {
    check_closed();
    if (pending_ < 0) {
        int b = in_->read();
        if (b < 0) return -1;
        pending_ = b;
    }
    return pending_;
}

std::wstring DataInputStream::read_line() {
    std::string bytes;
    bytes.reserve(64);
    int b = read();
    for (;;) {
        if (b == 13 || b == 10) break;
        if (b < 0) throw EOFException();
        bytes.push_back(static_cast<char>(b));
        b = read();
    }
    if (b == 13 && peek() == 10) read();
    if (bytes.empty()) return std::wstring();
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw IOException(L"Cannot read file.");
    }
    std::unique_ptr<wchar_t[]> scratch(new (std::nothrow) wchar_t[bytes.size()]);
    if (!scratch) throw OutOfMemoryException();
    int n = Convertion::ansi_to_utf16(bytes.data(), static_cast<unsigned int>(bytes.size()),
                                      scratch.get(), static_cast<unsigned int>(bytes.size()));
    if (n == 0) throw IOException(L"Cannot read file.");
    return std::wstring(scratch.get(), static_cast<std::size_t>(n));
}

unsigned int DataInputStream::skip_line(unsigned int n) {
    if (n == 0) return 0;
    for (unsigned int i = 0; i < n; ++i) {
        int b;
        do {
            b = read();
        } while (b > 0 && b != 10);
        // Every line after the end of input is empty: asking on would only
        // spin, for up to four billion reads when the count is corrupt.
        if (b < 0) break;
    }
    return n;
}

}  // namespace zop
