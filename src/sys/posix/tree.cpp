// POSIX backend: removing a directory tree by descriptors.
//
// Every entry is reached from a descriptor of the directory that holds it
// (openat, fstatat, unlinkat), never by a path string, and directories are
// opened with O_NOFOLLOW | O_DIRECTORY.  No name (however it is spelled),
// no symbolic link and no directory swapped for a link while the walk runs
// can lead it out of the tree: a swapped entry is either refused by the
// kernel or removed as the link it now is.
#include "sys/file.h"

#include "sys/error.h"
#include "sys/posix/errno_map.h"
#include "sys/posix/utf8_path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <vector>

namespace zop::sys {

namespace {

constexpr int kOpenDirectory = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// An entry that keeps changing its kind under the walk is given up after
// this many looks.
constexpr int kMaxLooks = 4;
// A directory that is still not empty after its listing ended (entries
// added meanwhile, or a file system that skips entries while others are
// removed) is read again this many times.
constexpr int kMaxRereads = 2;

// An entry waiting for removal: its inode, kind and name (in Level::names).
struct Pending {
    ino_t inode;
    std::size_t name;
    unsigned char type;
};

// One open directory of the walk, its name in its parent, and its entries.
struct Level {
    DIR* dir;
    std::string name;
    std::vector<Pending> pending;
    std::string names;
    std::size_t next = 0;
    int rereads = 0;
};

class Walk {
public:
    Walk(const std::wstring& root, std::wstring& failed, bool& failed_is_file)
        : root_(root), failed_(failed), failed_is_file_(failed_is_file) {}
    Walk(const Walk&) = delete;
    Walk& operator=(const Walk&) = delete;
    ~Walk() {
        for (Level& level : levels_) ::closedir(level.dir);
        if (parent_ >= 0) ::close(parent_);
    }

    bool run(const std::string& path);

private:
    bool enter(int fd, const char* name);
    bool read_entries(Level& level);
    bool remove_entry(int dir_fd, const char* name, unsigned char type);
    bool finish_level();
    bool fail(int err, const char* name, bool is_file);
    bool fail_code(std::uint32_t code, const char* name, bool is_file);

