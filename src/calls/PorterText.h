#pragma once
// The door console's status text while a page loads: progress -1 is the end.
#include <functional>
#include <string>

// text(id): the language's text, "" when it has none (the English one is used).
// Only what is known is said: the share when the whole is known, the size when
// it is at least 1K.
std::string PorterProgressText(int progress, int maximum, const std::function<std::string(int)> &text);
