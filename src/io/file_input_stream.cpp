// FileInputStream: reads a file, one system call per request.
#include "io/file_stream_options.h"
#include "io/stream_errors.h"

namespace zop {

using detail::has_position;
using detail::move_method;
using detail::share_bits;
using detail::throw_stream_error;

FileInputStream::FileInputStream(const std::wstring& name, FileShare share)
    : name_(name), handle_(sys::kInvalidFile), position_(0), type_(sys::kTypeUnknown) {
    if (name.empty()) throw ArgumentException(L"Empty file name", L"name");
    open(share);
}

FileInputStream::FileInputStream(const File& file, FileShare share)
    : name_(file.full_name()), handle_(sys::kInvalidFile), position_(0), type_(sys::kTypeUnknown) {
    open(share);
}

FileInputStream::~FileInputStream() {
    if (handle_ != sys::kInvalidFile) sys::close_file(handle_);
}

void FileInputStream::open(FileShare share) {
    if (handle_ != sys::kInvalidFile) throw IOException(L"The file has opened");
    sys::FileHandle h = sys::open_file(name_, sys::kAccessRead, share_bits(share), sys::kOpenExisting);
    if (h == sys::kInvalidFile) throw_stream_error(name_);
    handle_ = h;
    type_ = sys::file_type(h);
}

void FileInputStream::check_closed() const {
    if (handle_ == sys::kInvalidFile) throw IOException(L"The file '" + name_ + L"' has been closed.");
}

int FileInputStream::read(unsigned char* bytes, int len) {
    check_closed();
    detail::check_block_arguments(bytes, len);
    // Negative lengths ask for nothing sensible: refuse them like a zero one.
    if (len < 0) throw ArgumentException(L"The len cannot be negative.", L"len");
    auto count = static_cast<std::uint32_t>(len);
    if (has_position(type_)) {
        long long left = available();
        if (left <= 0) return -1;
        if (left < len) count = static_cast<std::uint32_t>(left);
    }
    std::uint32_t done = 0;
    if (!sys::read_file(handle_, bytes, count, done)) throw_stream_error(name_);
    // A pipe or device ends when a read delivers nothing.
    if (done == 0 && !has_position(type_)) return -1;
    position_ += done;
    return static_cast<int>(done);
}

long long FileInputStream::seek(long long offset, SeekOrigin origin) {
    check_closed();
    if (!has_position(type_)) detail::throw_seek_on_device(name_);
    std::int64_t before = 0;
    std::int64_t after = 0;
    if (!sys::set_file_pointer(handle_, 0, sys::kFromCurrent, before)) throw_stream_error(name_);
    if (!sys::set_file_pointer(handle_, offset, move_method(origin), after)) throw_stream_error(name_);
    position_ += after - before;
    return after - before;
}

void FileInputStream::close() {
    if (handle_ == sys::kInvalidFile) return;
    sys::FileHandle h = handle_;
    handle_ = sys::kInvalidFile;  // released even when the system reports an error
    if (!sys::close_file(h)) throw_stream_error(name_);
}

long long FileInputStream::available() const {
    check_closed();
    if (!has_position(type_)) return 0;
    std::int64_t size = 0;
    if (!sys::get_file_size(handle_, size)) throw_stream_error(std::wstring());
    return size - position_;
}

void* FileInputStream::get_file_handle() const { return handle_; }

std::wstring FileInputStream::get_file_name() { return name_; }

}  // namespace zop
