// Damaged table, memo and index files must give an error or data, never a
// crash, a hang or a read past a buffer. Input: two little-endian 16-bit
// lengths of the table and memo parts, then the table, memo and index bytes.
#include "Cdx.h"
#include "Cursor.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// A scratch folder per input, removed when the input is done.
class TScratch {
public:
    TScratch()
    {
        char name[] = "/tmp/talvo-fuzz-XXXXXX";
        if (mkdtemp(name))
            dir_ = std::string(name) + "/";
    }
    ~TScratch()
    {
        if (!dir_.empty())
            std::filesystem::remove_all(dir_);
    }
    const std::string &Dir() const { return dir_; }

private:
    std::string dir_;
};

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
    TScratch scratch;
    const std::string &dir = scratch.Dir();
    if (dir.empty())
        return 0;
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
    return 0;
}
