// POSIX backend: open files for the file streams, with Windows share modes.
//
// Windows refuses an opener whose access another opener does not share, or
// whose sharing does not cover an access another opener already has.  Unix
// has no share modes, so each opener marks what it does and what it denies
// with shared open-file-description locks on four bytes far beyond any real
// file size, and checks the opposite marks of the other openers:
//
//   byte  taken by an opener that...   checked by an opener that...
//   R     reads                        denies reading (share without READ)
//   W     writes                       denies writing
//   DR    denies reading               reads
//   DW    denies writing               writes
//
// Open-file-description locks conflict between descriptions even inside one
// process, and vanish with the descriptor.  They are advisory: programs that
// do not look at them are not stopped.  Deletion sharing is not enforced.
// Only regular files take part: a device or a FIFO is one object for every
// process on the system, and Windows applies no share modes to devices.
#include "sys/file_stream.h"

#include "sys/error.h"
#include "sys/posix/errno_map.h"
#include "sys/posix/utf8_path.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace zop::sys {

const FileHandle kInvalidFile = reinterpret_cast<FileHandle>(static_cast<std::intptr_t>(-1));

namespace {

constexpr off_t kMarkBase = 0x7FFFFFFFFFFFF000;
constexpr off_t kMarkRead = kMarkBase;
constexpr off_t kMarkWrite = kMarkBase + 1;
constexpr off_t kMarkDenyRead = kMarkBase + 2;
constexpr off_t kMarkDenyWrite = kMarkBase + 3;

int fd_of(FileHandle h) { return static_cast<int>(reinterpret_cast<std::intptr_t>(h)); }
FileHandle handle_of(int fd) { return reinterpret_cast<FileHandle>(static_cast<std::intptr_t>(fd)); }

using posix::fail;

// A lock of `type` on the one byte `byte`.
struct flock lock_on(short type, off_t byte) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    return lock;
}

