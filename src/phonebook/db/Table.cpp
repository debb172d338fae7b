#include "Table.h"

#include <QAbstractEventDispatcher>
#include <QPointer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <climits>
#include <optional>
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
    if (DbMemoryFiles().count(path))
        return path;
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
    return DbFindFile(dir, name + ext);
}

// Temporary copies an interrupted index write left beside the index file
// ("<name>.XXXXXX"); called under the writers' lock, when no write is under way.
void RemoveLeftovers(const std::string &path)
{
    if (DbMemoryFiles().count(path))
        return;
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

template <typename TList> auto Named(const TList &list, const std::string &name)
{
    return std::find_if(list.begin(), list.end(), [&](const auto &x) { return DbSameName(x.Name, name); });
}

// Our definitions in the file's order, the file's other tags kept beside them.
std::vector<TDbIndexDef> MergedDefs(const std::vector<TDbIndexDef> &ours, const std::vector<TDbIndexDef> &onDisk)
{
    std::vector<TDbIndexDef> defs;
    for (const TDbIndexDef &t : onDisk) {
        auto it = Named(ours, t.Name);
        defs.push_back(it != ours.end() ? *it : t);
    }
    for (const TDbIndexDef &d : ours)
        if (Named(defs, d.Name) == defs.end())
            defs.push_back(d);
    return defs;
}

constexpr size_t kLongRead = 65536, kShortRead = 512;

std::atomic<uint64_t> gTurn{1};

// Another program's posts are looked for again after each pass of the event
// loop: once per user action or arriving answer, not once per record.
void FollowEventLoop()
{
    static QPointer<QAbstractEventDispatcher> followed;
    QAbstractEventDispatcher *d = QAbstractEventDispatcher::instance();
    if (!d || d == followed)
        return;
    followed = d;
    // One dispatcher announces a pass as it wakes, another as it goes to wait.
    QObject::connect(d, &QAbstractEventDispatcher::awake, [] { TDbTable::NewTurn(); });
    QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, [] { TDbTable::NewTurn(); });
}

uint32_t Le32(const std::string &b)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<uint8_t>(b[static_cast<size_t>(i)]);
    return v;
}

} // namespace

// The writers' lock, known to be held: a look taken under it must not lock
// again, as a process that locks and unlocks a range it holds lets it go.
class TDbTable::TWriteLock {
public:
    TWriteLock(TDbTable &table, const TWriteGate &gate) : lock_(table.dbf_, 0, 32), held_(table.writing_)
    {
        held_ = true;
        try {
            if (gate)
                gate();
        } catch (...) {
            held_ = false;
            throw;
        }
    }
    ~TWriteLock() { held_ = false; }
    TWriteLock(const TWriteLock &) = delete;
    TWriteLock &operator=(const TWriteLock &) = delete;

private:
    TDbLockGuard lock_;
    bool &held_;
};

std::shared_ptr<TDbTable> TDbTable::Acquire(const std::string &dbfPath, const std::vector<TDbIndexDef> &indexDefs)
{
    std::string key = CanonicalPath(dbfPath);
    auto &tables = OpenTables();
    auto it = tables.find(key);
    if (it != tables.end())
        if (auto table = it->second.lock(); table && table->dbf_.IsFileAt(key))
            return table;
    FollowEventLoop();
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
    turn_ = gTurn.load(std::memory_order_relaxed);
    Changed();
    dbf_.Open(dbfPath);
    {
        // A writer holds this lock while it changes the file.
        TDbLockGuard lock(dbf_, 0, 32, false);
        std::string head = dbf_.ReadAt(0, 32);
        if (head.size() == 32)
            head = dbf_.ReadAt(0, static_cast<uint8_t>(head[8]) | static_cast<uint8_t>(head[9]) << 8);
        header_ = ParseDbfHeader(head, dbf_.Size());
    }
    count_ = header_.RecordCount;
    if (header_.HasMemo())
        memo_.Open(SiblingPath(dbfPath, ".fpt"));
    cdxPath_ = SiblingPath(dbfPath, ".cdx");

    bool readable = OpenIndex();
    std::vector<TDbIndexDef> onDisk;
    for (const TCdxFile::TTagInfo &t : cdx_.Tags())
        onDisk.push_back({t.Name, t.Expression, t.Unique});
    SetupTags(MergedDefs(indexDefs, onDisk), onDisk);
    if (tags_.empty())
        return;
    // Shared where we may only read: a writer under way ends its change first.
    TDbLockGuard lock(dbf_, 0, 32);
    if (!ReadOnly())
        RemoveLeftovers(cdxPath_);
    // An index left stale by a crash or written by an older program.
    bool current = false;
    try {
        current = readable && (cdx_.Reload(), cdx_.Mark() == 0) && IndexCurrent();
    } catch (const EDbError &) {
    }
    if (current)
        return;
    if (ReadOnly())
        inMemory_ = cdx_.IsOpen();
    else
        Rebuild();
}

