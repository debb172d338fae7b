#pragma once
#include <string>

namespace atomicfile {

// Whole file as bytes; false when it cannot be read.
bool ReadAll(const std::string &path, std::string &bytes);

// Writes a new file, without a temporary file or a sync: for files that are
// put in place by other means. Anything already under its name, a link too,
// fails the write and is left as it is.
bool Write(const std::string &path, const std::string &bytes, unsigned createMode = 0644);

// Replaces the file through a temporary file and a rename, so a crash leaves
// either the old or the new contents. An existing file keeps its mode; a new
// one gets createMode.
bool Replace(const std::string &path, const std::string &bytes, unsigned createMode = 0644);

// The file a write to path lands in: a symbolic link (or a chain of them,
// dangling or not) is followed, so that a replacement by rename keeps the
// user's link and changes the file it names. "" for a loop of links.
std::string FollowLinks(const std::string &path);

} // namespace atomicfile
