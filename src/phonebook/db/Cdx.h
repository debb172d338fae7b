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

// Sortable forms of a number and of a date's Julian day.
std::string CdxNumberKey(double value);
// Fill byte of a tag by its key expression: ' ' for text keys, 0 otherwise.
using TCdxFillOf = std::function<char(const std::string &expression)>;

// Reads every tag; throws EDbError on a damaged file. Bounded by the file size.
std::vector<TCdxTag> ReadCdx(const std::string &bytes, const TCdxFillOf &fillOf);
// A whole index file for the tags (their entries already in key order).
std::string WriteCdx(const std::vector<TCdxTag> &tags);
