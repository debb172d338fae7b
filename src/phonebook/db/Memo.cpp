#include "Memo.h"

#include "DbTypes.h"
#include "Paths.h"

namespace {

constexpr uint32_t kBlockSize = 64;
constexpr uint32_t kHeaderSize = 512;

uint32_t Be(const std::string &b, size_t at, int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
    return v;
}

void PutBe(std::string &b, size_t at, uint32_t v, int n)
{
    for (int i = n - 1; i >= 0; --i, v >>= 8)
        b[at + static_cast<size_t>(i)] = static_cast<char>(v & 0xFF);
}

} // namespace

std::string TDbMemoFile::EmptyFile()
{
    std::string h(kHeaderSize, '\0');
    PutBe(h, 0, kHeaderSize / kBlockSize, 4);
    PutBe(h, 6, kBlockSize, 2);
    return h;
}

void TDbMemoFile::Open(const std::string &path, bool followLinks)
{
    file_.Open(path, followLinks);
    if (file_.Size() < 8 || BlockSize() == 0)
        throw EDbError("Memo file " + NameFromFs(path) + " is damaged");
}

uint32_t TDbMemoFile::BlockSize() const
{
    return Be(file_.ReadAt(0, 8), 6, 2);
}

std::string TDbMemoFile::Read(uint32_t block) const
{
    uint64_t at = static_cast<uint64_t>(block) * BlockSize();
    uint64_t size = file_.Size();
    std::string head = file_.ReadAt(at, 8);
    if (block == 0 || head.size() < 8)
        throw EDbError("Memo file " + NameFromFs(file_.Path()) + " is damaged");
    uint32_t len = Be(head, 4, 4);
    if (len > size - at - 8)
        throw EDbError("Memo file " + NameFromFs(file_.Path()) + " is damaged");
    return file_.ReadAt(at + 8, len);
}

uint32_t TDbMemoFile::Write(const std::string &text)
{
    if (text.empty())
        return 0;
    std::string header = file_.ReadAt(0, 8);
    uint32_t blockSize = Be(header, 6, 2);
    uint32_t next = Be(header, 0, 4);
    uint64_t end = (file_.Size() + blockSize - 1) / blockSize;
    // A damaged header: never write over blocks it lost, nor far past the end.
    if (next != end && end <= 0xFFFFFFFFu)
        next = static_cast<uint32_t>(end);
    if (next < (kHeaderSize + blockSize - 1) / blockSize)
        next = (kHeaderSize + blockSize - 1) / blockSize;
    uint64_t blocks = (text.size() + 8 + blockSize - 1) / blockSize;
    if (next + blocks > 0xFFFFFFFFull || text.size() > 0x7FFFFFFFull)
        throw EDbError("Memo file " + NameFromFs(file_.Path()) + " is full");
    std::string data(blocks * blockSize, '\0');
    PutBe(data, 0, 1, 4);
    PutBe(data, 4, static_cast<uint32_t>(text.size()), 4);
    data.replace(8, text.size(), text);
    // Data first, then the free pointer: a crash in between only leaks blocks.
    file_.WriteAt(static_cast<uint64_t>(next) * blockSize, data);
    std::string free(4, '\0');
    PutBe(free, 0, static_cast<uint32_t>(next + blocks), 4);
    file_.WriteAt(0, free);
    return next;
}
