// Cursors: filters, orders, locate, bookmarks, notifications and several
// cursors over one table.
#include "DbTestUtil.h"
#include "DbfFormat.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <sys/wait.h>
#include <unistd.h>

namespace {

void Add(TDbCursor &c, int idf, int idr, const char *num)
{
    c.Append();
    c.FieldByName("IDF").SetAsInteger(idf);
    if (idr >= 0)
        c.FieldByName("IDR").SetAsInteger(idr);
    c.FieldByName("NUM").SetAsString(num);
    c.Post();
}

void MakeNums(TDbCursor &c, const TempDir &dir)
{
    c.DatabaseName = dir.Path();
    c.TableName = "Nums";
    c.FieldDefs = {DbFloat("IDF"), DbFloat("IDR"), DbString("NUM", 20)};
    c.IndexDefs = {{"NUM", "NUM", false}};
    c.CreateTable();
    c.Open();
    Add(c, 1, 0, "30");
    Add(c, 1, 5, "10");
    Add(c, 2, 5, "20");
    Add(c, 1, 5, "40 ");
}

class Cursors : public ::testing::Test {
protected:
    void SetUp() override { MakeNums(c, dir); }
    TempDir dir;
    TDbCursor c;
};

} // namespace

TEST_F(Cursors, FilterExpressionsSwitchAndOrder)
{
    c.SetFilter("Idf=1");
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{1, 2, 4}));
    EXPECT_EQ(c.RecordCount(), 3);
    c.SetFilter("idr=5 and IDF=1");
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{2, 4}));
    c.SetIndexName("NUM");
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{2, 4}));
    c.SetFiltered(false);
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{2, 3, 1, 4}));
    c.SetFiltered(true);
    c.SetFilter("IDF=-7");
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_EQ(c.RecordCount(), 0);
    c.SetFilter("");
    c.SetIndexName("");
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{1, 2, 3, 4}));
    EXPECT_THROW(c.SetFilter("Idf>1"), EDbError);
    EXPECT_THROW(c.SetFilter("Nope=1"), EDbError);
    EXPECT_THROW(c.SetIndexName("NOPE"), EDbError);
    EXPECT_EQ(c.Filter(), "");
}

TEST_F(Cursors, EndsBookmarksAndLocate)
{
    c.SetIndexName("NUM");
    c.Last();
    EXPECT_EQ(c.RecNo(), 4u);
    c.Next();
    EXPECT_TRUE(c.Eof());
    EXPECT_EQ(c.RecNo(), 4u); // stays on the last row
    c.First();
    c.Prior();
    EXPECT_TRUE(c.Bof());
    EXPECT_EQ(c.RecNo(), 2u);

    // Locate: exact, case-sensitive, trailing blanks ignored, numbers as numbers.
    EXPECT_TRUE(c.Locate({{"num", "40"}}));
    EXPECT_EQ(c.RecNo(), 4u);
    TDbCursor::TBookmark mark = c.GetBookmark();
    EXPECT_TRUE(c.Locate({{"IDF", "2.0"}, {"Idr", "5"}}));
    EXPECT_EQ(c.RecNo(), 3u);
    EXPECT_FALSE(c.Locate({{"NUM", "4"}}));
    EXPECT_EQ(c.RecNo(), 3u); // unchanged when nothing matches
    EXPECT_FALSE(c.Locate({{"IDR", ""}}));
    c.GotoBookmark(mark);
    EXPECT_EQ(c.RecNo(), 4u);
    // Locate searches only what the filter shows.
    c.SetFilter("Idf=2");
    EXPECT_FALSE(c.Locate({{"NUM", "10"}}));
    EXPECT_FALSE(c.BookmarkValid(mark));
    EXPECT_THROW(c.GotoBookmark(mark), EDbError);
}

TEST_F(Cursors, PostCancelDeleteAndSharedCursors)
{
    TDbCursor other;
    OpenTable(other, dir, "nums.DBF");
    other.SetIndexName("NUM");

    c.SetIndexName("NUM");
    c.First();
    c.Edit();
    c.FieldByName("NUM").SetAsString("99");
    EXPECT_EQ(c.FieldByName("NUM").AsString(), "99");
    c.Cancel();
    EXPECT_EQ(c.FieldByName("NUM").AsString(), "10");
    c.Insert();
    c.FieldByName("NUM").SetAsString("05");
    c.Cancel();
    EXPECT_EQ(c.RecNo(), 2u);
    EXPECT_EQ(c.RecordCount(), 4);

    // Moving away posts a pending edit; the other cursor sees it at once.
    c.Edit();
    c.FieldByName("NUM").SetAsString("50");
    c.Next();
    EXPECT_EQ(c.State(), TDbCursor::dsBrowse);
    EXPECT_EQ(Walk(other), (std::vector<uint32_t>{3, 1, 4, 2}));

    // Deleting is seen everywhere; the cursor moves on, or back at the end.
    c.Last();
    c.Delete();
    EXPECT_EQ(c.RecNo(), 4u);
    EXPECT_EQ(Walk(other), (std::vector<uint32_t>{3, 1, 4}));
    c.Insert();
    c.Delete(); // drops the unposted row only
    EXPECT_EQ(other.RecordCount(), 3);
    EXPECT_THROW(c.Post(), EDbError);
}

