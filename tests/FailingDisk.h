#pragma once
// A disk that fails on cue. While armed, the file system calls on paths under
// one folder are counted, and the chosen one fails with an I/O error: once,
// or with every later one too. A test makes each call fail in turn, until a
// run makes fewer calls than the one chosen. It stands in for the C library's
// functions in the program it is linked into; unarmed, it passes all through.
#include <string>

namespace failingdisk {

// The calls that may fail: a write, an fsync, a rename, a file or folder
// made, a file removed; by path or relative to a folder's descriptor.
void Arm(const std::string &folder, int nth, bool lasting = false);
void Disarm();
// Whether a call was made to fail since Arm.
bool Failed();

// Armed for its lifetime.
struct TArmed {
    TArmed(const std::string &folder, int nth, bool lasting = false) { Arm(folder, nth, lasting); }
    ~TArmed() { Disarm(); }
    TArmed(const TArmed &) = delete;
    TArmed &operator=(const TArmed &) = delete;
};

} // namespace failingdisk