    const std::wstring& root_;
    std::wstring& failed_;
    bool& failed_is_file_;
    int parent_ = -1;
    std::vector<Level> levels_;
};

bool Walk::run(const std::string& path) {
    // The tree is the entry `leaf` of the directory `parent`; a trailing
    // slash would make the kernel follow a final link, so it goes.
    std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos) end = 0;  // "/" itself
    std::size_t slash = path.rfind('/', end);
    std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    std::string leaf = path.substr(slash == std::string::npos ? 0 : slash + 1, end + 1 - (slash + 1));
    if (leaf.empty() || leaf == "/") leaf = ".";
    parent_ = ::open(parent.c_str(), kOpenDirectory & ~O_NOFOLLOW);
    if (parent_ < 0) return fail(errno, nullptr, false);
    int fd = ::openat(parent_, leaf.c_str(), kOpenDirectory);
    if (fd < 0) {
        // The tree itself is a link: removed as a link, never entered.
        int err = errno;
        struct stat st;
        if ((err == ELOOP || err == ENOTDIR) && ::fstatat(parent_, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISLNK(st.st_mode)) {
            if (::unlinkat(parent_, leaf.c_str(), 0) == 0) return true;
            err = errno;
        }
        return fail(err, nullptr, false);
    }
    if (!enter(fd, leaf.c_str())) return false;
    while (!levels_.empty()) {
        Level& level = levels_.back();
        if (level.next == level.pending.size()) {
            if (!finish_level()) return false;
            continue;
        }
        const Pending& entry = level.pending[level.next++];
        if (!remove_entry(::dirfd(level.dir), level.names.c_str() + entry.name, entry.type)) return false;
    }
    return true;
}

// Reads all entries of a directory before any is removed, in inode order:
// removing them in the order the file system stores them is faster than
// the order of their names' hashes.
bool Walk::read_entries(Level& level) {
    level.pending.clear();
    level.names.clear();
    level.next = 0;
    for (;;) {
        errno = 0;
        struct dirent* entry = ::readdir(level.dir);
        if (entry == nullptr) break;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        level.pending.push_back(Pending{entry->d_ino, level.names.size(), entry->d_type});
        level.names.append(name, std::strlen(name) + 1);
    }
    if (errno != 0) return fail(errno, nullptr, false);
    std::sort(level.pending.begin(), level.pending.end(),
              [](const Pending& a, const Pending& b) { return a.inode < b.inode; });
    return true;
}

bool Walk::enter(int fd, const char* name) {
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        int err = errno;
        ::close(fd);
        return fail(err, name, false);
    }
    levels_.push_back(Level{dir, name, {}, {}});
    return read_entries(levels_.back());
}

// The listing of the innermost directory has ended: remove it from its
// parent (or read it again while it is not empty yet).
bool Walk::finish_level() {
    Level& level = levels_.back();
    int holder = levels_.size() > 1 ? ::dirfd(levels_[levels_.size() - 2].dir) : parent_;
    if (::unlinkat(holder, level.name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT) {
        if ((errno == ENOTEMPTY || errno == EEXIST) && level.rereads < kMaxRereads) {
            ++level.rereads;
            ::rewinddir(level.dir);
            return read_entries(level);
        }
        return fail(errno, nullptr, false);  // names this directory
    }
    ::closedir(level.dir);
    levels_.pop_back();
    return true;
}

bool Walk::remove_entry(int dir_fd, const char* name, unsigned char type) {
    for (int look = 0; look < kMaxLooks; ++look) {
        struct stat st;
        if (type != DT_DIR && type != DT_LNK) {
            // Files need their mode (Windows refuses to delete read-only
            // ones); unknown kinds need a look.
            if (::fstatat(dir_fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                return errno == ENOENT ? true : fail(errno, name, true);
            }
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
        }
        if (type == DT_DIR) {
            int fd = ::openat(dir_fd, name, kOpenDirectory);
            if (fd >= 0) return enter(fd, name);
            if (errno == ENOENT) return true;
            if (errno != ELOOP && errno != ENOTDIR) return fail(errno, name, false);
        } else {
            if (type == DT_REG && (st.st_mode & S_IWUSR) == 0) {
                return fail_code(kErrorAccessDenied, name, true);  // read-only
            }
            if (::unlinkat(dir_fd, name, 0) == 0 || errno == ENOENT) return true;
            if (errno != EISDIR) return fail(errno, name, type == DT_REG);
        }
        type = DT_UNKNOWN;  // replaced meanwhile: look again
    }
    return fail(EAGAIN, name, false);
}

// Records the failure of the entry `name` of the innermost directory, or
// of that directory itself when `name` is null, with its path.
bool Walk::fail_code(std::uint32_t code, const char* name, bool is_file) {
    failed_ = root_;
    for (std::size_t i = 1; i < levels_.size(); ++i) {
        failed_ += L'\\';
        failed_ += posix::from_system_path(levels_[i].name);
    }
    if (name != nullptr && !levels_.empty()) {
        failed_ += L'\\';
        failed_ += posix::from_system_path(name);
    }
    failed_is_file_ = is_file;
    return posix::fail(code);
}

bool Walk::fail(int err, const char* name, bool is_file) {
    if (err == ENOTEMPTY || err == EEXIST) return fail_code(kErrorDirNotEmpty, name, is_file);
    return fail_code(posix::win32_code(err), name, is_file);
}

}  // namespace

bool remove_tree(const std::wstring& path, std::wstring& failed, bool& failed_is_file) {
    std::string p;
    if (!posix::to_system_path(path, p)) return false;
    Walk walk(path, failed, failed_is_file);
    return walk.run(p);
}

}  // namespace zop::sys
