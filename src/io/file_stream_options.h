// How the file streams translate their options for the platform layer.
#ifndef ZOP_IO_FILE_STREAM_OPTIONS_H
#define ZOP_IO_FILE_STREAM_OPTIONS_H

#include <zop/fs.h>
#include <zop/io.h>

#include "sys/error.h"
#include "sys/file_stream.h"

namespace zop::detail {

// Unknown origins count from the beginning.
inline sys::MoveMethod move_method(SeekOrigin origin) {
    switch (origin) {
    case CURRENT: return sys::kFromCurrent;
    case END: return sys::kFromEnd;
    default: return sys::kFromBegin;
    }
}

// Unknown values share nothing; READ_WRITE also lets others delete.
inline std::uint32_t share_bits(FileShare share) {
    switch (share) {
    case READ: return sys::kShareRead;
    case WRITE: return sys::kShareWrite;
    case READ_WRITE: return sys::kShareRead | sys::kShareWrite | sys::kShareDelete;
    default: return 0;
    }
}

// Throws the IOException of the thread's last system error.
[[noreturn]] inline void throw_stream_error(const std::wstring& name) {
    SystemFile::throw_io_exception(static_cast<int>(sys::last_error()), true, name);
}

// Only a disk file has a size and a position.  A handle whose type the
// system cannot tell is taken for a disk file: the calls then report what
// the system says.
inline bool has_position(unsigned int type) {
    return type == sys::kTypeDisk || type == sys::kTypeUnknown;
}

// A seek on a pipe or device: ERROR_SEEK_ON_DEVICE, on both systems alike
// (Linux would move the position of some devices, such as /dev/null).
[[noreturn]] inline void throw_seek_on_device(const std::wstring& name) {
    SystemFile::throw_io_exception(static_cast<int>(sys::kErrorSeekOnDevice), true, name);
}

}  // namespace zop::detail

#endif
