#pragma once
// Trace files are opened, appended to and closed for every line, so a crash
// loses nothing already traced and another program may read them meanwhile.
#include <string>

// Appends bytes; while eraseDue is set (the first line of a run, when the
// trace is to start empty) the old file goes first and eraseDue is cleared.
// Write errors are ignored: tracing never stops the program.
void AppendToTrace(const std::string &path, const std::string &bytes, bool &eraseDue);
