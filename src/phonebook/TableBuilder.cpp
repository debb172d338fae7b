#include "TableBuilder.h"

#include "AtomicFile.h"
#include "Cursor.h"
#include "Memo.h"
#include "Paths.h"

#include <cstdio>
#include <cstring>

TTableBuilder::TTableBuilder(std::string tableName, const TDbTableDef &def)
    : name_(std::move(tableName)), def_(def), header_(MakeDbfHeader(def.Fields, !def.Indexes.empty()))
{
}

int TTableBuilder::Field(const char *name) const
{
    for (size_t i = 0; i < header_.Fields.size(); ++i)
        if (DbSameName(header_.Fields[i].Name, name))
            return static_cast<int>(i);
    throw EDbError(std::string("Field '") + name + "' not found");
}

size_t TTableBuilder::Append()
{
    records_.emplace_back(header_.RecordLen, ' ');
    return records_.size() - 1;
}

char *TTableBuilder::At(size_t rec, int field)
{
    return records_[rec].data() + Def(field).Offset;
}

void TTableBuilder::SetString(size_t rec, int field, const std::string &text)
{
    size_t width = static_cast<size_t>(Def(field).Size);
    memcpy(At(rec, field), text.data(), std::min(width, text.size()));
}

void TTableBuilder::SetStrings(size_t rec, std::initializer_list<std::pair<const char *, std::string>> values)
{
    for (const auto &[field, text] : values)
        SetString(rec, Field(field), text);
}

void TTableBuilder::SetFloat(size_t rec, int field, double value)
{
    std::string text = DbfFormatNumber(value, Def(field));
    memcpy(At(rec, field), text.data(), text.size());
}

void TTableBuilder::SetBoolean(size_t rec, int field, bool value)
{
    *At(rec, field) = value ? 'T' : 'F';
}

void TTableBuilder::SetDate(size_t rec, int field, const QDate &date)
{
    if (date.isValid())
        memcpy(At(rec, field), DbfFormatDate(date.toJulianDay()).data(), 8);
}

void TTableBuilder::SetMemo(size_t rec, int field, std::string text)
{
    memos_[{rec, field}] = std::move(text);
}

void TTableBuilder::Write(const std::string &dir)
{
    TDbCursor table;
    table.DatabaseName = dir;
    table.TableName = name_;
    table.FieldDefs = def_.Fields;
    table.IndexDefs = def_.Indexes;
    table.CreateTable();
    if (!memos_.empty()) {
        TDbMemoFile memo;
        std::string file = table.FileName();
        file = file.substr(file.rfind('/') + 1);
        memo.Open(FindFileNoCase(WithSlash(dir), file.substr(0, file.rfind('.')) + ".fpt"), false);
        for (const auto &[at, text] : memos_) {
            char block[16];
            snprintf(block, sizeof block, "%10u", memo.Write(text));
            memcpy(At(at.first, at.second), block, 10);
        }
    }
    header_.RecordCount = static_cast<uint32_t>(records_.size());
    std::string bytes = BuildDbfHeader(header_);
    bytes.reserve(bytes.size() + records_.size() * header_.RecordLen + 1);
    for (const std::string &r : records_)
        bytes += r;
    bytes += '\x1A';
    // Replaced, not written through: whatever stands under the name now.
    if (!atomicfile::Replace(table.FileName(), bytes))
        throw EDbError("Cannot write " + NameFromFs(table.FileName()));
    // Opening finds the index file out of date and writes it from the records.
    table.Open();
    table.Close();
}
