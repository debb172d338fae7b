#pragma once
// A whole new table written at once, for a folder no cursor has open: records
// are gathered in memory, then the table, its memos and its index file are
// written in one go (a cursor's post rewrites the index each time).
#include "DbTypes.h"
#include "DbfFormat.h"

#include <QDate>

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

class TTableBuilder {
public:
    TTableBuilder(std::string tableName, const TDbTableDef &def);

    // Field number by name; throws EDbError for an unknown one.
    int Field(const char *name) const;
    // A new blank record; its number for the setters.
    size_t Append();
    size_t Count() const { return records_.size(); }

    size_t Width(int field) const { return static_cast<size_t>(Def(field).Size); }
    // Text is cut to the field's width; "" leaves the field null.
    void SetString(size_t rec, int field, const std::string &text);
    void SetStrings(size_t rec, std::initializer_list<std::pair<const char *, std::string>> values);
    void SetFloat(size_t rec, int field, double value);
    void SetBoolean(size_t rec, int field, bool value);
    // An invalid date leaves the field null.
    void SetDate(size_t rec, int field, const QDate &date);
    void SetMemo(size_t rec, int field, std::string text);

    // Writes the table, its memo file and its index file into dir. Throws EDbError.
    void Write(const std::string &dir);

private:
    char *At(size_t rec, int field);
    const TDbFieldDef &Def(int field) const { return header_.Fields[static_cast<size_t>(field)]; }

    std::string name_;
    TDbTableDef def_;
    TDbfHeader header_;
    std::vector<std::string> records_;
    std::map<std::pair<size_t, int>, std::string> memos_;
};
