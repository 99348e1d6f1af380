// Platform layer: open files for the file streams.
//
// Every function reports failure by its result and leaves the Win32 error
// code in the thread's last error.
#ifndef ZOP_SYS_FILE_STREAM_H
#define ZOP_SYS_FILE_STREAM_H

#include <cstdint>
#include <string>

namespace zop::sys {

// An open file.  kInvalidFile marks none.
using FileHandle = void*;
extern const FileHandle kInvalidFile;

enum FileAccess : std::uint32_t { kAccessRead = 0x80000000u, kAccessWrite = 0x40000000u };
enum ShareBits : std::uint32_t { kShareRead = 1, kShareWrite = 2, kShareDelete = 4 };
// Creation dispositions, as CreateFileW numbers them.
enum Disposition : std::uint32_t {
    kCreateNew = 1,
    kCreateAlways = 2,
    kOpenExisting = 3,
    kOpenAlways = 4,
    kTruncateExisting = 5
};
// Move methods, as SetFilePointer numbers them.
enum MoveMethod : std::uint32_t { kFromBegin = 0, kFromCurrent = 1, kFromEnd = 2 };

// Opens a file with one access right, the sharing granted to others and a
// disposition (CreateFileW).  A second opener whose access or sharing
// conflicts with an earlier one fails with code 32.
FileHandle open_file(const std::wstring& path, FileAccess access, std::uint32_t share,
                     Disposition disposition);

// Reads up to `count` bytes; stores how many were read.
bool read_file(FileHandle file, void* buffer, std::uint32_t count, std::uint32_t& done);

// Writes `count` bytes.
bool write_file(FileHandle file, const void* buffer, std::uint32_t count);

// Moves the file pointer and stores the new absolute position.
bool set_file_pointer(FileHandle file, std::int64_t distance, MoveMethod method,
                      std::int64_t& position);

// The file's size in bytes.
bool get_file_size(FileHandle file, std::int64_t& size);

// Writes the file's buffers to the device.
bool flush_file(FileHandle file);

// Closes the file.
bool close_file(FileHandle file);

}  // namespace zop::sys

#endif
