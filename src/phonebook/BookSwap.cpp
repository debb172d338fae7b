#include "BookSwap.h"

#include "DbTypes.h"
#include "FileLock.h"
#include "Paths.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *const kMarker = "Complete";

void Sync(const std::string &path, bool dir)
{
    int fd = ::open(path.c_str(), dir ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw EDbError("Cannot write " + NameFromFs(path));
}

} // namespace

namespace bookswap {

std::string StagingDir(const std::string &databaseDir)
{
    return WithSlash(databaseDir) + "Import.new/";
}

void DropStaging(const std::string &databaseDir)
{
    std::error_code ec;
    fs::remove_all(StagingDir(databaseDir), ec);
}

std::string PrepareStaging(const std::string &databaseDir)
{
    std::string dir = StagingDir(databaseDir);
    std::error_code ec;
    fs::remove_all(dir, ec);
    if (!fs::create_directories(dir, ec))
        throw EDbError("Cannot create " + NameFromFs(dir));
    return dir;
}

void CommitStaging(const std::string &databaseDir)
{
    std::string dir = StagingDir(databaseDir);
    for (const fs::directory_entry &e : fs::directory_iterator(dir))
        Sync(e.path().string(), false);
    std::string marker = dir + kMarker;
    FILE *f = fopen(marker.c_str(), "wb");
    if (!f || fclose(f) != 0)
        throw EDbError("Cannot write " + NameFromFs(marker));
    Sync(marker, false);
    Sync(dir, true);
    FinishStaging(databaseDir);
}

void FinishStaging(const std::string &databaseDir)
{
    std::string dir = StagingDir(databaseDir);
    std::error_code ec;
    if (!fs::exists(dir, ec))
        return;
    if (!fs::exists(dir + kMarker, ec)) {
        DropStaging(databaseDir);
        return;
    }
    std::string book = WithSlash(databaseDir);
    std::vector<std::string> names;
    for (const fs::directory_entry &e : fs::directory_iterator(dir))
        if (e.path().filename() != kMarker)
            names.push_back(e.path().filename().string());
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
            throw EDbError("Cannot replace " + NameFromFs(target)); // else another program moved it in

    }
    Sync(book, true);
    fs::remove(dir + kMarker, ec);
    fs::remove(dir, ec);
}

} // namespace bookswap
