#pragma once
// A table the exchange keeps (history, accounting, event log), never copied:
// a selection is sent, the answer's record count sizes the rows, and a record
// is asked for only when its row is painted, one request per row. The last
// answers are cached; the cell texts written from answers are kept by record
// number, for a bounded number of records, so that new records arriving at
// the top never leave a row showing (or dialling) its neighbour's data.
#include <QDate>
#include <QtGlobal>

#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class TIniFile;

// One column: key is a text id, Field an answer attribute or "DBF:Nam:" and
// an attribute (the phone-book name of that number).
struct TRemoteColumnDef {
    std::string Key, Field;
    int Width = 60;
    std::string Title;
    bool Saved = false; // from the INI file: its width is the user's
};

// "Field,Width,Title"; a width that is no number gives 60.
TRemoteColumnDef ParseColumnDef(const std::string &key, const std::string &def);
std::vector<TRemoteColumnDef> ParseColumnDefs(const std::vector<std::pair<std::string, std::string>> &keysAndDefs);
// The columns of "HIST", "ACC" and "LOG" when the INI file names none.
const std::vector<TRemoteColumnDef> &DefaultColumns(const std::string &type);

// Filter conditions on the exchange's field names; dates as '8/9/2006'.
std::string OwnLineCondition(const std::string &line);
std::string TodayCondition(const QDate &today);
std::string LastDaysCondition(int days, const QDate &today);
// "21, 22" gives ((LINE='21') or (LINE='22')); blanks and empty items are skipped.
std::string LinesCondition(const std::string &list);
// The conditions that are not empty, joined by " and ".
std::string JoinConditions(const std::vector<std::string> &conditions);

class TRemoteTable {
public:
    // Sends act "SET" with a filter or "REC" with a record number.
    using Sender = std::function<void(const std::string &act, const std::string &value)>;
    // The phone-book name of a number, "" when unknown. Without it, every
    // Field is a plain attribute name.
    using NameLookup = std::function<std::string(const std::string &number)>;

    static constexpr size_t kCachedAnswers = 21;
    static constexpr size_t kKeptRecords = 512;
    static constexpr size_t kOutstanding = 64;
    // A record asked for and not answered within this is asked again when painted.
    static constexpr qint64 kRetryMs = 3000;

    TRemoteTable(Sender send, NameLookup names = {});

    // Newest record in the first row; read whenever rows and records are mapped.
    std::function<bool()> LastTop = [] { return false; };
    // Milliseconds of a steady clock.
    std::function<qint64()> Now;

    // Definitions of every column; the first Shown of them are on screen.
    std::vector<TRemoteColumnDef> Columns;
    int Shown = 0;
    // Index of the definition whose Field is `field`, -1 when none.
    int ColumnOf(const std::string &field) const;
    int ColumnOfKey(const std::string &key) const;

    void SendFilter(const std::string &filter);
    const std::string &Filter() const { return filter_; }

    // What an answer changed, for the view to follow.
    struct TChange {
        enum Kind { None, Reset, Count, Record } What = None;
        int OldLastRow = 0; // last grid row before
        int Select = -1;   // row to select; -1 leaves the selection
        int TopShift = 0;  // rows the top visible row moves down
        int Row = -1;      // the row a record filled
    };
    // selectedRow: the grid's selected row before the answer.
    TChange ProcessAnswer(const std::string &answer, int selectedRow);

    // The last grid row under the title row: the record count, at least 1.
    // (The grid's row count is one more, which an int cannot always hold.)
    int LastRow() const { return lastRow_; }
    bool HasRecords() const { return hasRecords_; }
    int RecordOf(int row) const;
    int RowOf(int record) const;

    // The text shown in cell (col >= 1, row >= 1); asks for nothing.
    std::string CellText(int col, int row) const;
    // The text written into the cell by the last answer for its record (or by
    // SetStoredCell); "" when there is none.
    std::string StoredCell(int col, int row) const;
    void SetStoredCell(int col, int row, const std::string &text);
    // The view paints a row: ask for its record when it is not cached and
    // another row was asked for last.
    void RowPainted(int row);

    // The cached answer for a record, "" when none.
    std::string Cached(int record) const;
    size_t CacheSize() const { return cache_.size(); }
    size_t KeptRecords() const { return cells_.size(); }

    // column definitions from the INI file. overlay: the section's keys are laid
    // over `defaults` (an empty value removes a definition); otherwise the section,
    // when it exists, replaces them.
    void LoadColumns(const TIniFile &ini, const std::string &section, const std::vector<TRemoteColumnDef> &defaults,
                     bool overlay);
    // Writes the shown columns with the widths and titles the view has now.
    void SaveColumns(TIniFile &ini, const std::string &section, const std::vector<int> &widths) const;

private:
    std::string FieldValue(const TRemoteColumnDef &def, const std::string &answer) const;
    void Store(int record, const std::string &answer);
    std::vector<std::string> &CellsOf(int record);

    Sender send_;
    NameLookup names_;
    std::string filter_;
    int records_ = 0;
    int lastRow_ = 1;
    bool hasRecords_ = false;
    int lastRequestedRow_ = -2; // no row yet
    // Records asked for and not answered since the last SET or CHG, with when
    // they were asked: a repaint before their answers arrive does not ask
    // again, unless the answer is overdue.
    std::deque<std::pair<int, qint64>> outstanding_;
    std::vector<std::pair<int, std::string>> cache_; // oldest first
    std::unordered_map<int, std::vector<std::string>> cells_;
    std::deque<int> cellOrder_; // records in the order their cells were first kept
};
