#pragma once
// Trace files stay open between lines: each line goes out whole in one write,
// so a crash loses at most the line being written and another program may
// read the file meanwhile. A file deleted behind our back is created anew.
#include <string>

// Appends bytes; while eraseDue is set (the first line of a run, when the
// trace is to start empty) the old file goes first and eraseDue is cleared.
// Write errors are ignored: tracing never stops the program.
void AppendToTrace(const std::string &path, const std::string &bytes, bool &eraseDue);
