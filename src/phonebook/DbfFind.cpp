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
