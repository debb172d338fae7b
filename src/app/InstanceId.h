#pragma once
// Which data folder an installation uses. Each installation folder is
// recorded with its instance id ("Talvocti", "Talvocti1", ...) in a small
// store of the user's (INI format, under $XDG_CONFIG_HOME or ~/.config), in
// the order the installations were first started. A folder is kept as the
// file system names it, byte for byte; one with characters that the INI
// format would misread ("=", line breaks, letters beyond ASCII) is marked and
// escaped.
#include <string>

// Path of the store file.
std::string InstanceStorePath();

// The id recorded for folder (compared without regard to case), or a new one
// recorded now: "Talvocti" for the first installation, then "Talvocti" and
// the highest number in use plus one. When the store cannot be used the id
// is "Talvocti", so the data never spill into the home folder itself.
std::string GetInstanceId(const std::string &folder, const std::string &storePath = InstanceStorePath());
