// IDs of new firms and representatives, and the rows a new row belongs to:
// decided under the table's writers' lock against the book as it stands,
// whichever program wrote it.
#include "PhoneBookStore.h"

#include "DbfFormat.h"

#include <algorithm>
#include <cmath>

int64_t LowestFreeId(std::vector<int64_t> used, int64_t max)
{
    std::sort(used.begin(), used.end());
    int64_t free = 1;
    for (int64_t id : used) {
        if (id > free)
            break;
        if (id == free)
            ++free;
    }
    return free <= max ? free : 0;
}

int64_t TPhoneBookStore::InRange(int64_t highest, double id) const
{
    if (!(id > static_cast<double>(highest)))
        return highest;
    return id > static_cast<double>(MaxId) ? MaxId + 1 : static_cast<int64_t>(std::round(id));
}

int64_t TPhoneBookStore::ScanHighest(TIdSource &source) const
{
    TDbCursor &table = *source.Table;
    if (!table.Active())
        return source.Highest;
    if (table.FileRecordCount() < source.Scanned) // opened again on other files
        source.Scanned = 0, source.Highest = 0;
    const TDbFieldDef f = table.FieldDef(source.Field);
    // The scan takes in what other programs wrote first.
    table.ScanRecords(
        [&](uint32_t, const char *record) {
            double v = 0;
            if (DbfParseNumber(record + f.Offset, f.Size, v))
                source.Highest = InRange(source.Highest, v);
        },
        source.Scanned + 1);
    source.Scanned = table.FileRecordCount();
    return source.Highest;
}

void TPhoneBookStore::TakeId(TDbCursor &row, TIdKind &kind)
{
    TDbField id = row.FieldByName("ID");
    if (!id.IsNull())
        return;
    int64_t highest = 0;
    for (TIdSource &source : kind.Sources)
        highest = std::max(highest, ScanHighest(source));
    int64_t taken = std::max<int64_t>(*kind.Next, highest + 1);
    if (taken > MaxId) {
        // The top of the range is taken: the lowest ID nobody holds or refers to.
        std::vector<int64_t> used;
        for (TIdSource &source : kind.Sources) {
            if (!source.Table->Active())
                continue;
            const TDbFieldDef f = source.Table->FieldDef(source.Field);
            source.Table->ScanRecords([&](uint32_t, const char *record) {
                double v = 0;
                if (DbfParseNumber(record + f.Offset, f.Size, v) && v >= 1 && v <= static_cast<double>(MaxId))
                    used.push_back(static_cast<int64_t>(std::round(v)));
            });
        }
        taken = LowestFreeId(std::move(used), MaxId);
        if (taken == 0)
            throw EDbNoFreeId("No ID is left for a new row of " + row.TableName + "; nothing was written");
    }
    id.SetAsInteger(taken);
    *kind.Next = static_cast<int>(std::min(taken + 1, MaxId));
}

void TPhoneBookStore::CheckOwners(TDbCursor &row)
{
    if (row.State() != TDbCursor::dsInsert)
        return;
    TDbField idf = row.FieldByName("IDF");
    if (idf.IsNull())
        return;
    QueryFirm.Refresh();
    if (!FirmRow(idf.AsFloat()))
        throw EDbOwnerGone("Firm " + idf.AsString() + " was deleted by another program; nothing was written");
    if (!row.HasField("IDR"))
        return;
    TDbField idr = row.FieldByName("IDR");
    if (idr.IsNull() || idr.AsFloat() == 0)
        return;
    QueryRepre.Refresh();
    if (!RepreRow(idr.AsFloat()))
        throw EDbOwnerGone("Representative " + idr.AsString() + " was deleted by another program; nothing was written");
}
