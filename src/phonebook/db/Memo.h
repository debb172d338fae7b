#pragma once
// Memo file beside a table: 512-byte header (next free block, block size,
// both big-endian), blocks with an 8-byte head (type, length).
#include "FileLock.h"

#include <cstdint>
#include <string>

class TDbMemoFile {
public:
    void Open(const std::string &path, bool followLinks = true);
    void Close() { file_.Close(); }
    bool IsOpen() const { return file_.IsOpen(); }
    std::string Read(uint32_t block) const;
    // Writes text into new blocks; returns the first block (0 for empty text).
    uint32_t Write(const std::string &text);
    static std::string EmptyFile();

private:
    uint32_t BlockSize() const;
    TDbFile file_;
};
