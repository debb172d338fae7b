#pragma once
// The dialler's list of numbers in its table Autosn, ordered by ID: reached
// records (negative IDs, counted up from -2000000000) first, then those still
// to be called (0), then the failed ones in the order they failed. Knows who
// is next, how a call ended, and the semicolon text file; widget-free.
#include "Cursor.h"

#include <functional>
#include <iosfwd>
#include <string>

class TAutoList {
public:
    static constexpr int kFirstDoneId = -2000000000;
    // A failed record goes behind every record still to be called: the
    // counter starts at 1, so no failure is dialled again at once.
    static constexpr int kFirstFailId = 1;

    static TDbTableDef Def();

    // The cursor the window browses and marks.
    TDbCursor Table;
    int NextDoneId = kFirstDoneId;
    int NextFailId = kFirstFailId;
    bool TableOpen = false;

    // Creates the table in the folder when missing and opens it at its first
    // record; any error of the engine leaves TableOpen false.
    void OpenTable(const std::string &databaseDir);
    void CloseTable();
    // Reached records keep their order at the head with fresh IDs; failed
    // ones are queued again; every count of attempts starts anew.
    void RenumberRecords();

    // Moves to the first record to call (ID 0 or more, attempts below the
    // limit; repeatCall 0 = no limit). idle() is asked before each record; false
    // when it says no or no record qualifies.
    bool FindNext(int repeatCall, const std::function<bool()> &idle);

    // The user's verdict on the current record: reached.
    void MarkReached();
    // How the call to that record ended; a failure counts an attempt when
    // asked to. Done through a cursor of its own, so that neither the
    // current record nor a record being edited is disturbed.
    void FinishCall(TDbCursor::TBookmark dialled, bool reached, bool countAttempt);
    // Posts the user's edit of the current record. ID and ATTEMPTS stay as
    // stored: a call that ended while the dialog was open has marked them.
    void PostEdit();
    // The user's verdict: failed, with its attempts cleared.
    void MarkFailedByHand();
    void EraseAll();

    // One line per record: NUMBER;NAME;NOTE;state letter, CR LF. progress(done, total).
    using TProgress = std::function<void(int, int)>;
    void Export(std::ostream &out, const TProgress &progress = {});
    // The same into a file, whole or not at all: the list is written beside
    // it first, so on any failure an earlier file stays as it was. Through a
    // symbolic link the file it names gets the list and the link stays.
    bool ExportFile(const std::string &path, const TProgress &progress = {});
    // Adds the file's records, one at most per line. Lines that do not fit are
    // skipped; those holding control bytes (no list, e.g. a binary file) are counted.
    struct TImported {
        int Added = 0, Skipped = 0;
    };
    TImported Import(std::istream &in, const TProgress &progress = {});

    // Which state letter and colour a record shows: -1 reached, 0 to call, 1 failed.
    static int StatusOf(double id) { return id < 0 ? -1 : id > 0 ? 1 : 0; }

private:
    static void SetId(TDbCursor &c, int id);
    TDbCursor marker_;
};
