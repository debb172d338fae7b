// Tables written by another xBase engine read as that engine wrote them.
#include "Cdx.h"
#include "DbTestUtil.h"
#include "Table.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(FixtureTables, ValuesMemosAndTheDeletedRow)
{
    TempDir dir;
    CopyFixtures(dir);
    TDbCursor c, r, n, k, a;
    OpenTable(c, dir, "Firms");
    EXPECT_EQ(c.RecordCount(), 3);
    c.First();
    EXPECT_EQ(Row(c, {"id", "NAME", "Add_City", "ADD_ZIP", "ICO", "MEMO", "DEALER", "SUPPLIER", "CUSTOMER"}),
              "1|\xC8" "ern\xE1 Hora s.r.o.|Chrudim|53701|12345678|Pozn\xE1mka k firm\xEC\r\ndruh\xFD \xF8\xE1" "dek|"
              "True|False|True");
    c.Next();
    EXPECT_EQ(Row(c, {"ID", "NAME", "ADD_CITY", "MEMO"}), "7|Hradec Trade|Hradec Kr\xE1lov\xE9|");
    c.Next();
    EXPECT_EQ(Row(c, {"NAME", "MEMO"}), "Ivan\xE8ice Ml\xFDn|" + std::string(700, 'x'));
    // The deleted firm is hidden, also from locate.
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_FALSE(c.Locate({{"ID", "41"}}));
    EXPECT_FALSE(c.BookmarkValid(4));

    OpenTable(r, dir, "REPRES.DBF");
    EXPECT_EQ(Rows(r, {"TITLE", "NAME", "SURNAME", "FCE", "MUZ", "MEMO", "TITUL", "IDF"}),
              "Ing.|Jan|Nov\xE1k|jednatel|True|Repres memo||1;|Eva|Dvo\xF8\xE1kov\xE1||False||Ph.D.|7;");
    OpenTable(n, dir, "Nums");
    EXPECT_EQ(Rows(n, {"IDF", "IDR", "TYPE", "NUM"}),
              "1|0|T|0465123456;1|1|M|0602123456;7|2|L|21;7|0|F|+420495000111;3|0|T|00441234567890;");
    OpenTable(k, dir, "Contacts");
    EXPECT_EQ(Rows(k, {"DATUM", "SUBJECT", "MEMO", "CHECKED", "IDR"}),
              "2026-11-05|Sch\xF9zka|Visit notes|True|1;2026-01-15|Offer||False|0;");
    OpenTable(a, dir, "Autosn");
    EXPECT_EQ(Rows(a, {"ID", "NAME", "NUMBER", "ATTEMPTS", "NOTE"}),
              "0|Alpha|123|0|note;-2000000000|Beta|456|0|;3|Gamma|789|2|x;");
}

