#pragma once
// A cursor over a shared table, in the manner of a data-set object: every
// cursor on the same file sees each post at once, and another program's
// posts when it next goes to the first or last record, locates, counts or
// edits (moving on, jumping to a bookmark or asking for the data version: in
// the next turn of the event loop). Deleted records are never visible.
// Failures arrive as EDbError.
#include "DbTypes.h"
#include "Filter.h"

#include <QDate>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TDbTable;
class TDbCursor;

// A field of the cursor's current record (or of the record being edited).
class TDbField {
public:
    TDbField(TDbCursor *cursor, int index) : c_(cursor), i_(index) {}
    const std::string &FieldName() const;
    char DataType() const;
    int Size() const;

    bool IsNull() const;
    // Text trimmed of trailing blanks; numbers in decimal; booleans "True"/"False";
    // dates yyyy-MM-dd; memos whole. Null gives "".
    std::string AsString() const;
    int64_t AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QDate AsDate() const;

    // Text is cut to the field's width; "" makes any field null.
    void SetAsString(const std::string &value);
    void SetAsInteger(int64_t value) { SetAsFloat(static_cast<double>(value)); }
    void SetAsFloat(double value);
    void SetAsBoolean(bool value);
    void SetAsDate(const QDate &date);
    void Clear();

private:
    const char *Raw() const;
    char *Buffer() const;
    TDbCursor *c_;
    int i_;
};

class TDbCursor {
public:
    enum TState { dsInactive, dsBrowse, dsEdit, dsInsert };
    using TBookmark = uint32_t;

    TDbCursor();
    ~TDbCursor();
    TDbCursor(const TDbCursor &) = delete;
    TDbCursor &operator=(const TDbCursor &) = delete;

    // The folder and the table's name ("Firms.dbf" or "Nums"; ".dbf" added).
    std::string DatabaseName;
    std::string TableName;
    // Used by CreateTable; the index definitions also by Open (empty: the
    // index file's own tags).
    std::vector<TDbFieldDef> FieldDefs;
    std::vector<TDbIndexDef> IndexDefs;

    // Path of the table file, matched in the folder without regard to case.
    std::string FileName() const;
    bool Exists() const;
    // An empty table with its index file (and memo file when it has memos).
    void CreateTable();
    // CreateTable when the table is missing, once whichever programs ask at once.
    void CreateTableIfMissing();
    // Removes the table with its index and memo files; the cursor is closed.
    void DeleteTable();
    void Open();
    void Close();
    // Opens (again) on the table other is set to, with no filter and in
    // record order: a cursor of its own over the same rows.
    void OpenLike(const TDbCursor &other);
    bool Active() const { return table_ != nullptr; }
    // Another program replaced the table's file: reads show the old rows, writes fail.
    bool Replaced() const;
    // As Replaced, from the last look at the file (once a turn) alone.
    bool KnownReplaced() const;
    // Takes in what other programs wrote now, not in the next turn; with
    // afterWriters, once a write under way has landed.
    void Refresh(bool afterWriters = false);
    // Changes whenever any cursor or another program changes the table; lets
    // callers cache.
    uint64_t DataVersion() const;

    const std::vector<TDbFieldDef> &Fields() const;
    TDbField FieldByName(const std::string &name);
    bool HasField(const std::string &name) const;
    // Where the field lies in a record's bytes; throws EDbError when unknown.
    const TDbFieldDef &FieldDef(const std::string &name) const;

    // Every live record in physical order, whatever the filter and order, as
    // its bytes (valid during the call): the quick way through a whole table.
    void ScanRecords(const std::function<void(uint32_t recno, const char *record)> &visit, uint32_t from = 1);
    // Every record from `from` on as the file holds it now, deleted ones too
    // (record[0] == '*'), read past what was read before: for what must see
    // another program's change in place, which the headers do not show.
    void ScanFile(const std::function<void(uint32_t recno, const char *record)> &visit, uint32_t from = 1);
    // Records in the file, deleted ones too.
    uint32_t FileRecordCount() const;
    // Of the records given, the live ones that pass the conditions, in the
    // order of the cursor's index (record order when none).
    std::vector<uint32_t> Select(const std::vector<uint32_t> &recnos, const std::vector<TDbCondition> &conditions) const;
    // The current record's bytes (the edit buffer while editing); blanks when none.
    const char *CurrentRecord() const;

    // Filter on by default; setting either moves to the first record.
    void SetFilter(const std::string &text);
    const std::string &Filter() const { return filterText_; }
    void SetFiltered(bool on);
    bool Filtered() const { return filtered_; }
    // "" gives physical order; the current record stays current.
    void SetIndexName(const std::string &name);
    const std::string &IndexName() const { return indexName_; }

    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const;
    int RecordCount() const;
    uint32_t RecNo() const { return cur_; }

    TBookmark GetBookmark() const { return cur_; }
    bool BookmarkValid(TBookmark b) const;
    void GotoBookmark(TBookmark b);

    // Exact, case-sensitive match of every field (trailing blanks ignored;
    // numbers compared as numbers, dates as yyyyMMdd or yyyy-MM-dd, booleans
    // as T/F), searching from the first record in the current order.
    bool Locate(const std::vector<std::pair<std::string, std::string>> &values);

    TState State() const { return state_; }
    // Around this cursor's last Post or Delete; zeros when it wrote nothing.
    // What keeps its own copy of the table's data current through our writes
    // compares with these, not with a version taken before the call: the
    // write takes in what others wrote first.
    const TDbWriteVersions &LastWrite() const { return written_; }
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();

    std::function<void(TDbCursor &)> AfterScroll;
    std::function<void(TDbCursor &)> BeforeDelete;
    std::function<void(TDbCursor &)> BeforePost;
    // Under the table's writers' lock, on the record as it will land (an
    // edit's untouched fields as the file has them now): for what must be
    // decided against the table as it stands. It may set fields, no more.
    std::function<void(TDbCursor &)> OnWrite;
    // Under the writers' lock before a post or a delete reads or writes
    // anything: may refuse it by throwing.
    std::function<void()> BeforeWrite;
    // While disabled, no after-scroll notification is given.
    void DisableControls() { ++disabled_; }
    void EnableControls();
    bool ControlsDisabled() const { return disabled_ > 0; }

private:
    friend class TDbField;
    void CheckActive() const;
    void CheckBrowseMode();
    bool Visible(uint32_t recno) const;
    // The next visible record after (step 1) or before (-1) from in the
    // current order, or the first or last for from 0; 0 when none.
    uint32_t Find(uint32_t from, int step) const;
    void MoveTo(uint32_t recno);
    void Scrolled();
    bool Matches(int field, const std::string &value) const;
    bool WalkInOrder(std::vector<uint32_t> &recnos) const;

    std::shared_ptr<TDbTable> table_;
    std::string filterText_;
    std::vector<std::pair<int, double>> conditions_;
    bool filtered_ = true;
    std::string indexName_;
    int tag_ = -1;
    uint32_t cur_ = 0;
    uint32_t saved_ = 0;
    bool eof_ = true, bof_ = true;
    TState state_ = dsInactive;
    TDbWriteVersions written_;
    std::string buffer_;
    std::string original_; // the record as the edit began
    std::map<int, std::string> memos_;
    std::string blank_;
    int disabled_ = 0;
};

// Date value text for Locate.
std::string DbDateText(const QDate &date);
