#include "IdIndex.h"

#include <algorithm>

namespace {
const std::vector<uint32_t> kNone;
}

void TIdIndex::Put(uint32_t recno, bool has, double value)
{
    if (valueOf_.size() < recno)
        valueOf_.resize(recno, {false, 0});
    auto &old = valueOf_[recno - 1];
    if (old.first) {
        auto &list = rows_[old.second];
        auto it = std::lower_bound(list.begin(), list.end(), recno);
        if (it != list.end() && *it == recno)
            list.erase(it);
        if (list.empty())
            rows_.erase(old.second);
    }
    old = {has, value};
    if (has) {
        auto &list = rows_[value];
        list.insert(std::lower_bound(list.begin(), list.end(), recno), recno);
    }
}

void TIdIndex::Sync(TDbCursor &reader)
{
    if (!reader.Active()) {
        rows_.clear();
        valueOf_.clear();
        version_ = 0;
        return;
    }
    if (InSync(reader))
        return;
    rows_.clear();
    valueOf_.clear();
    reader.DisableControls();
    std::string filter = reader.Filter(), index = reader.IndexName();
    if (!filter.empty())
        reader.SetFilter("");
    if (!index.empty())
        reader.SetIndexName("");
    valueOf_.reserve(static_cast<size_t>(reader.RecordCount()));
    for (reader.First(); !reader.Eof(); reader.Next()) {
        TDbField f = reader.FieldByName(field_);
        Put(reader.RecNo(), !f.IsNull(), f.AsFloat());
    }
    if (!index.empty())
        reader.SetIndexName(index);
    if (!filter.empty())
        reader.SetFilter(filter);
    reader.EnableControls();
    version_ = reader.DataVersion();
}

void TIdIndex::Posted(TDbCursor &c, uint64_t versionBefore)
{
    if (version_ != versionBefore || version_ == 0)
        return; // out of step already: the next Sync reads it all
    TDbField f = c.FieldByName(field_);
    Put(c.RecNo(), !f.IsNull(), f.AsFloat());
    version_ = c.DataVersion();
}

void TIdIndex::Deleted(uint32_t recno, uint64_t versionBefore, uint64_t versionAfter)
{
    if (version_ != versionBefore || version_ == 0)
        return;
    if (recno)
        Put(recno, false, 0);
    version_ = versionAfter;
}

const std::vector<uint32_t> &TIdIndex::Rows(double value) const
{
    auto it = rows_.find(value);
    return it == rows_.end() ? kNone : it->second;
}

uint32_t TIdIndex::First(double value) const
{
    const auto &list = Rows(value);
    return list.empty() ? 0 : list.front();
}
