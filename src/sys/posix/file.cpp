// POSIX backend: files and directories by path, with Windows semantics.
//
// Attributes are presented as Wine presents Unix files: 0x10 for a
// directory, 0x1 when the owner may not write, 0x2 for names starting with a
// dot, 0x400 for a symbolic link (whose other bits describe its target, so a
// link to a directory carries 0x10 as a Windows directory link does), and
// 0x20 (archive) for everything that is not a directory, as a file that
// Windows has just written carries it.  Windows refuses to delete or write to a
// read-only file even for administrators; so does this backend, whatever the
// process's privileges.
#include "sys/file.h"

#include "sys/error.h"
#include "sys/posix/errno_map.h"
#include "sys/posix/utf8_path.h"
#include "sys/posix/wildcard.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

namespace zop::sys {

namespace {

constexpr std::uint64_t kEpochDifferenceSeconds = 11644473600ull;  // 1601 -> 1970

using posix::fail;

// Failures of an operation on a path: see posix::fail_on_path.
bool fail_errno(int err, const std::string& path) { return posix::fail_on_path(err, path); }

std::uint64_t to_file_time(const struct statx_timestamp& t) {
    auto seconds = static_cast<std::int64_t>(t.tv_sec) + static_cast<std::int64_t>(kEpochDifferenceSeconds);
    if (seconds < 0) return 0;
    return static_cast<std::uint64_t>(seconds) * 10000000u + t.tv_nsec / 100;
}

struct timespec to_timespec(std::uint64_t file_time) {
    struct timespec ts;
    auto seconds = static_cast<std::int64_t>(file_time / 10000000u) -
                   static_cast<std::int64_t>(kEpochDifferenceSeconds);
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>(file_time % 10000000u) * 100;
    return ts;
}

// A name starting with a dot, other than "." and "..".
bool hidden_name(const std::string& path) {
    std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos) return false;
    std::size_t slash = path.rfind('/', end);
    std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    std::size_t length = end - start + 1;
    if (path[start] != '.' || length == 1) return false;
    return !(length == 2 && path[start + 1] == '.');
}

// Reads an entry without following a final link; for a link, the target's
// type and mode are reported along with the link bit.
constexpr unsigned kTypeAndMode = STATX_TYPE | STATX_MODE;
constexpr unsigned kEverything = kTypeAndMode | STATX_SIZE | STATX_ATIME | STATX_MTIME |
                                 STATX_CTIME | STATX_BTIME;

bool examine(const std::string& path, struct statx& sx, std::uint32_t& attributes,
             unsigned mask = kTypeAndMode) {
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, mask, &sx) != 0) {
        return fail_errno(errno, path);
    }
    attributes = 0;
    if (S_ISLNK(sx.stx_mode)) {
        attributes |= kAttrReparsePoint;
        struct statx target;
        if (::statx(AT_FDCWD, path.c_str(), 0, mask, &target) == 0) sx = target;
    }
    attributes |= S_ISDIR(sx.stx_mode) ? kAttrDirectory : kAttrArchive;
    if ((sx.stx_mode & S_IWUSR) == 0 && !S_ISLNK(sx.stx_mode)) attributes |= kAttrReadonly;
    if (hidden_name(path)) attributes |= kAttrHidden;
    return true;
}

}  // namespace

std::uint32_t get_file_attributes(const std::wstring& path) {
    struct statx sx;
    std::uint32_t attributes;
    std::string p;
    if (!posix::to_system_path(path, p) || !examine(p, sx, attributes)) return kInvalidAttributes;
    return attributes;
}

