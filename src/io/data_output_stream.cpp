// DataOutputStream: typed writes in the library's big-endian encoding.
#include <zop/io.h>
#include <zop/text.h>

#include "io/output_block.h"
#include "io/stream_errors.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <typeinfo>

namespace zop {

namespace {

// Where wchar_t is 32 bits wide it can hold values that are no UTF-16 code
// unit.  They are refused rather than cut down or re-encoded, so that both
// systems write the same units for the same text.
bool above_unit(wchar_t c) {
    const auto value = static_cast<std::uint32_t>(c);
    return value > 0xFFFF;
}

[[noreturn]] void throw_above_unit(const wchar_t* param) {
    throw ArgumentException(L"The text holds a value above 0xFFFF, which is not a UTF-16 code unit.",
                            param);
}

}  // namespace

DataOutputStream::DataOutputStream(OutputStream* out, bool own)
    : out_(out), own_(own),
      buffered_(out != nullptr && typeid(*out) == typeid(BufferedOutputStream)
                    ? static_cast<BufferedOutputStream*>(out)
                    : nullptr) {}

DataOutputStream::~DataOutputStream() {
    try {
        close();
    } catch (...) {
        // A destructor does not throw; the wrapped stream's failure is lost.
    }
}

inline void DataOutputStream::check_closed() const {
    if (out_ == nullptr) throw IOException(detail::kOutputClosed);
}

// One byte through the wrapped stream's single-byte write.
void DataOutputStream::put(unsigned char byte) { out_->write(static_cast<int>(byte)); }

// A whole value into the block of a plain BufferedOutputStream when both
// streams are open (a closed data stream has no `buffered_`, a closed
// buffered stream no block) and the block has room; false leaves everything
// to the byte path, which also grows the block and reports a closed stream.
inline bool DataOutputStream::put_run(const unsigned char* bytes, unsigned int n) {
    BufferedOutputStream* b = buffered_;
    if (b == nullptr) return false;
    BufferedOutputStream::Block* block = b->block_;
    if (block == nullptr || block->capacity - block->fill < n) return false;
    std::memcpy(block->data + block->fill, bytes, n);
    block->fill += n;
    return true;
}

void DataOutputStream::write(const unsigned char* bytes, unsigned int len) {
    check_closed();
    out_->write(bytes, len);
}

long long DataOutputStream::seek(long long offset, SeekOrigin origin) {
    check_closed();
    return out_->seek(offset, origin);
}

void DataOutputStream::flush() {
    check_closed();
    out_->flush();
}

void DataOutputStream::close() {
    if (out_ == nullptr) return;
    try {
        out_->flush();
    } catch (...) {
        // Closing goes on; what could not be flushed is lost.
    }
    out_->close();
    if (own_) delete out_;
    out_ = nullptr;
    buffered_ = nullptr;
}

const unsigned char* DataOutputStream::buffer() const {
    check_closed();
    return out_->buffer();
}

void DataOutputStream::write_bool(bool value) { write_byte(value ? 1 : 0); }
void DataOutputStream::write_char(char value) { write_byte(static_cast<unsigned char>(value)); }

void DataOutputStream::write_byte(unsigned char value) {
    check_closed();
    put(value);
}

void DataOutputStream::write_ushort(unsigned short value) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
    if (put_run(bytes, 2)) return;
    check_closed();
    put(static_cast<unsigned char>(value >> 8));
    put(static_cast<unsigned char>(value));
}

void DataOutputStream::write_short(short value) { write_ushort(static_cast<unsigned short>(value)); }

void DataOutputStream::write_uint(unsigned int value) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
                                    static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
    if (put_run(bytes, 4)) return;
    check_closed();
    put(static_cast<unsigned char>(value >> 24));
    put(static_cast<unsigned char>(value >> 16));
    put(static_cast<unsigned char>(value >> 8));
    put(static_cast<unsigned char>(value));
}

void DataOutputStream::write_int(int value) { write_uint(static_cast<unsigned int>(value)); }

void DataOutputStream::write_uint64(unsigned long long value) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(value >> (56 - 8 * i));
    if (put_run(bytes, 8)) return;
    check_closed();
    for (unsigned char byte : bytes) put(byte);
}

void DataOutputStream::write_int64(long long value) {
    write_uint64(static_cast<unsigned long long>(value));
}

void DataOutputStream::write_float(float value) {
    unsigned int bits;
    std::memcpy(&bits, &value, sizeof bits);
    write_uint(bits);
}

void DataOutputStream::write_double(double value) {
    unsigned long long bits;
    std::memcpy(&bits, &value, sizeof bits);
    write_uint64(bits);
}

void DataOutputStream::write_string(const std::string& value) {
    check_closed();
    if (value.size() > 0xFFFFFFFEu) throw ArgumentException(L"The string is too long.", L"value");
    const auto n = static_cast<unsigned int>(value.size());
    write_uint(n);
    if (n != 0) out_->write(reinterpret_cast<const unsigned char*>(value.data()), n);
}

void DataOutputStream::write_string(const std::wstring& value) {
    check_closed();
    if (value.size() > 0x7FFFFFFEu) throw ArgumentException(L"The string is too long.", L"value");
    const auto n = static_cast<unsigned int>(value.size());
    if (n == 0) {
        write_uint(0);
        return;
    }
    std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[2u * n]);
    if (!bytes) throw OutOfMemoryException();
    // Every unit is checked before anything is written.
    for (unsigned int i = 0; i < n; ++i) {
        if (above_unit(value[i])) throw_above_unit(L"value");
        const auto unit = static_cast<unsigned int>(value[i]);
        bytes[2 * i] = static_cast<unsigned char>(unit >> 8);
        bytes[2 * i + 1] = static_cast<unsigned char>(unit);
    }
    write_uint(n);
    out_->write(bytes.get(), 2u * n);
}

void DataOutputStream::write_line(const std::wstring& text) {
    check_closed();
    if (text.size() > 0x2AAAAAA9u) throw ArgumentException(L"The text is too long.", L"text");
    if (std::any_of(text.begin(), text.end(), above_unit)) throw_above_unit(L"text");
    const auto n = static_cast<unsigned int>(text.size());
    const unsigned int size = 3 * n + 1;
    std::unique_ptr<char[]> scratch(new (std::nothrow) char[size]);
    if (!scratch) throw OutOfMemoryException();
    int converted = 0;
    if (n != 0) {
        converted = Convertion::utf16_to_ansi(text.data(), n, scratch.get(), size);
        if (converted == 0) throw IOException(L"Cannot write file.");
    }
    if (converted != 0) {
        write(reinterpret_cast<const unsigned char*>(scratch.get()),
              static_cast<unsigned int>(converted));
    }
    const unsigned char cr = 13;
    const unsigned char lf = 10;
    write(&cr, 1);
    write(&lf, 1);
}

}  // namespace zop
