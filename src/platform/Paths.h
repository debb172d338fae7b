#pragma once
#include <QString>

#include <string>

// The folder of the running program, ending in '/': the program's data files
// (language files, skins, sounds, help) are installed beside it.
std::string ProgramDir();
// The running program file's name without folder ("Talvodem").
std::string ProgramName();
// Tests point the program folder elsewhere; an empty text restores the real one.
void SetProgramDirForTesting(const std::string &dir);

// Path of the file named name in folder dir, found without regard to case
// (files copied from Windows keep whatever case they had there), Czech and
// other letters too. Several matching: the first in byte order. When no
// entry matches, dir + name.
std::string FindFileNoCase(const std::string &dir, const std::string &name);

// The most bytes a file's name may have in folder dir.
size_t LongestFileName(const std::string &dir);

// Absolute paths play the part of paths with a drive letter.
bool IsAbsolutePath(const std::string &path);

// A name that names a file inside a folder and nowhere else: no folder part
// ("/" or "\\" as files copied from Windows write it), not "." or "..".
bool IsPlainFileName(const std::string &name);
// A relative path that stays below the folder it is taken in: no ".." part.
bool StaysBelow(const std::string &path);

std::string WithSlash(const std::string &dir);

// Paths are held as the file system's own bytes and go to the C library as
// they are. Where a path meets Qt it crosses here, and nowhere else.
QString QPath(const std::string &path);
std::string PathOfQ(const QString &path);

// A file or folder name held as text (code page 1250, as a file or the user
// gave it) as a path, and back, for storing in a file or showing.
std::string FsName(const std::string &name);
std::string NameFromFs(const std::string &fsName);
