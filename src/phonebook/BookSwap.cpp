#include "BookSwap.h"

#include "DbTypes.h"
#include "FileLock.h"
#include "Paths.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *const kMarker = "Complete";

bool Sync(const std::string &path, bool dir)
{
    int fd = ::open(path.c_str(), (dir ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    return ok;
}

std::string Folder(const std::string &dir)
{
    return dir.size() > 1 && dir.back() == '/' ? dir.substr(0, dir.size() - 1) : dir;
}

// The built files on disk, then the marker: returns what could not be
// written, empty when the set is durably marked complete.
std::string MarkComplete(const std::string &dir)
{
    std::error_code ec;
    for (const fs::directory_entry &e : fs::directory_iterator(dir, ec))
        if (!Sync(e.path().string(), false))
            return e.path().string();
    if (ec)
        return Folder(dir);
    const std::string marker = dir + kMarker;
    int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return marker;
    bool ok = ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        return marker;
    return Sync(dir, true) ? std::string() : marker;
}

// A target that no file can be moved onto (a folder of that name): found
// before anything moves, so the set can still be taken back.
std::string Blocked(const std::string &databaseDir, const std::string &dir)
{
    std::error_code ec;
    for (const fs::directory_entry &e : fs::directory_iterator(dir, ec)) {
        std::string target = FindFileNoCase(WithSlash(databaseDir), e.path().filename().string());
        if (fs::is_directory(fs::symlink_status(target, ec)))
            return target;
    }
    return {};
}

// Before anything moved: the marker goes first, so that nothing rolls the set
// forward later. False when the marker stays.
bool TakeBack(const std::string &databaseDir, const char *set)
{
    const std::string dir = bookswap::StagingDir(databaseDir, set);
    if (::unlink((dir + kMarker).c_str()) != 0 && errno != ENOENT && bookswap::Pending(databaseDir, set))
        return false;
    Sync(dir, true);
    bookswap::DropStaging(databaseDir, set);
    return true;
}

// Moves a marked set in: returns the file that could not be put in place,
// empty when all is.
std::string MoveIn(const std::string &databaseDir, const std::string &dir)
{
    std::string book = WithSlash(databaseDir);
    std::error_code ec;
    std::vector<std::string> names;
    for (const fs::directory_entry &e : fs::directory_iterator(dir, ec))
        if (e.path().filename() != kMarker)
            names.push_back(e.path().filename().string());
    if (ec)
        return Folder(dir);
    // Another program's write either lands before the move or finds its
    // table replaced under the writers' lock: none goes into a file on its way out.
    std::vector<std::unique_ptr<TDbFile>> held;
    for (const std::string &name : names) {
        std::string target = FindFileNoCase(book, name);
        if (name.size() < 4 || !DbSameName(name.substr(name.size() - 4), ".dbf") || !fs::exists(target, ec))
            continue;
        held.push_back(std::make_unique<TDbFile>());
        held.back()->Open(target);
        held.back()->Lock(0, 32, true);
    }
    for (const std::string &name : names) {
        // Over the old file whatever case its name has, so no stale twin stays.
        std::string target = FindFileNoCase(book, name);
        if (::rename((dir + name).c_str(), target.c_str()) != 0 && fs::exists(dir + name, ec))
            return target; // else another program moved it in
    }
    if (!Sync(book, true))
        return Folder(book);
    fs::remove(dir + kMarker, ec);
    fs::remove(dir, ec);
    return {};
}

} // namespace

namespace bookswap {

std::string StagingDir(const std::string &databaseDir, const char *set)
{
    return WithSlash(databaseDir) + set + "/";
}

void DropStaging(const std::string &databaseDir, const char *set)
{
    std::error_code ec;
    fs::remove_all(StagingDir(databaseDir, set), ec);
}

std::string PrepareStaging(const std::string &databaseDir, const char *set)
{
    std::string dir = StagingDir(databaseDir, set);
    std::error_code ec;
    fs::remove_all(dir, ec);
    if (!fs::create_directories(dir, ec))
        throw EDbError("Cannot create " + NameFromFs(dir));
    return dir;
}

bool Pending(const std::string &databaseDir, const char *set)
{
    std::error_code ec;
    return fs::exists(StagingDir(databaseDir, set) + kMarker, ec);
}

TCommit CommitStaging(const std::string &databaseDir, std::string &failedFile, const char *set)
{
    const std::string dir = StagingDir(databaseDir, set);
    std::string failed = Blocked(databaseDir, dir);
    if (failed.empty())
        failed = MarkComplete(dir);
    if (!failed.empty() && TakeBack(databaseDir, set)) {
        failedFile = NameFromFs(failed);
        return TCommit::kUndone;
    }
    // Marked: the set is whole, and a failure now may pass on a second try.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            failed = MoveIn(databaseDir, dir);
        } catch (const std::exception &) {
            failed = Folder(databaseDir); // a table held by another program
        }
        if (failed.empty())
            return TCommit::kMovedIn;
    }
    failedFile = NameFromFs(failed);
    return TCommit::kPending;
}

void FinishStaging(const std::string &databaseDir, const char *set)
{
    std::string dir = StagingDir(databaseDir, set);
    std::error_code ec;
    if (!fs::exists(dir, ec))
        return;
    if (!fs::exists(dir + kMarker, ec)) {
        DropStaging(databaseDir, set);
        return;
    }
    std::string failed = MoveIn(databaseDir, dir);
    if (!failed.empty())
        throw EDbError("Cannot replace " + NameFromFs(failed));
}

} // namespace bookswap
