/// @file
/// @ingroup io
/// zop streams: byte-stream contracts, file streams, buffering decorators and
/// data streams with the library's big-endian binary encoding.
///
/// A stream, and the chain of streams it wraps, is used by one thread at a
/// time.  close() may be called any number of times; after it, most
/// operations throw IOException.
#ifndef ZOP_IO_H
#define ZOP_IO_H

#include <zop/core.h>

#include <string>

namespace zop {

/// @defgroup io Streams
/// Byte-stream contracts, file streams, buffering decorators and data
/// streams with the library's big-endian binary encoding (`<zop/io.h>`).
/// @{

class File;

/// The origin of a seek.  Other values are treated as each stream says.
enum SeekOrigin {
    BEGIN = 0,    ///< The beginning of the data.
    CURRENT = 1,  ///< The current position.
    END = 2       ///< The end of the data.
};

/// A source of bytes.
class ZOP_API InputStream {
public:
    /// The base holds no state: making, copying and destroying it do nothing.
    ///@{
    InputStream();
    InputStream(const InputStream&);
    InputStream& operator=(const InputStream&);
    virtual ~InputStream();
    ///@}

    /// Delivers at most `len` bytes into `bytes` and returns their number; at
    /// the end of input a result of 0 or less (each stream says which).
    virtual int read(unsigned char* bytes, int len) = 0;
    /// The next byte as 0..255, or -1 at the end of input (also when the
    /// one-byte read delivers nothing).
    virtual int read();
    /// Moves the position; what the result means each stream says.
    virtual long long seek(long long offset, SeekOrigin origin) = 0;
    /// Ends the stream; does nothing here.
    virtual void close();
    /// Bytes that can still be read; 0 here.
    virtual long long available() const;
};

/// A sink of bytes.
class ZOP_API OutputStream {
public:
    /// The base holds no state: making, copying and destroying it do nothing.
    ///@{
    OutputStream();
    OutputStream(const OutputStream&);
    OutputStream& operator=(const OutputStream&);
    virtual ~OutputStream();
    ///@}

    /// Writes `len` bytes from `bytes`.
    virtual void write(const unsigned char* bytes, unsigned int len) = 0;
    /// Writes the low 8 bits of `b` as one byte.
    virtual void write(int b);
    /// Moves the position; what the result means each stream says.
    virtual long long seek(long long offset, SeekOrigin origin) = 0;
    /// Passes pending bytes on; does nothing here.
    virtual void flush();
    /// Ends the stream; does nothing here.
    virtual void close();
    /// The bytes the stream holds and has not passed on, if it keeps any;
    /// null here.
    virtual const unsigned char* buffer() const;
};

/// Typed reads (the data streams implement them).  Each throws EOFException
/// when the input ends inside the value.
class ZOP_API DataInput {
public:
    /// The base holds no state: making, copying and destroying it do nothing.
    ///@{
    DataInput();
    DataInput(const DataInput&);
    DataInput& operator=(const DataInput&);
    virtual ~DataInput();
    ///@}

    /// Reads a bool.
    virtual bool read_bool() = 0;
    /// Reads a char.
    virtual char read_char() = 0;
    /// Reads a byte.
    virtual unsigned char read_byte() = 0;
    /// Reads a short.
    virtual short read_short() = 0;
    /// Reads an unsigned short.
    virtual unsigned short read_ushort() = 0;
    /// Reads an int.
    virtual int read_int() = 0;
    /// Reads an unsigned int.
    virtual unsigned int read_uint() = 0;
    /// Reads a 64-bit integer.
    virtual long long read_int64() = 0;
    /// Reads an unsigned 64-bit integer.
    virtual unsigned long long read_uint64() = 0;
    /// Reads a float.
    virtual float read_float() = 0;
    /// Reads a double.
    virtual double read_double() = 0;
    /// Reads a byte string.
    virtual std::string read_ansi_string() = 0;
    /// Reads a UTF-16 string.
    virtual std::wstring read_uni_string() = 0;
};

/// Typed writes (the data streams implement them).
class ZOP_API DataOutput {
public:
    /// The base holds no state: making, copying and destroying it do nothing.
    ///@{
    DataOutput();
    DataOutput(const DataOutput&);
    DataOutput& operator=(const DataOutput&);
    virtual ~DataOutput();
    ///@}

