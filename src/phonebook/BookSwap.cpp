#include "BookSwap.h"

#include "FileLock.h"
#include "Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace bookswap {

namespace {

const char *const kMarker = "Complete";
const char *const kImportFiles[] = {"Firms.dbf", "Firms.fpt", "Firms.cdx",    "Repres.dbf",   "Repres.fpt",  "Repres.cdx",
                                    "Nums.dbf",  "Nums.cdx",  "Contacts.dbf", "Contacts.fpt", "Contacts.cdx"};

std::vector<std::string> SetFiles(const char *set)
{
    if (std::strcmp(set, kExport) == 0)
        return {std::begin(kExportFiles), std::end(kExportFiles)};
    return {std::begin(kImportFiles), std::end(kImportFiles)};
}

std::string Folder(const std::string &dir)
{
    return dir.size() > 1 && dir.back() == '/' ? dir.substr(0, dir.size() - 1) : dir;
}

bool IsRegularAt(int fd, const std::string &name, struct stat &st)
{
    return ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
}

// What a writer leaves beside one of the set's files: its name, '.' and six
// letters or digits.
bool IsTemporary(const std::vector<std::string> &files, const std::string &name)
{
    for (const std::string &f : files)
        if (name.size() == f.size() + 7 && name.compare(0, f.size(), f) == 0 && name[f.size()] == '.') {
            bool letters = true;
            for (size_t i = f.size() + 1; i < name.size(); ++i)
                letters = letters && std::isalnum(static_cast<unsigned char>(name[i]));
            if (letters)
                return true;
        }
    return false;
}

enum class TState {
    kNone,     // nothing under the name
    kBuilding, // a set not marked complete: being built, or left by a crash
    kMarked,   // a set marked complete
    kForeign   // anything the program did not make
};

// A staging folder as it stands, opened as itself (never through a link).
struct TFolder {
    TState State = TState::kNone;
    int Fd = -1;
    std::vector<std::string> Files, Rest; // the set's files; temporaries and the marker
    TFolder() = default;
    TFolder(const TFolder &) = delete;
    TFolder &operator=(const TFolder &) = delete;
    ~TFolder()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
};

// Ours only while it holds nothing but regular files of the set's names,
// their temporaries and the marker.
void Read(TFolder &f, const char *set)
{
    const std::vector<std::string> files = SetFiles(set);
    f.Files.clear();
    f.Rest.clear();
    const int copy = f.Fd >= 0 ? ::dup(f.Fd) : -1;
    DIR *d = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!d) {
        if (copy >= 0)
            ::close(copy);
        f.State = TState::kForeign;
        return;
    }
    ::rewinddir(d);
    bool marked = false;
    f.State = TState::kBuilding;
    while (const dirent *e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        const bool file = std::find(files.begin(), files.end(), name) != files.end();
        if (!IsRegularAt(f.Fd, name, st) || !(file || name == kMarker || IsTemporary(files, name))) {
            f.State = TState::kForeign;
            break;
        }
        (file ? f.Files : f.Rest).push_back(name);
        marked = marked || name == kMarker;
    }
    ::closedir(d);
    if (f.State == TState::kBuilding && marked)
        f.State = TState::kMarked;
}

void Examine(const std::string &databaseDir, const char *set, TFolder &f)
{
    const std::string path = Folder(StagingDir(databaseDir, set));
    f.Fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (f.Fd >= 0) {
        Read(f, set);
        return;
    }
    struct stat st {};
    f.State = ::lstat(path.c_str(), &st) != 0 && errno == ENOENT ? TState::kNone : TState::kForeign;
}

void Reread(int fd, const char *set, TFolder &f)
{
    f.Fd = ::dup(fd);
    Read(f, set);
}

// What the program wrote goes, then the folder, unless something else came in.
void Clear(const TFolder &f, const std::string &path)
{
    for (const std::vector<std::string> *names : {&f.Rest, &f.Files})
        for (const std::string &name : *names)
            ::unlinkat(f.Fd, name.c_str(), 0);
    ::rmdir(path.c_str()); // a link put in its place is no folder to remove
}

