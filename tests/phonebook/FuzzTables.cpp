// Damaged table, memo and index files must give an error or data, never a
// crash, a hang or a read past a buffer. Input: two little-endian 16-bit
// lengths of the table and memo parts, then the table, memo and index bytes.
#include "Cdx.h"
#include "Cursor.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void Write(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
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
    char name[] = "/tmp/talvo-fuzz-XXXXXX"; // a folder of this input's own
    if (!mkdtemp(name))
        return 0;
    const std::string dir = std::string(name) + "/";
    Write(dir + "t.dbf", dbf);
    Write(dir + "t.fpt", fpt);
    Write(dir + "t.cdx", cdx);
    try {
        TDbCursor c;
        c.DatabaseName = dir;
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
    std::filesystem::remove_all(dir);
    return 0;
}