// Opens the index file and matches our tags to its tags; false when it is
// missing or cannot be read.
bool TDbTable::OpenIndex()
{
    cdx_.Close();
    hint_ = THint();
    bool ok = false;
    try {
        cdx_.Open(cdxPath_, [this](const std::string &expr) {
            int f = FieldIndex(expr);
            return f >= 0 && Fields()[static_cast<size_t>(f)].Type != 'C' ? '\0' : ' ';
        });
        ok = true;
    } catch (const EDbError &) {
        cdx_.Close();
    }
    for (TTag &t : tags_)
        t.Cdx = cdx_.TagIndex(t.Def.Name);
    return ok;
}

// Every tag is in the file as defined and holds the newest record.
bool TDbTable::IndexCurrent()
{
    for (const TTag &t : tags_) {
        if (t.Kept)
            continue;
        if (t.Cdx < 0)
            return false;
        const TCdxFile::TTagInfo &c = cdx_.Tags()[static_cast<size_t>(t.Cdx)];
        if (!DbSameName(c.Expression, t.Def.Expression) || c.Unique != t.Def.Unique || c.KeyLen != t.KeyLen)
            return false;
        if (count_ == 0)
            continue;
        std::string key = KeyOf(t, Record(count_));
        TCdxFile::TPos pos = cdx_.Seek(t.Cdx, key.data(), t.Def.Unique ? 0 : count_);
        if (pos.AtEnd() || cdx_.Key(t.Cdx, pos) != key || (!t.Def.Unique && cdx_.Recno(t.Cdx, pos) != count_))
            return false;
    }
    return true;
}

void TDbTable::Changed()
{
    static uint64_t counter = 0;
    version_ = ++counter;
}

void TDbTable::SetupTags(const std::vector<TDbIndexDef> &defs, const std::vector<TDbIndexDef> &onDisk)
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
            auto disk = Named(onDisk, d.Name);
            if (disk == onDisk.end() || disk->Expression != d.Expression)
                throw EDbError("Index " + d.Name + " has an unsupported key " + d.Expression);
            tag.Kept = true;
        }
        tag.Cdx = cdx_.TagIndex(d.Name);
        tags_.push_back(tag);
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
        if (!tags_[i].Kept && tags_[i].Cdx >= 0 && DbSameName(tags_[i].Def.Name, name))
            return static_cast<int>(i);
    return -1;
}

const char *TDbTable::Record(uint32_t recno) const
{
    const size_t len = header_.RecordLen;
    if (recno >= last_->First && recno - last_->First < last_->N)
        return last_->Bytes.data() + (recno - last_->First) * len;
    TBlock *oldest = &blocks_[0];
    for (TBlock &b : blocks_) {
        if (recno >= b.First && recno - b.First < b.N) {
            b.Used = ++uses_;
            last_ = &b;
            return b.Bytes.data() + (recno - b.First) * len;
        }
        if (b.Used < oldest->Used)
            oldest = &b;
    }
    CheckExists(recno);
    // Reading on from the last block: a long stretch at once; a record here
    // and there (a walk in key order): a short one.
    const bool onward = recno == lastEnd_;
    const uint32_t per = static_cast<uint32_t>(std::max<size_t>(1, (onward ? kLongRead : kShortRead) / len));
    uint32_t first = onward ? recno : (recno - 1) / per * per + 1;
    uint32_t n = std::min(per, count_ - first + 1);
    oldest->N = 0;
    ReadRecords(first, n, oldest->Bytes);
    oldest->First = first;
    oldest->N = n;
    oldest->Used = ++uses_;
    last_ = oldest;
    lastEnd_ = first + n;
    return oldest->Bytes.data() + (recno - first) * len;
}

