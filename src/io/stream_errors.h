// Messages and argument checks shared by the streams.
#ifndef ZOP_IO_STREAM_ERRORS_H
#define ZOP_IO_STREAM_ERRORS_H

#include <zop/core.h>

namespace zop::detail {

inline const wchar_t kInputClosed[] = L"Input stream has closed.";
inline const wchar_t kOutputClosed[] = L"Output stream has closed.";

// The checks of a block read or write: a buffer and a non-zero length.
inline void check_block_arguments(const void* bytes, long long len) {
    if (bytes == nullptr) throw ArgumentException(L"The bytes buffer is empty.", L"bytes");
    if (len == 0) throw ArgumentException(L"The len cannot be 0.", L"len");
}

}  // namespace zop::detail

#endif
