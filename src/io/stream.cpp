// The stream contracts and their default operations.
#include <zop/io.h>

namespace zop {

InputStream::InputStream() = default;
InputStream::InputStream(const InputStream&) = default;
InputStream& InputStream::operator=(const InputStream&) = default;
InputStream::~InputStream() = default;

int InputStream::read() {
    unsigned char byte = 0;
    // A one-byte read that delivers nothing (0) counts as the end as well.
    if (read(&byte, 1) <= 0) return -1;
    return byte;
}

void InputStream::close() {}

long long InputStream::available() const { return 0; }

OutputStream::OutputStream() = default;
OutputStream::OutputStream(const OutputStream&) = default;
OutputStream& OutputStream::operator=(const OutputStream&) = default;
OutputStream::~OutputStream() = default;

void OutputStream::write(int b) {
    const unsigned char byte = static_cast<unsigned char>(b & 0xFF);
    write(&byte, 1);
}

void OutputStream::flush() {}

void OutputStream::close() {}

const unsigned char* OutputStream::buffer() const { return nullptr; }

DataInput::DataInput() = default;
DataInput::DataInput(const DataInput&) = default;
DataInput& DataInput::operator=(const DataInput&) = default;
DataInput::~DataInput() = default;

DataOutput::DataOutput() = default;
DataOutput::DataOutput(const DataOutput&) = default;
DataOutput& DataOutput::operator=(const DataOutput&) = default;
DataOutput::~DataOutput() = default;

}  // namespace zop
