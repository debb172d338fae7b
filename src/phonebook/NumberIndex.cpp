#include "NumberIndex.h"

#include "DbfFormat.h"
#include "Fce.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace {

bool Indexed(size_t len, bool local)
{
    // A number shorter than four characters can only match an internal line as a whole.
    return len > 0 && (local || len >= 4);
}

std::string_view Tail(std::string_view n) { return n.substr(n.size() - 4); }

// Anything but a small whole number is left for the row itself to tell.
bool WholeId(const TDbFieldDef &f, const char *record, int32_t &id)
{
    double v = 0;
    DbfParseNumber(record + f.Offset, f.Size, v);
    if (!(v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max()))
        return false;
    id = static_cast<int32_t>(v);
    return id == v;
}

} // namespace

size_t TNumberIndex::Slot(std::string_view n) const
{
    uint32_t h = 2166136261u;
    for (char c : Tail(n))
        h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h & (heads_.size() - 1);
}

TNumberIndex::TRow TNumberIndex::Read(const TFields &f, const char *record)
{
    TRow row;
    // Normalised straight into the shared buffer: no string per row.
    const size_t at = text_.size();
    AppendNormalizedNumber(DbfTrimmedRight(record + f.Num.Offset, f.Num.Size), text_);
    const size_t len = text_.size() - at;
    const char *type = record + f.Type.Offset;
    row.Local = f.Type.Size > 0 && type[0] == 'L' && DbfIsBlank(type + 1, f.Type.Size - 1);
    if (!Indexed(len, row.Local) || len > UINT16_MAX) {
        text_.resize(at);
        return row;
    }
    row.At = static_cast<uint32_t>(at);
    row.Len = static_cast<uint16_t>(len);
    row.WholeIds = WholeId(f.Idf, record, row.Idf) && WholeId(f.Idr, record, row.Idr);
    return row;
}

// Into (in) or out of its chain, or its internal line's rows: both stay in record order.
void TNumberIndex::Chain(uint32_t recno, bool in)
{
    TRow &row = rows_[recno - 1];
    if (!row.Len)
        return;
    if (row.Local) {
        auto &list = local_[std::string(Text(row))];
        auto at = std::lower_bound(list.begin(), list.end(), recno);
        if (in)
            list.insert(at, recno);
        else if (at != list.end() && *at == recno)
            list.erase(at);
        return;
    }
    uint32_t *at = &heads_[Slot(Text(row))];
    while (*at && *at < recno)
        at = &rows_[*at - 1].Next;
    if (in) {
        row.Next = *at;
        *at = recno;
    } else if (*at == recno) {
        *at = row.Next;
    }
}

void TNumberIndex::Put(uint32_t recno, TRow row)
{
    if (rows_.size() < recno)
        rows_.resize(recno);
    Chain(recno, false);
    rows_[recno - 1] = row;
    Chain(recno, true);
}

void TNumberIndex::Sync(TDbCursor &reader)
{
    if (InSync(reader))
        return;
    text_.clear();
    rows_.clear();
    local_.clear();
    heads_.clear();
    version_ = 0;
    if (!reader.Active())
        return;
    const TFields f{reader.FieldDef("NUM"), reader.FieldDef("TYPE"), reader.FieldDef("IDF"), reader.FieldDef("IDR")};
    uint32_t last = 0;
    reader.ScanRecords([&](uint32_t recno, const char *record) {
        if (rows_.size() < recno)
            rows_.resize(std::max<size_t>(recno, rows_.size() * 2));
        rows_[recno - 1] = Read(f, record);
        last = recno;
    });
    rows_.resize(last);
    heads_.assign(std::bit_ceil(std::max<size_t>(1024, rows_.size() / 2)), 0);
    // From the last row back, each at the head of its chain: chains in record order.
    for (uint32_t r = static_cast<uint32_t>(rows_.size()); r >= 1; --r) {
        TRow &row = rows_[r - 1];
        if (row.Len && row.Local)
            local_[std::string(Text(row))].push_back(r);
        else if (row.Len) {
            uint32_t &head = heads_[Slot(Text(row))];
            row.Next = head;
            head = r;
        }
    }
    for (auto &[num, list] : local_)
        std::reverse(list.begin(), list.end());
    version_ = reader.DataVersion();
}

void TNumberIndex::Posted(TDbCursor &c)
{
    if (!c.LastWrite().Follows(version_))
        return;
    const TFields f{c.FieldDef("NUM"), c.FieldDef("TYPE"), c.FieldDef("IDF"), c.FieldDef("IDR")};
    Put(c.RecNo(), Read(f, c.CurrentRecord()));
    version_ = c.LastWrite().After;
}

void TNumberIndex::Deleted(const TDbCursor &c, uint32_t recno)
{
    if (!c.LastWrite().Follows(version_))
        return;
    if (recno && recno <= rows_.size())
        Put(recno, {});
    version_ = c.LastWrite().After;
}

uint32_t TNumberIndex::Find(const std::string &n) const
{
    uint32_t best = 0;
    if (auto it = local_.find(n); it != local_.end() && !it->second.empty())
        best = it->second.front();
    if (n.size() < 4 || heads_.empty())
        return best;
    for (uint32_t r = heads_[Slot(n)]; r && (!best || r < best); r = rows_[r - 1].Next) {
        std::string_view s = Text(rows_[r - 1]);
        if (s.size() >= n.size() && s.compare(s.size() - n.size(), n.size(), n) == 0)
            return r;
    }
    return best;
}

bool TNumberIndex::Ids(uint32_t recno, int64_t &idf, int64_t &idr) const
{
    if (recno < 1 || recno > rows_.size() || !rows_[recno - 1].WholeIds)
        return false;
    idf = rows_[recno - 1].Idf;
    idr = rows_[recno - 1].Idr;
    return true;
}
