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

bool FindRow(TDbCursor &table, const std::vector<TColumnText> &columns, const std::string &find,
             bool caseSensitive, bool fromStart)
{
    if (!table.Active() || table.IsEmpty())
        return false;
    TDbCursor::TBookmark start = table.GetBookmark();
    bool hit = false;
    table.DisableControls();
    try {
        for (fromStart ? table.First() : table.Next(); !hit && !table.Eof();) {
            for (const TColumnText &column : columns)
                if ((hit = TextMatches(column(), find, caseSensitive)))
                    break;
            if (!hit)
                table.Next();
        }
    } catch (...) {
        table.EnableControls();
        throw;
    }
    if (!hit && table.BookmarkValid(start))
        table.GotoBookmark(start);
    TDbCursor::TBookmark at = table.GetBookmark();
    table.EnableControls();
    // Announced only now, so that the window's selection follows the hit.
    if (hit)
        table.GotoBookmark(at);
    return hit;
}
