// SystemFile: a completed path with a lazily loaded attribute cache.
#include <zop/fs.h>

#include "time/calendar.h"
#include "sys/error.h"
#include "sys/file.h"

#include <new>

namespace zop {

// Always a plain IOException with the system's text of the code: the flag
// and the name are accepted for the callers' convenience and not used.
void SystemFile::throw_io_exception(int code, bool, const std::wstring&) {
    throw IOException(system_error(std::wstring(), code));
}

struct SystemFile::Record {
    std::uint32_t attributes = 0;
    std::int64_t size = 0;
    std::int64_t creation_time = 0;
    std::int64_t last_access_time = 0;
    std::int64_t last_modified_time = 0;
};

namespace {

[[noreturn]] void throw_last_error(const std::wstring& path) {
    SystemFile::throw_io_exception(static_cast<int>(sys::last_error()), true, path);
}

}  // namespace

SystemFile::SystemFile(const std::wstring& path) : record_(nullptr), stale_(true) {
    if (path.empty()) throw ArgumentException(L"path or file name is invalid");
    given_name_ = path;
    full_name_ = Path::make_full_path(path);
}

SystemFile::SystemFile(const SystemFile& other)
    : given_name_(other.given_name_), full_name_(other.full_name_), record_(nullptr), stale_(true) {
    if (other.record_ != nullptr) {
        record_ = new (std::nothrow) Record(*other.record_);
        if (record_ == nullptr) throw OutOfMemoryException();
        stale_ = false;
    }
}

SystemFile& SystemFile::operator=(const SystemFile& other) {
    if (this == &other) return *this;
    given_name_ = other.given_name_;
    full_name_ = other.full_name_;
    delete record_;
    record_ = nullptr;
    stale_ = true;
    if (other.record_ != nullptr) {
        record_ = new (std::nothrow) Record(*other.record_);
        if (record_ == nullptr) throw OutOfMemoryException();
        stale_ = false;
    }
    return *this;
}

SystemFile::~SystemFile() { delete record_; }

std::wstring SystemFile::full_name() const { return full_name_; }

void SystemFile::refresh() { load_file_attrs(); }

void SystemFile::load_file_attrs() const {
    if (record_ == nullptr) {
        record_ = new (std::nothrow) Record;
        if (record_ == nullptr) throw OutOfMemoryException();
    }
    sys::FileAttributeData data;
    if (sys::get_file_attributes_ex(full_name_, data)) {
        record_->attributes = data.attributes;
        record_->size = static_cast<std::int64_t>(data.size);
        record_->creation_time = detail::ticks_from_file_time(data.creation_time);
        record_->last_access_time = detail::ticks_from_file_time(data.last_access_time);
        record_->last_modified_time = detail::ticks_from_file_time(data.last_write_time);
        stale_ = false;
        return;
    }
    std::uint32_t code = sys::last_error();
    if (code == sys::kErrorFileNotFound || code == sys::kErrorPathNotFound) {
        *record_ = Record();
        record_->attributes = sys::kInvalidAttributes;
        return;
    }
    throw_io_exception(static_cast<int>(code), true, full_name_);
}

const SystemFile::Record& SystemFile::record() const {
    if (stale_) load_file_attrs();
    return *record_;
}

std::uint32_t SystemFile::cached_attributes() const { return record().attributes; }
std::int64_t SystemFile::cached_size() const { return record().size; }
void SystemFile::mark_stale() { stale_ = true; }

FileAttributes SystemFile::file_attrs() const {
    return static_cast<FileAttributes>(record().attributes);
}
std::int64_t SystemFile::creation_time() const { return record().creation_time; }
std::int64_t SystemFile::last_access_time() const { return record().last_access_time; }
std::int64_t SystemFile::last_modified_time() const { return record().last_modified_time; }

void SystemFile::file_attrs(FileAttributes attributes) {
    if (!sys::set_file_attributes(full_name_, attributes)) throw_last_error(full_name_);
    stale_ = true;
}

namespace {

// The file time of a tick count.  File times are signed 100-nanosecond
// counts from 1601, and zero tells the system to keep a time as it is; so
// 1601-01-01 00:00 itself, everything before it, and everything past the
// signed range (the year 30828) have no file time to set, and are refused
// as the system refuses a time it cannot take.
std::uint64_t settable_file_time(std::int64_t ticks, const std::wstring& path) {
    constexpr std::int64_t kLatest = INT64_MAX / 10 - detail::kFileTimeOffset;
    if (ticks <= -detail::kFileTimeOffset || ticks > kLatest) {
        SystemFile::throw_io_exception(static_cast<int>(sys::kErrorInvalidParameter), true, path);
    }
    return detail::file_time_from_ticks(ticks);
}

// Sets the given times of `path`.  A failed open that leaves no error code
// behind counts as done.
void write_times(const std::wstring& path, const std::int64_t* creation,
                 const std::int64_t* last_access, const std::int64_t* last_modified) {
    std::uint64_t c = creation ? settable_file_time(*creation, path) : 0;
    std::uint64_t a = last_access ? settable_file_time(*last_access, path) : 0;
    std::uint64_t m = last_modified ? settable_file_time(*last_modified, path) : 0;
    sys::set_last_error(0);
    if (sys::set_file_times(path, creation ? &c : nullptr, last_access ? &a : nullptr,
                            last_modified ? &m : nullptr)) {
        return;
    }
    if (sys::last_error() != 0) throw_last_error(path);
}

}  // namespace

void SystemFile::set_times(const std::int64_t* creation, const std::int64_t* last_access,
                           const std::int64_t* last_modified) {
    write_times(full_name_, creation, last_access, last_modified);
    stale_ = true;
}

void SystemFile::creation_time(const std::int64_t& ticks) { set_times(&ticks, nullptr, nullptr); }
void SystemFile::last_access_time(const std::int64_t& ticks) { set_times(nullptr, &ticks, nullptr); }
void SystemFile::last_modified_time(const std::int64_t& ticks) { set_times(nullptr, nullptr, &ticks); }
void SystemFile::file_time(const std::int64_t& creation, const std::int64_t& last_access,
                           const std::int64_t& last_modified) {
    set_times(&creation, &last_access, &last_modified);
}

bool SystemFile::is_file(const std::wstring& path) {
    std::uint32_t a = sys::get_file_attributes(path);
    return a != sys::kInvalidAttributes && (a & sys::kAttrDirectory) == 0;
}

bool SystemFile::is_dir(const std::wstring& path) {
    std::uint32_t a = sys::get_file_attributes(path);
    return a != sys::kInvalidAttributes && (a & sys::kAttrDirectory) != 0;
}

FileAttributes SystemFile::file_attrs(const std::wstring& path) {
    return static_cast<FileAttributes>(sys::get_file_attributes(path));
}

void SystemFile::file_attrs(const std::wstring& path, FileAttributes attributes) {
    if (!sys::set_file_attributes(path, attributes)) throw_last_error(path);
}

namespace {

sys::FileAttributeData examine(const std::wstring& path) {
    sys::FileAttributeData data;
    if (!sys::get_file_attributes_ex(path, data)) throw_last_error(path);
    return data;
}

}  // namespace

std::int64_t SystemFile::creation_time(const std::wstring& path) {
    return detail::ticks_from_file_time(examine(path).creation_time);
}
std::int64_t SystemFile::last_access_time(const std::wstring& path) {
    return detail::ticks_from_file_time(examine(path).last_access_time);
}
std::int64_t SystemFile::last_modified_time(const std::wstring& path) {
    return detail::ticks_from_file_time(examine(path).last_write_time);
}
void SystemFile::creation_time(const std::wstring& path, const std::int64_t& ticks) {
    write_times(path, &ticks, nullptr, nullptr);
}
void SystemFile::last_access_time(const std::wstring& path, const std::int64_t& ticks) {
    write_times(path, nullptr, &ticks, nullptr);
}
void SystemFile::last_modified_time(const std::wstring& path, const std::int64_t& ticks) {
    write_times(path, nullptr, nullptr, &ticks);
}

}  // namespace zop
