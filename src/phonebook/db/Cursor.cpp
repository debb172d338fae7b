#include "Cursor.h"

#include "AtomicFile.h"
#include "Cdx.h"
#include "DbfFormat.h"
#include "FileLock.h"
#include "Memo.h"
#include "Paths.h"
#include "Table.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

std::string BaseName(const std::string &tableName)
{
    size_t dot = tableName.rfind('.');
    return dot == std::string::npos ? tableName : tableName.substr(0, dot);
}

std::string WithExt(const std::string &tableName)
{
    return tableName.rfind('.') == std::string::npos ? tableName + ".dbf" : tableName;
}

void WriteNew(const std::string &path, const std::string &bytes)
{
    if (!atomicfile::Replace(path, bytes))
        throw EDbError("Cannot create " + NameFromFs(path));
}

} // namespace

TDbCursor::TDbCursor() = default;
TDbCursor::~TDbCursor() = default;

std::string TDbCursor::FileName() const
{
    return DbFindFile(WithSlash(DatabaseName), WithExt(TableName));
}

bool TDbCursor::Exists() const
{
    return access(FileName().c_str(), F_OK) == 0;
}

void TDbCursor::CreateTable()
{
    Close();
    TDbfHeader h = MakeDbfHeader(FieldDefs, !IndexDefs.empty());
    std::string dir = WithSlash(DatabaseName);
    std::string base = BaseName(WithExt(TableName));
    if (h.HasMemo())
        WriteNew(DbFindFile(dir, base + ".fpt"), TDbMemoFile::EmptyFile());
    if (!IndexDefs.empty()) {
        std::vector<TCdxTag> tags;
        for (const TDbIndexDef &d : IndexDefs) {
            TCdxTag t;
            t.Name = d.Name;
            t.Expression = d.Expression;
            t.Unique = d.Unique;
            for (const TDbFieldDef &f : h.Fields)
                if (DbSameName(f.Name, d.Expression))
                    t.KeyLen = f.Type == 'C' ? f.Size : 8;
            tags.push_back(t);
        }
        WriteNew(DbFindFile(dir, base + ".cdx"), WriteCdx(tags));
    }
    // The table last: it exists only once its companions do.
    WriteNew(FileName(), BuildDbfHeader(h) + '\x1A');
}

void TDbCursor::CreateTableIfMissing()
{
    if (Exists())
        return;
    TDbFolderLock lock(WithSlash(DatabaseName));
    if (!Exists())
        CreateTable();
}

void TDbCursor::DeleteTable()
{
    Close();
    std::string dir = WithSlash(DatabaseName);
    std::string base = BaseName(WithExt(TableName));
    std::string path = FileName();
    if (::unlink(path.c_str()) != 0)
        throw EDbError("Cannot delete " + NameFromFs(path));
    ::unlink(DbFindFile(dir, base + ".cdx").c_str());
    ::unlink(DbFindFile(dir, base + ".fpt").c_str());
}

void TDbCursor::OpenLike(const TDbCursor &other)
{
    Close();
    DatabaseName = other.DatabaseName;
    TableName = other.TableName;
    IndexDefs = other.IndexDefs;
    SetFilter("");
    SetIndexName("");
    Open();
}

void TDbCursor::Open()
{
    if (table_)
        return;
    table_ = TDbTable::Acquire(FileName(), IndexDefs);
    blank_ = table_->BlankRecord();
    state_ = dsBrowse;
    tag_ = indexName_.empty() ? -1 : table_->TagIndex(indexName_);
    if (!indexName_.empty() && tag_ < 0) {
        Close();
        throw EDbError("Index " + indexName_ + " not found");
    }
    try {
        conditions_.clear();
        SetFilter(filterText_);
    } catch (const EDbError &) {
        Close();
        throw;
    }
}

void TDbCursor::Close()
{
    table_.reset();
    state_ = dsInactive;
    cur_ = 0;
    eof_ = bof_ = true;
    memos_.clear();
}

