// Damaged table, memo and index files must give an error or data, never a
// crash, a hang or a read past a buffer. Input: two little-endian 16-bit
// lengths of the table and memo parts, then the table, memo and index bytes.
#include "Cdx.h"
#include "Cursor.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string Dir()
{
    static std::string dir = [] {
        char name[] = "/tmp/talvo-fuzz-XXXXXX";
        return std::string(mkdtemp(name)) + "/";
    }();
    return dir;
}

void Write(const std::string &path, const std::string &bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

void ReadEverything(TDbCursor &c)
{
    for (c.First(); !c.Eof(); c.Next())
        for (const TDbFieldDef &f : c.Fields()) {
            try {
                TDbField field = c.FieldByName(f.Name);
                field.AsString();
                field.IsNull();
            } catch (const EDbError &) {
            }
        }
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
    std::string dbf = rest.substr(0, dbfLen), fpt = rest.substr(dbfLen, fptLen), cdx = rest.substr(dbfLen + fptLen);

    try {
        ReadCdx(cdx, [](const std::string &) { return ' '; });
    } catch (const EDbError &) {
    }
    Write(Dir() + "t.dbf", dbf);
    Write(Dir() + "t.fpt", fpt);
    Write(Dir() + "t.cdx", cdx);
    try {
        TDbCursor c;
        c.DatabaseName = Dir();
        c.TableName = "t";
        c.Open();
        ReadEverything(c);
        c.SetFilter("Id=1 AND Idf=2");
        c.SetFilter("");
        for (const TDbFieldDef &f : c.Fields())
            if (c.Locate({{f.Name, "1"}}))
                break;
    } catch (const EDbError &) {
    }
    return 0;
}
