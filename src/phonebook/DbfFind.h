#pragma once
// Finding a firm or a representative by a piece of text in the columns its
// grid shows, from the first row or from the row after the current one.
#include "Cursor.h"

#include <functional>
#include <string>
#include <vector>

// Whether find occurs in field; without case, both are folded to upper case
// as the code page's letters fold. An empty find text matches nothing.
bool TextMatches(const std::string &field, const std::string &find, bool caseSensitive);

// The text of a column of the current row.
using TColumnText = std::function<std::string()>;
// A table field as the find reads it: text as it is, numbers as their integer,
// booleans "True"/"False"; dates and memos give "", which never matches.
TColumnText FieldText(TDbCursor &table, const std::string &fieldName);

// The first of the rows from..count-1 on which a column matches, -1 when
// none; readRow(i) makes row i the one the columns read.
int FindRowIndex(int from, int count, const std::function<void(int)> &readRow,
                 const std::vector<TColumnText> &columns, const std::string &find, bool caseSensitive);
