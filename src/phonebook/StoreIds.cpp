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

namespace {

// A visitor of records that hands use each number the field holds.
template <typename F> auto EachId(const TDbFieldDef &f, F use)
{
    return [f, use](uint32_t, const char *record) {
        double v = 0;
        if (DbfParseNumber(record + f.Offset, f.Size, v))
            use(record, v);
    };
}

} // namespace

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
    // The scan takes in what other programs wrote first.
    table.ScanRecords(EachId(table.FieldDef(source.Field),
                             [&](const char *, double v) { source.Highest = InRange(source.Highest, v); }),
                      source.Scanned + 1);
    source.Scanned = table.FileRecordCount();
    return source.Highest;
}

void TPhoneBookStore::TakeId(TDbCursor &row, TIdKind &kind)
{
    TDbField id = row.FieldByName("ID");
    if (!id.IsNull())
        return;
    std::vector<int64_t> held; // IDs in range that a row has (and, at the top, that rows refer to)
    auto hold = [&](const char *, double v) {
        if (v >= 1 && v <= static_cast<double>(MaxId))
            held.push_back(static_cast<int64_t>(std::round(v)));
    };
    // The whole table as the file holds it now, read for each new row:
    // another program may have written an ID in place, which the headers do
    // not show, and a deleted row keeps its ID from a program that still
    // shows the row (and would save under it).
    int64_t highest = 0;
    kind.Table->ScanFile(EachId(kind.Table->FieldDef("ID"), [&](const char *record, double v) {
        if (record[0] != '*')
            highest = InRange(highest, v);
        hold(record, v);
    }));
    for (TIdSource &source : kind.Refs)
        highest = std::max(highest, ScanHighest(source));
    int64_t taken = std::max<int64_t>(*kind.Next, highest + 1);
    std::sort(held.begin(), held.end());
    for (auto it = std::lower_bound(held.begin(), held.end(), taken); it != held.end() && *it <= taken; ++it)
        taken = *it + 1;
    if (taken > MaxId) {
        // The top of the range is taken: the lowest ID nobody holds or refers to.
        for (TIdSource &source : kind.Refs)
            if (source.Table->Active())
                source.Table->ScanRecords(EachId(source.Table->FieldDef(source.Field), hold));
        taken = LowestFreeId(std::move(held), MaxId);
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
