#pragma once
// Numbers of the book by what a caller's number can match: internal lines
// ("L") by their whole normalised text, every other number by its last four
// characters. Answers which row the plain first-to-last scan would stop at,
// without the scan. Kept current like TIdIndex.
#include "Cursor.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TNumberIndex {
public:
    void Sync(TDbCursor &reader);
    bool InSync(const TDbCursor &c) const { return version_ == c.DataVersion() && version_ != 0; }
    void Posted(TDbCursor &c, uint64_t versionBefore);
    void Deleted(uint32_t recno, uint64_t versionBefore, uint64_t versionAfter);

    // The first row in physical order matching the normalised number n; 0 when none.
    uint32_t Find(const std::string &n) const;

private:
    struct TEntry {
        std::string Num; // normalised; empty: the row takes no part
        bool Local = false;
    };
    static std::string KeyOf(const std::string &num) { return num.substr(num.size() - 4); }
    void Put(uint32_t recno, TEntry entry);
    std::vector<uint32_t> &Bucket(const TEntry &e);

    uint64_t version_ = 0;
    std::vector<TEntry> entries_; // by recno - 1
    std::unordered_map<std::string, std::vector<uint32_t>> local_, bySuffix_;
};