void TDbTable::CheckExists(uint32_t recno) const
{
    if (recno < 1 || recno > count_)
        throw EDbError("Record " + std::to_string(recno) + " of " + path_ + " does not exist");
}

void TDbTable::ReadRecords(uint32_t first, uint32_t n, std::string &into) const
{
    const size_t len = header_.RecordLen;
    into.resize(static_cast<size_t>(n) * len);
    if (dbf_.ReadInto(header_.HeaderLen + static_cast<uint64_t>(first - 1) * len, into.data(), into.size())
        != into.size())
        throw EDbError("Table " + path_ + " is damaged");
}

void TDbTable::ForgetRecords() const
{
    for (TBlock &b : blocks_)
        b.N = 0;
}

void TDbTable::ReadFile(const std::function<void(uint32_t, const char *)> &visit, uint32_t from) const
{
    const size_t len = header_.RecordLen;
    const uint32_t per = static_cast<uint32_t>(std::max<size_t>(1, kLongRead / len));
    std::string chunk;
    for (uint32_t first = std::max<uint32_t>(from, 1); first <= count_;) {
        const uint32_t n = std::min(per, count_ - first + 1);
        ReadRecords(first, n, chunk);
        for (uint32_t i = 0; i < n; ++i)
            visit(first + i, chunk.data() + static_cast<size_t>(i) * len);
        first += n;
    }
}

uint32_t TDbTable::LiveCount() const
{
    if (liveVersion_ != version_) {
        uint32_t live = 0;
        for (uint32_t r = 1; r <= count_; ++r)
            live += !Deleted(r);
        live_ = live;
        liveVersion_ = version_;
    }
    return live_;
}

void TDbTable::NewTurn() { gTurn.fetch_add(1, std::memory_order_relaxed); }

void TDbTable::RefreshOncePerTurn()
{
    if (turn_ != gTurn.load(std::memory_order_relaxed))
        Refresh();
}

bool TDbTable::Replaced()
{
    replaced_ = replaced_ || !dbf_.IsFileAt(path_);
    return replaced_;
}

void TDbTable::RefreshAfterWriters()
{
    // A writer holds this lock from its record to its index: having had it is enough.
    dbf_.Lock(0, 32, false);
    dbf_.Unlock(0, 32);
    Refresh();
}

void TDbTable::Refresh()
{
    turn_ = gTurn.load(std::memory_order_relaxed);
    // The new files are not ours: their index must not be read over our records.
    if (Replaced())
        return;
    bool counted = false;
    const bool changed = Look(counted);
    // A writer we waited for in vain may die after its record and before
    // its index, which the headers do not show: looked at until it is done.
    if (tags_.empty() || !(changed || midSave_))
        return;
    // A writer's mark, or a new record an order lacks: the index is mid-change.
    if (!cdx_.IsOpen() || IndexWhole(counted || inMemory_))
        WalkIndexFile();
    else if (writing_)
        suspect_ = true; // mended before the write
    else
        Mend(changed);
}