bool TDbCursor::Replaced() const
{
    return table_ && table_->Replaced();
}

bool TDbCursor::KnownReplaced() const
{
    return table_ && table_->KnownReplaced();
}

void TDbCursor::Refresh(bool afterWriters)
{
    CheckActive();
    if (afterWriters)
        table_->RefreshAfterWriters();
    else
        table_->Refresh();
}

uint64_t TDbCursor::DataVersion() const
{
    if (table_)
        table_->RefreshOncePerTurn();
    return table_ ? table_->Version() : 0;
}

void TDbCursor::CheckActive() const
{
    if (!table_)
        throw EDbError("Cannot perform this operation on a closed dataset");
}

const std::vector<TDbFieldDef> &TDbCursor::Fields() const
{
    CheckActive();
    return table_->Fields();
}

bool TDbCursor::HasField(const std::string &name) const
{
    return table_ && table_->FieldIndex(name) >= 0;
}

TDbField TDbCursor::FieldByName(const std::string &name)
{
    CheckActive();
    int i = table_->FieldIndex(name);
    if (i < 0)
        throw EDbError("Field '" + name + "' not found");
    return TDbField(this, i);
}

const TDbFieldDef &TDbCursor::FieldDef(const std::string &name) const
{
    CheckActive();
    int i = table_->FieldIndex(name);
    if (i < 0)
        throw EDbError("Field '" + name + "' not found");
    return table_->Fields()[static_cast<size_t>(i)];
}

void TDbCursor::ScanRecords(const std::function<void(uint32_t recno, const char *record)> &visit, uint32_t from)
{
    CheckActive();
    table_->Refresh();
    for (uint32_t r = std::max<uint32_t>(from, 1); r <= table_->Count(); ++r)
        if (const char *rec = table_->Record(r); rec[0] != '*')
            visit(r, rec);
}

void TDbCursor::ScanFile(const std::function<void(uint32_t recno, const char *record)> &visit, uint32_t from)
{
    CheckActive();
    table_->Refresh();
    table_->ReadFile(visit, from);
}

uint32_t TDbCursor::FileRecordCount() const
{
    CheckActive();
    return table_->Count();
}

std::vector<uint32_t> TDbCursor::Select(const std::vector<uint32_t> &recnos,
                                        const std::vector<TDbCondition> &conditions) const
{
    CheckActive();
    std::vector<std::pair<const TDbFieldDef *, double>> tests;
    for (const TDbCondition &c : conditions)
        tests.emplace_back(&FieldDef(c.Field), c.Value);
    // A few rows are ordered by their keys, read as they are tested; many
    // by one walk through the index.
    const bool few = tag_ >= 0 && (recnos.size() <= table_->Count() / 16 || table_->TagDef(tag_).Unique);
    std::vector<std::pair<std::string, uint32_t>> keyed;
    std::vector<uint32_t> out;
    for (uint32_t r : recnos) {
        if (r < 1 || r > table_->Count())
            continue;
        const char *rec = table_->Record(r);
        bool passes = rec[0] != '*';
        for (size_t i = 0; passes && i < tests.size(); ++i) {
            double v = 0;
            passes = DbfParseNumber(rec + tests[i].first->Offset, tests[i].first->Size, v) && v == tests[i].second;
        }
        if (passes && few)
            keyed.emplace_back(table_->KeyOf(tag_, r), r);
        else if (passes)
            out.push_back(r);
    }
    if (!few) {
        std::sort(out.begin(), out.end());
        if (tag_ < 0 || WalkInOrder(out))
            return out;
        for (uint32_t r : out)
            keyed.emplace_back(table_->KeyOf(tag_, r), r);
        out.clear();
    }
    // As the index orders them: key bytes unsigned, then record number.
    std::sort(keyed.begin(), keyed.end());
    for (const auto &k : keyed)
        out.push_back(k.second);
    return out;
}

