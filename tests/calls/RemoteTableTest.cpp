// The remote table scheme against a recording sender: which records are asked
// for, what each cell shows, how answers move the selection, column definitions.
#include "IniFile.h"
#include "RemoteTable.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Rig {
    std::vector<std::string> sent;
    bool lastTop = false;
    TRemoteTable table{[this](const std::string &act, const std::string &value) { sent.push_back(act + ":" + value); },
                       [](const std::string &number) { return number == "602" ? std::string("Novak (Firm)") : ""; }};
    Rig(bool top = false) : lastTop(top)
    {
        table.LastTop = [this] { return lastTop; };
        table.Columns = ParseColumnDefs({{"1", "RecNo,60,No"}, {"2", "SOO_Line,100,Cid"}, {"3", "DBF:Nam:SOO_Line,9,Name"}});
        table.Shown = 3;
    }
    TRemoteTable::TChange Answer(const std::string &attrs, int selected = -1)
    {
        return table.ProcessAnswer("<ans Type=\"HIST\" Handle=\"5\" " + attrs + "/>", selected);
    }
    void Rec(int n, const std::string &number = "")
    {
        Answer("Act=\"REC\" RecNo=\"" + std::to_string(n) + "\" SOO_Line=\"" + (number.empty() ? "n" + std::to_string(n) : number) + "\"");
    }
    // Paints every cell of the rows from..to as a view does.
    std::vector<std::string> Paint(int from, int to)
    {
        std::vector<std::string> shown;
        for (int r = from; r <= to; ++r)
            for (int c = 1; c <= table.Shown; ++c) {
                table.RowPainted(r);
                shown.push_back(table.CellText(c, r));
            }
        sent.swap(requests);
        return shown;
    }
    std::vector<std::string> requests;
};

TEST(RemoteTable, EmptySelectionShowsDashesAndAsksNothing)
{
    Rig rig;
    rig.table.SendFilter("(LINE='21')");
    EXPECT_EQ(rig.sent, std::vector<std::string>{"SET:(LINE='21')"});
    rig.Answer("Act=\"SET\" RecordCount=\"0\"");
    EXPECT_EQ(rig.table.LastRow(), 1);
    rig.sent.clear();
    EXPECT_EQ(rig.Paint(1, 1), (std::vector<std::string>{"-", "-", "-"}));
    EXPECT_TRUE(rig.requests.empty());
    // New records after an empty selection make the rows ask.
    rig.Answer("Act=\"CHG\" RecordCount=\"2\"", 1);
    rig.Paint(1, 2);
    EXPECT_EQ(rig.requests, (std::vector<std::string>{"REC:1", "REC:2"}));
}

TEST(RemoteTable, OneRequestPerPaintedRowInEitherOrder)
{
    struct Case {
        bool lastTop;
        int count;
        std::vector<std::string> firstRows; // asked for rows 1..3
    } cases[] = {{false, 5, {"REC:1", "REC:2", "REC:3"}}, {true, 5, {"REC:5", "REC:4", "REC:3"}},
                 {false, -1, {"REC:1"}}};
    for (const Case &c : cases) {
        Rig rig(c.lastTop);
        rig.Answer("Act=\"SET\"" + (c.count < 0 ? std::string() : " RecordCount=\"" + std::to_string(c.count) + "\""));
        rig.Paint(1, std::min(3, rig.table.LastRow()));
        EXPECT_EQ(rig.requests, c.firstRows) << c.lastTop;
        // Painting the rows again before their answers arrive asks nothing.
        rig.Paint(1, std::min(3, rig.table.LastRow()));
        EXPECT_TRUE(rig.requests.empty());
    }
    Rig top(true);
    top.Answer("Act=\"SET\" RecordCount=\"5\"");
    top.Rec(5, "602");
    EXPECT_EQ(top.Paint(1, 1), (std::vector<std::string>{"5", "602", "Novak (Firm)"}));
    EXPECT_TRUE(top.requests.empty());
}

TEST(RemoteTable, ARecordWhoseAnswerIsOverdueIsAskedAgainWhenPainted)
{
    // Row 1 unanswered, painted last or before an answered row.
    for (int last : {1, 2}) {
        Rig rig;
        qint64 now = 0;
        rig.table.Now = [&] { return now; };
        rig.Answer("Act=\"SET\" RecordCount=\"3\"");
        auto paint = [&] {
            rig.sent.clear();
            rig.Paint(1, last);
            return rig.requests;
        };
        paint();
        rig.Rec(2);
        now += TRemoteTable::kRetryMs - 1;
        EXPECT_TRUE(paint().empty());
        now += 1;
        EXPECT_EQ(paint(), std::vector<std::string>{"REC:1"}) << last;
        EXPECT_TRUE(paint().empty());
    }
}

TEST(RemoteTable, CacheKeepsTheLast21AnswersAndReplacesInPlace)
{
    Rig rig;
    rig.Answer("Act=\"SET\" RecordCount=\"100\"");
    for (int n = 1; n <= 21; ++n)
        rig.Rec(n);
    rig.Rec(5, "again");
    EXPECT_EQ(rig.table.CacheSize(), 20u) << "the oldest goes first, also when a cached record is stored";
    EXPECT_EQ(rig.table.Cached(1), "");
    EXPECT_NE(rig.table.Cached(5).find("again"), std::string::npos);
    rig.Rec(22);
    EXPECT_EQ(rig.table.CacheSize(), 21u);
    rig.Rec(23);
    EXPECT_EQ(rig.table.Cached(2), "");
    EXPECT_EQ(rig.table.CacheSize(), 21u);
    // A row whose answer fell out is asked for again; a cached one is not.
    rig.Paint(1, 2);
    EXPECT_EQ(rig.requests, (std::vector<std::string>{"REC:1", "REC:2"}));
    rig.Paint(22, 22);
    EXPECT_TRUE(rig.requests.empty());
}

