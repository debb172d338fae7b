#pragma once
// Trace files stay open between lines. Lines wait in memory until the end of
// the event-loop turn that wrote them (or until 64 KiB are waiting, or the
// program ends), then go out in one write: a burst of answers costs one
// system call per turn instead of one per line, and a killed program loses
// at most the lines of the turn it was in. Without an application object
// every line is written at once. A file deleted behind our back is created
// anew.
#include <string>

// Appends bytes; while eraseDue is set (the first line of a run, when the
// trace is to start empty) the old file goes first and eraseDue is cleared.
// Write errors are ignored: tracing never stops the program.
void AppendToTrace(const std::string &path, const std::string &bytes, bool &eraseDue);
// Writes out every waiting line.
void FlushTraces();
