#pragma once
#include <string>

// Opens a regular file for reading, or returns -1 with errno set. A named
// pipe, a terminal or a device is refused at once: opening or reading one may
// wait for ever, or never end.
int OpenRegularFile(const std::string &path);
