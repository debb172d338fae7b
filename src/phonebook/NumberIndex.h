#pragma once
// Numbers of the book by what a caller's number can match: internal lines
// ("L") by their whole normalised text, every other number by its last four
// characters. Answers which row the plain first-to-last scan would stop at,
// without the scan, and the row's firm and representative without reading
// the row. Kept current like TIdIndex.
#include "Cursor.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TNumberIndex {
public:
    void Sync(TDbCursor &reader);
    bool InSync(const TDbCursor &c) const { return version_ == c.DataVersion() && version_ != 0; }
    void Posted(TDbCursor &c);
    void Deleted(const TDbCursor &c, uint32_t recno);

    // The first row in physical order matching the normalised number n; 0 when none.
    uint32_t Find(const std::string &n) const;
    // IDF and IDR of a row Find gave, as whole numbers; false when they are
    // not small whole numbers (the row itself then tells).
    bool Ids(uint32_t recno, int64_t &idf, int64_t &idr) const;

private:
    struct TRow {
        uint32_t At = 0;   // its normalised number in text_
        uint32_t Next = 0; // the next row of its chain, 0: none
        int32_t Idf = 0, Idr = 0;
        uint16_t Len = 0; // 0: the row takes no part
        bool Local = false;
        bool WholeIds = false;
    };
    struct TFields {
        TDbFieldDef Num, Type, Idf, Idr;
    };
    TRow Read(const TFields &f, const char *record);
    std::string_view Text(const TRow &r) const { return {text_.data() + r.At, r.Len}; }
    size_t Slot(std::string_view n) const;
    void Chain(uint32_t recno, bool in);
    void Put(uint32_t recno, TRow row);

    uint64_t version_ = 0;
    std::string text_;
    std::vector<TRow> rows_; // by recno - 1
    // Non-local rows by their last four characters: chains in record order.
    std::vector<uint32_t> heads_;
    std::unordered_map<std::string, std::vector<uint32_t>> local_;
};
