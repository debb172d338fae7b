// A view reaches a firm's rows through the store's index and must show what
// the engine's own filter shows, in the same order, as the book changes.
#include "BookUtil.h"
#include "DbTestUtil.h"
#include "DbView.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<uint32_t> Rows(const TDbView &v)
{
    std::vector<uint32_t> rows;
    for (int i = 0; i < v.Count(); ++i)
        rows.push_back(v.RecNoAt(i));
    return rows;
}

TEST(DbView, ShowsWhatTheEngineFilterShowsInIndexOrder)
{
    TestBook b;
    std::mt19937 rnd(3);
    for (int i = 0; i < 150; ++i) {
        std::string num = std::to_string(rnd() % 20); // equal keys: ties go by record number
        b.Num(static_cast<int>(rnd() % 6), static_cast<int>(rnd() % 3), "T", num);
        b.Contact(static_cast<int>(rnd() % 6), static_cast<int>(rnd() % 3), "S" + num);
    }
    for (int i = 0; i < 4; ++i) { // a firm of a few rows: ordered by their keys, not by a walk of the index
        b.Num(9, 1, "T", std::to_string(rnd() % 20));
        b.Contact(9, 1, "S" + std::to_string(rnd() % 20));
    }
    TPhoneBookStore &s = *b.store;
    struct Case {
        TDbCursor *table;
        const char *filter;
        const char *index;
    } cases[] = {
        {&s.TableNum, "Idf=3", "NUM"},       {&s.TableNum, "Idr=1 AND Idf=2", "NUM"},
        {&s.TableNum, "Idf=4", ""},          {&s.TableNum, "", "NUM"},
        {&s.TableNum, "Idr=2", "NUM"},       {&s.TableContact, "Idf=5", "SUBJECT"},
        {&s.TableContact, "Idr=0 AND Idf=1", "DATUM"}, {&s.TableNum, "Idf=77", "NUM"},
        {&s.TableNum, "Idf=9", "NUM"},       {&s.TableContact, "Idr=1 AND Idf=9", "SUBJECT"},
    };
    for (const Case &c : cases) {
        TDbView view(*c.table, [&](const TDbCondition &cond) { return s.FirmRows(*c.table, cond); });
        view.SetIndexName(c.index);
        view.SetFilter(c.filter);
        TDbCursor engine;
        engine.DatabaseName = s.DatabaseDir;
        engine.TableName = c.table->TableName;
        engine.IndexDefs = c.table->IndexDefs;
        engine.Open();
        engine.SetIndexName(c.index);
        engine.SetFilter(c.filter);
        EXPECT_EQ(Rows(view), Walk(engine)) << c.filter << " by " << c.index;
        // Deleting through the store keeps the firm index exact.
        if (!view.IsEmpty()) {
            view.MoveTo(view.Count() / 2);
            s.Delete(*c.table);
            view.Refresh();
            engine.SetFilter(c.filter);
            EXPECT_EQ(Rows(view), Walk(engine)) << "after a delete, " << c.filter;
        }
    }
}

TEST(DbView, MovesStayInsideTheRowsAndTellWhereTheyAre)
{
    TestBook b;
    for (int i = 0; i < 5; ++i)
        b.Num(i % 2, 0, "T", std::to_string(5 - i));
    TDbView view(b.store->TableNum, [&](const TDbCondition &c) { return b.store->FirmRows(b.store->TableNum, c); });
    int scrolls = 0;
    view.AfterScroll = [&] { ++scrolls; };
    view.SetIndexName("NUM");
    view.SetFilter("Idf=0"); // numbers 5, 3, 1 in records 1, 3, 5
    EXPECT_EQ(Rows(view), (std::vector<uint32_t>{5, 3, 1}));
    view.Last();
    view.Next();
    EXPECT_EQ(view.Row(), 2) << "next on the last row stays";
    view.First();
    view.Prior();
    EXPECT_EQ(b.store->TableNum.RecNo(), 5u);
    EXPECT_FALSE(view.MoveToRecNo(2)) << "a row of another firm";
    EXPECT_GE(scrolls, 2);
    EXPECT_THROW(view.SetFilter("Name LIKE x"), EDbError);
    EXPECT_EQ(view.Filter(), "Idf=0") << "a filter it cannot use changes nothing";
    view.SetFilter("Idf=5");
    EXPECT_FALSE(view.HasRow()) << "no row of the table is current for the grid";
}

} // namespace
