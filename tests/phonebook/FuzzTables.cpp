// Damaged table, memo and index files must give an error or data, never a
// crash, a hang or a read past a buffer, when read and when written to.
// Input: two little-endian 16-bit lengths of the table and memo parts, then
// the table, memo and index bytes. The files live in memory.
#include "Cdx.h"
#include "Cursor.h"
#include "FileLock.h"
#include "Table.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

// Enough records and fields to reach every branch; more would only repeat them.
constexpr int kSteps = 4;
constexpr size_t kFields = 8;

size_t FieldsToTry(TDbCursor &c) { return std::min(c.Fields().size(), kFields); }

void ReadEverything(TDbCursor &c)
{
    int n = 0;
    for (c.First(); !c.Eof() && n < kSteps; c.Next(), ++n)
        for (size_t i = 0; i < FieldsToTry(c); ++i) {
            try {
                TDbField field(&c, static_cast<int>(i));
                field.AsString();
                field.IsNull();
            } catch (const EDbError &) {
            }
        }
}

// Orders both ways, then a record added and the first one changed.
void WalkAndWrite(TDbCursor &c)
{
    std::shared_ptr<TDbTable> table = TDbTable::Acquire(c.FileName(), {});
    for (int i = 0; i < std::min(table->TagCount(), 4); ++i) {
        try {
            c.SetIndexName(table->TagDef(i).Name);
        } catch (const EDbError &) {
            continue;
        }
        int n = 0;
        for (c.First(); !c.Eof() && n < kSteps; c.Next())
            ++n;
        for (c.Last(); !c.Bof() && n > 0; c.Prior())
            --n;
    }
    c.SetIndexName("");
    c.Append();
    for (size_t i = 0; i < FieldsToTry(c); ++i) {
        const TDbFieldDef &f = c.Fields()[i];
        TDbField(&c, static_cast<int>(i)).SetAsString(f.Type == 'D' ? "20260101" : f.Type == 'L' ? "T" : "7");
    }
    c.Post();
    c.First();
    c.Edit();
    c.FieldByName(c.Fields()[0].Name).SetAsString("1");
    c.Post();
    c.Delete();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    size_t dbfLen = data[0] | data[1] << 8;
    size_t fptLen = data[2] | data[3] << 8;
    std::string rest(reinterpret_cast<const char *>(data) + 4, size - 4);
    dbfLen = std::min(dbfLen, rest.size());
    fptLen = std::min(fptLen, rest.size() - dbfLen);
    std::string cdx = rest.substr(dbfLen + fptLen);

    try {
        ReadCdx(cdx, [](const std::string &) { return ' '; });
    } catch (const EDbError &) {
    }
    const std::string dir = "/talvo-fuzz-in-memory/";
    auto &files = DbMemoryFiles();
    files[dir + "t.dbf"] = rest.substr(0, dbfLen);
    files[dir + "t.fpt"] = rest.substr(dbfLen, fptLen);
    files[dir + "t.cdx"] = cdx;
    try {
        TDbCursor c;
        c.DatabaseName = dir;
        c.TableName = "t";
        c.Open();
        ReadEverything(c);
        c.SetFilter("Id=1 AND Idf=2");
        c.SetFilter("");
        // Each locate may read every record: two fields reach both ways it searches.
        for (size_t i = 0; i < std::min<size_t>(2, c.Fields().size()); ++i)
            c.Locate({{c.Fields()[i].Name, "1"}});
        WalkAndWrite(c);
    } catch (const EDbError &) {
    }
    files.clear();
    return 0;
}