bool take_mark(int fd, off_t byte) {
    struct flock lock = lock_on(F_RDLCK, byte);
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// True when another open file description holds a mark on `byte`.
bool marked_by_others(int fd, off_t byte) {
    struct flock lock = lock_on(F_WRLCK, byte);
    if (::fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
    return lock.l_type != F_UNLCK;
}

// Marks this opener and checks the others' marks.  Marks are taken first, so
// of two racing openers at least one sees the other.  Descriptors that cannot
// carry a read lock (write-only) take no part.
bool share_allowed(int fd, bool reading, std::uint32_t share) {
    const bool deny_read = (share & kShareRead) == 0;
    const bool deny_write = (share & kShareWrite) == 0;
    if (reading) take_mark(fd, kMarkRead);
    if (!reading) take_mark(fd, kMarkWrite);
    if (deny_read) take_mark(fd, kMarkDenyRead);
    if (deny_write) take_mark(fd, kMarkDenyWrite);
    if (reading && marked_by_others(fd, kMarkDenyRead)) return false;
    if (!reading && marked_by_others(fd, kMarkDenyWrite)) return false;
    if (deny_read && marked_by_others(fd, kMarkRead)) return false;
    if (deny_write && marked_by_others(fd, kMarkWrite)) return false;
    return true;
}

bool fail_open(int err, const std::string& path) {
    if (err == EEXIST) return fail(kErrorFileExists);
    return posix::fail_on_path(err, path);
}

}  // namespace

FileHandle open_file(const std::wstring& path, FileAccess access, std::uint32_t share,
                     Disposition disposition) {
    std::string p;
    if (!posix::to_system_path(path, p)) return kInvalidFile;
    const bool reading = access == kAccessRead;
    int flags = O_CLOEXEC | O_NOCTTY;
    if (disposition == kCreateNew) flags |= O_CREAT | O_EXCL;
    if (disposition == kCreateAlways || disposition == kOpenAlways) flags |= O_CREAT;
    int fd = -1;
    struct stat st;
    if (reading) {
        fd = ::open(p.c_str(), flags | O_RDONLY, 0666);
    } else if (::stat(p.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) {
        // A writer of a FIFO must not hold its reading end as well: its
        // reader would never see the end, and data written before a reader
        // comes would be lost when the writer closes.  So it opens for
        // writing only, and waits, as Linux has it, until a reader opens.
        fd = ::open(p.c_str(), flags | O_WRONLY, 0666);
    } else {
        // Read access as well, so that the descriptor can carry share marks;
        // write-only files are still opened, without them.
        fd = ::open(p.c_str(), flags | O_RDWR, 0666);
        if (fd < 0 && errno == EACCES) fd = ::open(p.c_str(), flags | O_WRONLY, 0666);
    }
    if (fd < 0) {
        fail_open(errno, p);
        return kInvalidFile;
    }
    std::uint32_t refusal = 0;
    if (::fstat(fd, &st) != 0) {
        refusal = posix::win32_code(errno);
    } else if (S_ISDIR(st.st_mode)) {
        refusal = kErrorAccessDenied;  // a directory is not opened as a file
    } else if (!S_ISREG(st.st_mode)) {
        // A device or a pipe: no share marks, nothing to truncate.
    } else if (!reading && (st.st_mode & S_IWUSR) == 0) {
        refusal = kErrorAccessDenied;  // read-only, whatever our privileges
    } else if (!share_allowed(fd, reading, share)) {
        refusal = kErrorSharingViolation;
    } else if ((disposition == kCreateAlways || disposition == kTruncateExisting) &&
               ::ftruncate(fd, 0) != 0) {
        refusal = posix::win32_code(errno);
    }
    if (refusal != 0) {
        ::close(fd);
        fail(refusal);
        return kInvalidFile;
    }
    return handle_of(fd);
}

FileType file_type(FileHandle file) {
    struct stat st;
    if (::fstat(fd_of(file), &st) != 0) {
        posix::fail_with_errno(errno);
        return kTypeUnknown;
    }
    if (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)) return kTypeDisk;
    if (S_ISCHR(st.st_mode)) return kTypeChar;
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return kTypePipe;
    return kTypeUnknown;
}

bool read_file(FileHandle file, void* buffer, std::uint32_t count, std::uint32_t& done) {
    ssize_t n;
    do {
        n = ::read(fd_of(file), buffer, count);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        posix::fail_with_errno(errno);
        return false;
    }
    done = static_cast<std::uint32_t>(n);
    return true;
}

bool write_file(FileHandle file, const void* buffer, std::uint32_t count) {
    // A regular file takes everything in one call; a short write (a full
    // disk, a signal) continues where it stopped, as WriteFile would.
    const auto* p = static_cast<const unsigned char*>(buffer);
    std::size_t left = count;
    while (left > 0) {
        ssize_t n = ::write(fd_of(file), p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            posix::fail_with_errno(errno);
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

bool write_pipe(FileHandle file, const void* buffer, std::uint32_t count) {
    // Linux raises SIGPIPE, which ends the process unless it is handled,
    // when a pipe has no reader left.  The signal is blocked in this thread
    // for the write; one the write raised is taken back before the old mask
    // returns, one that was pending already is left alone.
    sigset_t pipe_signal;
    sigset_t old_mask;
    sigset_t pending;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    sigpending(&pending);
    const bool was_pending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_signal, &old_mask);
    const bool written = write_file(file, buffer, count);
    if (!written && last_error() == kErrorNoData && !was_pending) {
        const struct timespec no_wait = {0, 0};
        while (sigtimedwait(&pipe_signal, nullptr, &no_wait) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old_mask, nullptr);
    return written;
}

bool set_file_pointer(FileHandle file, std::int64_t distance, MoveMethod method,
                      std::int64_t& position) {
    int whence = method == kFromCurrent ? SEEK_CUR : method == kFromEnd ? SEEK_END : SEEK_SET;
    off_t result = ::lseek(fd_of(file), static_cast<off_t>(distance), whence);
    if (result < 0) return fail(errno == EINVAL ? kErrorNegativeSeek : posix::win32_code(errno));
    position = result;
    return true;
}

bool get_file_size(FileHandle file, std::int64_t& size) {
    struct stat st;
    if (::fstat(fd_of(file), &st) != 0) {
        posix::fail_with_errno(errno);
        return false;
    }
    size = st.st_size;
    return true;
}

bool flush_file(FileHandle file) {
    if (::fsync(fd_of(file)) == 0) return true;
    // Pipes, sockets, terminals and other character devices cannot be
    // synchronised (EINVAL), nor can files of some file systems (EROFS,
    // EOPNOTSUPP): they hold nothing that a flush would write.
    if (errno == EINVAL || errno == EROFS || errno == EOPNOTSUPP) return true;
    posix::fail_with_errno(errno);
    return false;
}

bool close_file(FileHandle file) {
    // Linux releases the descriptor even when close() reports an error, so
    // it is never retried: the number may already belong to another file.
    // EINTR says only that the close was interrupted, not that data was lost.
    if (::close(fd_of(file)) == 0 || errno == EINTR) return true;
    posix::fail_with_errno(errno);
    return false;
}

}  // namespace zop::sys
