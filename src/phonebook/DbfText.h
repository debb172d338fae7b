#pragma once
// The phone book's exchange text files: every field ended by ";", lines ended
// by CR LF, booleans T/F, dates yy/mm/dd, memo entries closed by a dash line.
#include <QDate>

#include <string>
#include <string_view>
#include <vector>

namespace dbftext {

// The text from the cursor up to the next ";", the cursor moved past it.
// Without a ";" the rest of the line is dropped: "" and the end state.
std::string NextField(std::string_view line, size_t &cursor);
// yy/mm/dd; no date is written as 99/12/30, the day the value zero stands for.
std::string DateToText(const QDate &date);
// 99/12/30 and what is not a real date give no date; yy below 50 is 20yy,
// the rest 19yy.
QDate TextToDate(std::string_view text);

// 74 dashes; a reader ends a memo at any line that begins with 50.
extern const std::string kSeparator;
bool IsSeparator(std::string_view line);

inline const char *Flag(bool value) { return value ? "T" : "F"; }
// A value as a table stores it: cut to the field's width, trailing blanks gone.
std::string Stored(std::string_view text, size_t width);

// How the files name the k-th (from 1, in file order) of the records that
// share a stored name: the first by the name alone, a later one by the name
// blank-padded to its column's width and followed by k, which no stored
// name can be. So namesakes keep what refers to them.
std::string Reference(const std::string &stored, size_t width, int k);

// A line holding more fields than its file's format has (or text after them).
bool Overfull(std::string_view line, size_t fields);
// A line whose every field is ended by its ";".
bool Complete(std::string_view line, size_t fields);

// The lines of a file read in text mode (CR LF reads as LF); ended tells
// whether the last line has its line end. False for a file that is not text
// (a zero byte).
bool SplitLines(const std::string &bytes, std::vector<std::string_view> &lines, bool &ended);

} // namespace dbftext