// Reads the record count and the index file's header again; true when
// another program changed either (counted: the count moved).
bool TDbTable::Look(bool &counted)
{
    std::string head = dbf_.ReadAt(4, 4);
    if (head.size() < 4)
        throw EDbError("Table " + path_ + " is damaged");
    uint32_t onDisk = Le32(head);
    if (onDisk < count_)
        throw EDbError("Table " + path_ + " was packed by another program; open it again");
    counted = onDisk != count_;
    bool changed = counted;
    // A file cut short underneath is damaged whether or not its count moved.
    if (dbf_.Size() < header_.HeaderLen + static_cast<uint64_t>(onDisk) * header_.RecordLen)
        throw EDbError("Table " + path_ + " is damaged");
    count_ = onDisk;
    if (!tags_.empty()) {
        if (!cdx_.IsOpen() || !cdx_.IsFileAt(cdxPath_)) { // rewritten whole by another program
            OpenIndex();
            changed = true;
        } else
            changed |= cdx_.Reload();
    }
    if (changed) {
        ForgetRecords();
        Changed();
    }
    return changed;
}

// No writer's change is under way in the index and, when the count moved,
// the newest record is in every order.
bool TDbTable::IndexWhole(bool counted)
{
    if (cdx_.Mark() != 0)
        return false;
    try {
        return !counted || IndexCurrent();
    } catch (const EDbError &) {
        return false;
    }
}

