#pragma once
// POSIX file descriptor with byte-range locks (fcntl), shared with other
// programs on the same folder.
#include <cstdint>
#include <map>
#include <string>

// Files held in memory in place of the disk, by path (for fuzzing): while it
// names a path, TDbFile and DbReplaceFile use it and locks always succeed.
std::map<std::string, std::string> &DbMemoryFiles();
// Path of the file named name in folder dir (ending in '/'), found without
// regard to case; a file in memory by its exact name.
std::string DbFindFile(const std::string &dir, const std::string &name);
// Replaces the file's contents whole (a temporary file renamed over it, so
// that a crash leaves the old or the new contents); false on failure.
bool DbReplaceFile(const std::string &path, const std::string &bytes);

class TDbFile {
public:
    TDbFile() = default;
    ~TDbFile();
    TDbFile(const TDbFile &) = delete;
    TDbFile &operator=(const TDbFile &) = delete;

    // Read-write when allowed, else read-only; throws EDbError. Without
    // followLinks, a link under the name is refused.
    void Open(const std::string &path, bool followLinks = true);
    void Close();
    bool IsOpen() const { return fd_ >= 0 || mem_; }
    bool Writable() const { return writable_; }
    const std::string &Path() const { return path_; }

    uint64_t Size() const;
    // Whether path still names the open file (not a file made since in its place).
    bool IsFileAt(const std::string &path) const;
    std::string ReadAt(uint64_t at, size_t size) const; // short at the end of the file
    size_t ReadInto(uint64_t at, char *buf, size_t size) const; // bytes read
    void WriteAt(uint64_t at, const std::string &bytes);

    // Waits a bounded time for the lock (or, without wait, tries once);
    // throws EDbError when it stays taken.
    void Lock(uint64_t at, uint64_t size, bool exclusive, bool wait = true);
    void Unlock(uint64_t at, uint64_t size);

private:
    int fd_ = -1;
    std::string *mem_ = nullptr;
    bool writable_ = false;
    std::string path_;
};

// Holds a range lock for a scope.
class TDbLockGuard {
public:
    TDbLockGuard(TDbFile &file, uint64_t at, uint64_t size, bool exclusive = true, bool wait = true)
        : file_(file), at_(at), size_(size)
    {
        file_.Lock(at, size, exclusive, wait);
    }
    ~TDbLockGuard() { file_.Unlock(at_, size_); }
    TDbLockGuard(const TDbLockGuard &) = delete;
    TDbLockGuard &operator=(const TDbLockGuard &) = delete;

private:
    TDbFile &file_;
    uint64_t at_, size_;
};

// An flock on fd, waited for as long as the writers' lock is (or tried once);
// false while another open of the file holds it. A file system without locks
// counts as locked: we go on as before.
bool DbFlock(int fd, bool wait);

// Holds a folder for a scope, as long as another instance may take to make
// a table in it: programs opening a new book together make each table once
// and never replace files another has already opened.
class TDbFolderLock {
public:
    // Throws EDbError when the folder stays taken for about a second.
    explicit TDbFolderLock(const std::string &dir);
    ~TDbFolderLock();
    TDbFolderLock(const TDbFolderLock &) = delete;
    TDbFolderLock &operator=(const TDbFolderLock &) = delete;

private:
    int fd_;
};
