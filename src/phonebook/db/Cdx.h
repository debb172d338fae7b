#pragma once
// Compact compound index files: one file per table, one tag per order.
// Keys are fixed-length byte strings compared as unsigned bytes; numbers and
// dates are stored in their sortable eight-byte form.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TCdxTag {
    std::string Name;
    std::string Expression;
    bool Unique = false;
    int KeyLen = 0;
    char Fill = ' ';               // the byte trailing parts of keys are made of
    std::vector<uint32_t> Recnos;  // in key order
    std::string Keys;              // Recnos.size() keys of KeyLen bytes each, same order
};

constexpr size_t kCdxPage = 512;
constexpr uint32_t kCdxNone = 0xFFFFFFFFu;

// One node of a tag's tree, decoded: a leaf holds record numbers and keys; an
// interior node holds for each child the child's last key and record.
struct TCdxPage {
    uint16_t Attr = 2; // 1 root, 2 leaf
    uint32_t Left = kCdxNone, Right = kCdxNone;
    std::vector<uint32_t> Recnos;
    std::vector<uint32_t> Children;
    std::string Keys;
    bool Leaf() const { return Attr & 2; }
};

// Throws EDbError for a page that cannot be one.
TCdxPage DecodeCdxPage(const char *page, int keyLen, char fill);
// The page's 512 bytes; false when its entries do not fit one page.
bool EncodeCdxPage(const TCdxPage &page, int keyLen, char fill, std::string &out);

// Sortable forms of a number and of a date's Julian day.
std::string CdxNumberKey(double value);
// Fill byte of a tag by its key expression: ' ' for text keys, 0 otherwise.
using TCdxFillOf = std::function<char(const std::string &expression)>;

// Reads every tag; throws EDbError on a damaged file. Bounded by the file size.
std::vector<TCdxTag> ReadCdx(const std::string &bytes, const TCdxFillOf &fillOf);
// A whole index file for the tags (their entries already in key order).
// counter: the file's change counter.
std::string WriteCdx(const std::vector<TCdxTag> &tags, uint32_t counter = 0);