    /// Writes a bool.
    virtual void write_bool(bool value) = 0;
    /// Writes a char.
    virtual void write_char(char value) = 0;
    /// Writes a byte.
    virtual void write_byte(unsigned char value) = 0;
    /// Writes a short.
    virtual void write_short(short value) = 0;
    /// Writes an unsigned short.
    virtual void write_ushort(unsigned short value) = 0;
    /// Writes an int.
    virtual void write_int(int value) = 0;
    /// Writes an unsigned int.
    virtual void write_uint(unsigned int value) = 0;
    /// Writes a 64-bit integer.
    virtual void write_int64(long long value) = 0;
    /// Writes an unsigned 64-bit integer.
    virtual void write_uint64(unsigned long long value) = 0;
    /// Writes a float.
    virtual void write_float(float value) = 0;
    /// Writes a double.
    virtual void write_double(double value) = 0;
    /// Writes a UTF-16 string.
    virtual void write_string(const std::wstring& value) = 0;
    /// Writes a byte string.
    virtual void write_string(const std::string& value) = 0;
};

/// Base for applications' in-memory input streams; it adds nothing, so a
/// derived class supplies read(bytes, len) and seek.
class ZOP_API MemoryInputStream : public InputStream {};
/// Base for applications' in-memory output streams; it adds nothing, so a
/// derived class supplies write(bytes, len) and seek.
class ZOP_API MemoryOutputStream : public OutputStream {};

// <windows.h> defines CREATE_NEW as a macro for CreateFileW; with the same
// value 1 it is zop::CREATE_NEW here, so the macro is withdrawn to let the
// enumerator be declared and named.  Windows code that passes the macro to
// CreateFileW after including this header writes zop::CREATE_NEW (or 1).
#ifdef CREATE_NEW
#undef CREATE_NEW
#endif

/// How a FileOutputStream opens its file.  Other values act as OPEN.
enum FileMode {
    CREATE_NEW = 1,      ///< create; fail if it exists
    CREATE = 2,          ///< create, or truncate an existing file
    OPEN = 3,            ///< open; fail if it does not exist
    OPEN_OR_CREATE = 4,  ///< open, creating it if needed
    TRUNCATE = 5,        ///< open and truncate; fail if it does not exist
    APPEND = 6           ///< as OPEN_OR_CREATE, then seek to the end (of a disk file)
};

/// What other openers of the same file may do while a file stream has it
/// open.  Other values act as NONE.  A refused opener gets the system's
/// sharing-violation error (code 32).
enum FileShare {
    NONE = 0,       ///< nothing
    READ = 1,       ///< reading
    WRITE = 2,      ///< writing
    READ_WRITE = 3  ///< reading, writing and (on Windows) deletion or renaming
};

/// Reads a file, one system call per request, counting its own position.
/// The name may also be a device or a pipe (/dev/null or NUL, a FIFO); those
/// have no size and no position (see docs/io.md).
class ZOP_API FileInputStream : public InputStream {
public:
    /// Opens an existing file for reading.  Throws ArgumentException("Empty
    /// file name", "name") for an empty name and IOException when the file
    /// cannot be opened.
    FileInputStream(const std::wstring& name, FileShare share);
    /// Opens the file named by file.full_name().
    FileInputStream(const File& file, FileShare share);
    /// Closes the file if it is open.
    ~FileInputStream() override;
    /// The stream owns its handle, and decorators refer to it by address: it
    /// is neither copied nor moved.
    ///@{
    FileInputStream(const FileInputStream&) = delete;
    FileInputStream& operator=(const FileInputStream&) = delete;
    ///@}

