#pragma once
// Writes the whole phone book into the seven exchange text files of its
// folder, a slice of rows per step so that the caller's event loop keeps
// running in between. Nothing is written to disk before the last step, and
// then the seven files are put in place together (BookSwap.h), so a cancelled
// or failed export leaves the old set whole.
// Nor does an export whose files the import could not read back: a row with
// a ";" or a line break in a field it writes, or a memo with a line of dashes
// that ends a memo entry. The old files stay, and the rows are named.
#include "BookSwap.h"
#include "Cursor.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class TPhoneBookStore;

class TDbfExport {
public:
    explicit TDbfExport(TPhoneBookStore &store);
    // Handles up to maxRows rows; false once the export has ended.
    bool Step(int maxRows);
    bool Finished() const { return phase_ == kDone; }
    long Rows() const { return rows_; }
    // Empty on success, else the files that could not be written.
    const std::string &Failed() const { return failed_; }
    // After a failure: kUndone, the old files stand; kPending, the new set
    // waits for the next open of the book or import to be put in place.
    bookswap::TCommit Outcome() const { return outcome_; }
    // Why nothing was even built (Failed() then says where): another program
    // imports or exports in the folder, the staging folder's name is taken,
    // or an import waits to be put in place and could not be now.
    enum TRefusal { kNotRefused, kBusy, kTaken, kImportPending };
    TRefusal Refused() const { return refused_; }
    // A row that would not read back: which table (0 firms, 1 representatives,
    // 2 contacts, 3 numbers), what names it, and its firm (for the others).
    struct TUnreadable {
        int Table;
        std::string Name, Firm;
    };
    // Rows that would not read back, in the order written; then no file was written.
    const std::vector<TUnreadable> &Unreadable() const { return unreadable_; }

private:
    enum TPhase { kFirms, kRepres, kContacts, kNums, kWrite, kDone };
    struct TColumn {
        TDbField Field;
        char Kind; // the field's type, or 'f' firm and 'r' representative by ID
    };
    void Begin();
    void WriteRow();
    void WriteFiles();
    // Takes what stands in the way of a new set out of it; false when the export is refused.
    bool ClearWay();
    void End();
    void Refuse(TRefusal why, const std::string &what);
    void Stage(const std::string &dir, const std::string &name, const std::string &bytes);
    std::string Text(const TColumn &column);
    std::string Reference(const std::string &text);

    TPhoneBookStore &store_;
    // Held from the first row read to the last file moved in.
    std::optional<bookswap::TLock> lock_;
    TPhase phase_ = kFirms;
    TDbCursor cursor_;
    std::vector<TColumn> columns_;
    std::optional<TDbField> memo_;
    // ID -> how the files name it (dbftext::Reference), and how many of a name came so far.
    std::unordered_map<double, std::string> firmNames_, repreSurnames_;
    std::unordered_map<std::string, int> named_;
    // The line file and memo file of each table, in the order of the phases.
    std::string lines_[4], memos_[4];
    long rows_ = 0;
    std::string failed_;
    bookswap::TCommit outcome_ = bookswap::TCommit::kMovedIn;
    TRefusal refused_ = kNotRefused;
    std::vector<TUnreadable> unreadable_;
};
