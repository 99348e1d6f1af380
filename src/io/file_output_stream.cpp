// FileOutputStream: writes a file, one system call per request.
#include "io/file_stream_options.h"
#include "io/stream_errors.h"

namespace zop {

using detail::has_position;
using detail::move_method;
using detail::share_bits;
using detail::throw_stream_error;

namespace {

sys::Disposition disposition(FileMode mode) {
    switch (mode) {
    case CREATE_NEW: return sys::kCreateNew;
    case CREATE: return sys::kCreateAlways;
    case OPEN_OR_CREATE:
    case APPEND: return sys::kOpenAlways;
    case TRUNCATE: return sys::kTruncateExisting;
    default: return sys::kOpenExisting;
    }
}

}  // namespace

FileOutputStream::FileOutputStream(const std::wstring& name, FileMode mode, FileShare share)
    : name_(name), handle_(sys::kInvalidFile), type_(sys::kTypeUnknown) {
    if (name.empty()) throw ArgumentException(L"Empty file name", L"name");
    open(mode, share);
}

FileOutputStream::FileOutputStream(const File& file, FileMode mode, FileShare share)
    : name_(file.full_name()), handle_(sys::kInvalidFile), type_(sys::kTypeUnknown) {
    open(mode, share);
}

FileOutputStream::~FileOutputStream() {
    try {
        close();
    } catch (...) {
        // Destructors do not throw: a failing flush or close is dropped.
    }
}

void FileOutputStream::open(FileMode mode, FileShare share) {
    if (handle_ != sys::kInvalidFile) throw IOException(L"The file has opened");
    sys::FileHandle h = sys::open_file(name_, sys::kAccessWrite, share_bits(share), disposition(mode));
    if (h == sys::kInvalidFile) throw_stream_error(name_);
    handle_ = h;
    type_ = sys::file_type(h);
    if (mode == APPEND && has_position(type_)) {
        try {
            seek(0, END);
        } catch (...) {
            sys::close_file(handle_);
            handle_ = sys::kInvalidFile;
            throw;
        }
    }
}

void FileOutputStream::check_closed() const {
    if (handle_ == sys::kInvalidFile) throw IOException(L"The file '" + name_ + L"' has been closed.");
}

void FileOutputStream::write(const unsigned char* bytes, unsigned int len) {
    check_closed();
    detail::check_block_arguments(bytes, len);
    const bool written = type_ == sys::kTypePipe ? sys::write_pipe(handle_, bytes, len)
                                                 : sys::write_file(handle_, bytes, len);
    if (!written) throw_stream_error(name_);
}

long long FileOutputStream::seek(long long offset, SeekOrigin origin) {
    check_closed();
    if (!has_position(type_)) detail::throw_seek_on_device(name_);
    std::int64_t position = 0;
    if (!sys::set_file_pointer(handle_, offset, move_method(origin), position)) {
        throw_stream_error(name_);
    }
    return position;
}

void FileOutputStream::flush() {
    check_closed();
    if (has_position(type_) && !sys::flush_file(handle_)) throw_stream_error(name_);
}

void FileOutputStream::close() {
    if (handle_ == sys::kInvalidFile) return;
    sys::FileHandle h = handle_;
    handle_ = sys::kInvalidFile;  // released even when a step fails
    std::uint32_t error = 0;
    if (has_position(type_) && !sys::flush_file(h)) error = sys::last_error();
    if (!sys::close_file(h) && error == 0) error = sys::last_error();
    if (error != 0) SystemFile::throw_io_exception(static_cast<int>(error), true, name_);
}

long long FileOutputStream::get_current_offset() const {
    std::int64_t position = -1;
    if (handle_ == sys::kInvalidFile || !has_position(type_)) return -1;
    sys::set_file_pointer(handle_, 0, sys::kFromCurrent, position);
    return position;
}

void* FileOutputStream::get_handle() { return handle_; }

std::wstring FileOutputStream::get_file_name() { return name_; }

}  // namespace zop