    /// Reads up to `len` bytes (of a disk file no more than are available;
    /// of a pipe or device what one read delivers, waiting for data); -1 at
    /// the end.  Throws ArgumentException for a null buffer or len 0,
    /// IOException when closed or on a system failure.
    int read(unsigned char* bytes, int len) override;
    using InputStream::read;
    /// Moves the position and returns the signed distance it moved (a seek to
    /// BEGIN with offset 0 after reading 100 bytes returns -100).  Origins
    /// other than CURRENT and END count from the beginning.  Throws
    /// IOException (code 132) for a pipe or device.
    long long seek(long long offset, SeekOrigin origin) override;
    /// Closes the file.  Throws IOException when the system reports an
    /// error; the handle is released and the stream closed all the same.
    void close() override;
    /// File size minus position; negative after a seek past the end; 0 for a
    /// pipe or device.
    long long available() const override;
    /// The system handle (the invalid-handle value once closed).
    void* get_file_handle() const;
    /// The file name the stream opened.
    std::wstring get_file_name();

private:
    void open(FileShare share);
    void check_closed() const;

    std::wstring name_;
    void* handle_;
    long long position_;
    unsigned int type_;  // disk file, device or pipe, as the system tells
};

/// Writes a file, one system call per request.  The name may also be a
/// device or a pipe, which have no position and nothing to flush.
class ZOP_API FileOutputStream : public OutputStream {
public:
    /// Opens or creates the file for writing as `mode` says.  Throws
    /// ArgumentException("Empty file name", "name") for an empty name and
    /// IOException when the file cannot be opened.
    FileOutputStream(const std::wstring& name, FileMode mode, FileShare share);
    /// Opens the file named by file.full_name().
    FileOutputStream(const File& file, FileMode mode, FileShare share);
    /// Flushes and closes; a failure is dropped.
    ~FileOutputStream() override;
    /// Owns its handle: neither copied nor moved.
    ///@{
    FileOutputStream(const FileOutputStream&) = delete;
    FileOutputStream& operator=(const FileOutputStream&) = delete;
    ///@}

    /// Writes all `len` bytes.  Throws ArgumentException for a null buffer or
    /// len 0, IOException when closed or on a system failure (code 232 for a
    /// pipe without a reader).
    void write(const unsigned char* bytes, unsigned int len) override;
    using OutputStream::write;
    /// Moves the file pointer and returns the new absolute position.  Throws
    /// IOException (code 132) for a pipe or device.
    long long seek(long long offset, SeekOrigin origin) override;
    /// Asks the system to write the file's buffers to the device; does
    /// nothing more for a pipe or device.
    void flush() override;
    /// Flushes and closes the file.  Throws IOException when either step
    /// fails (the flush's error first); the handle is released and the
    /// stream closed all the same.
    void close() override;
    /// The system's current file pointer (no closed check; -1 once closed
    /// and for a pipe or device).
    long long get_current_offset() const;
    /// The system handle.
    void* get_handle();
    /// The file name the stream opened.
    std::wstring get_file_name();

protected:
    /// Opens the file named at construction as `mode` and `share` say (an
    /// APPEND disk file then at its end).  Throws IOException when the
    /// stream already has a file open or the file cannot be opened.
    void open(FileMode mode, FileShare share);
    /// Throws IOException when the stream is closed.
    void check_closed() const;

private:
    std::wstring name_;
    void* handle_;
    unsigned int type_;  // disk file, device or pipe, as the system tells
};

/// Read-ahead over any input stream.  Small reads are served from a buffer
/// refilled one wrapped read at a time; reads of at least the buffer's size
/// go straight to the wrapped stream when the buffer is empty.
class ZOP_API BufferedInputStream : public InputStream {
public:
    /// Buffer size of the two-flag constructor; read at each construction.
    static unsigned int default_size;

    /// `own`: delete the wrapped stream on close (only with `close_wrapped`);
    /// `close_wrapped`: close it on close.  Throws ArgumentException("The
    /// input stream is NULL.", "in") and OutOfMemoryException.
    BufferedInputStream(InputStream* in, bool own, bool close_wrapped);
    /// Also throws ArgumentException("The initial size is 0.", "init_size").
    BufferedInputStream(InputStream* in, unsigned int init_size, bool own, bool close_wrapped);
    /// Closes as close() does, dropping a failure, and frees the buffer.
    ~BufferedInputStream() override;
    /// A decorator is neither copied nor moved.
    ///@{
    BufferedInputStream(const BufferedInputStream&) = delete;
    BufferedInputStream& operator=(const BufferedInputStream&) = delete;
    ///@}

