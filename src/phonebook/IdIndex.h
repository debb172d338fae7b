#pragma once
// Rows of a table by the value of one numeric field (a firm's ID in its
// details, a row's own ID), each list in physical order. Kept current by the
// store on its own posts and deletes; anything else that wrote the table
// shows as a new data version and the index is read again.
#include "Cursor.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TIdIndex {
public:
    explicit TIdIndex(std::string field) : field_(std::move(field)) {}

    // Reads the whole table again when reader's table changed behind our back.
    void Sync(TDbCursor &reader);
    bool InSync(const TDbCursor &c) const { return version_ == c.DataVersion() && version_ != 0; }
    // After a post or delete through c: the current row (or recno gone),
    // when the index was current up to just before that write.
    void Posted(TDbCursor &c);
    void Deleted(const TDbCursor &c, uint32_t recno);

    const std::vector<uint32_t> &Rows(double value) const;
    // The first row in physical order with that value; 0 when none.
    uint32_t First(double value) const;

private:
    void Put(uint32_t recno, double value); // NaN: none
    std::string field_;
    uint64_t version_ = 0;
    std::unordered_map<double, std::vector<uint32_t>> rows_;
    std::vector<double> valueOf_; // by recno - 1; NaN: none
};
