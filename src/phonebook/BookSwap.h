#pragma once
// A new phone book is built in a folder inside the book's folder and moved in
// file by file once a marker file says it is complete. Opening the book first
// finishes a move that a crash interrupted, or drops an unfinished build, so
// the tables are always all old or all new.
#include <string>

namespace bookswap {

// The build folder of a book folder, ending in '/'.
std::string StagingDir(const std::string &databaseDir);
// An empty build folder (what an earlier run left is dropped). Throws EDbError.
std::string PrepareStaging(const std::string &databaseDir);
// Makes the built files durable, marks the build complete and moves it in.
// Throws EDbError; the next FinishStaging completes what is marked.
void CommitStaging(const std::string &databaseDir);
// At open: completes a marked build, drops an unmarked one. Throws EDbError
// when a marked build cannot be moved in (the book must not open half new).
void FinishStaging(const std::string &databaseDir);
void DropStaging(const std::string &databaseDir);

} // namespace bookswap
