#include "NumberIndex.h"

#include "Fce.h"

#include <algorithm>

namespace {

bool Indexed(const std::string &num, bool local)
{
    // A number shorter than four characters can only match an internal line as a whole.
    return !num.empty() && (local || num.size() >= 4);
}

} // namespace

std::vector<uint32_t> &TNumberIndex::Bucket(const TEntry &e)
{
    return e.Local ? local_[e.Num] : bySuffix_[KeyOf(e.Num)];
}

void TNumberIndex::Put(uint32_t recno, TEntry entry)
{
    if (entries_.size() < recno)
        entries_.resize(recno);
    TEntry &old = entries_[recno - 1];
    if (Indexed(old.Num, old.Local)) {
        auto &list = Bucket(old);
        auto it = std::lower_bound(list.begin(), list.end(), recno);
        if (it != list.end() && *it == recno)
            list.erase(it);
    }
    old = std::move(entry);
    if (Indexed(old.Num, old.Local)) {
        auto &list = Bucket(old);
        list.insert(std::lower_bound(list.begin(), list.end(), recno), recno);
    }
}

namespace {

std::string Normalized(TDbCursor &c)
{
    std::string num = c.FieldByName("NUM").AsString();
    return num.empty() ? num : NormalizeNumber(num);
}

bool IsLocal(TDbCursor &c)
{
    return c.FieldByName("TYPE").AsString() == "L";
}

} // namespace

void TNumberIndex::Sync(TDbCursor &reader)
{
    if (InSync(reader))
        return;
    entries_.clear();
    local_.clear();
    bySuffix_.clear();
    version_ = 0;
    if (!reader.Active())
        return;
    reader.DisableControls();
    for (reader.First(); !reader.Eof(); reader.Next())
        Put(reader.RecNo(), {Normalized(reader), IsLocal(reader)});
    reader.EnableControls();
    version_ = reader.DataVersion();
}

void TNumberIndex::Posted(TDbCursor &c, uint64_t versionBefore)
{
    if (version_ != versionBefore || version_ == 0)
        return;
    Put(c.RecNo(), {Normalized(c), IsLocal(c)});
    version_ = c.DataVersion();
}

void TNumberIndex::Deleted(uint32_t recno, uint64_t versionBefore, uint64_t versionAfter)
{
    if (version_ != versionBefore || version_ == 0)
        return;
    if (recno && recno <= entries_.size())
        Put(recno, {});
    version_ = versionAfter;
}

uint32_t TNumberIndex::Find(const std::string &n) const
{
    uint32_t best = 0;
    if (auto it = local_.find(n); it != local_.end() && !it->second.empty())
        best = it->second.front();
    if (n.size() < 4)
        return best;
    auto it = bySuffix_.find(KeyOf(n));
    if (it == bySuffix_.end())
        return best;
    for (uint32_t recno : it->second) {
        if (best && recno > best)
            break;
        const std::string &s = entries_[recno - 1].Num;
        if (s.size() >= n.size() && s.compare(s.size() - n.size(), n.size(), n) == 0)
            return recno;
    }
    return best;
}
