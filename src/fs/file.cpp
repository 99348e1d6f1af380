// File: a regular file.
#include <zop/fs.h>

#include "sys/error.h"
#include "sys/file.h"

namespace zop {

File::File(const std::wstring& path) : SystemFile(path) {}

File::~File() = default;

bool File::exists() const {
    std::uint32_t a = cached_attributes();
    return a != sys::kInvalidAttributes && (a & sys::kAttrDirectory) == 0;
}

std::wstring File::name() const { return Path::file_name(full_name()); }

std::int64_t File::length() const {
    if (!exists()) throw_io_exception(static_cast<int>(sys::kErrorFileNotFound), true, full_name());
    return cached_size();
}

bool File::is_readonly() const {
    return exists() && (cached_attributes() & sys::kAttrReadonly) != 0;
}

void File::readonly(bool on) {
    std::uint32_t a = cached_attributes();
    a = on ? (a | sys::kAttrReadonly) : (a & ~sys::kAttrReadonly);
    file_attrs(static_cast<FileAttributes>(a));
}

void File::remove() {
    const std::wstring path = full_name();
    if (sys::delete_file(path)) return;
    std::uint32_t code = sys::last_error();
    if (code != 2) throw_io_exception(static_cast<int>(code), true, path);
}

}  // namespace zop
