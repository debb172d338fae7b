#include "Paths.h"

#include "Cp1250.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

namespace {
std::string &Override()
{
    static std::string dir;
    return dir;
}
} // namespace

std::string WithSlash(const std::string &dir)
{
    if (dir.empty() || dir.back() == '/')
        return dir;
    return dir + "/";
}

namespace {
const std::string &ProgramFile()
{
    static const std::string exe = [] {
        char buf[PATH_MAX];
        ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
        return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string("./Talvodem");
    }();
    return exe;
}
} // namespace

std::string ProgramDir()
{
    if (!Override().empty())
        return Override();
    return ProgramFile().substr(0, ProgramFile().rfind('/') + 1);
}

std::string ProgramName() { return ProgramFile().substr(ProgramFile().rfind('/') + 1); }

void SetProgramDirForTesting(const std::string &dir) { Override() = WithSlash(dir); }

size_t LongestFileName(const std::string &dir)
{
    const long longest = ::pathconf(dir.empty() ? "." : dir.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<size_t>(longest) : NAME_MAX;
}

bool IsAbsolutePath(const std::string &path) { return !path.empty() && path[0] == '/'; }

bool IsPlainFileName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

bool StaysBelow(const std::string &path)
{
    if (IsAbsolutePath(path))
        return false;
    for (size_t b = 0; b <= path.size();) {
        const size_t e = std::min(path.find_first_of("/\\", b), path.size());
        if (path.compare(b, e - b, "..") == 0)
            return false;
        b = e + 1;
    }
    return true;
}

std::string FindFileNoCase(const std::string &dir, const std::string &name)
{
    std::string folder = WithSlash(dir);
    std::string exact = folder + name;
    struct stat st {};
    if (::stat(exact.c_str(), &st) == 0)
        return exact;
    DIR *d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d)
        return exact;
    // As Unicode: a Czech capital is two bytes on disk, unlike in code page 1250.
    const QString wanted = QPath(name);
    std::string found;
    while (dirent *e = ::readdir(d)) {
        const std::string entry = e->d_name;
        if ((found.empty() || entry < found) && QPath(entry).compare(wanted, Qt::CaseInsensitive) == 0)
            found = entry;
    }
    ::closedir(d);
    return found.empty() ? exact : folder + found;
}

QString QPath(const std::string &path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string PathOfQ(const QString &path) { return QFile::encodeName(path).toStdString(); }

std::string FsName(const std::string &name) { return PathOfQ(cp1250::ToUnicode(name)); }

std::string NameFromFs(const std::string &fsName) { return cp1250::FromUnicode(QPath(fsName)); }
