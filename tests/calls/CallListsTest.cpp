// The history, accounting and log windows against the fake exchange: what
// they ask for at log-in, while painting and on their buttons.
#include "Cp1250.h"
#include "Fce.h"
#include "HistSet.h"
#include "PanelRig.h"
#include "SessionWindows.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <map>
#include <regex>

namespace {

std::string Set(const std::string &type, const std::string &filter)
{
    return "<req Type=\"" + type + "\" Handle=\"5\" Act=\"SET\" Filter=\"" + filter + "\" Order=\"\" />";
}

std::string HistRec(int n, const std::string &more = "")
{
    return Ans("HIST", "Act=\"REC\" RecNo=\"" + std::to_string(n) + "\" Date=\"09.08.06\" Time=\"14:05:33\" Line=\"21\" "
                       "SOO_Port=\"CO1\" SOO_Line=\"60200" + std::to_string(n) + "\"" + more);
}

// Record numbers asked for since the last look.
std::vector<int> Asked(PanelRig &rig)
{
    const std::string sent = rig.Sent();
    static const std::regex rec("Act=\"REC\" RecNo=\"(\\d+)\"");
    std::vector<int> out;
    for (std::sregex_iterator it(sent.begin(), sent.end(), rec), end; it != end; ++it)
        out.push_back(std::stoi((*it)[1]));
    return out;
}

void Paint(TRemoteView *w)
{
    w->show();
    w->grab();
}

struct Session {
    PanelRig rig;
    explicit Session(const std::string &ini = "") : rig(ini)
    {
        rig.Start();
        rig.LogIn();
        rig.Sent();
    }
};

TEST(CallLists, SelectionsSentAtLogIn)
{
    PanelRig rig;
    rig.Start();
    rig.Sent();
    ASSERT_TRUE(rig.LogIn());
    const std::string sent = rig.Sent();
    EXPECT_TRUE(sent.starts_with(Set("HIST", "(LINE='21')") + Set("ACC", "(LINE='21')") + Set("LOG", "")))
        << sent;
    // Titles come from the language file by their ids.
    EXPECT_EQ(FLog->Model->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), "Text");
    EXPECT_EQ(FHist->Model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Datum");
}

TEST(CallLists, RecordingDialogWritesBackOnOkOnly)
{
    struct Case {
        bool dated;
        int scheme; // combo item
        bool ok;
        bool month, week, day;
    } cases[] = {{true, 0, true, true, false, false}, {true, 1, true, true, true, false},
                 {false, 2, true, true, false, true}, {true, 2, false, false, true, false}};
    for (const Case &c : cases) {
        bool day = false, week = true, month = false, year = false;
        std::string txt = "t", wav = "w";
        TFHistSet dialog(nullptr, &day, &week, &month, &year, &txt, &wav);
        EXPECT_EQ(dialog.ComboBoxDir->ItemIndex(), 1);
        dialog.CheckBoxDir->setChecked(c.dated);
        dialog.ComboBoxDir->SetItemIndex(c.scheme);
        dialog.EditTxtPath->SetText("/rec/txt");
        if (c.ok)
            dialog.BitBtnOkClick();
        else
            dialog.reject();
        EXPECT_EQ(std::make_tuple(month, week, day, year, txt), std::make_tuple(c.month, c.week, c.day, c.ok && c.dated, std::string(c.ok ? "/rec/txt" : "t")));
    }
}

TEST(CallLists, OnlyVisibleRowsAreAskedForAndOnlyOnce)
{
    struct Case {
        const char *ini;
        int count;
    } cases[] = {{"", 0},
                 {"", 30},
                 {"[Main]\r\nLastTop=1\r\n", 30},
                 {"", 1000000},
                 {"[Main]\r\nLastTop=1\r\n", 1000000},
                 {"", 2147483647},
                 {"[Main]\r\nLastTop=1\r\n", 2147483647}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.ini) + std::to_string(c.count));
        Session s(c.ini);
        const bool lastTop = *c.ini != 0;
        s.rig.Answer(Ans("HIST", "Act=\"SET\" RecordCount=\"" + std::to_string(c.count) + "\""));
        Paint(FHist);
        const std::vector<int> asked = Asked(s.rig);
        if (c.count == 0) {
            EXPECT_TRUE(asked.empty());
            EXPECT_EQ(FHist->Table.CellText(1, 1), "-");
            continue;
        }
        const int rows = FHist->StringGrid1->BottomRow() - FHist->StringGrid1->TopRow() + 1;
        ASSERT_EQ(static_cast<int>(asked.size()), rows);
        // The newest record is selected and so in view, in the first row with LastTop.
        EXPECT_EQ(lastTop ? asked.front() : asked.back(), c.count);
        std::string answers;
        for (int n : asked)
            answers += HistRec(n);
        s.rig.Answer(answers);
        Paint(FHist);
        EXPECT_TRUE(Asked(s.rig).empty());
        EXPECT_EQ(FHist->Table.CellText(8, FHist->StringGrid1->SelectedRow()), "60200" + std::to_string(c.count));
    }
}

