#pragma once
// A folder of copies that comes into being whole or not at all, even when
// programs start together or are killed half way.
#include <string>

// Makes the missing folder destinationDir with every file of sourceDir that
// matches mask: the files are copied into a folder beside it, which takes its
// name only once they are all there. True when a folder is there at the
// end, also when another program put its own whole copy in place first;
// false when a file or a link to no folder holds the name.
bool CopyDirWhole(const std::string &destinationDir, const std::string &sourceDir, const std::string &mask);

// Removes the folders beside destinationDir that a copy killed half way left:
// only those no running copy holds and that hold nothing but the beginnings
// of sourceDir's files matching mask.
void RemoveLeftCopies(const std::string &destinationDir, const std::string &sourceDir, const std::string &mask);

// The end of a whole copy made in temp: it takes the name folder, or, when
// something stands there already, it is removed. True when a folder is
// there: a file or a link to no folder in its place is left as it is.
bool PlaceWholeCopy(const std::string &temp, const std::string &folder);
