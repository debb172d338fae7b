#include "IdIndex.h"

#include "DbfFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
const std::vector<uint32_t> kNone;
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
}

void TIdIndex::Put(uint32_t recno, double value)
{
    if (valueOf_.size() < recno)
        valueOf_.resize(recno, kNoValue);
    double &old = valueOf_[recno - 1];
    if (!std::isnan(old)) {
        auto &list = rows_[old];
        auto it = std::lower_bound(list.begin(), list.end(), recno);
        if (it != list.end() && *it == recno)
            list.erase(it);
        if (list.empty())
            rows_.erase(old);
    }
    old = value;
    if (!std::isnan(value)) {
        auto &list = rows_[value];
        list.insert(std::lower_bound(list.begin(), list.end(), recno), recno);
    }
}

void TIdIndex::Sync(TDbCursor &reader)
{
    if (reader.Active() && InSync(reader))
        return;
    rows_.clear();
    valueOf_.clear();
    version_ = 0;
    if (!reader.Active())
        return;
    const TDbFieldDef f = reader.FieldDef(field_);
    reader.ScanRecords([&](uint32_t recno, const char *record) {
        double v = 0;
        if (!DbfParseNumber(record + f.Offset, f.Size, v))
            return;
        valueOf_.resize(recno, kNoValue);
        valueOf_[recno - 1] = v;
        auto &list = rows_[v];
        list.push_back(recno); // records arrive in order
    });
    version_ = reader.DataVersion();
}

void TIdIndex::Posted(TDbCursor &c)
{
    if (!c.LastWrite().Follows(version_))
        return; // out of step already: the next Sync reads it all
    TDbField f = c.FieldByName(field_);
    Put(c.RecNo(), f.IsNull() ? kNoValue : f.AsFloat());
    version_ = c.LastWrite().After;
}

void TIdIndex::Deleted(const TDbCursor &c, uint32_t recno)
{
    if (!c.LastWrite().Follows(version_))
        return;
    if (recno)
        Put(recno, kNoValue);
    version_ = c.LastWrite().After;
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
