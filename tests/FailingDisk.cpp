#include "FailingDisk.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <optional>
#include <string>

namespace {

std::string folder;
std::atomic<bool> armed{false};
std::atomic<int> calls{0}, nth{0};
std::atomic<bool> lasting{false}, failed{false};

bool Under(const char *path)
{
    return path && std::string(path).compare(0, folder.size(), folder) == 0;
}

// The path an open file descriptor names; "" when none.
std::string FdPath(int fd)
{
    char link[64], target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

bool UnderFd(int fd)
{
    return Under(FdPath(fd).c_str());
}

// A path taken relative to a folder's descriptor.
bool UnderAt(int dirFd, const char *path)
{
    if (!path || path[0] == '/' || dirFd == AT_FDCWD)
        return Under(path);
    return Under((FdPath(dirFd) + "/" + path).c_str());
}

// Counts a call on a watched path; true when this one is to fail.
bool Fails(bool watched)
{
    if (!armed || !watched)
        return false;
    int n = ++calls;
    if (n == nth || (lasting && n > nth && nth > 0)) {
        failed = true;
        errno = EIO;
        return true;
    }
    return false;
}

template <class F>
F Next(const char *name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace

namespace failingdisk {

void Arm(const std::string &under, int n, bool last)
{
    folder = under;
    calls = 0;
    nth = n;
    lasting = last;
    failed = false;
    armed = true;
}

void Disarm() { armed = false; }

bool Failed() { return failed; }

} // namespace failingdisk

extern "C" {

ssize_t write(int fd, const void *buf, size_t n)
{
    static auto real = Next<ssize_t (*)(int, const void *, size_t)>("write");
    return Fails(UnderFd(fd)) ? -1 : real(fd, buf, n);
}

ssize_t writev(int fd, const struct iovec *iov, int count)
{
    static auto real = Next<ssize_t (*)(int, const struct iovec *, int)>("writev");
    return Fails(UnderFd(fd)) ? -1 : real(fd, iov, count);
}

ssize_t pwrite(int fd, const void *buf, size_t n, off_t at)
{
    static auto real = Next<ssize_t (*)(int, const void *, size_t, off_t)>("pwrite");
    return Fails(UnderFd(fd)) ? -1 : real(fd, buf, n, at);
}

ssize_t pwrite64(int fd, const void *buf, size_t n, off64_t at)
{
    static auto real = Next<ssize_t (*)(int, const void *, size_t, off64_t)>("pwrite64");
    return Fails(UnderFd(fd)) ? -1 : real(fd, buf, n, at);
}

int fsync(int fd)
{
    static auto real = Next<int (*)(int)>("fsync");
    return Fails(UnderFd(fd)) ? -1 : real(fd);
}

int fdatasync(int fd)
{
    static auto real = Next<int (*)(int)>("fdatasync");
    return Fails(UnderFd(fd)) ? -1 : real(fd);
}

int rename(const char *from, const char *to) noexcept
{
    static auto real = Next<int (*)(const char *, const char *)>("rename");
    return Fails(Under(from) || Under(to)) ? -1 : real(from, to);
}

int unlink(const char *path) noexcept
{
    static auto real = Next<int (*)(const char *)>("unlink");
    return Fails(Under(path)) ? -1 : real(path);
}

int mkdir(const char *path, mode_t mode) noexcept
{
    static auto real = Next<int (*)(const char *, mode_t)>("mkdir");
    return Fails(Under(path)) ? -1 : real(path, mode);
}

int renameat(int fromFd, const char *from, int toFd, const char *to) noexcept
{
    static auto real = Next<int (*)(int, const char *, int, const char *)>("renameat");
    return Fails(UnderAt(fromFd, from) || UnderAt(toFd, to)) ? -1 : real(fromFd, from, toFd, to);
}

int unlinkat(int dirFd, const char *path, int flags) noexcept
{
    static auto real = Next<int (*)(int, const char *, int)>("unlinkat");
    return Fails(UnderAt(dirFd, path)) ? -1 : real(dirFd, path, flags);
}

int mkdirat(int dirFd, const char *path, mode_t mode) noexcept
{
    static auto real = Next<int (*)(int, const char *, mode_t)>("mkdirat");
    return Fails(UnderAt(dirFd, path)) ? -1 : real(dirFd, path, mode);
}

// Only a call that makes a file counts: reading is no write.
// dirFd is that of an openat, else none.
static int OpenNext(const char *name, std::optional<int> dirFd, const char *path, int flags, va_list args)
{
    const bool hasMode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
    mode_t mode = hasMode ? static_cast<mode_t>(va_arg(args, int)) : 0;
    if (Fails((flags & O_CREAT) && UnderAt(dirFd.value_or(AT_FDCWD), path)))
        return -1;
    if (dirFd)
        return Next<int (*)(int, const char *, int, ...)>(name)(*dirFd, path, flags, mode);
    return Next<int (*)(const char *, int, ...)>(name)(path, flags, mode);
}

int open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    int fd = OpenNext("open", std::nullopt, path, flags, args);
    va_end(args);
    return fd;
}

int open64(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    int fd = OpenNext("open64", std::nullopt, path, flags, args);
    va_end(args);
    return fd;
}

int openat(int dirFd, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    int fd = OpenNext("openat", dirFd, path, flags, args);
    va_end(args);
    return fd;
}

int openat64(int dirFd, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    int fd = OpenNext("openat64", dirFd, path, flags, args);
    va_end(args);
    return fd;
}

} // extern "C"