TEST(CallLists, TheNewestRecordStaysInFullViewWhenTheWindowShrinks)
{
    Session s;
    for (TRemoteView *w : {static_cast<TRemoteView *>(FAcc), static_cast<TRemoteView *>(FLog)}) {
        w->resize(600, 400);
        w->show();
        s.rig.Answer(Ans(w == FAcc ? "ACC" : "LOG", "Act=\"SET\" RecordCount=\"100\""));
        w->resize(600, 200);
        TRemoteGrid *grid = w->StringGrid1;
        ASSERT_TRUE(FakeExchange::WaitUntil([&] { return grid->height() < 200; }, 3000));
        EXPECT_EQ(grid->SelectedRow(), 100);
        EXPECT_EQ(grid->TopRow() + grid->viewport()->height() / grid->RowHeight() - 1, 100);
    }
}

TEST(CallLists, DefaultWidthsShowATimeADateAndTheTitleWhileSavedOnesStay)
{
    Session s("[Hist]\r\nWav=1\r\n[Acc-List]\r\n10401=Date,30,Date\r\n10402=Time,33,Time\r\n");
    ASSERT_EQ(FHist->Table.Shown, 13);
    for (TRemoteView *w : {static_cast<TRemoteView *>(FHist), static_cast<TRemoteView *>(FLog)}) {
        const QFontMetrics font = w->StringGrid1->fontMetrics();
        for (int c = 1; c <= w->Table.Shown; ++c) {
            const TRemoteColumnDef &spec = w->Table.Columns[static_cast<size_t>(c - 1)];
            const int shown = w->StringGrid1->ColumnWidth(c) - 4; // the cell's margins
            EXPECT_GE(shown, font.horizontalAdvance(ToQ(spec.Title))) << spec.Title;
            const std::map<std::string, QString> samples = {
                {"Time", "14:29:22"}, {"Date", "09.08.06"}, {"Wav", "hovor_0809_1405.wav"}};
            if (samples.count(spec.Field)) {
                EXPECT_GE(shown, font.horizontalAdvance(samples.at(spec.Field))) << spec.Field;
            }
        }
    }
    EXPECT_EQ(FAcc->StringGrid1->ColumnWidth(1), 30);
    EXPECT_EQ(FAcc->StringGrid1->ColumnWidth(2), 33);
}

TEST(CallLists, RowsInViewBeyondTheCacheSettle)
{
    Session s;
    FHist->resize(700, 60 * FHist->StringGrid1->RowHeight());
    s.rig.Answer(Ans("HIST", "Act=\"SET\" RecordCount=\"40\""));
    Paint(FHist);
    // A burst of answers evicts the first of them before their rows are drawn:
    // those are asked once more, and then the rows in view are quiet.
    std::vector<int> asked = Asked(s.rig);
    for (size_t round = 0; round < 2 && !asked.empty(); ++round) {
        std::string answers;
        for (int n : asked)
            answers += HistRec(n);
        s.rig.Answer(answers);
        asked = Asked(s.rig);
    }
    EXPECT_TRUE(asked.empty());
}