    /// The next byte, or -1 at the end.
    int read() override;
    /// Fills the request from the buffer, then from refills or direct reads
    /// while the wrapped stream reports data available.  0 for len 0 or
    /// (for requests smaller than the buffer) at the end of input.
    int read(unsigned char* bytes, int len) override;
    /// BEGIN and END empty the buffer and pass the request on; CURRENT moves
    /// inside the buffer when it can; other origins do nothing and return 0.
    long long seek(long long offset, SeekOrigin origin) override;
    /// Closes (and deletes) the wrapped stream as the flags say.
    void close() override;
    /// The wrapped stream's available() plus the unread buffered bytes.
    long long available() const override;

private:
    int read_buf(unsigned char* bytes, int len);
    void internal_read();
    void check_closed() const;
    int read_refill();
    // Typed reads take whole values straight from the buffer.
    friend class DataInputStream;

    InputStream* in_;
    bool own_;
    bool close_wrapped_;
    unsigned char* buf_;
    unsigned int capacity_;
    unsigned int count_;
    unsigned int pos_;
};

/// Collects everything written in one growing memory block and hands it to
/// the wrapped stream in one write when flushed, seeked or closed.
class ZOP_API BufferedOutputStream : public OutputStream {
public:
    /// No block until the first write.  Throws ArgumentException("The output
    /// stream is NULL.", "in").
    BufferedOutputStream(OutputStream* out, bool own, bool close_wrapped);
    /// A block of `init_size` bytes from the start.  Also throws
    /// ArgumentException("The initial size is 0.", "init_size") and
    /// OutOfMemoryException.
    BufferedOutputStream(OutputStream* out, unsigned int init_size, bool own, bool close_wrapped);
    /// Closes as close() does, dropping a failure, and frees the block.
    ~BufferedOutputStream() override;
    /// A decorator is neither copied nor moved.
    ///@{
    BufferedOutputStream(const BufferedOutputStream&) = delete;
    BufferedOutputStream& operator=(const BufferedOutputStream&) = delete;
    ///@}

    /// Appends to the block, growing it to twice the needed size when full.
    void write(const unsigned char* bytes, unsigned int len) override;
    /// Appends one byte (the low 8 bits of `b`).
    void write(int b) override;
    /// Flushes, then seeks the wrapped stream and returns its result.
    long long seek(long long offset, SeekOrigin origin) override;
    /// Writes the pending bytes in one call, then flushes the wrapped stream.
    void flush() override;
    /// Flushes (dropping a failure, and with it the pending bytes), then
    /// closes (and deletes) the wrapped stream as the flags say.
    void close() override;
    /// The pending bytes, or null before the first write.
    const unsigned char* buffer() const override;

private:
    struct Block;
    void check_closed() const;
    void grow(unsigned int needed);
    void write_byte_slow(int b);
    // Typed writes put whole values straight into the block.
    friend class DataOutputStream;

    OutputStream* out_;
    bool own_;
    bool close_wrapped_;
    Block* block_;
};

/// Typed reads in the library's binary encoding, with one byte of look-ahead
/// and text lines.  Constructed with a null stream, it is closed from the
/// start.
class ZOP_API DataInputStream : public InputStream, public DataInput {
public:
    /// `own`: delete the wrapped stream on close.
    DataInputStream(InputStream* in, bool own);
    /// Closes as close() does, dropping a failure.
    ~DataInputStream() override;
    /// A decorator is neither copied nor moved.
    ///@{
    DataInputStream(const DataInputStream&) = delete;
    DataInputStream& operator=(const DataInputStream&) = delete;
    ///@}

