// FileOutputStream: writes a file, one system call per request.
#include "io/file_stream_options.h"
#include "io/stream_errors.h"

namespace zop {

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
    : name_(name), handle_(sys::kInvalidFile) {
    if (name.empty()) throw ArgumentException(L"Empty file name", L"name");
    open(mode, share);
}

FileOutputStream::FileOutputStream(const File& file, FileMode mode, FileShare share)
    : name_(file.full_name()), handle_(sys::kInvalidFile) {
    open(mode, share);
}

FileOutputStream::~FileOutputStream() {
    if (handle_ == sys::kInvalidFile) return;
    // Destructors do not throw: a failing flush or close is dropped.
    sys::flush_file(handle_);
    sys::close_file(handle_);
}

void FileOutputStream::open(FileMode mode, FileShare share) {
    if (handle_ != sys::kInvalidFile) throw IOException(L"The file has opened");
    sys::FileHandle h = sys::open_file(name_, sys::kAccessWrite, share_bits(share), disposition(mode));
    if (h == sys::kInvalidFile) throw_stream_error(name_);
    handle_ = h;
    if (mode == APPEND) {
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
    if (!sys::write_file(handle_, bytes, len)) throw_stream_error(name_);
}

long long FileOutputStream::seek(long long offset, SeekOrigin origin) {
    check_closed();
    std::int64_t position = 0;
    if (!sys::set_file_pointer(handle_, offset, move_method(origin), position)) {
        throw_stream_error(name_);
    }
    return position;
}

void FileOutputStream::flush() {
    check_closed();
    if (!sys::flush_file(handle_)) throw_stream_error(name_);
}

void FileOutputStream::close() {
    if (handle_ == sys::kInvalidFile) return;
    flush();
    if (!sys::close_file(handle_)) throw_stream_error(name_);
    handle_ = sys::kInvalidFile;
}

long long FileOutputStream::get_current_offset() const {
    std::int64_t position = -1;
    if (handle_ == sys::kInvalidFile) return -1;
    sys::set_file_pointer(handle_, 0, sys::kFromCurrent, position);
    return position;
}

void* FileOutputStream::get_handle() { return handle_; }

std::wstring FileOutputStream::get_file_name() { return name_; }

}  // namespace zop
