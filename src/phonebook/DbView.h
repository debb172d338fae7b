#pragma once
// What a grid shows of a table: the rows that pass a filter ("Idf=7",
// "Idr=3 AND Idf=7"), in the cursor's index order, as a list of record
// numbers. The filter lives here, not on the cursor, so that a firm's rows
// are reached through an index of the store instead of testing every row;
// the cursor is moved by bookmark and stays the current-row holder that
// fields, posts and deletes go through. Field texts of other rows are read
// through a cursor of the view's own, so only the rows asked for are read.
#include "Cursor.h"

#include <functional>
#include <string>
#include <vector>

class TDbView {
public:
    // Rows that can pass a condition, in physical order; nullptr: none known,
    // test every row.
    using TCandidates = std::function<const std::vector<uint32_t> *(const TDbCondition &)>;

    TDbView(TDbCursor &cursor, TCandidates candidates = {});
    ~TDbView();
    TDbView(const TDbView &) = delete;
    TDbView &operator=(const TDbView &) = delete;

    TDbCursor &Cursor() { return cursor_; }
    // A cursor for reading any row without moving the current one.
    TDbCursor &Reader();

    // Throws EDbError for a text it cannot filter by; then nothing changes.
    void SetFilter(const std::string &text);
    const std::string &Filter() const { return filter_; }
    // "" gives physical order; throws EDbError for an index the table lacks.
    void SetIndexName(const std::string &name);
    const std::string &IndexName() const { return cursor_.IndexName(); }
    // Reads the rows again (after a post, a delete, a change of the table),
    // keeping the current row when it still passes, else the nearest.
    void Refresh();

    // Lets go of the table (its reader closed, no rows) until the next Refresh:
    // needed before the table's files are replaced.
    void Release();

    int Count() const { return static_cast<int>(rows_.size()); }
    bool IsEmpty() const { return rows_.empty(); }
    uint32_t RecNoAt(int row) const { return rows_[static_cast<size_t>(row)]; }
    // Row of the current record, -1 when it is not in the view.
    int Row() const { return row_; }
    // The cursor's current record is one of the view's rows (else fields read nothing of it).
    bool HasRow() const { return row_ >= 0; }
    bool Contains(uint32_t recno) const;

    void First();
    void Last();
    void Next();
    void Prior();
    void MoveTo(int row);
    // Makes the record current when the view holds it.
    bool MoveToRecNo(uint32_t recno);

    // After every change of the current row (not while the cursor's controls are disabled).
    std::function<void()> AfterScroll;
    // Grids showing the view: told after the rows were read again (reset)
    // or the current row changed.
    using TObserver = std::function<void(bool reset)>;
    int AddObserver(TObserver observer);
    void RemoveObserver(int id);

private:
    void Scrolled();
    void Tell(bool reset);
    void Read();
    void FindRow();

    TDbCursor &cursor_;
    TDbCursor reader_;
    TCandidates candidates_;
    std::string filter_;
    std::vector<TDbCondition> conditions_;
    std::vector<uint32_t> rows_;
    int row_ = -1;
    std::vector<std::pair<int, TObserver>> observers_;
    int nextObserver_ = 1;
};
