#include "AtomicFile.h"

#include "Paths.h"
#include "RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace atomicfile {

bool ReadAll(const std::string &path, std::string &bytes)
{
    bytes.clear();
    int fd = OpenRegularFile(path);
    if (fd < 0)
        return false;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            return n == 0;
        }
        bytes.append(buf, static_cast<size_t>(n));
    }
}

namespace {

const char *const kSuffix = ".XXXXXX";

bool WriteFully(int fd, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Beside the file, and within the longest name the folder takes even when
// the file's own name is near it.
std::string TemporaryName(const std::string &path)
{
    const size_t slash = path.rfind('/');
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::string folder = path.substr(0, start);
    const size_t room = LongestFileName(folder) - std::strlen(kSuffix);
    return folder + path.substr(start, room) + kSuffix;
}

} // namespace

bool Write(const std::string &path, const std::string &bytes, unsigned createMode)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(createMode));
    if (fd < 0)
        return false;
    bool ok = WriteFully(fd, bytes);
    return ::close(fd) == 0 && ok;
}

bool Replace(const std::string &path, const std::string &bytes, unsigned createMode)
{
    mode_t mode = static_cast<mode_t>(createMode);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    std::string tmp = TemporaryName(path);
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, mode) == 0 && WriteFully(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(tmp.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(tmp.c_str());
    return false;
}

std::string FollowLinks(const std::string &path)
{
    // The C library's own bound on links in one path.
    constexpr int kMostLinks = 40;
    std::string at = path;
    for (int i = 0; i < kMostLinks; ++i) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return at;
        char buf[4096];
        const ssize_t n = ::readlink(at.c_str(), buf, sizeof buf);
        if (n <= 0 || static_cast<size_t>(n) >= sizeof buf)
            return {};
        const std::string target(buf, static_cast<size_t>(n));
        const size_t slash = at.rfind('/');
        at = target[0] == '/' || slash == std::string::npos ? target : at.substr(0, slash + 1) + target;
    }
    return {};
}

} // namespace atomicfile
