#pragma once
// The door console's status text while a page loads: progress -1 is the end.
#include <string>

std::string PorterProgressText(int progress, int maximum);
