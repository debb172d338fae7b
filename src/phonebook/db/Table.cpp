#include "Table.h"

#include "AtomicFile.h"
#include "Paths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <climits>
#include <dirent.h>
#include <unistd.h>

namespace {

std::map<std::string, std::weak_ptr<TDbTable>> &OpenTables()
{
    static std::map<std::string, std::weak_ptr<TDbTable>> tables;
    return tables;
}

std::string CanonicalPath(const std::string &path)
{
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : path;
}

std::string SiblingPath(const std::string &dbfPath, const std::string &ext)
{
    size_t slash = dbfPath.rfind('/');
    std::string dir = slash == std::string::npos ? "./" : dbfPath.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? dbfPath : dbfPath.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return FindFileNoCase(dir, name + ext);
}

bool SameTags(const std::vector<TCdxTag> &a, const std::vector<TCdxTag> &b)
{
    if (a.size() != b.size())
        return false;
    for (const TCdxTag &x : a) {
        auto y = std::find_if(b.begin(), b.end(), [&](const TCdxTag &t) { return DbSameName(t.Name, x.Name); });
        if (y == b.end() || !DbSameName(x.Expression, y->Expression) || x.Unique != y->Unique
            || x.KeyLen != y->KeyLen || x.Recnos != y->Recnos || x.Keys != y->Keys)
            return false;
    }
    return true;
}

// Temporary copies an interrupted index write left beside the index file
// ("<name>.XXXXXX"); called under the writers' lock, when no write is under way.
void RemoveLeftovers(const std::string &path)
{
    size_t slash = path.rfind('/');
    std::string dir = path.substr(0, slash + 1), name = path.substr(slash + 1) + ".";
    DIR *d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return;
    std::vector<std::string> doomed;
    while (dirent *e = ::readdir(d)) {
        std::string entry = e->d_name;
        if (entry.size() == name.size() + 6 && entry.compare(0, name.size(), name) == 0
            && std::all_of(entry.begin() + static_cast<ptrdiff_t>(name.size()), entry.end(),
                           [](char c) { return isalnum(static_cast<unsigned char>(c)); }))
            doomed.push_back(dir + entry);
    }
    ::closedir(d);
    for (const std::string &f : doomed)
        ::unlink(f.c_str());
}

// Our definitions in the file's order, the file's other tags kept beside them.
std::vector<TDbIndexDef> MergedDefs(const std::vector<TDbIndexDef> &ours, const std::vector<TCdxTag> &onDisk)
{
    std::vector<TDbIndexDef> defs;
    auto named = [](const auto &list, const std::string &name) {
        return std::find_if(list.begin(), list.end(), [&](const auto &x) { return DbSameName(x.Name, name); });
    };
    for (const TCdxTag &t : onDisk) {
        auto it = named(ours, t.Name);
        defs.push_back(it != ours.end() ? *it : TDbIndexDef{t.Name, t.Expression, t.Unique});
    }
    for (const TDbIndexDef &d : ours)
        if (named(defs, d.Name) == defs.end())
            defs.push_back(d);
    return defs;
}

} // namespace

std::shared_ptr<TDbTable> TDbTable::Acquire(const std::string &dbfPath, const std::vector<TDbIndexDef> &indexDefs)
{
    std::string key = CanonicalPath(dbfPath);
    auto &tables = OpenTables();
    auto it = tables.find(key);
    if (it != tables.end())
        if (auto table = it->second.lock(); table && table->dbf_.IsFileAt(key))
            return table;
    std::shared_ptr<TDbTable> table(new TDbTable);
    table->Load(key, indexDefs);
    tables[key] = table;
    return table;
}

TDbTable::~TDbTable()
{
    auto &tables = OpenTables();
    auto it = tables.find(path_);
    if (it != tables.end() && it->second.expired())
        tables.erase(it);
}

