#include "StagingLock.h"

#include "FileLock.h"
#include "Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <tuple>

namespace bookswap {

namespace {

const char *const kLockFile = "Staging.lock";

// The lock files this process holds, by device and inode: a second open of
// one would be refused by our own first. A child made by fork shares the
// parent's open files but holds none of its locks.
struct THeld {
    int Fd;
    int Count;
};
using TKey = std::tuple<unsigned long long, unsigned long long, pid_t>;
std::mutex gMutex;
std::map<TKey, THeld> gHeld;

// Never through a link, nor a pipe that would hold the open.
int OpenLockFile(const std::string &path)
{
    constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.c_str(), kFlags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
        if (fd < 0 && errno == EEXIST)
            fd = ::open(path.c_str(), kFlags);
    }
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    return fd;
}

} // namespace

TLock::TLock(const std::string &databaseDir, bool wait) : dir_(WithSlash(databaseDir))
{
    int fd = OpenLockFile(dir_ + kLockFile);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    dev_ = st.st_dev;
    ino_ = st.st_ino;
    std::lock_guard<std::mutex> guard(gMutex);
    auto it = gHeld.find({dev_, ino_, ::getpid()});
    if (it != gHeld.end()) {
        ::close(fd);
        ++it->second.Count;
        held_ = true;
    } else if (DbFlock(fd, wait)) {
        gHeld[{dev_, ino_, ::getpid()}] = {fd, 1};
        held_ = true;
    } else {
        ::close(fd);
        busy_ = true;
    }
}

std::string TLock::Path() const
{
    return NameFromFs(dir_ + kLockFile);
}

TLock::~TLock()
{
    if (!held_)
        return;
    std::lock_guard<std::mutex> guard(gMutex);
    auto it = gHeld.find({dev_, ino_, ::getpid()});
    if (it != gHeld.end() && --it->second.Count == 0) {
        ::close(it->second.Fd); // lets the flock go
        gHeld.erase(it);
    }
}

} // namespace bookswap
