#include "DbTestUtil.h"

#include "Cdx.h"
#include "DbTypes.h"

#include <gtest/gtest.h>

#include <filesystem>

std::string FixturePath(const std::string &name)
{
    return std::string(TALVO_FIXTURES_DIR) + "/xbase/" + name;
}

void CopyFixtures(const TempDir &dir)
{
    for (const auto &e : std::filesystem::directory_iterator(FixturePath("")))
        if (e.path().extension() != ".md") {
            std::filesystem::copy_file(e.path(), dir.File(e.path().filename().string()));
            std::filesystem::permissions(dir.File(e.path().filename().string()), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
        }
}

std::vector<uint32_t> Walk(TDbCursor &c)
{
    std::vector<uint32_t> out;
    for (c.First(); !c.Eof(); c.Next())
        out.push_back(c.RecNo());
    return out;
}

std::vector<uint32_t> CdxOrder(const std::string &cdxPath, const std::string &tag)
{
    std::vector<TCdxTag> tags = ReadCdx(ReadBytes(cdxPath), [](const std::string &expr) {
        return expr == "ID" || expr == "DATUM" || expr == "IDF" ? '\0' : ' ';
    });
    for (const TCdxTag &t : tags)
        if (DbSameName(t.Name, tag))
            return t.Recnos;
    return {};
}

void ExpectWalksBothWays(TDbCursor &c, const std::string &tag, const std::vector<uint32_t> &recnos)
{
    c.SetIndexName(tag);
    std::vector<uint32_t> live, back;
    for (uint32_t r : recnos)
        if (c.BookmarkValid(r))
            live.push_back(r);
    EXPECT_EQ(Walk(c), live) << tag;
    for (c.Last(); !c.Bof(); c.Prior())
        back.insert(back.begin(), c.RecNo());
    EXPECT_EQ(back, live) << tag;
    c.SetIndexName("");
}

void OpenTable(TDbCursor &c, const TempDir &dir, const std::string &name)
{
    c.DatabaseName = dir.Path();
    c.TableName = name;
    c.Open();
}

std::string Row(TDbCursor &c, std::initializer_list<const char *> fields)
{
    std::string row, sep;
    for (const char *f : fields)
        row += sep + c.FieldByName(f).AsString(), sep = "|";
    return row;
}

std::string Rows(TDbCursor &c, std::initializer_list<const char *> fields)
{
    std::string rows;
    for (c.First(); !c.Eof(); c.Next())
        rows += Row(c, fields) + ";";
    return rows;
}
