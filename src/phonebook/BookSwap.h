#pragma once
// A set of files (a new phone book, or the export's text files) is built in a
// folder of its own inside the book's folder and moved in file by file once a
// marker file says it is complete, so the files are always all old or all new.
// One program at a time builds, moves in or clears a set (StagingLock.h).
// A staging folder holds only what the program writes there: anything else
// under its name (a link, a file, a folder holding other things) is left as
// it is, and nothing outside the book's folder is written, moved or removed.
#include "DbTypes.h"
#include "StagingLock.h"

#include <sys/types.h>

#include <map>
#include <string>

namespace bookswap {

// The sets, by the name of their build folder.
inline constexpr const char *kImport = "Import.new";
inline constexpr const char *kExport = "Export.new";
// The export's files, in the order the import reads them.
inline constexpr const char *kExportFiles[] = {"Firms.txt",    "Firms.txm",    "Repres.txt", "Repres.txm",
                                               "Contacts.txt", "Contacts.txm", "Nums.txt"};

// The build folder of a set, ending in '/'.
std::string StagingDir(const std::string &databaseDir, const char *set = kImport);

// Something the program did not make stands under a set's name; what() is
// its path as the user reads it.
class ETaken : public EDbError {
public:
    using EDbError::EDbError;
};

// A write refused: the book is to be replaced by an import that could not be
// put in place now. what() names the file that could not be moved, or is
// empty while another program moves the set in.
class EPending : public EDbError {
public:
    using EDbError::EDbError;
};

// Completes a set marked complete and drops one a program left unfinished.
// A set another program is building, and anything that is not a set, are
// left alone. Returns "" when no set is left waiting, else the file (as the
// user reads it) that could not be put in place.
std::string Finish(const std::string &databaseDir, const char *set = kImport);
// A set marked complete is still waiting to be moved in.
bool Pending(const std::string &databaseDir, const char *set = kImport);
// What holds the set's name when the program did not make it, as the user
// reads its path; empty when nothing, or a set, does.
std::string Taken(const std::string &databaseDir, const char *set);
// Under a table's writers' lock, before a write into the book: a write into
// files that a pending import is to replace would be lost. The import is put
// in place first (the write then finds its table replaced); throws EPending
// when it cannot be.
void GuardWrite(const std::string &databaseDir);

enum class TCommit {
    kMovedIn, // the new set is in place
    kUndone,  // nothing was moved and the set is gone: the old files stand
    kPending  // marked complete but not all moved in: the next Finish does it
};

// A set being built, under a held TLock with no set of its kind pending.
class TBuild {
public:
    // An empty staging folder of the program's own. Throws ETaken when
    // something else holds the name, EDbError when the folder cannot be made.
    TBuild(const std::string &databaseDir, const char *set);
    // Drops the set unless it was committed.
    ~TBuild();
    TBuild(const TBuild &) = delete;
    TBuild &operator=(const TBuild &) = delete;

    // The folder to write the set's files into, ending in '/'.
    const std::string &Dir() const { return dir_; }
    // Every file is written: the commit checks they still stand as they are now.
    void Built();
    // Makes the built files durable, marks the set complete and moves it in.
    // A failure before the move takes the set back when it can; once the set
    // can only be finished, the move is tried once more. failedFile names the
    // file whose write, sync or move failed.
    TCommit Commit(std::string &failedFile);

private:
    struct TStamp {
        dev_t Dev = 0;
        ino_t Ino = 0;
        off_t Size = -1;
    };
    std::string Changed();
    std::string Mark();
    bool TakeBack();

    std::string book_, dir_;
    const char *set_;
    int fd_ = -1;
    TStamp folder_;
    std::map<std::string, TStamp> built_;
    bool committed_ = false;
};

} // namespace bookswap
