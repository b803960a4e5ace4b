#include "optics/output_file.h"

#include <fcntl.h>
#include <limits.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string describe(const char *step, const std::string &path, int err)
{
    return std::string(step) + " " + path + ": " + std::strerror(err);
}

std::string describe(const char *step, const std::string &path, const char *reason)
{
    return std::string(step) + " " + path + ": " + reason;
}

// The descriptor a name stands for when it names one of this process's open descriptors
// ("/dev/stdout", "/dev/stderr", "/dev/fd/1", "/proc/self/fd/1", "/proc/<own pid>/fd/1"), else -1.
int descriptor_named(const std::string &path)
{
    if (path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    std::string number;
    const std::string own = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (const std::string &prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"), own})
        if (path.compare(0, prefix.size(), prefix) == 0) number = path.substr(prefix.size());
    if (number.empty() || number.size() > 9 ||
        number.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int fd = std::atoi(number.c_str());
    return ::fcntl(fd, F_GETFD) == -1 ? -1 : fd;
}

bool write_all(int fd, std::string_view bytes, int &err)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Follows symbolic links from path to the name that is finally written: the first name that
// is not a link (it may not exist), or a descriptor name. Fails on a loop of links.
bool resolve_links(std::string &path, std::string &error)
{
    for (int hops = 0; hops < 40; hops++) {
        if (descriptor_named(path) >= 0) return true;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) {
            error = describe("cannot follow the link", path, errno);
            return false;
        }
        target.resize(static_cast<std::size_t>(n));
        path = target[0] == '/' ? target : folder_of(path) + "/" + target;
    }
    error = describe("cannot follow the link", path, ELOOP);
    return false;
}

// A new file in the folder of path that will take its place: "NAME.XXXXXX", or a shorter
// name when that would exceed the folder's longest file name.
int make_temporary(const std::string &path, std::string &temp)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    temp = path + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0 && errno == ENAMETOOLONG) {
        temp = folder + ".orvinta.XXXXXX";
        fd = ::mkstemp(temp.data());
    }
    return fd;
}

// The new file beside path, with the old file's mode and, where the process may, its owner.
int open_replacement(const std::string &path, const struct stat *old, std::string &temp,
                     std::string &error)
{
    const int fd = make_temporary(path, temp);
    if (fd < 0) {
        error = describe("cannot create a file beside", path, errno);
        return -1;
    }
    mode_t mode;
    if (old) {
        mode = old->st_mode & 07777;
        // The owner can be kept only with the privilege to give files away; without it the
        // file belongs to whoever wrote it, as any new file would.
        if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
            const int group_kept = ::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
            (void)group_kept;
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) {
        error = describe("cannot set the permissions of", path, errno);
        ::close(fd);
        ::unlink(temp.c_str());
        return -1;
    }
    return fd;
}

int open_special(const std::string &path, bool fifo, std::string &error, FifoWait wait)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && fifo && errno == ENXIO && wait == FifoWait::ForReader)
        fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = fifo && errno == ENXIO ? describe("cannot write", path, "no program is reading it")
                                       : describe("cannot open", path, errno);
        return -1;
    }
    // Opened without waiting; the bytes themselves are written as fast as the reader takes them.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace

std::string folder_of(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool has_ending(const std::string &path, const std::string &ending)
{
    return path.size() >= ending.size() &&
           strcasecmp(path.c_str() + path.size() - ending.size(), ending.c_str()) == 0;
}

bool OutputStream::open(const std::string &name, std::string &error, FifoWait wait)
{
    abort();
    std::string path = name == "-" ? "/dev/stdout" : name;
    if (!resolve_links(path, error)) return false;

    const int descriptor = descriptor_named(path);
    if (descriptor >= 0) {
        // What the program printed comes first, then the bytes, in one stream.
        std::fflush(stdout);
        std::fflush(stderr);
        fd_ = descriptor;
        label_ = name == "-" ? "standard output" : name;
        return true;
    }

    struct stat st;
    const bool found = ::stat(path.c_str(), &st) == 0;
    if (!found && errno != ENOENT) {
        error = describe("cannot write", name, errno);
        return false;
    }
    if (!found || S_ISREG(st.st_mode)) {
        // Replacing needs only the folder's permission; the file's own says whether it may
        // be written at all (for the effective user: the superuser may, as cp does).
        if (found && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
            error = describe("cannot write", name, errno);
            return false;
        }
        fd_ = open_replacement(path, found ? &st : nullptr, temp_, error);
    } else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode)) {
        fd_ = open_special(path, S_ISFIFO(st.st_mode), error, wait);
    } else {
        error = describe("cannot write", name,
                         S_ISDIR(st.st_mode)    ? std::strerror(EISDIR)
                         : S_ISSOCK(st.st_mode) ? "it is a socket"
                                                : "it is not a file");
    }
    if (fd_ < 0) {
        temp_.clear();
        return false;
    }
    owned_ = true;
    label_ = path_ = path;
    return true;
}

bool OutputStream::write(std::string_view bytes, std::string &error)
{
    int err = 0;
    if (write_all(fd_, bytes, err)) return true;
    error = describe("cannot write", label_, err);
    abort();
    return false;
}

bool OutputStream::commit(std::string &error)
{
    if (!owned_) {
        fd_ = -1;
        return true;
    }
    if (!temp_.empty() && ::fsync(fd_) != 0) {
        error = describe("cannot write", label_, errno);
        abort();
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    owned_ = false;
    // A device's close may be interrupted after the bytes went; only a real failure counts.
    if (::close(fd) != 0 && (!temp_.empty() || errno != EINTR)) {
        error = describe("cannot close", label_, errno);
        abort();
        return false;
    }
    if (!temp_.empty() && ::rename(temp_.c_str(), path_.c_str()) != 0) {
        error = describe("cannot replace", label_, errno);
        abort();
        return false;
    }
    temp_.clear();
    return true;
}

void OutputStream::abort()
{
    if (owned_ && fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
    fd_ = -1;
    owned_ = false;
    temp_.clear();
}

bool write_output_file(const std::string &name, std::string_view bytes, std::string &error,
                       FifoWait wait)
{
    OutputStream stream;
    return stream.open(name, error, wait) && stream.write(bytes, error) && stream.commit(error);
}

bool flush_standard_output(std::string &error)
{
    const bool flushed = std::fflush(stdout) == 0;
    const int err = errno;
    if (flushed && !std::ferror(stdout)) return true;
    // A write that failed before this flush left no reason that can still be trusted.
    error = describe("cannot write", "standard output", flushed ? EIO : err);
    return false;
}