TEST(CallLists, KeysMoveThroughAMillionRecordsAskingOnlyForRowsInView)
{
    Session s;
    s.rig.Answer(Ans("HIST", "Act=\"SET\" RecordCount=\"1000000\""));
    Paint(FHist);
    TRemoteGrid *grid = FHist->StringGrid1;
    const int page = grid->viewport()->height() / grid->RowHeight();
    Asked(s.rig);
    struct Case {
        int key, row;
    } cases[] = {{Qt::Key_Home, 1}, {Qt::Key_PageDown, 1 + page}, {Qt::Key_Down, 2 + page},
                 {Qt::Key_End, 1000000}, {Qt::Key_Up, 999999}};
    for (const Case &c : cases) {
        QKeyEvent key(QEvent::KeyPress, c.key, Qt::NoModifier);
        QApplication::sendEvent(grid, &key);
        EXPECT_EQ(grid->SelectedRow(), c.row);
        Paint(FHist);
        for (int n : Asked(s.rig))
            EXPECT_TRUE(n >= grid->TopRow() && n <= grid->BottomRow()) << n;
    }
}

TEST(CallLists, FilterButtons)
{
    const std::string today = TodayCondition(QDate::currentDate());
    const std::string week = LastDaysCondition(7, QDate::currentDate());
    const std::string month = LastDaysCondition(30, QDate::currentDate());
    Session s("[Hist]\r\nMy-shown=1\r\nMy=0\r\nLinesFilter=21, 22\r\n");
    struct Case {
        TSpeedButton *button;
        std::string type, filter;
    } cases[] = {
        {FHist->SpeedButtonIn, "HIST", "(WAY LIKE 'IN%') and ((LINE='21') or (LINE='22'))"},
        {FHist->SpeedButtonOut, "HIST", "(NOT WAY LIKE 'IN%') and ((LINE='21') or (LINE='22'))"},
        {FHist->SpeedButtonWeek, "HIST", "(NOT WAY LIKE 'IN%') and ((LINE='21') or (LINE='22')) and " + week},
        {FHist->SpeedButtonMy, "HIST", "(NOT WAY LIKE 'IN%') and (LINE='21') and " + week},
        {FHist->SpeedButtonInn, "HIST", "(WAY LIKE 'INN') and (LINE='21') and " + week},
        {FHist->SpeedButtonDay, "HIST", "(WAY LIKE 'INN') and (LINE='21') and " + today},
        {FHist->SpeedButtonDay, "HIST", "(WAY LIKE 'INN') and (LINE='21')"},
        {FHist->SpeedButtonMonth, "HIST", "(WAY LIKE 'INN') and (LINE='21') and " + month},
        {FAcc->SpeedButtonDay, "ACC", "(LINE='21') and " + today},
        {FAcc->SpeedButtonMonth, "ACC", "(LINE='21') and " + month},
        {FLog->SpeedButtonWeek, "LOG", week},
        {FLog->SpeedButtonWeek, "LOG", ""},
    };
    for (const Case &c : cases) {
        c.button->click();
        EXPECT_EQ(s.rig.Sent(), Set(c.type, c.filter));
    }
}

