#include "DbfFind.h"

#include "Cp1250.h"

bool TextMatches(const std::string &field, const std::string &find, bool caseSensitive)
{
    if (find.empty())
        return false;
    if (caseSensitive)
        return field.find(find) != std::string::npos;
    return cp1250::FoldUpper(field).find(cp1250::FoldUpper(find)) != std::string::npos;
}

TColumnText FieldText(TDbCursor &table, const std::string &fieldName)
{
    TDbField field = table.FieldByName(fieldName);
    switch (field.DataType()) {
    case 'C': return [field] { return field.AsString(); };
    case 'N':
    case 'F': return [field] { return field.IsNull() ? std::string() : std::to_string(field.AsInteger()); };
    case 'L': return [field] { return std::string(field.AsBoolean() ? "True" : "False"); };
    default: return [] { return std::string(); };
    }
}

int FindRowIndex(int from, int count, const std::function<void(int)> &readRow,
                 const std::vector<TColumnText> &columns, const std::string &find, bool caseSensitive)
{
    for (int row = from < 0 ? 0 : from; row < count && !find.empty(); ++row) {
        readRow(row);
        for (const TColumnText &column : columns)
            if (TextMatches(column(), find, caseSensitive))
                return row;
    }
    return -1;
}

bool FindRow(TDbCursor &table, const std::vector<TColumnText> &columns, const std::string &find,
             bool caseSensitive, bool fromStart)
{
    if (!table.Active() || table.IsEmpty())
        return false;
    TDbCursor::TBookmark start = table.GetBookmark();
    std::vector<TDbCursor::TBookmark> rows;
    int current = -1;
    table.DisableControls();
    int hit = -1;
    try {
        for (table.First(); !table.Eof(); table.Next()) {
            if (table.GetBookmark() == start)
                current = static_cast<int>(rows.size());
            rows.push_back(table.GetBookmark());
        }
        hit = FindRowIndex(fromStart ? 0 : current + 1, static_cast<int>(rows.size()),
                           [&](int row) { table.GotoBookmark(rows[static_cast<size_t>(row)]); }, columns, find,
                           caseSensitive);
        if (table.BookmarkValid(start))
            table.GotoBookmark(start);
    } catch (...) {
        table.EnableControls();
        throw;
    }
    table.EnableControls();
    // Announced only now, so that the window's selection follows the hit.
    if (hit >= 0)
        table.GotoBookmark(rows[static_cast<size_t>(hit)]);
    return hit >= 0;
}
