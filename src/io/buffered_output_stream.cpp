// BufferedOutputStream: one growing block, handed on in one write.
#include <zop/io.h>

#include "io/output_block.h"
#include "io/stream_errors.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace zop {

BufferedOutputStream::BufferedOutputStream(OutputStream* out, bool own, bool close_wrapped)
    : out_(out), own_(own), close_wrapped_(close_wrapped), block_(nullptr) {
    // The parameter is reported as "in", the name both buffered streams have
    // always given: callers that match on it keep working.
    if (out == nullptr) throw ArgumentException(L"The output stream is NULL.", L"in");
}

BufferedOutputStream::BufferedOutputStream(OutputStream* out, unsigned int init_size, bool own,
                                           bool close_wrapped)
    : out_(out), own_(own), close_wrapped_(close_wrapped), block_(nullptr) {
    // Not delegated: a delegating constructor that throws runs the
    // destructor, which would flush the wrapped stream.
    if (out == nullptr) throw ArgumentException(L"The output stream is NULL.", L"in");
    if (init_size == 0) throw ArgumentException(L"The initial size is 0.", L"init_size");
    grow(init_size);
}

BufferedOutputStream::~BufferedOutputStream() {
    try {
        close();
    } catch (...) {
        // A destructor does not throw; the wrapped stream's failure is lost.
    }
    if (block_ != nullptr) {
        std::free(block_->data);
        delete block_;
    }
}

void BufferedOutputStream::check_closed() const {
    if (out_ == nullptr) throw IOException(detail::kOutputClosed);
}

// Makes room for `needed` bytes in all: the first block is exactly that
// size, a full block grows to twice what is needed.
void BufferedOutputStream::grow(unsigned int needed) {
    if (block_ == nullptr) {
        block_ = new (std::nothrow) Block;
        if (block_ == nullptr) throw OutOfMemoryException();
        block_->data = static_cast<unsigned char*>(std::malloc(needed));
        if (block_->data == nullptr) {
            delete block_;
            block_ = nullptr;
            throw OutOfMemoryException();
        }
        block_->capacity = needed;
        return;
    }
    const unsigned int max = std::numeric_limits<unsigned int>::max();
    unsigned int capacity = needed > max / 2 ? max : needed * 2;
    // realloc moves large blocks by remapping their pages, not by copying
    // them into fresh memory; what it does is what "new storage, copy,
    // release" means, only cheaper.
    auto* data = static_cast<unsigned char*>(std::realloc(block_->data, capacity));
    if (data == nullptr) throw OutOfMemoryException();
    block_->data = data;
    block_->capacity = capacity;
}

void BufferedOutputStream::write(const unsigned char* bytes, unsigned int len) {
    check_closed();
    if (len == 0) return;
    if (bytes == nullptr) throw ArgumentException(L"The bytes buffer is empty.", L"bytes");
    const unsigned int fill = block_ != nullptr ? block_->fill : 0;
    if (len > std::numeric_limits<unsigned int>::max() - fill) throw OutOfMemoryException();
    if (block_ == nullptr || block_->capacity - fill < len) grow(fill + len);
    std::memcpy(block_->data + fill, bytes, len);
    block_->fill = fill + len;
}

void BufferedOutputStream::write(int b) {
    // The byte path of typed writers: one store when the block has room,
    // the rest out of line.
    Block* block = block_;
    if (block != nullptr && block->fill < block->capacity && out_ != nullptr) {
        block->data[block->fill++] = static_cast<unsigned char>(b);
        return;
    }
    write_byte_slow(b);
}

[[gnu::noinline]] void BufferedOutputStream::write_byte_slow(int b) {
    const unsigned char byte = static_cast<unsigned char>(b);
    write(&byte, 1);
}

long long BufferedOutputStream::seek(long long offset, SeekOrigin origin) {
    check_closed();
    flush();
    return out_->seek(offset, origin);
}

void BufferedOutputStream::flush() {
    check_closed();
    if (block_ != nullptr && block_->fill != 0) {
        out_->write(block_->data, block_->fill);
        block_->fill = 0;
    }
    out_->flush();
}

void BufferedOutputStream::close() {
    if (out_ == nullptr) return;
    try {
        flush();
    } catch (...) {
        // The pending bytes cannot be delivered; closing goes on without them.
    }
    if (close_wrapped_) {
        out_->close();
        if (own_) delete out_;
    }
    out_ = nullptr;
    if (block_ != nullptr) {
        std::free(block_->data);
        delete block_;
        block_ = nullptr;
    }
}

const unsigned char* BufferedOutputStream::buffer() const {
    check_closed();
    return block_ != nullptr ? block_->data : nullptr;
}

}  // namespace zop