// The index is mid-change. A live writer ends its change before it lets go
// of the writers' lock; what is still half done once we have the lock, a
// writer left when it died: written anew, or, where we may not write (or a
// writer holds on to the lock), not used until it is whole again. Without
// wait, a writer that holds the lock is simply looked at again later.
void TDbTable::Mend(bool wait)
{
    std::optional<TDbLockGuard> lock;
    try {
        lock.emplace(dbf_, 0, 32, true, wait); // shared where we may only read
    } catch (const EDbError &) {
        inMemory_ = midSave_ = true;
        return;
    }
    bool counted = false;
    Look(counted);
    if (!cdx_.IsOpen() || IndexWhole(true)) {
        WalkIndexFile();
        return;
    }
    // The writer died: its record may have landed after we read it.
    ForgetRecords();
    Changed();
    inMemory_ = true;
    midSave_ = false;
    if (!ReadOnly())
        try {
            Rebuild();
        } catch (const EDbError &) {
        }
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

uint32_t TDbTable::Neighbour(int tag, uint32_t recno, int step)
{
    if (tag < 0) {
        if (recno == 0)
            return step > 0 ? std::min<uint32_t>(count_, 1) : count_;
        uint32_t r = recno + static_cast<uint32_t>(step);
        return r >= 1 && r <= count_ ? r : 0;
    }
    if (inMemory_)
        return NeighbourInMemory(tag, recno, step);
    const TTag &t = tags_[static_cast<size_t>(tag)];
    if (t.Cdx < 0)
        return 0;
    TCdxFile::TPos pos;
    if (recno == 0)
        pos = cdx_.Edge(t.Cdx, step);
    else if (hint_.Tag == tag && hint_.Recno == recno && hint_.Version == version_)
        pos = cdx_.Step(t.Cdx, hint_.Pos, step);
    else {
        std::string key = KeyOf(t, Record(recno));
        pos = cdx_.Seek(t.Cdx, key.data(), recno);
        bool here = !pos.AtEnd() && cdx_.Recno(t.Cdx, pos) == recno && cdx_.Key(t.Cdx, pos) == key;
        if (here || step < 0)
            pos = pos.AtEnd() ? cdx_.Edge(t.Cdx, -1) : cdx_.Step(t.Cdx, pos, step);
    }
    uint32_t r = pos.AtEnd() ? 0 : cdx_.Recno(t.Cdx, pos);
    hint_ = {tag, r, version_, pos};
    return r;
}

int TDbTable::TextTagOf(int field) const
{
    for (size_t i = 0; i < tags_.size(); ++i) {
        const TTag &t = tags_[i];
        if (!t.Kept && t.Field == field && t.Cdx >= 0 && !t.Def.Unique
            && Fields()[static_cast<size_t>(field)].Type == 'C')
            return static_cast<int>(i);
    }
    return -1;
}

uint32_t TDbTable::NextWithKey(int tag, const std::string &key, uint32_t after)
{
    const TTag &t = tags_[static_cast<size_t>(tag)];
    if (after == 0xFFFFFFFFu)
        return 0;
    if (inMemory_) {
        const TOrder &o = InMemory(tag);
        const size_t i = PlaceInMemory(o, key, after + 1), len = key.size();
        return i < o.Tag.Recnos.size() && o.Tag.Keys.compare(i * len, len, key) == 0 ? o.Tag.Recnos[i] : 0;
    }
    TCdxFile::TPos pos = cdx_.Seek(t.Cdx, key.data(), after + 1);
    return pos.AtEnd() || cdx_.Key(t.Cdx, pos) != key ? 0 : cdx_.Recno(t.Cdx, pos);
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

void TDbTable::MergeUnchanged(std::string &record, const std::string &original, const std::string &now,
                              const std::map<int, std::string> &memos) const
{
    if (original.size() != record.size())
        return;
    for (size_t i = 0; i < Fields().size(); ++i) {
        const TDbFieldDef &f = Fields()[i];
        const size_t at = static_cast<size_t>(f.Offset), size = static_cast<size_t>(f.Size);
        if (at + size > record.size())
            continue;
        const bool changed = f.Type == 'M' ? memos.count(static_cast<int>(i)) > 0
                                           : record.compare(at, size, original, at, size) != 0;
        if (!changed)
            record.replace(at, size, now, at, size);
    }
}

// Under the writers' lock: a change another writer left half done, or an
// index that lost an entry, is mended by writing the index anew.
void TDbTable::CheckIndex()
{
    Refresh();
    if (replaced_)
        throw EDbReplaced("Table " + path_ + " was replaced by another program; nothing was written");
    if (!tags_.empty() && (!cdx_.IsOpen() || cdx_.Mark() != 0 || suspect_ || inMemory_))
        Rebuild();
}

void TDbTable::WriteRecord(uint32_t recno, const std::string &record)
{
    const size_t len = header_.RecordLen;
    dbf_.WriteAt(header_.HeaderLen + static_cast<uint64_t>(recno - 1) * len, record);
    for (TBlock &b : blocks_)
        if (recno >= b.First && recno - b.First < b.N)
            b.Bytes.replace((recno - b.First) * len, record.size(), record);
}

void TDbTable::IndexInsert(const TTag &tag, const std::string &key, uint32_t recno)
{
    if (tag.Def.Unique) {
        TCdxFile::TPos pos = cdx_.Seek(tag.Cdx, key.data(), 0);
        if (!pos.AtEnd() && cdx_.Key(tag.Cdx, pos) == key) {
            uint32_t holder = cdx_.Recno(tag.Cdx, pos);
            if (holder <= recno)
                return;
            cdx_.Erase(tag.Cdx, key.data(), holder);
        }
    }
    cdx_.Insert(tag.Cdx, key.data(), recno);
}

void TDbTable::IndexErase(const TTag &tag, const std::string &key, uint32_t recno)
{
    if (!cdx_.Erase(tag.Cdx, key.data(), recno)) {
        suspect_ |= !tag.Def.Unique;
        return;
    }
    if (!tag.Def.Unique)
        return;
    // The key passes to the next record that has it.
    for (uint32_t r = 1; r <= count_; ++r)
        if (r != recno && KeyOf(tag, Record(r)) == key) {
            cdx_.Insert(tag.Cdx, key.data(), r);
            return;
        }
}

uint32_t TDbTable::Append(std::string record, const std::map<int, std::string> &memos, const TWriteHook &hook,
                          const TWriteGate &gate)
{
    lastWrite_ = {};
    TWriteLock lock(*this, gate);
    CheckIndex();
    record.resize(header_.RecordLen, ' ');
    if (hook)
        hook(record);
    record.resize(header_.RecordLen, ' ');
    record[0] = ' ';
    PutMemos(record, memos);
    // Whatever the looks above took in is in version_ by now: from here on only ours lands.
    const uint64_t before = version_;
    const uint32_t recno = count_ + 1;
    uint64_t at = header_.HeaderLen + static_cast<uint64_t>(count_) * header_.RecordLen;
    TDbLockGuard recordLock(dbf_, at, header_.RecordLen);
    if (cdx_.IsOpen())
        cdx_.SetMark(recno);
    dbf_.WriteAt(at, record + '\x1A');
    dbf_.WriteAt(1, DbfCountBytes(recno));
    count_ = recno;
    Changed();
    for (const TTag &t : tags_)
        if (!t.Kept && t.Cdx >= 0)
            IndexInsert(t, KeyOf(t, record.data()), recno);
    if (cdx_.IsOpen())
        cdx_.SetMark(0);
    Changed();
    lastWrite_ = {before, version_};
    Counted(before, 1);
    return recno;
}

void TDbTable::Update(uint32_t recno, std::string record, const std::map<int, std::string> &memos,
                      const std::string *original, const TWriteHook &hook, const TWriteGate &gate)
{
    lastWrite_ = {};
    TWriteLock lock(*this, gate);
    CheckIndex();
    // As the file holds it now: another engine's change in place moves no
    // header, and the fields this edit left alone must keep it.
    CheckExists(recno);
    std::string old;
    ReadRecords(recno, 1, old);
    if (original && old[0] == '*')
        throw EDbRecordGone("Record " + std::to_string(recno) + " of " + path_ + " was deleted by another program");
    record.resize(header_.RecordLen, ' ');
    if (original)
        MergeUnchanged(record, *original, old, memos);
    if (hook)
        hook(record);
    record.resize(header_.RecordLen, ' ');
    record[0] = old[0];
    PutMemos(record, memos);
    const uint64_t before = version_;
    uint64_t at = header_.HeaderLen + static_cast<uint64_t>(recno - 1) * header_.RecordLen;
    TDbLockGuard recordLock(dbf_, at, header_.RecordLen);
    if (cdx_.IsOpen())
        cdx_.SetMark(recno);
    WriteRecord(recno, record);
    Changed();
    for (const TTag &t : tags_) {
        if (t.Kept || t.Cdx < 0)
            continue;
        std::string before = KeyOf(t, old.data()), after = KeyOf(t, record.data());
        if (before == after)
            continue;
        IndexErase(t, before, recno);
        IndexInsert(t, after, recno);
    }
    if (cdx_.IsOpen())
        cdx_.SetMark(0);
    Changed();
    if (suspect_)
        Rebuild();
    lastWrite_ = {before, version_};
    Counted(before, 0);
}

void TDbTable::Delete(uint32_t recno, const TWriteGate &gate)
{
    lastWrite_ = {};
    if (Deleted(recno))
        return;
    TWriteLock lock(*this, gate);
    CheckIndex();
    const uint64_t before = version_;
    uint64_t at = header_.HeaderLen + static_cast<uint64_t>(recno - 1) * header_.RecordLen;
    TDbLockGuard recordLock(dbf_, at, header_.RecordLen);
    WriteRecord(recno, "*");
    // Deleted records stay in the index, as other engines keep them; the
    // counter still tells other programs that something changed.
    if (cdx_.IsOpen())
        cdx_.SetMark(0);
    Changed();
    lastWrite_ = {before, version_};
    Counted(before, -1);
}

// Our own writes keep a known live count known; others' make it recounted.
void TDbTable::Counted(uint64_t before, int delta)
{
    if (liveVersion_ != before)
        return;
    live_ = static_cast<uint32_t>(static_cast<int64_t>(live_) + delta);
    liveVersion_ = version_;
}

std::vector<TCdxTag> TDbTable::CdxTags()
{
    std::vector<TCdxTag> out;
    for (const TTag &t : tags_)
        out.push_back(t.Kept ? cdx_.ReadTag(t.Cdx) : OrderOf(t));
    return out;
}

// The tag's entries as the data gives them.
TCdxTag TDbTable::OrderOf(const TTag &t)
{
    const size_t len = static_cast<size_t>(t.KeyLen);
    const TDbFieldDef &f = Fields()[static_cast<size_t>(t.Field)];
    std::string keys;
    keys.reserve(count_ * len);
    for (uint32_t r = 1; r <= count_; ++r) {
        const char *record = Record(r);
        if (f.Type == 'C')
            keys.append(record + f.Offset, len);
        else
            keys += KeyOf(t, record);
    }
    std::vector<uint32_t> order(count_);
    for (uint32_t r = 1; r <= count_; ++r)
        order[r - 1] = r;
    auto key = [&](uint32_t r) { return keys.data() + (r - 1) * len; };
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        int c = memcmp(key(a), key(b), len);
        return c < 0 || (c == 0 && a < b);
    });
    TCdxTag c;
    c.Name = DbUpper(t.Def.Name);
    c.Expression = DbUpper(t.Def.Expression);
    c.Unique = t.Def.Unique;
    c.KeyLen = t.KeyLen;
    c.Fill = f.Type == 'C' ? ' ' : '\0';
    c.Recnos.reserve(order.size());
    c.Keys.reserve(order.size() * len);
    const char *prev = nullptr;
    for (uint32_t r : order) {
        // A unique tag holds the first record of each key only.
        if (t.Def.Unique && prev && memcmp(prev, key(r), len) == 0)
            continue;
        c.Recnos.push_back(r);
        c.Keys.append(key(r), len);
        prev = key(r);
    }
    return c;
}

