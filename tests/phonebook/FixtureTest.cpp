// Tables written by another xBase engine read as that engine wrote them.
#include "Cdx.h"
#include "DbTestUtil.h"
#include "Table.h"

#include <gtest/gtest.h>

namespace {

std::string Str(TDbCursor &c, const char *field) { return c.FieldByName(field).AsString(); }

} // namespace

TEST(FixtureTables, FirmsValuesMemosAndDeletedRow)
{
    TempDir dir;
    CopyFixtures(dir);
    TDbCursor c;
    OpenTable(c, dir, "Firms");
    EXPECT_EQ(c.RecordCount(), 3);
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{1, 2, 3}));
    c.First();
    EXPECT_EQ(c.FieldByName("id").AsInteger(), 1);
    EXPECT_EQ(Str(c, "NAME"), "\xC8" "ern\xE1 Hora s.r.o.");
    EXPECT_EQ(Str(c, "Add_City"), "Chrudim");
    EXPECT_EQ(Str(c, "ADD_ZIP"), "53701");
    EXPECT_EQ(Str(c, "ICO"), "12345678");
    EXPECT_EQ(Str(c, "MEMO"), "Pozn\xE1mka k firm\xEC\r\ndruh\xFD \xF8\xE1" "dek");
    EXPECT_TRUE(c.FieldByName("DEALER").AsBoolean());
    EXPECT_FALSE(c.FieldByName("SUPPLIER").AsBoolean());
    EXPECT_TRUE(c.FieldByName("CUSTOMER").AsBoolean());
    c.Next();
    EXPECT_EQ(c.FieldByName("ID").AsInteger(), 7);
    EXPECT_EQ(Str(c, "NAME"), "Hradec Trade");
    EXPECT_EQ(Str(c, "ADD_CITY"), "Hradec Kr\xE1lov\xE9");
    EXPECT_EQ(Str(c, "MEMO"), "");
    c.Next();
    EXPECT_EQ(Str(c, "NAME"), "Ivan\xE8ice Ml\xFDn");
    EXPECT_EQ(Str(c, "MEMO"), std::string(700, 'x'));
    // The deleted firm is hidden, also from locate.
    EXPECT_FALSE(c.Locate({{"ID", "41"}}));
    EXPECT_FALSE(c.BookmarkValid(4));
}

TEST(FixtureTables, RepresNumsContactsAutosnValues)
{
    TempDir dir;
    CopyFixtures(dir);
    TDbCursor r, n, k, a;
    OpenTable(r, dir, "REPRES.DBF");
    r.First();
    EXPECT_EQ(Str(r, "TITLE") + "|" + Str(r, "NAME") + "|" + Str(r, "SURNAME") + "|" + Str(r, "FCE"),
              "Ing.|Jan|Nov\xE1k|jednatel");
    EXPECT_TRUE(r.FieldByName("MUZ").AsBoolean());
    EXPECT_EQ(Str(r, "MEMO"), "Repres memo");
    r.Next();
    EXPECT_EQ(Str(r, "SURNAME") + "|" + Str(r, "TITUL") + "|" + Str(r, "IDF"), "Dvo\xF8\xE1kov\xE1|Ph.D.|7");
    EXPECT_FALSE(r.FieldByName("MUZ").AsBoolean());

    OpenTable(n, dir, "Nums");
    std::string nums;
    for (n.First(); !n.Eof(); n.Next())
        nums += Str(n, "IDF") + "," + Str(n, "IDR") + "," + Str(n, "TYPE") + "," + Str(n, "NUM") + ";";
    EXPECT_EQ(nums, "1,0,T,0465123456;1,1,M,0602123456;7,2,L,21;7,0,F,+420495000111;3,0,T,00441234567890;");

    OpenTable(k, dir, "Contacts");
    k.First();
    EXPECT_EQ(k.FieldByName("DATUM").AsDate(), QDate(2026, 11, 5));
    EXPECT_EQ(Str(k, "SUBJECT"), "Sch\xF9zka");
    EXPECT_EQ(Str(k, "MEMO"), "Visit notes");
    EXPECT_TRUE(k.FieldByName("CHECKED").AsBoolean());
    k.Next();
    EXPECT_EQ(k.FieldByName("DATUM").AsDate(), QDate(2026, 1, 15));
    EXPECT_EQ(Str(k, "IDR") + "|" + Str(k, "SUBJECT"), "0|Offer");

    OpenTable(a, dir, "Autosn");
    std::string rows;
    for (a.First(); !a.Eof(); a.Next())
        rows += Str(a, "ID") + "," + Str(a, "NAME") + "," + Str(a, "NUMBER") + "," + Str(a, "ATTEMPTS") + ","
                + Str(a, "NOTE") + ";";
    EXPECT_EQ(rows, "0,Alpha,123,0,note;-2000000000,Beta,456,0,;3,Gamma,789,2,x;");
}

TEST(FixtureTables, IndexFilesGiveTheListedOrders)
{
    EXPECT_EQ(CdxOrder(FixturePath("Firms.cdx"), "NAME"), (std::vector<uint32_t>{4, 2, 3, 1}));
    EXPECT_EQ(CdxOrder(FixturePath("Firms.cdx"), "ADD_ZIP"), (std::vector<uint32_t>{4, 2, 1, 3}));
    EXPECT_EQ(CdxOrder(FixturePath("Repres.cdx"), "SURNAME"), (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(CdxOrder(FixturePath("Nums.cdx"), "NUM"), (std::vector<uint32_t>{4, 5, 1, 2, 3}));
    EXPECT_EQ(CdxOrder(FixturePath("Contacts.cdx"), "DATUM"), (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(CdxOrder(FixturePath("Autosn.cdx"), "ID"), (std::vector<uint32_t>{2, 1, 3}));

    // The cursors give the same orders, without the deleted firm.
    TempDir dir;
    CopyFixtures(dir);
    TDbCursor f, a;
    OpenTable(f, dir, "Firms");
    f.SetIndexName("name");
    EXPECT_EQ(Walk(f), (std::vector<uint32_t>{2, 3, 1}));
    f.SetIndexName("ADD_ZIP");
    EXPECT_EQ(Walk(f), (std::vector<uint32_t>{2, 1, 3}));
    OpenTable(a, dir, "Autosn");
    a.SetIndexName("ID");
    EXPECT_EQ(Walk(a), (std::vector<uint32_t>{2, 1, 3}));
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
