#pragma once
// POSIX file descriptor with byte-range locks (fcntl), shared with other
// programs on the same folder.
#include <cstdint>
#include <string>

class TDbFile {
public:
    TDbFile() = default;
    ~TDbFile();
    TDbFile(const TDbFile &) = delete;
    TDbFile &operator=(const TDbFile &) = delete;

    // Read-write when allowed, else read-only; throws EDbError.
    void Open(const std::string &path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    bool Writable() const { return writable_; }
    const std::string &Path() const { return path_; }

    uint64_t Size() const;
    // Whether path still names the open file (not a file made since in its place).
    bool IsFileAt(const std::string &path) const;
    std::string ReadAt(uint64_t at, size_t size) const; // short at the end of the file
    void WriteAt(uint64_t at, const std::string &bytes);

    // Waits a bounded time for the lock; throws EDbError when it stays taken.
    void Lock(uint64_t at, uint64_t size, bool exclusive);
    void Unlock(uint64_t at, uint64_t size);

private:
    int fd_ = -1;
    bool writable_ = false;
    std::string path_;
};

// Holds an exclusive range lock for a scope.
class TDbLockGuard {
public:
    TDbLockGuard(TDbFile &file, uint64_t at, uint64_t size) : file_(file), at_(at), size_(size)
    {
        file_.Lock(at, size, true);
    }
    ~TDbLockGuard() { file_.Unlock(at_, size_); }
    TDbLockGuard(const TDbLockGuard &) = delete;
    TDbLockGuard &operator=(const TDbLockGuard &) = delete;

private:
    TDbFile &file_;
    uint64_t at_, size_;
};