    int read() override;
    int read(unsigned char* bytes, int len) override;
    long long seek(long long offset, SeekOrigin origin) override;
    void close() override;
    long long available() const override;

    bool read_bool() override;
    char read_char() override;
    unsigned char read_byte() override;
    short read_short() override;
    unsigned short read_ushort() override;
    int read_int() override;
    unsigned int read_uint() override;
    long long read_int64() override;
    unsigned long long read_uint64() override;
    /// IEEE 754 single, 4 bytes big-endian (Java's DataInput.readFloat).
    float read_float() override;
    /// IEEE 754 double, 8 bytes big-endian (Java's DataInput.readDouble).
    double read_double() override;
    /// A 32-bit big-endian byte count, then the bytes.
    std::string read_ansi_string() override;
    /// A 32-bit big-endian unit count, then UTF-16 units big-endian.
    std::wstring read_uni_string() override;

    /// The next byte without consuming it, or -1 at the end.
    int peek();
    /// The next line (ended by CR LF, CR or LF) converted from the ANSI code
    /// page, without its terminator.  Throws EOFException when the input ends
    /// before a terminator, IOException("Cannot read file.") when the bytes
    /// do not convert.
    std::wstring read_line();
    /// Skips `n` lines (ended by LF, a NUL byte or the end of input); returns n.
    unsigned int skip_line(unsigned int n);

private:
    void check_closed() const;
    int next();
    int take();
    const unsigned char* buffered_run(unsigned int n);

    InputStream* in_;
    bool own_;
    int pending_;  // -1: none
    // `in_` when it is exactly a BufferedInputStream (nothing overrides its
    // reads, so no one can tell whole values from bytes), else null.
    BufferedInputStream* buffered_;
};

/// Typed writes in the library's binary encoding, and text lines.
/// Constructed with a null stream, it is closed from the start.
class ZOP_API DataOutputStream : public OutputStream, public DataOutput {
public:
    /// `own`: delete the wrapped stream on close.
    DataOutputStream(OutputStream* out, bool own);
    /// Closes as close() does, dropping a failure.
    ~DataOutputStream() override;
    /// A decorator is neither copied nor moved.
    ///@{
    DataOutputStream(const DataOutputStream&) = delete;
    DataOutputStream& operator=(const DataOutputStream&) = delete;
    ///@}

    void write(const unsigned char* bytes, unsigned int len) override;
    using OutputStream::write;
    long long seek(long long offset, SeekOrigin origin) override;
    void flush() override;
    void close() override;
    const unsigned char* buffer() const override;

    void write_bool(bool value) override;
    void write_char(char value) override;
    void write_byte(unsigned char value) override;
    void write_short(short value) override;
    void write_ushort(unsigned short value) override;
    void write_int(int value) override;
    void write_uint(unsigned int value) override;
    void write_int64(long long value) override;
    void write_uint64(unsigned long long value) override;
    /// IEEE 754 single, 4 bytes big-endian (1.5f is 3F C0 00 00).
    void write_float(float value) override;
    /// IEEE 754 double, 8 bytes big-endian.
    void write_double(double value) override;
    /// A 32-bit big-endian unit count, then the UTF-16 units big-endian.
    /// Throws ArgumentException, writing nothing, for a string too long for
    /// its count and for a value above 0xFFFF (possible where wchar_t is 32
    /// bits wide), which is no UTF-16 unit.
    void write_string(const std::wstring& value) override;
    /// A 32-bit big-endian byte count, then the bytes.
    void write_string(const std::string& value) override;
    /// The text in the ANSI code page, then CR LF.  Throws ArgumentException,
    /// writing nothing, for a value above 0xFFFF, and IOException ("Cannot
    /// write file.") when the text does not convert.
    void write_line(const std::wstring& text);

private:
    void check_closed() const;
    void put(unsigned char byte);
    bool put_run(const unsigned char* bytes, unsigned int n);

    OutputStream* out_;
    bool own_;
    // `out_` when it is exactly a BufferedOutputStream, else null.
    BufferedOutputStream* buffered_;
};

/// @}

}  // namespace zop

#endif