// Orders the records (sorted, each once) by one walk through the index;
// false when the index does not hold them all.
bool TDbCursor::WalkInOrder(std::vector<uint32_t> &recnos) const
{
    std::vector<bool> wanted(table_->Count() + 1);
    for (uint32_t r : recnos)
        wanted[r] = true;
    std::vector<uint32_t> out;
    out.reserve(recnos.size());
    for (uint32_t r = table_->Neighbour(tag_, 0, 1); r && out.size() < recnos.size(); r = table_->Neighbour(tag_, r, 1))
        if (r < wanted.size() && wanted[r]) {
            out.push_back(r);
            wanted[r] = false;
        }
    if (out.size() != recnos.size())
        return false;
    recnos.swap(out);
    return true;
}

void TDbCursor::SetFilter(const std::string &text)
{
    std::vector<std::pair<int, double>> conditions;
    if (table_)
        for (const TDbCondition &c : ParseDbFilter(text)) {
            int f = table_->FieldIndex(c.Field);
            if (f < 0)
                throw EDbError("Field '" + c.Field + "' not found");
            conditions.emplace_back(f, c.Value);
        }
    else
        ParseDbFilter(text);
    filterText_ = text;
    conditions_ = std::move(conditions);
    if (table_)
        First();
}

void TDbCursor::SetFiltered(bool on)
{
    filtered_ = on;
    if (table_)
        First();
}

void TDbCursor::SetIndexName(const std::string &name)
{
    if (!table_) {
        indexName_ = name;
        return;
    }
    CheckBrowseMode();
    int tag = name.empty() ? -1 : table_->TagIndex(name);
    if (!name.empty() && tag < 0)
        throw EDbError("Index " + name + " not found");
    indexName_ = name;
    tag_ = tag;
    if (cur_ == 0 || !Visible(cur_))
        First();
}

bool TDbCursor::Visible(uint32_t recno) const
{
    if (recno < 1 || recno > table_->Count())
        return false;
    const char *rec = table_->Record(recno);
    if (rec[0] == '*')
        return false;
    if (!filtered_)
        return true;
    for (const auto &[field, value] : conditions_) {
        const TDbFieldDef &f = table_->Fields()[static_cast<size_t>(field)];
        double v = 0;
        if (!DbfParseNumber(rec + f.Offset, f.Size, v) || v != value)
            return false;
    }
    return true;
}

uint32_t TDbCursor::Find(uint32_t from, int step) const
{
    for (uint32_t r = table_->Neighbour(tag_, from, step); r; r = table_->Neighbour(tag_, r, step))
        if (Visible(r))
            return r;
    return 0;
}

void TDbCursor::CheckBrowseMode()
{
    CheckActive();
    if (state_ == dsEdit || state_ == dsInsert)
        Post();
}

void TDbCursor::Scrolled()
{
    if (!disabled_ && AfterScroll)
        AfterScroll(*this);
}

void TDbCursor::MoveTo(uint32_t recno)
{
    cur_ = recno;
    Scrolled();
}

void TDbCursor::First()
{
    CheckBrowseMode();
    table_->Refresh();
    cur_ = Find(0, 1);
    bof_ = true;
    eof_ = cur_ == 0;
    Scrolled();
}

void TDbCursor::Last()
{
    CheckBrowseMode();
    table_->Refresh();
    cur_ = Find(0, -1);
    eof_ = true;
    bof_ = cur_ == 0;
    Scrolled();
}

void TDbCursor::Next()
{
    CheckBrowseMode();
    table_->RefreshOncePerTurn();
    uint32_t r = cur_ ? Find(cur_, 1) : 0;
    if (r == 0) {
        eof_ = true;
        return;
    }
    bof_ = eof_ = false;
    MoveTo(r);
}