TEST(RemoteTable, RecordsOutsideTheSelectionAreDropped)
{
    Rig rig;
    rig.Answer("Act=\"SET\" RecordCount=\"3\"");
    for (const char *bad : {"RecNo=\"0\"", "RecNo=\"4\"", "RecNo=\"-7\"", "RecNo=\"x\"", ""})
        EXPECT_EQ(rig.Answer(std::string("Act=\"REC\" SOO_Line=\"1\" ") + bad).What, TRemoteTable::TChange::None) << bad;
    EXPECT_EQ(rig.table.CacheSize(), 0u);
    EXPECT_EQ(rig.Answer("Act=\"XYZ\" RecordCount=\"9\"").What, TRemoteTable::TChange::None);
    EXPECT_EQ(rig.table.LastRow(), 3);
}

TEST(RemoteTable, NewRecordsMoveTheSelectionWithItsRecord)
{
    struct Case {
        bool lastTop;
        int before, selected, after;
        int select, shift;
    } cases[] = {
        {true, 5, 3, 6, 4, 1},  {true, 5, 1, 6, 1, 0},   {true, 5, 3, 8, 6, 3},
        {false, 5, 5, 6, 6, 0}, {false, 5, 2, 6, 2, 0},
    };
    for (const Case &c : cases) {
        Rig rig(c.lastTop);
        rig.Answer("Act=\"SET\" RecordCount=\"" + std::to_string(c.before) + "\"");
        auto change = rig.Answer("Act=\"CHG\" RecordCount=\"" + std::to_string(c.after) + "\"", c.selected);
        EXPECT_EQ(change.Select, c.select) << c.lastTop << " " << c.selected;
        EXPECT_EQ(change.TopShift, c.shift) << c.lastTop << " " << c.selected;
    }
}

TEST(RemoteTable, RowsKeepTheirRecordsTextsWhenNewRecordsArriveOnTop)
{
    Rig rig(true);
    rig.Answer("Act=\"SET\" RecordCount=\"3\"");
    for (int n = 1; n <= 3; ++n)
        rig.Rec(n);
    rig.Answer("Act=\"CHG\" RecordCount=\"4\"", 2);
    // Record 2 moved from row 2 to row 3; row 1 is the new record 4.
    EXPECT_EQ(rig.table.StoredCell(2, 3), "n2");
    EXPECT_EQ(rig.table.StoredCell(2, 1), "");
    rig.Paint(1, 1);
    EXPECT_EQ(rig.requests, std::vector<std::string>{"REC:4"});
    // Only a bounded number of records keeps its texts.
    rig.Answer("Act=\"SET\" RecordCount=\"100000\"");
    for (int n = 1; n <= 3000; ++n)
        rig.Rec(n);
    EXPECT_EQ(rig.table.KeptRecords(), TRemoteTable::kKeptRecords);
}

TEST(RemoteTable, FilterConditions)
{
    const QDate today(2006, 8, 9);
    struct Case {
        std::string got, want;
    } cases[] = {
        {OwnLineCondition("21"), "(LINE='21')"},
        {TodayCondition(today), "DATUM='8/9/2006'"},
        {LastDaysCondition(7, today), "(DATUM BETWEEN '8/2/2006' and '8/9/2006')"},
        {LastDaysCondition(30, today), "(DATUM BETWEEN '7/10/2006' and '8/9/2006')"},
        {LinesCondition("21, 22"), "((LINE='21') or (LINE='22'))"},
        {LinesCondition(" 21 ,, "), "(LINE='21')"},
        {LinesCondition(""), ""},
        {JoinConditions({"", "(LINE='21')", "", LastDaysCondition(7, today)}),
         "(LINE='21') and (DATUM BETWEEN '8/2/2006' and '8/9/2006')"},
        {JoinConditions({"", ""}), ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST(RemoteTable, ColumnDefsFromTheIniFile)
{
    TempDir dir;
    WriteBytes(dir.File("t.ini"), "[Over]\r\n2=Cid,80,Number\r\n1=\r\n9=Extra,x,A, b\r\n[Only]\r\n7=Txt,20,T\r\nz=Q,5,Q\r\n");
    TIniFile ini(dir.File("t.ini"));
    const auto defaults = ParseColumnDefs({{"1", "RecNo,60,No"}, {"2", "SOO_Line,100,Cid"}, {"3", "Date,53,Date"}});
    struct Case {
        const char *section;
        bool overlay;
        std::vector<std::string> columns; // key=field
    } cases[] = {
        {"Over", true, {"2=Cid", "3=Date", "9=Extra"}},
        {"Only", false, {"7=Txt", "z=Q"}},
        {"None", false, {"1=RecNo", "2=SOO_Line", "3=Date"}},
    };
    Rig rig;
    for (const Case &c : cases) {
        rig.table.LoadColumns(ini, c.section, defaults, c.overlay);
        std::vector<std::string> columns;
        for (const TRemoteColumnDef &s : rig.table.Columns)
            columns.push_back(s.Key + "=" + s.Field);
        EXPECT_EQ(columns, c.columns) << c.section;
    }
    rig.table.LoadColumns(ini, "Over", defaults, true);
    EXPECT_EQ(rig.table.Columns[2].Width, 60);
    EXPECT_EQ(rig.table.Columns[2].Title, "A, b");
    rig.table.Shown = 2;
    rig.table.SaveColumns(ini, "Over", {70});
    EXPECT_EQ(ini.ReadSectionValues("Over"),
              (std::vector<std::pair<std::string, std::string>>{{"2", "Cid,70,Number"}, {"3", "Date,53,Date"}}));
}

} // namespace
