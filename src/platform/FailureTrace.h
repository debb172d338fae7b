#pragma once
// Failures the program recovers from (a receiver that threw while an answer
// was handled, a table that would not open) go to the trace file as one line
// each: when, where, and what was thrown, so that a user's report shows them.
// They are written whether or not the panel's tracing is switched on: a report
// needs them most when nobody thought of tracing. A failure that repeats on
// every answer must not fill the disk, so a run writes a bounded number.
#include <cstddef>
#include <string>

inline constexpr size_t kMaxFailureLine = 300; // bytes, the line end included
inline constexpr int kMaxFailures = 100;       // lines in one run

// The file failures are appended to; until one is named, and for "", they go
// to standard error. Starts the count anew.
void SetFailureTrace(const std::string &path);

// Writes the exception being handled, naming the function it was caught in.
// Only inside a catch block.
void TraceFailure(const char *where) noexcept;
