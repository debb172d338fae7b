// Tables we create read back as written, by us and in the file layout.
#include "DbTestUtil.h"
#include "DbfFormat.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

void MakeTable(TDbCursor &c, const TempDir &dir, const std::string &name)
{
    c.DatabaseName = dir.Path();
    c.TableName = name;
    c.FieldDefs = {DbFloat("ID"), DbString("NAME", 10), DbBoolean("OK"), DbDate("DATUM"), DbMemo("MEMO"),
                   {"AMOUNT", 'N', 8, 2, 0}};
    c.IndexDefs = {{"ID", "ID", false}, {"NAME", "NAME", false}, {"DATUM", "DATUM", false}};
    c.CreateTable();
    c.Open();
}

} // namespace

TEST(RoundTrip, EveryFieldTypeNullsAndLimits)
{
    TempDir dir;
    {
        TDbCursor c;
        MakeTable(c, dir, "Mixed");
        EXPECT_TRUE(c.IsEmpty());
        EXPECT_TRUE(c.Eof() && c.Bof());
        c.Append();
        c.FieldByName("id").SetAsInteger(-2000000000);
        c.FieldByName("NAME").SetAsString("\x8Ailhav\xFD \xC8" "ech long name");
        c.FieldByName("OK").SetAsBoolean(true);
        c.FieldByName("DATUM").SetAsDate(QDate(2026, 2, 28));
        c.FieldByName("MEMO").SetAsString(std::string(700, 'm'));
        c.FieldByName("AMOUNT").SetAsFloat(-12.5);
        c.Post();
        c.Append(); // all null
        c.Post();
        c.Append();
        c.FieldByName("ID").SetAsInteger(0);
        c.FieldByName("OK").SetAsBoolean(false);
        c.Post();
    }
    TDbCursor c;
    OpenTable(c, dir, "MIXED.DBF");
    ASSERT_EQ(c.RecordCount(), 3);
    c.First();
    EXPECT_EQ(c.FieldByName("ID").AsInteger(), -2000000000);
    EXPECT_EQ(c.FieldByName("NAME").AsString(), "\x8Ailhav\xFD \xC8" "e"); // cut to the width
    EXPECT_TRUE(c.FieldByName("OK").AsBoolean());
    EXPECT_EQ(c.FieldByName("DATUM").AsDate(), QDate(2026, 2, 28));
    EXPECT_EQ(c.FieldByName("MEMO").AsString(), std::string(700, 'm'));
    EXPECT_DOUBLE_EQ(c.FieldByName("AMOUNT").AsFloat(), -12.5);
    c.Next();
    for (const char *f : {"ID", "NAME", "OK", "DATUM", "MEMO", "AMOUNT"})
        EXPECT_TRUE(c.FieldByName(f).IsNull()) << f;
    EXPECT_EQ(Row(c, {"ID", "NAME", "OK", "DATUM", "MEMO", "AMOUNT"}), "|||||");
    c.Next();
    EXPECT_FALSE(c.FieldByName("ID").IsNull());
    EXPECT_EQ(Row(c, {"ID", "OK"}), "0|False");

    // Locate finds nulls by an empty value, and nothing by a value that is no number.
    EXPECT_FALSE(c.Locate({{"ID", "five"}}));
    EXPECT_TRUE(c.Locate({{"ID", ""}, {"OK", ""}, {"DATUM", ""}}));
    EXPECT_EQ(c.RecNo(), 2u);
    EXPECT_TRUE(c.Locate({{"DATUM", "2026-02-28"}, {"OK", "T"}, {"NAME", "\x8Ailhav\xFD \xC8" "e  "}}));
    EXPECT_EQ(c.RecNo(), 1u);

    // A null number sorts as 0, -2000000000 before everything.
    c.SetIndexName("ID");
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_THROW(c.FieldByName("NOPE"), EDbError);
    EXPECT_THROW(c.FieldByName("ID").SetAsInteger(1), EDbError); // not editing
}

TEST(RoundTrip, FileLayoutIsFoxProTwo)
{
    TempDir dir;
    {
        TDbCursor c;
        MakeTable(c, dir, "Layout");
        c.Append();
        c.FieldByName("ID").SetAsInteger(5);
        c.FieldByName("MEMO").SetAsString("abc");
        c.Post();
        c.Edit();
        c.FieldByName("MEMO").SetAsString("changed");
        c.Post();
    }
    std::string dbf = ReadBytes(dir.File("Layout.dbf"));
    TDbfHeader h = ParseDbfHeader(dbf, dbf.size());
    EXPECT_EQ(h.Version, 0xF5);
    EXPECT_EQ(h.CodePage, 0xC8);
    EXPECT_EQ(h.RecordCount, 1u);
    EXPECT_EQ(dbf[h.HeaderLen - 2], '\x0D');
    EXPECT_EQ(dbf.back(), '\x1A');
    EXPECT_EQ(dbf.size(), h.HeaderLen + h.RecordLen + 1u);
    EXPECT_EQ(dbf.substr(h.HeaderLen + 1, 20), std::string(19, ' ') + "5");
    // The changed memo went to a new block; the free pointer is past it.
    std::string fpt = ReadBytes(dir.File("Layout.fpt"));
    EXPECT_EQ(fpt.substr(0, 8), std::string("\0\0\0\x0A\0\0\0\x40", 8));
    EXPECT_EQ(fpt.size(), 10u * 64);
    EXPECT_EQ(dbf.substr(h.HeaderLen + 1 + 20 + 10 + 1 + 8, 10), "         9");
    EXPECT_EQ(fpt.substr(9 * 64, 15), std::string("\0\0\0\x01\0\0\0\x07" "changed", 15));

    // Tables without memos are version 3 and have no memo file.
    TDbCursor plain;
    plain.DatabaseName = dir.Path();
    plain.TableName = "Plain";
    plain.FieldDefs = {DbString("A", 3)};
    plain.CreateTable();
    EXPECT_EQ(ReadBytes(dir.File("Plain.dbf"))[0], '\x03');
    EXPECT_TRUE(ReadBytes(dir.File("Plain.fpt")).empty());
    EXPECT_TRUE(plain.Exists());
    plain.DeleteTable();
    EXPECT_FALSE(plain.Exists());

    // Deleting takes the index and memo files along.
    TDbCursor layout;
    layout.DatabaseName = dir.Path();
    layout.TableName = "LAYOUT";
    layout.DeleteTable();
    for (const char *f : {"Layout.dbf", "Layout.cdx", "Layout.fpt"})
        EXPECT_FALSE(std::filesystem::exists(dir.File(f))) << f;
    EXPECT_THROW(layout.Open(), EDbError);
}