// The tag's order from the data, made again when the data changed.
const TDbTable::TOrder &TDbTable::InMemory(int tag)
{
    orders_.resize(tags_.size());
    TOrder &o = orders_[static_cast<size_t>(tag)];
    if (o.Version != version_) {
        o.Tag = OrderOf(tags_[static_cast<size_t>(tag)]);
        o.At.assign(count_ + 1, 0);
        for (size_t i = 0; i < o.Tag.Recnos.size(); ++i)
            o.At[o.Tag.Recnos[i]] = static_cast<uint32_t>(i + 1);
        o.Version = version_;
    }
    return o;
}

// The first place in the order at or after (key, recno).
size_t TDbTable::PlaceInMemory(const TOrder &order, const std::string &key, uint32_t recno) const
{
    const size_t len = key.size();
    size_t lo = 0, hi = order.Tag.Recnos.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        const int c = order.Tag.Keys.compare(mid * len, len, key);
        if (c < 0 || (c == 0 && order.Tag.Recnos[mid] < recno))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

uint32_t TDbTable::NeighbourInMemory(int tag, uint32_t recno, int step)
{
    const TOrder &o = InMemory(tag);
    const size_t n = o.Tag.Recnos.size();
    const bool in = recno < o.At.size() && o.At[recno] != 0;
    size_t at = 0; // the place of recno, or where it would stand
    if (recno == 0)
        at = step > 0 ? 0 : n;
    else if (in)
        at = o.At[recno] - 1;
    else // a unique order holds one record of each key
        at = PlaceInMemory(o, KeyOf(tag, recno), recno);
    if (step < 0)
        return at > 0 ? o.Tag.Recnos[at - 1] : 0;
    at += in;
    return at < n ? o.Tag.Recnos[at] : 0;
}

// Under the writers' lock: the whole index file written anew from the data,
// replacing the old one at once.
void TDbTable::Rebuild()
{
    // Never from records read before the lock: a writer may have been mid-save.
    ForgetRecords();
    uint32_t counter = cdx_.IsOpen() ? cdx_.Counter() + 1 : 1;
    std::vector<TCdxTag> tags = CdxTags();
    if (!DbReplaceFile(cdxPath_, WriteCdx(tags, counter)))
        throw EDbError("Cannot write index file " + cdxPath_);
    suspect_ = false;
    if (!OpenIndex())
        throw EDbError("Index file " + cdxPath_ + " cannot be read back");
    WalkIndexFile();
    Changed();
}

// The index file holds every change again: orders are walked in it, not taken from the data.
void TDbTable::WalkIndexFile()
{
    inMemory_ = midSave_ = false;
    orders_.clear();
}