TEST_F(Cursors, AfterScrollBeforeDeleteAndDisabling)
{
    int scrolls = 0;
    std::vector<uint32_t> deleting;
    c.AfterScroll = [&](TDbCursor &) { ++scrolls; };
    c.BeforeDelete = [&](TDbCursor &d) { deleting.push_back(d.RecNo()); };
    c.First();
    c.Next();
    c.Next();
    EXPECT_EQ(scrolls, 3);
    c.DisableControls();
    Walk(c);
    c.Delete();
    EXPECT_EQ(scrolls, 3);
    c.EnableControls();
    c.Prior();
    EXPECT_EQ(scrolls, 4);
    EXPECT_EQ(deleting, (std::vector<uint32_t>{4}));
}

TEST_F(Cursors, LocateThroughTheIndexFindsTheFirstVisibleMatch)
{
    for (int idf : {3, 4}) // records 5 and 6, both "10" like record 2
        Add(c, idf, -1, "10");
    c.GotoBookmark(2);
    c.Delete();
    const struct {
        const char *index, *filter, *num;
        uint32_t found; // 0: none
    } cases[] = {
        {"", "", "10", 5},    {"NUM", "", "10", 5},  {"", "Idf=4", "10 ", 6}, {"NUM", "Idf=1", "10", 0},
        {"", "", "40", 4},    {"NUM", "", "4", 0},   {"", "", "111111111111111111111", 0},
    };
    for (const auto &k : cases) {
        c.SetIndexName(k.index);
        c.SetFilter(k.filter);
        c.First();
        const uint32_t before = c.RecNo();
        EXPECT_EQ(c.Locate({{"NUM", k.num}}), k.found != 0) << k.index << k.filter << k.num;
        EXPECT_EQ(c.RecNo(), k.found ? k.found : before) << k.index << k.filter << k.num;
    }
    EXPECT_TRUE(c.Locate({{"NUM", "10"}, {"IDF", "4"}}));
    EXPECT_EQ(c.RecNo(), 6u);
    // By a field without an index: the first in the cursor's order.
    Add(c, 1, -1, "05");
    for (const auto &[index, found] : {std::pair{"", 1u}, std::pair{"NUM", 7u}}) {
        c.SetIndexName(index);
        EXPECT_TRUE(c.Locate({{"IDF", "1"}}));
        EXPECT_EQ(c.RecNo(), found) << index;
    }
}

// Another program changed or deleted the row while this cursor edited it
// (also in place, unseen): the post writes only the fields this edit
// changed, and into a deleted row nothing at all.
TEST_F(Cursors, AnEditWritesOnlyWhatItChangedAndNothingIntoADeletedRow)
{
    c.First();
    c.Edit();
    pid_t child = fork();
    if (child == 0) { // the other program
        TDbCursor w;
        OpenTable(w, dir, "Nums");
        w.First();
        w.Edit();
        w.FieldByName("NUM").SetAsString("31");
        w.Post();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    c.FieldByName("IDR").SetAsInteger(7);
    c.Post();
    EXPECT_EQ(Row(c, {"IDF", "IDR", "NUM"}), "1|7|31");
    // Nor goes an engine's change in place back, which no header shows.
    c.Edit();
    std::string bytes = ReadBytes(c.FileName());
    const size_t row = bytes.find("31" + std::string(18, ' ')) - c.FieldDef("NUM").Offset;
    bytes.replace(row + c.FieldDef("IDF").Offset, c.FieldDef("IDF").Size, DbfFormatNumber(3, c.FieldDef("IDF")));
    WriteBytes(c.FileName(), bytes);
    c.FieldByName("IDR").SetAsInteger(8);
    c.Post();
    EXPECT_EQ(ReadBytes(c.FileName()).substr(row + c.FieldDef("IDF").Offset, c.FieldDef("IDF").Size),
              DbfFormatNumber(3, c.FieldDef("IDF")));
    EXPECT_EQ(Row(c, {"IDF", "IDR", "NUM"}), "3|8|31");

    TDbCursor other;
    OpenTable(other, dir, "Nums");
    other.Last();
    c.Last();
    c.Edit();
    other.Delete();
    c.FieldByName("NUM").SetAsString("41");
    EXPECT_THROW(c.Post(), EDbRecordGone);
    c.Cancel();
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{1, 2, 3}));
}

// Another program moved new files over the table (as an import does): the
// open cursor reads on as it was, never the new index over its records, and
// refuses to write; a cursor opened afresh has the new table.
TEST_F(Cursors, AReplacedTableReadsOnAsItWasAndRefusesWrites)
{
    TempDir fresh;
    TDbCursor n;
    MakeNums(n, fresh);
    Add(n, 9, 0, "90");
    n.Close();
    c.SetIndexName("NUM");
    EXPECT_FALSE(c.Replaced());
    for (const char *f : {"Nums.dbf", "Nums.cdx"})
        ASSERT_EQ(std::rename(fresh.File(f).c_str(), dir.File(f).c_str()), 0);
    EXPECT_TRUE(c.Replaced());
    EXPECT_EQ(Walk(c), (std::vector<uint32_t>{2, 3, 1, 4}));
    EXPECT_THROW(Add(c, 3, 0, "50"), EDbReplaced);
    c.Cancel();
    c.First();
    EXPECT_THROW(c.Delete(), EDbReplaced);
    TDbCursor after;
    OpenTable(after, dir, "Nums");
    EXPECT_EQ(Rows(after, {"IDF", "NUM"}), "1|30;1|10;2|20;1|40;9|90;");
}
