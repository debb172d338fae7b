#pragma once
// A set of files (a new phone book, or the export's text files) is built in a
// folder of its own inside the book's folder and moved in file by file once a
// marker file says it is complete. Opening the book first finishes a move
// that a crash interrupted, or drops an unfinished build, so the files are
// always all old or all new.
#include <string>

namespace bookswap {

// The sets, by the name of their build folder.
inline constexpr const char *kImport = "Import.new";
inline constexpr const char *kExport = "Export.new";

// The build folder of a set, ending in '/'.
std::string StagingDir(const std::string &databaseDir, const char *set = kImport);
// An empty build folder (what an earlier run left is dropped). Throws EDbError.
std::string PrepareStaging(const std::string &databaseDir, const char *set = kImport);

enum class TCommit {
    kMovedIn, // the new set is in place
    kUndone,  // nothing was moved and the set is gone: the old files stand
    kPending  // marked complete but not all moved in: the next FinishStaging does it
};
// Makes the built files durable, marks the set complete and moves it in.
// A failure before the move takes the set back when it can; once the set can
// only be finished, the move is tried once more. failedFile names the file
// whose write, sync or move failed.
TCommit CommitStaging(const std::string &databaseDir, std::string &failedFile, const char *set = kImport);
// Completes a marked set, drops an unmarked one. Throws EDbError when a
// marked set cannot be moved in (the book must not open half new).
void FinishStaging(const std::string &databaseDir, const char *set = kImport);
// A marked set is still waiting to be moved in.
bool Pending(const std::string &databaseDir, const char *set = kImport);
void DropStaging(const std::string &databaseDir, const char *set = kImport);

} // namespace bookswap
