#include "FileLock.h"

#include "AtomicFile.h"
#include "DbTypes.h"
#include "Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

std::map<std::string, std::string> &DbMemoryFiles()
{
    static std::map<std::string, std::string> files;
    return files;
}

std::string DbFindFile(const std::string &dir, const std::string &name)
{
    if (!DbMemoryFiles().empty() && DbMemoryFiles().count(dir + name))
        return dir + name;
    return FindFileNoCase(dir, name);
}

bool DbReplaceFile(const std::string &path, const std::string &bytes)
{
    auto it = DbMemoryFiles().find(path);
    if (it == DbMemoryFiles().end())
        return atomicfile::Replace(path, bytes);
    it->second = bytes;
    return true;
}

TDbFile::~TDbFile() { Close(); }

void TDbFile::Open(const std::string &path, bool followLinks)
{
    Close();
    path_ = path;
    if (auto it = DbMemoryFiles().find(path); it != DbMemoryFiles().end()) {
        mem_ = &it->second;
        writable_ = true;
        return;
    }
    const int follow = followLinks ? 0 : O_NOFOLLOW;
    fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC | follow);
    writable_ = fd_ >= 0;
    if (fd_ < 0 && (errno == EACCES || errno == EROFS))
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | follow);
    if (fd_ < 0)
        throw EDbError("Cannot open " + NameFromFs(path) + ": " + strerror(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        Close();
        throw EDbError("Cannot open " + NameFromFs(path) + ": not a file");
    }
}

void TDbFile::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    mem_ = nullptr;
    writable_ = false;
}

uint64_t TDbFile::Size() const
{
    if (mem_)
        return mem_->size();
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        throw EDbError("Cannot read " + path_ + ": " + strerror(errno));
    return static_cast<uint64_t>(st.st_size);
}

bool TDbFile::IsFileAt(const std::string &path) const
{
    if (mem_) {
        auto it = DbMemoryFiles().find(path);
        return it != DbMemoryFiles().end() && &it->second == mem_;
    }
    struct stat open {}, named {};
    return fd_ >= 0 && ::fstat(fd_, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev
           && open.st_ino == named.st_ino;
}

std::string TDbFile::ReadAt(uint64_t at, size_t size) const
{
    std::string b(size, '\0');
    b.resize(ReadInto(at, b.data(), size));
    return b;
}

size_t TDbFile::ReadInto(uint64_t at, char *buf, size_t size) const
{
    if (mem_) {
        size_t n = at < mem_->size() ? std::min<uint64_t>(size, mem_->size() - at) : 0;
        memcpy(buf, mem_->data() + at, n);
        return n;
    }
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::pread(fd_, buf + done, size - done, static_cast<off_t>(at + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EDbError("Cannot read " + path_ + ": " + strerror(errno));
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

void TDbFile::WriteAt(uint64_t at, const std::string &bytes)
{
    if (!writable_)
        throw EDbError("Table " + path_ + " is read-only");
    if (mem_) {
        if (mem_->size() < at + bytes.size())
            mem_->resize(at + bytes.size(), '\0');
        mem_->replace(at, bytes.size(), bytes);
        return;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(at + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw EDbError("Cannot write " + path_ + ": " + strerror(errno));
        done += static_cast<size_t>(n);
    }
}

namespace {

// Another instance holds its locks only while it writes: tries for up to 1 s
// (once without wait). False while the lock stays taken; true once it is
// held, or on a file system without locks, where we go on unlocked.
template <typename Try> bool TakeLock(Try attempt, bool wait)
{
    for (int tries = wait ? 50 : 1; tries > 0; --tries) {
        if (attempt())
            return true;
        if (errno != EACCES && errno != EAGAIN && errno != EINTR)
            return true;
        if (tries > 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace

void TDbFile::Lock(uint64_t at, uint64_t size, bool exclusive, bool wait)
{
    if (mem_)
        return;
    struct flock fl {};
    fl.l_type = static_cast<short>(exclusive && writable_ ? F_WRLCK : F_RDLCK);
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(at);
    fl.l_len = static_cast<off_t>(size);
    if (!TakeLock([&] { return ::fcntl(fd_, F_SETLK, &fl) == 0; }, wait))
        throw EDbError("Table " + path_ + " is locked by another program");
}

bool DbFlock(int fd, bool wait)
{
    return TakeLock([&] { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }, wait);
}

TDbFolderLock::TDbFolderLock(const std::string &dir) : fd_(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (fd_ >= 0 && !DbFlock(fd_, true)) {
        ::close(fd_);
        throw EDbError("Folder " + NameFromFs(dir) + " is locked by another program");
    }
}

TDbFolderLock::~TDbFolderLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void TDbFile::Unlock(uint64_t at, uint64_t size)
{
    if (mem_)
        return;
    struct flock fl {};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(at);
    fl.l_len = static_cast<off_t>(size);
    ::fcntl(fd_, F_SETLK, &fl);
}
