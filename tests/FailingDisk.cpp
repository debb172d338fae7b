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

bool UnderFd(int fd)
{
    char link[64], target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = ::readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return false;
    target[n] = '\0';
    return Under(target);
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

// Only a call that makes a file counts: reading is no write.
static int OpenNext(const char *name, const char *path, int flags, va_list args)
{
    const bool hasMode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
    mode_t mode = hasMode ? static_cast<mode_t>(va_arg(args, int)) : 0;
    if (Fails((flags & O_CREAT) && Under(path)))
        return -1;
    auto real = Next<int (*)(const char *, int, ...)>(name);
    return real(path, flags, mode);
}

int open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    int fd = OpenNext("open", path, flags, args);
    va_end(args);
    return fd;
}

int open64(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    int fd = OpenNext("open64", path, flags, args);
    va_end(args);
    return fd;
}

} // extern "C"
