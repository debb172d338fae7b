#include "WholeCopy.h"

#include "AtomicFile.h"
#include "Fce.h"
#include "Paths.h"

#include <QDir>

#include <filesystem>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string WithoutSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// A link to a folder counts, as it does where the folder is looked for; a
// file, or a link to a file or to nothing, is no folder of copies.
bool IsFolder(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void RemoveAll(const std::string &path)
{
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

int OpenDir(const std::string &path) { return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); }

// "<base>." and the six letters or digits that mkdtemp puts in.
bool IsCopyName(const std::string &name, const std::string &base)
{
    if (name.size() != base.size() + 7 || name.compare(0, base.size(), base) != 0 || name[base.size()] != '.')
        return false;
    for (size_t i = base.size() + 1; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// What a copy left holds nothing but the beginnings of the files it copied;
// a folder with anything else in it is somebody's own.
bool HoldsOnlyCopies(const std::string &dir, const std::string &sourceDir, const std::string &mask)
{
    DIR *d = ::opendir(dir.c_str());
    if (!d)
        return false;
    bool ours = true;
    while (dirent *e = ours ? ::readdir(d) : nullptr) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        std::string copy, original;
        ours = ::fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0 && ::lstat((dir + name).c_str(), &st) == 0 &&
               S_ISREG(st.st_mode) && atomicfile::ReadAll(dir + name, copy) &&
               atomicfile::ReadAll(WithSlash(sourceDir) + name, original) &&
               original.compare(0, copy.size(), copy) == 0;
    }
    ::closedir(d);
    return ours;
}

} // namespace

void RemoveLeftCopies(const std::string &destinationDir, const std::string &sourceDir, const std::string &mask)
{
    const std::string folder = WithoutSlash(destinationDir);
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos)
        return;
    const std::string parent = folder.substr(0, slash + 1), base = folder.substr(slash + 1);
    std::vector<std::string> found;
    if (DIR *d = ::opendir(parent.c_str())) {
        while (dirent *e = ::readdir(d))
            if (IsCopyName(e->d_name, base))
                found.emplace_back(e->d_name);
        ::closedir(d);
    }
    for (const std::string &name : found) {
        const int lock = OpenDir(parent + name);
        if (lock < 0)
            continue;
        // A copy under way holds its folder locked; a killed one's lock went with it.
        if (::flock(lock, LOCK_EX | LOCK_NB) == 0 && HoldsOnlyCopies(parent + name + "/", sourceDir, mask))
            RemoveAll(parent + name);
        ::close(lock);
    }
}

bool PlaceWholeCopy(const std::string &temp, const std::string &folder)
{
    if (::rename(temp.c_str(), folder.c_str()) == 0)
        return true;
    // Another program's whole copy took the name first: it serves as well.
    RemoveAll(temp);
    return IsFolder(folder);
}

bool CopyDirWhole(const std::string &destinationDir, const std::string &sourceDir, const std::string &mask)
{
    const std::string folder = WithoutSlash(destinationDir);
    // Beside it, on the same file system, so that the rename is one step.
    const size_t slash = folder.rfind('/');
    if (slash != std::string::npos)
        QDir().mkpath(QPath(folder.substr(0, slash + 1)));
    // Another program's clean-up may take the new folder before it is locked:
    // then a new one is made.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string temp = folder + ".XXXXXX";
        if (!::mkdtemp(temp.data()))
            return false;
        const int lock = OpenDir(temp);
        if (lock < 0)
            continue;
        struct stat held {}, named {};
        if (::flock(lock, LOCK_EX) != 0 || ::fstat(lock, &held) != 0 || ::lstat(temp.c_str(), &named) != 0 ||
            held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
            ::close(lock);
            continue;
        }
        bool placed = false;
        if (CopyDirFiles(temp, sourceDir, mask))
            placed = PlaceWholeCopy(temp, folder);
        else {
            RemoveAll(temp);
            placed = IsFolder(folder);
        }
        ::close(lock);
        return placed;
    }
    return false;
}
