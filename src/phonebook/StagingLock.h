#pragma once
// The lock of a book folder's staging sets: one program at a time builds,
// moves in or clears an import or export set there, and every program takes
// it first, as it does the writers' lock. It is an flock on a file of its own
// in the book folder, made when missing and never removed. Taken again in
// the process that holds it, it is simply held once more.
#include <string>

namespace bookswap {

class TLock {
public:
    // Waits as long as for the writers' lock, or tries once.
    TLock(const std::string &databaseDir, bool wait);
    ~TLock();
    TLock(const TLock &) = delete;
    TLock &operator=(const TLock &) = delete;

    // False while another program holds it, or when its file cannot be had
    // (a folder we may not write, a link planted under its name).
    bool Held() const { return held_; }
    // Not held because another program holds it.
    bool Busy() const { return busy_; }
    // The lock's file, as the user reads its path.
    std::string Path() const;

private:
    std::string dir_;
    unsigned long long dev_ = 0, ino_ = 0;
    bool held_ = false, busy_ = false;
};

} // namespace bookswap
