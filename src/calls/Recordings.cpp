#include "Recordings.h"

#include "Paths.h"

#include <cstdio>
#include <filesystem>

namespace {

// Characters from..from+1 (1-based) of a text; shorter texts give what there is.
std::string Pair(const std::string &text, size_t from) { return from - 1 < text.size() ? text.substr(from - 1, 2) : ""; }

int Number(const std::string &text)
{
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string Trim(const std::string &s)
{
    const size_t a = s.find_first_not_of(" \t");
    return a == std::string::npos ? "" : s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

bool IsFile(const std::string &path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::string ResolveRecordingFolder(const std::string &path, const std::string &programDir)
{
    const std::string folder = FsName(path);
    if (IsAbsolutePath(folder))
        return WithSlash(folder);
    return folder.empty() ? programDir : programDir + WithSlash(folder);
}

std::string RecordingSubdir(const std::string &date, const TRecordingFolders &folders)
{
    if (!folders.Dated)
        return {};
    const int year = 2000 + Number(Pair(date, 7)), month = Number(Pair(date, 4)), day = Number(Pair(date, 1));
    char out[64];
    if (folders.Day) {
        std::snprintf(out, sizeof out, "%04d/%02d/%02d/", year, month, day);
    } else if (folders.Week) {
        const int first = day <= 7 ? 1 : day <= 14 ? 8 : day <= 21 ? 15 : 22;
        const int last = first == 22 ? 31 : first + 6;
        std::snprintf(out, sizeof out, "%04d/%02d/%02d_%02d/", year, month, first, last);
    } else {
        std::snprintf(out, sizeof out, "%04d/%02d/", year, month);
    }
    return out;
}

std::string RecordingIndexName(const std::string &date, const std::string &time, const std::string &line)
{
    return Pair(date, 7) + Pair(date, 4) + Pair(date, 1) + "_" + Pair(time, 1) + Pair(time, 4) + Pair(time, 7) +
           "_" + line + ".txt";
}

bool FindRecording(const TRecordingFolders &folders, const std::string &date, const std::string &time,
                   const std::string &line, std::string &wav)
{
    const std::string d = Trim(date);
    if (d.empty())
        return false;
    const std::string sub = RecordingSubdir(d, folders);
    const std::string index = folders.TxtDir + sub + RecordingIndexName(d, Trim(time), Trim(line));
    if (!IsFile(index))
        return false;
    std::FILE *f = std::fopen(index.c_str(), "r");
    if (!f)
        return false;
    char first[100] = {};
    const bool read = std::fgets(first, sizeof first, f) != nullptr;
    std::fclose(f);
    if (!read)
        return false;
    std::string name = first;
    name.erase(std::min(name.find_first_of("\r\n"), name.size()));
    // The name is a file of the WAV folder, never a way out of it.
    if (name.empty() || name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
        return false;
    if (!IsFile(folders.WavDir + sub + FsName(name)))
        return false;
    wav = name;
    return true;
}