// The staging folder open as fd, cleared while it is still the program's own.
void ClearIfOurs(int fd, const char *set, const std::string &path)
{
    TFolder f;
    Reread(fd, set, f);
    if (f.State == TState::kBuilding)
        Clear(f, path);
}

// The marker first: a set half cleared must not be taken for a whole one.
void Tidy(int fd, const char *set, const std::string &path)
{
    ::unlinkat(fd, kMarker, 0);
    ClearIfOurs(fd, set, path);
}

// Syncs a file just opened (fd -1: the open failed) and closes it.
bool SyncAndClose(int fd)
{
    bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    return ok;
}

// Moves the set's files that are still in the staging folder in: returns the
// file that could not be put in place, empty when all is.
std::string MoveIn(const std::string &databaseDir, int fd, const char *set)
{
    const std::string book = WithSlash(databaseDir);
    std::vector<std::string> names;
    for (const std::string &name : SetFiles(set)) {
        struct stat st {};
        if (IsRegularAt(fd, name, st))
            names.push_back(name);
    }
    // Another program's write either lands before the move or finds its
    // table replaced under the writers' lock: none goes into a file on its way out.
    std::vector<std::unique_ptr<TDbFile>> held;
    std::error_code ec;
    for (const std::string &name : names) {
        std::string target = FindFileNoCase(book, name);
        if (!DbSameName(fs::path(name).extension().string(), ".dbf") || !fs::exists(target, ec))
            continue;
        held.push_back(std::make_unique<TDbFile>());
        held.back()->Open(target);
        held.back()->Lock(0, 32, true);
    }
    for (const std::string &name : names) {
        // Over the old file whatever case its name has, so no stale twin stays.
        std::string target = FindFileNoCase(book, name);
        struct stat st {};
        if (::renameat(fd, name.c_str(), AT_FDCWD, target.c_str()) != 0 && IsRegularAt(fd, name, st))
            return target;
    }
    const bool synced = SyncAndClose(::open(book.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return synced ? std::string() : Folder(book);
}

} // namespace

std::string StagingDir(const std::string &databaseDir, const char *set)
{
    return WithSlash(databaseDir) + set + "/";
}

std::string Finish(const std::string &databaseDir, const char *set)
{
    const std::string path = Folder(StagingDir(databaseDir, set));
    TState seen;
    {
        TFolder f;
        Examine(databaseDir, set, f);
        seen = f.State;
    }
    if (seen == TState::kNone || seen == TState::kForeign)
        return {};
    // A marked set is waited for while another program moves it in; one
    // being built is theirs to finish.
    TLock lock(databaseDir, seen == TState::kMarked);
    if (!lock.Held())
        return seen == TState::kMarked ? NameFromFs(path) : std::string();
    TFolder now;
    Examine(databaseDir, set, now);
    if (now.State == TState::kBuilding)
        Clear(now, path);
    if (now.State != TState::kMarked)
        return {};
    std::string failed = MoveIn(databaseDir, now.Fd, set);
    if (!failed.empty())
        return NameFromFs(failed);
    Tidy(now.Fd, set, path);
    return {};
}

bool Pending(const std::string &databaseDir, const char *set)
{
    TFolder f;
    Examine(databaseDir, set, f);
    return f.State == TState::kMarked;
}

std::string Taken(const std::string &databaseDir, const char *set)
{
    TFolder f;
    Examine(databaseDir, set, f);
    return f.State == TState::kForeign ? NameFromFs(Folder(StagingDir(databaseDir, set))) : std::string();
}

void GuardWrite(const std::string &databaseDir)
{
    if (!Pending(databaseDir))
        return;
    TLock lock(databaseDir, false);
    if (!lock.Held())
        throw EPending("");
    std::string failed = Finish(databaseDir);
    if (!failed.empty())
        throw EPending(failed);
}

TBuild::TBuild(const std::string &databaseDir, const char *set)
    : book_(WithSlash(databaseDir)), dir_(StagingDir(databaseDir, set)), set_(set)
{
    const std::string path = Folder(dir_);
    {
        TFolder f;
        Examine(databaseDir, set, f);
        if (f.State == TState::kForeign)
            throw ETaken(NameFromFs(path));
        if (f.State == TState::kMarked)
            throw EDbError("Cannot replace " + NameFromFs(path));
        if (f.State == TState::kBuilding)
            Clear(f, path);
    }
    struct stat st {};
    if (::mkdir(path.c_str(), 0777) == 0)
        fd_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        throw EDbError("Cannot create " + NameFromFs(dir_));
    folder_ = {st.st_dev, st.st_ino, 0};
}

TBuild::~TBuild()
{
    if (!committed_ && fd_ >= 0)
        ClearIfOurs(fd_, set_, Folder(dir_));
    if (fd_ >= 0)
        ::close(fd_);
}

void TBuild::Built()
{
    built_.clear();
    for (const std::string &name : SetFiles(set_)) {
        struct stat st {};
        if (IsRegularAt(fd_, name, st))
            built_[name] = {st.st_dev, st.st_ino, st.st_size};
    }
}

// The first file not as built (gone, replaced, changed, or something beside
// the set); empty when the set stands as it was written.
std::string TBuild::Changed()
{
    struct stat st {};
    if (::lstat(Folder(dir_).c_str(), &st) != 0 || st.st_dev != folder_.Dev || st.st_ino != folder_.Ino)
        return Folder(dir_);
    TFolder now;
    Reread(fd_, set_, now);
    if (now.State != TState::kBuilding || !now.Rest.empty())
        return Folder(dir_);
    for (const std::string &name : SetFiles(set_)) {
        auto it = built_.find(name);
        if (it == built_.end() || !IsRegularAt(fd_, name, st) || st.st_dev != it->second.Dev
            || st.st_ino != it->second.Ino || st.st_size != it->second.Size)
            return dir_ + name;
    }
    return {};
}

// Before anything moved: the marker goes first, so that nothing rolls the set
// forward later. False when the marker stays.
bool TBuild::TakeBack()
{
    struct stat st {};
    if (::unlinkat(fd_, kMarker, 0) != 0 && errno != ENOENT && IsRegularAt(fd_, kMarker, st))
        return false;
    ::fsync(fd_);
    ClearIfOurs(fd_, set_, Folder(dir_));
    return true;
}

// Checks the built files, makes them durable and marks the set complete:
// returns what failed, empty when the set is durably marked.
std::string TBuild::Mark()
{
    // A target that no file can be moved onto (a folder of that name) is
    // found before anything moves, so the set can still be taken back.
    for (const std::string &name : SetFiles(set_)) {
        std::string target = FindFileNoCase(book_, name);
        std::error_code ec;
        if (fs::is_directory(fs::symlink_status(target, ec)))
            return target;
    }
    if (std::string changed = Changed(); !changed.empty())
        return changed;
    for (const auto &[name, stamp] : built_)
        if (!SyncAndClose(::openat(fd_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC)))
            return dir_ + name;
    const int marker = ::openat(fd_, kMarker, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    return SyncAndClose(marker) && ::fsync(fd_) == 0 ? std::string() : dir_ + kMarker;
}

TCommit TBuild::Commit(std::string &failedFile)
{
    committed_ = true;
    std::string failed = Mark();
    if (!failed.empty() && TakeBack()) {
        failedFile = NameFromFs(failed);
        return TCommit::kUndone;
    }
    // Marked: the set is whole, and a failure now may pass on a second try.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            failed = MoveIn(book_, fd_, set_);
        } catch (const std::exception &) {
            failed = Folder(book_); // a table held by another program
        }
        if (failed.empty()) {
            Tidy(fd_, set_, Folder(dir_));
            return TCommit::kMovedIn;
        }
    }
    failedFile = NameFromFs(failed);
    return TCommit::kPending;
}

} // namespace bookswap