TEST(CallLists, DiallingFollowsTheRecordWhenNewOnesArriveOnTop)
{
    // A list that lacks column definitions still makes its window.
    Session s("[Main]\r\nLastTop=1\r\n[Hist-List]\r\n10204=\r\n10209=\r\n10210=\r\n");
    ASSERT_TRUE(FHist);
    EXPECT_EQ(FHist->Model->columnCount(), 11);
    s.rig.Answer(Ans("HIST", "Act=\"SET\" RecordCount=\"3\""));
    Paint(FHist);
    s.rig.Answer(HistRec(3) + HistRec(2) + HistRec(1));
    FHist->StringGrid1->SelectRow(2);
    s.rig.Answer(Ans("HIST", "Act=\"CHG\" RecordCount=\"4\""));
    EXPECT_EQ(FHist->StringGrid1->SelectedRow(), 3);
    s.rig.Sent();
    FHist->SpeedButtonDialFirm->click();
    const std::string sent = s.rig.Sent();
    EXPECT_NE(sent.find("Act=\"DIAL\" Num=\"0602002\""), std::string::npos) << sent;
    // A new selection: the selected row's number is its new record's, an internal line.
    s.rig.Answer(Ans("HIST", "Act=\"SET\" RecordCount=\"3\""));
    s.rig.Answer(Ans("HIST", "Act=\"REC\" RecNo=\"3\" SOO_Port=\"IL3\" SOO_Line=\"33\""));
    s.rig.Sent();
    FHist->SpeedButtonDialFirm->click();
    EXPECT_NE(s.rig.Sent().find("Act=\"DIAL\" Num=\"33\""), std::string::npos);
}

TEST(CallLists, RecordingFoundByFieldNamesInWeeklyFolders)
{
    TempDir rec;
    const std::string sub = "2006/08/08_14/";
    QDir().mkpath(QString::fromStdString(rec.Path() + "txt/" + sub));
    QDir().mkpath(QString::fromStdString(rec.Path() + "wav/" + sub));
    WriteBytes(rec.Path() + "txt/" + sub + "060809_140533_21.txt", "call-1.wav\r\n");
    WriteBytes(rec.Path() + "wav/" + sub + "call-1.wav", "RIFF");
    // The date in another column than by default.
    Session s("[Hist]\r\nWav=1\r\nRecYear=1\r\nRecWeek=1\r\nTxtPath=" + rec.Path() + "txt\r\nWavPath=" + rec.Path() +
              "wav\r\n[Hist-List]\r\n10201=Id,50,Id\r\n10204=Date,50,Date\r\n");
    s.rig.Answer(Ans("HIST", "Act=\"SET\" RecordCount=\"1\""));
    Paint(FHist);
    s.rig.Answer(HistRec(1, " Id=\"77\""));
    EXPECT_TRUE(FakeExchange::WaitUntil([] { return FHist->Table.CellText(13, 1) == "call-1.wav"; }, 3000));
    EXPECT_EQ(FHist->MediaPlayer1->FileName(), rec.Path() + "wav/" + sub + "call-1.wav");
}

TEST(CallLists, RecordingPlaysFromItsStartEveryTimeAndIsRewoundAtItsEnd)
{
    TempDir dir;
    // A quarter of a second of silence, 8 kHz mono.
    std::string wav = "RIFF" + std::string("\x00\x00\x00\x00", 4) + "WAVEfmt " + std::string("\x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0", 20) +
                      "data" + std::string("\xa0\x0f\0\0", 4) + std::string(4000, '\0');
    wav[4] = static_cast<char>(wav.size() - 8);
    wav[5] = static_cast<char>((wav.size() - 8) >> 8);
    WriteBytes(dir.File("call.wav"), wav);
    QToolBar bar;
    TRecordingPlayer player(&bar);
    EXPECT_FALSE(player.ButtonPlay->isEnabled());
    player.Open(dir.File("call.wav"));
    ASSERT_TRUE(player.ButtonPlay->isEnabled());
    player.Play();
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return player.Position() > 0; }, 5000));
    player.Play();
    EXPECT_LT(player.Position(), 100);
    EXPECT_TRUE(FakeExchange::WaitUntil([&] {
        player.Tick();
        return !player.Playing() && player.Position() == 0;
    }, 5000));
    player.Close();
    EXPECT_FALSE(player.ButtonPlay->isEnabled());
}

} // namespace