void TDbCursor::Prior()
{
    CheckBrowseMode();
    table_->RefreshOncePerTurn();
    uint32_t r = cur_ ? Find(cur_, -1) : 0;
    if (r == 0) {
        bof_ = true;
        return;
    }
    bof_ = eof_ = false;
    MoveTo(r);
}

bool TDbCursor::IsEmpty() const
{
    CheckActive();
    table_->Refresh();
    return Find(0, 1) == 0;
}

int TDbCursor::RecordCount() const
{
    CheckActive();
    table_->Refresh();
    const bool unique = tag_ >= 0 && table_->TagDef(tag_).Unique;
    if ((!filtered_ || conditions_.empty()) && !unique)
        return static_cast<int>(table_->LiveCount());
    int n = 0;
    if (unique)
        for (uint32_t r = Find(0, 1); r; r = Find(r, 1))
            ++n;
    else
        for (uint32_t r = 1; r <= table_->Count(); ++r)
            n += Visible(r);
    return n;
}

bool TDbCursor::BookmarkValid(TBookmark b) const
{
    return table_ && Visible(b);
}

void TDbCursor::GotoBookmark(TBookmark b)
{
    CheckBrowseMode();
    table_->RefreshOncePerTurn();
    if (!BookmarkValid(b))
        throw EDbError("Record not found");
    bof_ = eof_ = false;
    MoveTo(b);
}

bool TDbCursor::Matches(int field, const std::string &value) const
{
    TDbField f(const_cast<TDbCursor *>(this), field);
    auto trim = [](const std::string &s) { return DbfTrimRight(s.data(), static_cast<int>(s.size())); };
    switch (f.DataType()) {
    case 'N':
    case 'F': {
        if (DbfIsBlank(value.data(), static_cast<int>(value.size())))
            return f.IsNull();
        double v = 0;
        return DbfParseNumber(value.data(), static_cast<int>(value.size()), v) && !f.IsNull() && f.AsFloat() == v;
    }
    case 'D': {
        std::string digits;
        for (char c : value)
            if (c != '-')
                digits += c;
        if (trim(digits).empty())
            return f.IsNull();
        return digits.size() == 8 && DbfParseDate(digits.data()) == (f.IsNull() ? 0 : f.AsDate().toJulianDay());
    }
    case 'L': {
        std::string v = DbUpper(trim(value));
        if (v.empty())
            return f.IsNull();
        return !f.IsNull() && f.AsBoolean() == (v == "T" || v == "TRUE" || v == "Y");
    }
    case 'M': return f.AsString() == value;
    default: return f.AsString() == trim(value);
    }
}

bool TDbCursor::Locate(const std::vector<std::pair<std::string, std::string>> &values)
{
    CheckBrowseMode();
    std::vector<std::pair<int, std::string>> wanted;
    for (const auto &[name, value] : values)
    {
        FieldByName(name); // throws for an unknown field
        wanted.emplace_back(table_->FieldIndex(name), value);
    }
    table_->Refresh();
    const uint32_t keep = cur_;
    auto matches = [&](uint32_t r) {
        cur_ = r;
        for (const auto &[field, value] : wanted)
            if (!Matches(field, value))
                return false;
        return true;
    };
    auto land = [&](uint32_t r) {
        cur_ = r;
        if (r == 0) {
            cur_ = keep;
            return false;
        }
        bof_ = eof_ = false;
        MoveTo(r);
        return true;
    };
    // A text value with an index on its field: only the records of that key,
    // which the index lists by record number, so the first one visible is
    // the first in physical order and in that index's order.
    for (const auto &[field, value] : wanted) {
        const int tag = table_->TextTagOf(field);
        const size_t size = static_cast<size_t>(table_->Fields()[static_cast<size_t>(field)].Size);
        std::string key = DbfTrimRight(value.data(), static_cast<int>(value.size()));
        if (tag < 0 || (tag_ >= 0 && tag_ != tag) || key.empty() || key.size() > size)
            continue;
        key.resize(size, ' ');
        for (uint32_t r = table_->NextWithKey(tag, key, 0); r; r = table_->NextWithKey(tag, key, r))
            if (Visible(r) && matches(r))
                return land(r);
        return land(0);
    }
    // A unique index holds some records only: walk its order.
    if (tag_ >= 0 && table_->TagDef(tag_).Unique) {
        for (uint32_t r = Find(0, 1); r; r = Find(r, 1))
            if (matches(r))
                return land(r);
        return land(0);
    }
    // Otherwise every record in physical order, which reads the file
    // straight through; in an index's order the match of the lowest key.
    uint32_t best = 0;
    std::string bestKey;
    for (uint32_t r = 1; r <= table_->Count(); ++r) {
        if (!Visible(r) || !matches(r))
            continue;
        if (tag_ < 0)
            return land(r);
        std::string key = table_->KeyOf(tag_, r);
        if (best == 0 || key < bestKey)
            best = r, bestKey = std::move(key);
    }
    return land(best);
}