void TDbTable::Load(const std::string &dbfPath, const std::vector<TDbIndexDef> &indexDefs)
{
    path_ = dbfPath;
    Changed();
    dbf_.Open(dbfPath);
    uint64_t size = dbf_.Size();
    std::string head = dbf_.ReadAt(0, 32);
    if (head.size() == 32)
        head = dbf_.ReadAt(0, static_cast<uint8_t>(head[8]) | static_cast<uint8_t>(head[9]) << 8);
    {
        // A writer holds this lock while it changes the file.
        dbf_.Lock(0, 32, false);
        header_ = ParseDbfHeader(head, size);
        records_ = dbf_.ReadAt(header_.HeaderLen, static_cast<size_t>(header_.RecordCount) * header_.RecordLen);
        dbf_.Unlock(0, 32);
    }
    if (records_.size() != static_cast<size_t>(header_.RecordCount) * header_.RecordLen)
        throw EDbError("Table " + dbfPath + " is damaged");
    count_ = header_.RecordCount;
    for (uint32_t r = 1; r <= count_; ++r)
        deleted_ += Deleted(r);
    if (header_.HasMemo())
        memo_.Open(SiblingPath(dbfPath, ".fpt"));
    cdxPath_ = SiblingPath(dbfPath, ".cdx");

    std::vector<TCdxTag> onDisk;
    bool readable = false;
    std::string bytes;
    if (atomicfile::ReadAll(cdxPath_, bytes)) {
        try {
            onDisk = ReadCdx(bytes, [this](const std::string &expr) {
                int f = FieldIndex(expr);
                return f >= 0 && Fields()[static_cast<size_t>(f)].Type != 'C' ? '\0' : ' ';
            });
            readable = true;
        } catch (const EDbError &) {
        }
    }
    std::vector<TDbIndexDef> defs = MergedDefs(indexDefs, onDisk);
    SetupTags(defs, onDisk);
    if (ReadOnly())
        return;
    TDbLockGuard lock(dbf_, 0, 32);
    RemoveLeftovers(cdxPath_);
    // An index left stale by a crash or written by an older program.
    if (!defs.empty() && (!readable || !SameTags(onDisk, CdxTags())))
        WriteIndex();
}

void TDbTable::Changed()
{
    static uint64_t counter = 0;
    version_ = ++counter;
}

void TDbTable::SetupTags(const std::vector<TDbIndexDef> &defs, const std::vector<TCdxTag> &onDisk)
{
    for (const TDbIndexDef &d : defs) {
        TTag tag;
        tag.Def = d;
        tag.Field = FieldIndex(d.Expression);
        char type = tag.Field < 0 ? '?' : Fields()[static_cast<size_t>(tag.Field)].Type;
        if (type == 'C')
            tag.KeyLen = Fields()[static_cast<size_t>(tag.Field)].Size;
        else if (type == 'N' || type == 'F' || type == 'D')
            tag.KeyLen = 8;
        else {
            // Another program's tag on a key we cannot compute stays as it is.
            auto disk = std::find_if(onDisk.begin(), onDisk.end(), [&](const TCdxTag &t) {
                return DbSameName(t.Name, d.Name) && t.Expression == d.Expression;
            });
            if (disk == onDisk.end())
                throw EDbError("Index " + d.Name + " has an unsupported key " + d.Expression);
            tag.Kept = std::make_unique<TCdxTag>(*disk);
            tags_.push_back(std::move(tag));
            continue;
        }
        tag.Keys.reserve(static_cast<size_t>(count_) * static_cast<size_t>(tag.KeyLen));
        for (uint32_t r = 1; r <= count_; ++r)
            tag.Keys += KeyOf(tag, Record(r));
        tag.Order.resize(count_);
        for (uint32_t r = 1; r <= count_; ++r)
            tag.Order[r - 1] = r;
        tags_.push_back(std::move(tag));
        TTag &t = tags_.back();
        std::sort(t.Order.begin(), t.Order.end(),
                  [&](uint32_t a, uint32_t b) { return Less(t, a, KeyAt(t, b), b); });
    }
}