TEST(FixtureTables, IndexFilesGiveTheListedOrders)
{
    EXPECT_EQ(CdxOrder(FixturePath("Firms.cdx"), "NAME"), (std::vector<uint32_t>{4, 2, 3, 1}));
    EXPECT_EQ(CdxOrder(FixturePath("Firms.cdx"), "ADD_ZIP"), (std::vector<uint32_t>{4, 2, 1, 3}));
    EXPECT_EQ(CdxOrder(FixturePath("Repres.cdx"), "SURNAME"), (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(CdxOrder(FixturePath("Nums.cdx"), "NUM"), (std::vector<uint32_t>{4, 5, 1, 2, 3}));
    EXPECT_EQ(CdxOrder(FixturePath("Contacts.cdx"), "DATUM"), (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(CdxOrder(FixturePath("Autosn.cdx"), "ID"), (std::vector<uint32_t>{2, 1, 3}));

    // The cursors give the same orders in every tag, without the deleted firm.
    TempDir dir;
    CopyFixtures(dir);
    const std::pair<const char *, std::vector<const char *>> tables[] = {
        {"Firms", {"NAME", "ICO", "DIC", "ADD_CITY", "ADD_ZIP"}},
        {"Repres", {"ID", "SURNAME", "NAME"}},
        {"Nums", {"NUM"}},
        {"Contacts", {"SUBJECT", "DATUM"}},
        {"Autosn", {"ID"}},
    };
    for (const auto &[table, tags] : tables) {
        TDbCursor c;
        OpenTable(c, dir, table);
        for (const char *tag : tags)
            ExpectWalksBothWays(c, tag, CdxOrder(dir.File(std::string(table) + ".cdx"), tag));
    }
    TDbCursor f;
    OpenTable(f, dir, "Firms");
    f.SetIndexName("name");
    EXPECT_EQ(Walk(f), (std::vector<uint32_t>{2, 3, 1}));
}

TEST(FixtureTables, OurIndexFilesMatchTheOtherEnginesByteForByte)
{
    TempDir dir;
    CopyFixtures(dir);
    for (const char *name : {"Firms", "Repres", "Nums", "Contacts", "Autosn"}) {
        std::string theirs = ReadBytes(dir.File(std::string(name) + ".cdx"));
        TDbCursor c;
        OpenTable(c, dir, name);
        // Opening found the index current and left it alone.
        EXPECT_EQ(ReadBytes(dir.File(std::string(name) + ".cdx")), theirs) << name;
        std::string ours = WriteCdx(TDbTable::Acquire(c.FileName(), {})->CdxTags());
        ASSERT_EQ(ours.size(), theirs.size()) << name;
        // Bytes 20..23 of the header are the other engine's private mark.
        theirs.replace(20, 4, 4, '\0');
        EXPECT_EQ(ours, theirs) << name;
    }
}

// Tags our definitions do not name are kept and kept current; a unique order
// lists what the index holds; temporary index copies of a crash are removed.
TEST(FixtureTables, OtherTagsUniqueOrderAndLeftovers)
{
    TempDir dir;
    CopyFixtures(dir);
    for (const char *f : {"Firms.cdx.Ab12Cd", "Firms.cdx.keep"})
        WriteBytes(dir.File(f), "x");
    TDbCursor f, r;
    f.IndexDefs = {{"NAME", "XNAME", false}};
    OpenTable(f, dir, "Firms");
    EXPECT_FALSE(std::filesystem::exists(dir.File("Firms.cdx.Ab12Cd")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("Firms.cdx.keep")));
    f.Append();
    f.FieldByName("ADD_ZIP").SetAsString("99999");
    f.Post();
    EXPECT_EQ(CdxOrder(dir.File("Firms.cdx"), "ADD_ZIP"), (std::vector<uint32_t>{4, 2, 1, 3, 5}));
    for (const char *tag : {"NAME", "ICO", "DIC", "ADD_CITY"})
        EXPECT_EQ(CdxOrder(dir.File("Firms.cdx"), tag).size(), 5u) << tag;

    OpenTable(r, dir, "Repres");
    for (int id : {1, 0, 2}) {
        r.Append();
        r.FieldByName("ID").SetAsInteger(id);
        r.Post();
    }
    r.SetIndexName("ID");
    EXPECT_EQ(Walk(r), (std::vector<uint32_t>{4, 1, 2}));
    EXPECT_EQ(r.RecordCount(), 3);
    EXPECT_EQ(CdxOrder(dir.File("Repres.cdx"), "ID"), (std::vector<uint32_t>{4, 1, 2}));
    // The holder of a key gives it up: the next record of that key takes its place.
    r.First();
    r.Next();
    r.Edit();
    r.FieldByName("ID").SetAsInteger(9);
    r.Post();
    EXPECT_EQ(Walk(r), (std::vector<uint32_t>{4, 3, 2, 1}));
    EXPECT_EQ(CdxOrder(dir.File("Repres.cdx"), "ID"), (std::vector<uint32_t>{4, 3, 2, 1}));
}

TEST(FixtureTables, TagOnAKeyWeCannotComputeStaysAsItIs)
{
    TempDir dir;
    CopyFixtures(dir);
    std::vector<TCdxTag> tags = ReadCdx(ReadBytes(dir.File("Nums.cdx")), [](const std::string &) { return ' '; });
    TCdxTag odd = tags[0];
    odd.Name = "ODD";
    odd.Expression = "UPPER(NUM)";
    tags.push_back(odd);
    WriteBytes(dir.File("Nums.cdx"), WriteCdx(tags));
    TDbCursor n;
    n.IndexDefs = {{"NUM", "NUM", false}};
    OpenTable(n, dir, "Nums");
    n.Append();
    n.FieldByName("NUM").SetAsString("1");
    n.Post();
    EXPECT_THROW(n.SetIndexName("ODD"), EDbError);
    EXPECT_EQ(CdxOrder(dir.File("Nums.cdx"), "ODD"), odd.Recnos);
    EXPECT_EQ(CdxOrder(dir.File("Nums.cdx"), "NUM"), (std::vector<uint32_t>{4, 5, 1, 2, 6, 3}));
}