void TDbCursor::Edit()
{
    CheckActive();
    if (state_ != dsBrowse)
        return;
    if (cur_ == 0)
        throw EDbError("Cannot edit: the dataset is empty");
    table_->Refresh();
    buffer_.assign(table_->Record(cur_), table_->BlankRecord().size());
    original_ = buffer_;
    memos_.clear();
    state_ = dsEdit;
}

void TDbCursor::Insert()
{
    CheckBrowseMode();
    buffer_ = table_->BlankRecord();
    memos_.clear();
    saved_ = cur_;
    state_ = dsInsert;
}

void TDbCursor::Append() { Insert(); }

void TDbCursor::Post()
{
    written_ = {};
    CheckActive();
    if (state_ != dsEdit && state_ != dsInsert)
        throw EDbError("Dataset not in edit or insert mode");
    if (BeforePost)
        BeforePost(*this);
    std::map<int, std::string> memos;
    memos.swap(memos_);
    const TState was = state_;
    TDbTable::TWriteHook hook;
    if (OnWrite)
        hook = [this](std::string &record) {
            buffer_.swap(record);
            try {
                OnWrite(*this);
            } catch (...) {
                buffer_.swap(record);
                throw;
            }
            buffer_.swap(record);
        };
    try {
        if (was == dsInsert)
            cur_ = table_->Append(buffer_, memos, hook, BeforeWrite);
        else
            table_->Update(cur_, buffer_, memos, &original_, hook, BeforeWrite);
    } catch (...) {
        memos_.swap(memos);
        throw;
    }
    written_ = table_->LastWrite();
    state_ = dsBrowse;
    bof_ = eof_ = false;
}

void TDbCursor::Cancel()
{
    CheckActive();
    if (state_ == dsInsert)
        cur_ = saved_;
    state_ = dsBrowse;
    memos_.clear();
}

void TDbCursor::Delete()
{
    written_ = {};
    CheckActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    state_ = dsBrowse;
    if (cur_ == 0)
        throw EDbError("Cannot delete: the dataset is empty");
    if (BeforeDelete)
        BeforeDelete(*this);
    if (cur_ == 0 || table_->Deleted(cur_))
        return;
    table_->Delete(cur_, BeforeWrite);
    written_ = table_->LastWrite();
    uint32_t r = Find(cur_, 1);
    if (r == 0)
        r = Find(cur_, -1);
    eof_ = r == 0;
    bof_ = r == 0;
    MoveTo(r);
}

void TDbCursor::EnableControls()
{
    if (disabled_ > 0)
        --disabled_;
}

const char *TDbCursor::CurrentRecord() const
{
    if (state_ == dsEdit || state_ == dsInsert)
        return buffer_.data();
    return cur_ ? table_->Record(cur_) : blank_.data();
}

std::string DbDateText(const QDate &date)
{
    return date.isValid() ? DbfFormatDate(date.toJulianDay()) : std::string();
}