int TDbTable::FieldIndex(const std::string &name) const
{
    for (size_t i = 0; i < Fields().size(); ++i)
        if (DbSameName(Fields()[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

int TDbTable::TagIndex(const std::string &name) const
{
    for (size_t i = 0; i < tags_.size(); ++i)
        if (!tags_[i].Kept && DbSameName(tags_[i].Def.Name, name))
            return static_cast<int>(i);
    return -1;
}

std::string TDbTable::Memo(const char *record, int field) const
{
    const TDbFieldDef &f = Fields()[static_cast<size_t>(field)];
    uint32_t block = DbfParseBlock(record + f.Offset, f.Size);
    return block && memo_.IsOpen() ? memo_.Read(block) : std::string();
}

std::string TDbTable::KeyOf(const TTag &tag, const char *record) const
{
    const TDbFieldDef &f = Fields()[static_cast<size_t>(tag.Field)];
    const char *p = record + f.Offset;
    if (f.Type == 'C')
        return std::string(p, static_cast<size_t>(f.Size));
    if (f.Type == 'D')
        return CdxNumberKey(static_cast<double>(DbfParseDate(p)));
    double v = 0;
    DbfParseNumber(p, f.Size, v);
    return CdxNumberKey(v);
}

const char *TDbTable::KeyAt(const TTag &tag, uint32_t recno) const
{
    return tag.Keys.data() + static_cast<size_t>(recno - 1) * static_cast<size_t>(tag.KeyLen);
}

bool TDbTable::Less(const TTag &tag, uint32_t a, const char *keyB, uint32_t b) const
{
    int c = memcmp(KeyAt(tag, a), keyB, static_cast<size_t>(tag.KeyLen));
    return c < 0 || (c == 0 && a < b);
}

size_t TDbTable::Position(int tag, uint32_t recno) const
{
    const TTag &t = tags_[static_cast<size_t>(tag)];
    const char *key = KeyAt(t, recno);
    auto it = std::lower_bound(t.Order.begin(), t.Order.end(), recno,
                               [&](uint32_t a, uint32_t b) { return Less(t, a, key, b); });
    return static_cast<size_t>(it - t.Order.begin());
}

bool TDbTable::Held(int tag, size_t pos) const
{
    const TTag &t = tags_[static_cast<size_t>(tag)];
    return !t.Def.Unique || pos == 0
           || memcmp(KeyAt(t, t.Order[pos - 1]), KeyAt(t, t.Order[pos]), static_cast<size_t>(t.KeyLen)) != 0;
}

void TDbTable::RemoveFromOrders(uint32_t recno)
{
    for (size_t i = 0; i < tags_.size(); ++i) {
        if (tags_[i].Kept)
            continue;
        size_t at = Position(static_cast<int>(i), recno);
        if (at < tags_[i].Order.size() && tags_[i].Order[at] == recno)
            tags_[i].Order.erase(tags_[i].Order.begin() + static_cast<ptrdiff_t>(at));
    }
}

void TDbTable::AddToOrders(uint32_t recno)
{
    for (size_t i = 0; i < tags_.size(); ++i) {
        TTag &t = tags_[i];
        if (t.Kept)
            continue;
        std::string key = KeyOf(t, Record(recno));
        size_t at = static_cast<size_t>(recno - 1) * static_cast<size_t>(t.KeyLen);
        if (t.Keys.size() < at + key.size())
            t.Keys.resize(at + key.size());
        t.Keys.replace(at, key.size(), key);
        t.Order.insert(t.Order.begin() + static_cast<ptrdiff_t>(Position(static_cast<int>(i), recno)), recno);
    }
}

void TDbTable::SyncWithFile()
{
    std::string head = dbf_.ReadAt(4, 4);
    if (head.size() < 4)
        throw EDbError("Table " + path_ + " is damaged");
    uint32_t onDisk = 0;
    for (int i = 3; i >= 0; --i)
        onDisk = onDisk << 8 | static_cast<uint8_t>(head[static_cast<size_t>(i)]);
    if (onDisk < count_)
        throw EDbError("Table " + path_ + " was packed by another program; open it again");
    const size_t len = header_.RecordLen;
    std::string all = dbf_.ReadAt(header_.HeaderLen, static_cast<size_t>(onDisk) * len);
    if (all.size() != static_cast<size_t>(onDisk) * len)
        throw EDbError("Table " + path_ + " is damaged");
    // Records another program changed or added since we read them.
    for (uint32_t r = 1; r <= count_; ++r) {
        const char *theirs = all.data() + (r - 1) * len;
        if (memcmp(theirs, Record(r), len) == 0)
            continue;
        RemoveFromOrders(r);
        deleted_ += (theirs[0] == '*') - Deleted(r);
        records_.replace((r - 1) * len, len, theirs, len);
        AddToOrders(r);
        Changed();
    }
    if (onDisk == count_)
        return;
    records_.append(all, static_cast<size_t>(count_) * len, std::string::npos);
    Changed();
    while (count_ < onDisk) {
        ++count_;
        deleted_ += Deleted(count_);
        AddToOrders(count_);
    }
}

void TDbTable::PutMemos(std::string &record, const std::map<int, std::string> &memos)
{
    for (const auto &[field, text] : memos) {
        const TDbFieldDef &f = Fields()[static_cast<size_t>(field)];
        uint32_t block = memo_.IsOpen() ? memo_.Write(text) : 0;
        char buf[16];
        snprintf(buf, sizeof buf, "%10u", block);
        record.replace(static_cast<size_t>(f.Offset), 10, block ? std::string(buf, 10) : std::string(10, ' '));
    }
}

uint32_t TDbTable::Append(std::string record, const std::map<int, std::string> &memos)
{
    TDbLockGuard lock(dbf_, 0, 32);
    SyncWithFile();
    record.resize(header_.RecordLen, ' ');
    record[0] = ' ';
    PutMemos(record, memos);
    uint64_t at = header_.HeaderLen + static_cast<uint64_t>(count_) * header_.RecordLen;
    TDbLockGuard recordLock(dbf_, at, header_.RecordLen);
    dbf_.WriteAt(at, record + '\x1A');
    dbf_.WriteAt(1, DbfCountBytes(count_ + 1));
    records_ += record;
    ++count_;
    Changed();
    AddToOrders(count_);
    WriteIndex();
    return count_;
}

void TDbTable::Update(uint32_t recno, std::string record, const std::map<int, std::string> &memos)
{
    TDbLockGuard lock(dbf_, 0, 32);
    SyncWithFile();
    record.resize(header_.RecordLen, ' ');
    record[0] = Record(recno)[0];
    PutMemos(record, memos);
    uint64_t at = header_.HeaderLen + static_cast<uint64_t>(recno - 1) * header_.RecordLen;
    TDbLockGuard recordLock(dbf_, at, header_.RecordLen);
    dbf_.WriteAt(at, record);
    RemoveFromOrders(recno);
    records_.replace(static_cast<size_t>(recno - 1) * header_.RecordLen, header_.RecordLen, record);
    Changed();
    AddToOrders(recno);
    WriteIndex();
}

void TDbTable::Delete(uint32_t recno)
{
    if (Deleted(recno))
        return;
    TDbLockGuard lock(dbf_, 0, 32);
    SyncWithFile();
    uint64_t at = header_.HeaderLen + static_cast<uint64_t>(recno - 1) * header_.RecordLen;
    TDbLockGuard recordLock(dbf_, at, header_.RecordLen);
    dbf_.WriteAt(at, "*");
    records_[static_cast<size_t>(recno - 1) * header_.RecordLen] = '*';
    ++deleted_;
    Changed();
    // Deleted records stay in the index, as other engines keep them.
}

std::vector<TCdxTag> TDbTable::CdxTags() const
{
    std::vector<TCdxTag> out;
    for (const TTag &t : tags_) {
        if (t.Kept) {
            out.push_back(*t.Kept);
            continue;
        }
        TCdxTag c;
        c.Name = DbUpper(t.Def.Name);
        c.Expression = DbUpper(t.Def.Expression);
        c.Unique = t.Def.Unique;
        c.KeyLen = t.KeyLen;
        c.Fill = Fields()[static_cast<size_t>(t.Field)].Type == 'C' ? ' ' : '\0';
        c.Recnos.reserve(t.Order.size());
        c.Keys.reserve(t.Order.size() * static_cast<size_t>(t.KeyLen));
        const char *prev = nullptr;
        for (uint32_t r : t.Order) {
            const char *key = KeyAt(t, r);
            // A unique tag holds the first record of each key only.
            if (t.Def.Unique && prev && memcmp(prev, key, static_cast<size_t>(t.KeyLen)) == 0)
                continue;
            c.Recnos.push_back(r);
            c.Keys.append(key, static_cast<size_t>(t.KeyLen));
            prev = key;
        }
        out.push_back(std::move(c));
    }
    return out;
}

void TDbTable::WriteIndex()
{
    if (tags_.empty())
        return;
    if (!atomicfile::Replace(cdxPath_, WriteCdx(CdxTags())))
        throw EDbError("Cannot write index file " + cdxPath_);
}
