#pragma once
// Recorded calls: an external recorder writes, per call, a WAV file and an
// index file yymmdd_hhmmss_<line>.txt whose first line names the WAV file,
// both under the same dated subfolder of their own folders.
#include <string>

struct TRecordingFolders {
    bool Dated = false;          // subfolders at all
    bool Month = false, Week = false, Day = false; // day before week before month
    std::string TxtDir, WavDir;  // file-system names ending in '/'
};

// A folder as the user typed it (code page 1250) made an absolute file-system
// name ending in '/': a relative one (or none) lies in the program's folder.
std::string ResolveRecordingFolder(const std::string &path, const std::string &programDir);
// Subfolder of a dd.mm.yy date: "2006/08/09/", "2006/08/08_14/", "2006/08/" or "".
std::string RecordingSubdir(const std::string &date, const TRecordingFolders &folders);
// Index file name of a call: date dd.mm.yy, time hh:mm:ss, line.
std::string RecordingIndexName(const std::string &date, const std::string &time, const std::string &line);
// The WAV name of a call (code page 1250, as the index file has it) when its
// index file and WAV file both exist.
bool FindRecording(const TRecordingFolders &folders, const std::string &date, const std::string &time,
                   const std::string &line, std::string &wav);