bool get_file_attributes_ex(const std::wstring& path, FileAttributeData& data) {
    struct statx sx;
    std::uint32_t attributes;
    std::string p;
    if (!posix::to_system_path(path, p) || !examine(p, sx, attributes, kEverything)) return false;
    data.attributes = attributes;
    // File systems without birth times report the last status change.
    data.creation_time = to_file_time((sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_ctime);
    data.last_access_time = to_file_time(sx.stx_atime);
    data.last_write_time = to_file_time(sx.stx_mtime);
    data.size = S_ISDIR(sx.stx_mode) ? 0 : sx.stx_size;
    return true;
}

namespace {

// The process's file-creation mask, read from /proc/self/status: umask()
// can only read it by replacing it, which other threads would see.  Where
// the line is missing (no /proc, or a kernel before 4.7) the mask is taken
// to deny group and others write permission.
mode_t creation_mask() {
    constexpr mode_t kDenyGroupAndOthers = S_IWGRP | S_IWOTH;
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kDenyGroupAndOthers;
    char text[4096];
    std::size_t used = 0;
    for (;;) {
        const ssize_t got = ::read(fd, text + used, sizeof text - 1 - used);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        used += static_cast<std::size_t>(got);
        if (used == sizeof text - 1) break;
    }
    ::close(fd);
    text[used] = '\0';
    const char* line = std::strstr(text, "\nUmask:");
    if (line == nullptr) return kDenyGroupAndOthers;
    char* end = nullptr;
    const unsigned long mask = std::strtoul(line + 7, &end, 8);
    if (end == line + 7) return kDenyGroupAndOthers;
    return static_cast<mode_t>(mask & 0777);
}

}  // namespace

bool set_file_attributes(const std::wstring& path, std::uint32_t attributes) {
    std::string p;
    if (!posix::to_system_path(path, p)) return false;
    struct stat st;
    if (::stat(p.c_str(), &st) != 0) return fail_errno(errno, p);
    mode_t mode = st.st_mode & 07777;
    // Only the read-only bit has a Unix counterpart; hidden follows the name.
    // Read-only takes every write permission away.  Leaving read-only gives
    // write permission back to the owner, and to group and others where they
    // may read and the umask would grant it to a new file: 0664 comes back
    // as 0664 under umask 002, and a private 0600 file stays private.  A
    // file whose owner may write already is left as it is.
    if (attributes & kAttrReadonly) {
        mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
    } else if ((mode & S_IWUSR) == 0) {
        const mode_t granted = static_cast<mode_t>(~creation_mask());
        mode |= S_IWUSR;
        if ((mode & S_IRGRP) && (granted & S_IWGRP)) mode |= S_IWGRP;
        if ((mode & S_IROTH) && (granted & S_IWOTH)) mode |= S_IWOTH;
    }
    if (mode != (st.st_mode & 07777) && ::chmod(p.c_str(), mode) != 0) return fail_errno(errno, p);
    return true;
}

namespace {

// How far apart a stored time may lie from the one asked for and still be
// that time, rounded to the file system's granularity: 2 s (FAT's write
// times), or for access times on FAT, which keeps only the local date, a
// day (25 hours across a daylight-saving change).
bool same_stored_time(const struct statx_timestamp& stored, const struct timespec& wanted,
                      const std::string& path, bool access) {
    // The wanted seconds come from a file time, so a day either side of
    // them cannot overflow.
    const std::int64_t want = wanted.tv_sec;
    const std::int64_t got = stored.tv_sec;
    if (got >= want - 2 && got <= want + 2) {
        const std::int64_t nanoseconds = (got - want) * 1000000000 + stored.tv_nsec - wanted.tv_nsec;
        if (nanoseconds >= -2000000000 && nanoseconds <= 2000000000) return true;
    }
    constexpr long kFatMagic = 0x4d44;  // MSDOS_SUPER_MAGIC
    struct statfs fs;
    return access && got >= want - 25 * 3600 && got <= want + 25 * 3600 &&
           ::statfs(path.c_str(), &fs) == 0 && fs.f_type == kFatMagic;
}

}  // namespace

bool set_file_times(const std::wstring& path, const std::uint64_t* creation,
                    const std::uint64_t* last_access, const std::uint64_t* last_write) {
    (void)creation;  // Unix keeps no settable birth time: accepted and ignored.
    std::string p;
    if (!posix::to_system_path(path, p)) return false;
    struct statx before;
    std::uint32_t attributes;
    if (!examine(p, before, attributes, kTypeAndMode | STATX_ATIME | STATX_MTIME)) return false;
    // Windows opens the entry for writing, which a read-only file refuses.
    if ((attributes & kAttrReadonly) && !(attributes & kAttrDirectory)) {
        return fail(kErrorAccessDenied);
    }
    // As on Windows, a zero file time keeps the time as it is; file times
    // are signed, so the upper half of the range is no time at all.
    const std::uint64_t* wanted[2] = {last_access, last_write};
    struct timespec times[2];
    bool changing = false;
    for (int i = 0; i < 2; ++i) {
        times[i].tv_sec = 0;
        times[i].tv_nsec = UTIME_OMIT;
        if (wanted[i] == nullptr || *wanted[i] == 0) continue;
        if (*wanted[i] > static_cast<std::uint64_t>(INT64_MAX)) return fail(kErrorInvalidParameter);
        times[i] = to_timespec(*wanted[i]);
        changing = true;
    }
    if (!changing) return true;
    if (::utimensat(AT_FDCWD, p.c_str(), times, 0) != 0) return fail_errno(errno, p);
    // File systems clamp a time they cannot hold to the nearest one they can
    // (ext4 holds 1901 to 2446) without a word: read the times back, and
    // when one is not what was asked for, put the old ones back and refuse
    // the time as Windows refuses a time its file system cannot take.
    struct statx after;
    if (::statx(AT_FDCWD, p.c_str(), 0, STATX_ATIME | STATX_MTIME, &after) != 0) {
        return fail_errno(errno, p);
    }
    const struct statx_timestamp stored[2] = {after.stx_atime, after.stx_mtime};
    const struct statx_timestamp previous[2] = {before.stx_atime, before.stx_mtime};
    bool held = true;
    for (int i = 0; i < 2; ++i) {
        if (times[i].tv_nsec != UTIME_OMIT && !same_stored_time(stored[i], times[i], p, i == 0)) held = false;
    }
    if (held) return true;
    for (int i = 0; i < 2; ++i) {
        if (times[i].tv_nsec == UTIME_OMIT) continue;
        times[i].tv_sec = static_cast<time_t>(previous[i].tv_sec);
        times[i].tv_nsec = static_cast<long>(previous[i].tv_nsec);
    }
    ::utimensat(AT_FDCWD, p.c_str(), times, 0);
    return fail(kErrorInvalidParameter);
}

bool delete_file(const std::wstring& path) {
    std::string p;
    if (!posix::to_system_path(path, p)) return false;
    struct statx sx;
    std::uint32_t attributes;
    if (!examine(p, sx, attributes)) return false;
    // A link is removed as a link, whatever it points to.
    if (!(attributes & kAttrReparsePoint)) {
        if (attributes & (kAttrDirectory | kAttrReadonly)) return fail(kErrorAccessDenied);
    }
    if (::unlink(p.c_str()) != 0) return fail_errno(errno, p);
    return true;
}

bool native_path(const std::wstring& path, std::filesystem::path& out) {
    std::string bytes;
    if (!posix::to_system_path(path, bytes)) return false;
    out = std::move(bytes);
    return true;
}

std::wstring from_native_path(const std::filesystem::path& path) {
    return posix::from_system_path(path.native());
}

bool create_directory(const std::wstring& path) {
    std::string p;
    if (!posix::to_system_path(path, p)) return false;
    if (::mkdir(p.c_str(), 0777) == 0) return true;
    if (errno == EEXIST) return fail(kErrorAlreadyExists);
    if (errno == ENOENT || errno == ENOTDIR) return fail(kErrorPathNotFound);
    return fail_errno(errno, p);
}

bool remove_directory(const std::wstring& path) {
    std::string p;
    if (!posix::to_system_path(path, p)) return false;
    struct statx sx;
    std::uint32_t attributes;
    if (!examine(p, sx, attributes)) return false;
    if (!(attributes & kAttrDirectory)) return fail(kErrorDirectory);
    if (attributes & kAttrReparsePoint) {
        if (::unlink(p.c_str()) != 0) return fail_errno(errno, p);
        return true;
    }
    if (::rmdir(p.c_str()) == 0) return true;
    if (errno == ENOTEMPTY || errno == EEXIST) return fail(kErrorDirNotEmpty);
    return fail_errno(errno, p);
}

struct FindHandle {
    DIR* dir = nullptr;
    std::wstring pattern;
    bool match_all = false;  // "*": every name matches
    std::wstring candidate;  // reused for each name read
};

namespace {

// The next entry of the enumeration that matches, or false at its end.
bool next_match(FindHandle* h, std::wstring& name) {
    for (;;) {
        errno = 0;
        struct dirent* entry = ::readdir(h->dir);
        if (entry == nullptr) return fail(errno == 0 ? 18 : posix::win32_code(errno));  // 18: ERROR_NO_MORE_FILES
        if (h->match_all) {
            posix::from_system_path(entry->d_name, std::strlen(entry->d_name), name);
            return true;
        }
        posix::from_system_path(entry->d_name, std::strlen(entry->d_name), h->candidate);
        if (posix::wildcard_match(h->pattern, h->candidate)) {
            name.swap(h->candidate);
            return true;
        }
    }
}

}  // namespace

FindHandle* find_first_file(const std::wstring& pattern, std::wstring& name) {
    // The wildcards stay wide: the last component is matched against the
    // wide form of each name, the directory before it goes to the system.
    // The whole pattern is converted, so that the last component is checked
    // too; its separators are the only slashes of the bytes.
    std::string dir;
    if (!posix::to_system_path(pattern, dir)) return nullptr;
    std::size_t slash = pattern.find_last_of(L"\\/");
    const std::size_t byte_slash = dir.rfind('/');
    dir = slash == std::wstring::npos ? "." : byte_slash == 0 ? "/" : dir.substr(0, byte_slash);
    std::wstring leaf = slash == std::wstring::npos ? pattern : pattern.substr(slash + 1);
    if (leaf.empty()) {
        fail(kErrorFileNotFound);
        return nullptr;
    }
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) {
        fail(errno == ENOENT || errno == ENOTDIR ? kErrorPathNotFound : posix::win32_code(errno));
        return nullptr;
    }
    auto* h = new (std::nothrow) FindHandle;
    if (h == nullptr) {
        ::closedir(d);
        fail(8);  // ERROR_NOT_ENOUGH_MEMORY
        return nullptr;
    }
    h->dir = d;
    h->pattern = std::move(leaf);
    h->match_all = h->pattern == L"*";
    if (!next_match(h, name)) {
        find_close(h);
        fail(kErrorFileNotFound);
        return nullptr;
    }
    return h;
}

bool find_next_file(FindHandle* handle, std::wstring& name) { return next_match(handle, name); }

void find_close(FindHandle* handle) {
    if (handle == nullptr) return;
    ::closedir(handle->dir);
    delete handle;
}

}  // namespace zop::sys
