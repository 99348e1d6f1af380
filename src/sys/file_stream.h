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

// What a handle refers to, numbered as GetFileType numbers it.  Only a disk
// file (a regular file or a block device) has a size and a position; a
// character device (a terminal, the null device) and a pipe (a FIFO, a
// socket) have neither.
enum FileType : std::uint32_t { kTypeUnknown = 0, kTypeDisk = 1, kTypeChar = 2, kTypePipe = 3 };

// The type of an open file; kTypeUnknown when it cannot be told.
FileType file_type(FileHandle file);

// Reads up to `count` bytes; stores how many were read.  A pipe whose
// writers are gone reads 0 bytes: the end of its data.
bool read_file(FileHandle file, void* buffer, std::uint32_t count, std::uint32_t& done);

// Writes `count` bytes.
bool write_file(FileHandle file, const void* buffer, std::uint32_t count);

// write_file for a pipe: when its reader is gone the write fails with code
// 232 and no signal is raised.
bool write_pipe(FileHandle file, const void* buffer, std::uint32_t count);

// Moves the file pointer and stores the new absolute position.
bool set_file_pointer(FileHandle file, std::int64_t distance, MoveMethod method,
                      std::int64_t& position);

// The file's size in bytes.
bool get_file_size(FileHandle file, std::int64_t& size);

// Writes the file's buffers to the device.  On Linux a file that has
// nothing to sync (a pipe, a device, a file on a read-only file system)
// succeeds.  The streams flush disk files only: Windows flushes a pipe by
// waiting until its reader has taken everything.
bool flush_file(FileHandle file);

// Closes the file.  The handle is released even when the result reports an
// error, so it is never closed twice.
bool close_file(FileHandle file);

}  // namespace zop::sys

#endif
