// The dialler driven by the line states of a fake exchange.
#include "Auto.h"
#include "AutoGrid.h"
#include "Autonew.h"
#include "Autoset.h"
#include "CallRig.h"
#include "FileSizeLimit.h"
#include "Nlsfunc.h"
#include "Paths.h"

#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kDial101 = Comm("Act=\"DIAL\" Num=\"101\" ");
const std::string kDial102 = Comm("Act=\"DIAL\" Num=\"102\" ");

class Dialler : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.Start();
        ASSERT_TRUE(rig.LogIn());
        d = rig.dialler.get();
        d->Timer2->SetInterval(3600000);
        ASSERT_TRUE(d->TableOpen());
        for (const char *number : {"101", "102"}) {
            d->List.Table.Append();
            d->List.Table.FieldByName("NUMBER").SetAsString(number);
            d->List.Table.FieldByName("NAME").SetAsString(std::string("Name ") + number);
            d->List.Table.Post();
        }
        rig.Answer(State("REL"));
        rig.Sent();
    }
    // "ID/ATTEMPTS" of the record with that number.
    std::string Record(const char *number)
    {
        TDbCursor &t = d->List.Table;
        const auto here = t.GetBookmark();
        std::string out = t.Locate({{"NUMBER", number}})
                              ? std::to_string(t.FieldByName("ID").AsInteger()) + "/" +
                                    std::to_string(t.FieldByName("ATTEMPTS").AsInteger())
                              : "none";
        t.GotoBookmark(here);
        return out;
    }
    bool WaitSent(const std::string &request) { return rig.exchange.WaitReceived(request, 3000); }
    // The run's timers never come due by themselves here: a test says when.
    static void Tick(TTimer *timer)
    {
        EXPECT_TRUE(timer->Active());
        timer->OnTimer();
    }

    PanelRig rig{"[Auto]\r\nTimeoutCall=3600000\r\nRingTimeOut=1\r\nRepeatCall=2\r\n"};
    TFAuto *d = nullptr;
};

TEST_F(Dialler, DialsMarksHangsUpAndStopsAtTheAttemptLimit)
{
    d->SpeedButtonOpenClick();
    Tick(d->Timer1);
    ASSERT_TRUE(WaitSent(kDial101));
    EXPECT_EQ(rig.Sent(), Comm("Act=\"SPK\" State=\"1\" ") + kDial101);
    EXPECT_FALSE(d->Timer1->Enabled());
    EXPECT_EQ(d->GetCalledName("101"), "Name 101");
    EXPECT_EQ(d->GetCalledName("0101"), "");

    rig.Answer(State("CAL"));
    EXPECT_EQ(Record("101"), "-2000000000/0");
    EXPECT_TRUE(d->Timer1->Enabled());
    EXPECT_EQ(d->GetCalledName("101"), "");
    rig.Answer(State("REL"));
    EXPECT_EQ(Record("101"), "-2000000000/0") << "the end of a reached call changes nothing";

    // Unanswered: the ring time-out hangs up; the line's REL counts a failure.
    Tick(d->Timer1);
    ASSERT_TRUE(WaitSent(kDial102));
    Tick(d->Timer2);
    ASSERT_TRUE(WaitSent(kDial102 + Comm("Act=\"SPK\" ")));
    rig.Answer(State("REL"));
    EXPECT_EQ(Record("102"), "1/1");
    Tick(d->Timer1);
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return Count(rig.exchange.Received(), kDial102) == 2; }, 3000));
    rig.Answer(State("BUS"));
    rig.Answer(State("REL"));
    EXPECT_EQ(Record("102"), "2/2");
    Tick(d->Timer1);
    rig.Settle();
    EXPECT_EQ(Count(rig.exchange.Received(), kDial102), 2) << "never more than RepeatCall dials";
    EXPECT_TRUE(d->Timer1->Enabled()) << "the run goes on ticking";
    d->SpeedButtonCloseClick();
    EXPECT_FALSE(d->Timer1->Enabled());

    // A number typed with blanks is named by what the exchange says was dialled.
    d->CurNumber = "1 01";
    d->CurName = "Grouped";
    EXPECT_EQ(d->GetCalledName("101"), "Grouped");
}

TEST_F(Dialler, WaitsForAnIdleLineMarksTheDialledRecordAndSurvivesAManualCall)
{
    rig.Answer(State("PCK"));
    d->SpeedButtonOpenClick();
    Tick(d->Timer1);
    EXPECT_EQ(rig.Sent(), "") << "no call while the line is busy";
    rig.Answer(State("REL"));
    Tick(d->Timer1);
    ASSERT_TRUE(WaitSent(kDial101));

    // The user moves to the other record during the call.
    d->NavNext->trigger();
    rig.Answer(State("CAL"));
    EXPECT_EQ(Record("101"), "-2000000000/0");
    EXPECT_EQ(Record("102"), "0/0");
    EXPECT_EQ(d->List.Table.FieldByName("NUMBER").AsString(), "102") << "the user's record stays current";

    // A call by hand while the run is on: the run goes on after it.
    rig.Answer(State("REL"));
    Tick(d->Timer1);
    ASSERT_TRUE(WaitSent(kDial102));
    rig.Answer(State("DIA"));
    rig.Sent();
    d->SpeedButtonDialClick();
    EXPECT_EQ(rig.Sent(), kDial102);
    EXPECT_FALSE(d->Timer2->Enabled()) << "no ring time-out left over for a call by hand";
    rig.Answer(State("REL"));
    EXPECT_EQ(Record("102"), "0/0") << "a call by hand marks nothing";
    EXPECT_TRUE(d->Timer1->Enabled());
    Tick(d->Timer1);
    EXPECT_TRUE(WaitSent(kDial102 + Comm("Act=\"SPK\" State=\"1\" ") + kDial102));
}

TEST_F(Dialler, ANoteTypedWhileTheNumberRingsKeepsTheResultOfTheCall)
{
    d->SpeedButtonOpenClick();
    Tick(d->Timer1);
    ASSERT_TRUE(WaitSent(kDial101));
    rig.OnModal = [&](QWidget *w) {
        if (auto *record = qobject_cast<TFAutoNew *>(w)) {
            rig.Answer(State("REL"));
            record->DBEdit3->SetText("call back");
            record->BitBtnOkClick();
        }
    };
    d->EditRecord(false);
    EXPECT_EQ(d->List.Table.FieldByName("NOTE").AsString(), "call back");
    EXPECT_EQ(Record("101"), "1/1");
}

TEST_F(Dialler, RecordAndSettingsDialogsAndTheImportQuestion)
{
    rig.OnModal = [](QWidget *w) {
        if (auto *record = qobject_cast<TFAutoNew *>(w)) {
            record->DBEdit2->SetText("103");
            record->BitBtnOkClick();
        } else if (auto *set = qobject_cast<TFAutoSet *>(w)) {
            EXPECT_TRUE(!set->CheckBoxRC->isChecked() && set->CSpinEditRC->isEnabled());
            EXPECT_EQ(set->CSpinEditRC->value(), 2);
            set->CheckBoxRC->click();
            EXPECT_FALSE(set->CSpinEditRC->isEnabled() || set->LabelRC->isEnabled());
            set->CSpinEditCT->setValue(7);
            set->CSpinEditRT->setValue(9);
            set->BitBtn1Click();
        }
    };
    // The settings button is in reach at the default width.
    d->show();
    EXPECT_TRUE(FakeExchange::WaitUntil([&] { return d->SpeedButtonSet->isVisible(); }, 2000));
    // A tick while a record is being edited would post it half done.
    d->List.Table.Edit();
    d->Timer1Timer();
    EXPECT_EQ(d->List.Table.State(), TDbCursor::dsEdit);
    EXPECT_EQ(d->CurNumber, "");
    d->List.Table.Cancel();

    d->EditRecord(true);
    EXPECT_EQ(Record("103"), "0/0") << "a new record is to be called";
    EXPECT_EQ(d->List.Table.RecordCount(), 3);
    d->SpeedButtonSetClick();
    EXPECT_EQ(d->RepeatCall, 0);
    EXPECT_EQ(d->RingTimeOut, 9);
    EXPECT_EQ(d->Timer1->Interval(), 7000);

    const std::string file = rig.home.File("list.csv");
    WriteBytes(file, "201;A;;T\r\n202;B;;E\r\n\x01;;\r\n");
    std::vector<std::string> told;
    for (auto [answer, count] : {std::pair{QMessageBox::Yes, 2}, {QMessageBox::No, 4}}) {
        rig.OnModal = [answer = answer, &told](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                told.push_back(FromQ(box->text()));
                box->done(answer);
            }
        };
        EXPECT_TRUE(d->ImportFrom(file));
        EXPECT_EQ(d->List.Table.RecordCount(), count);
    }
    ASSERT_EQ(told.size(), 4u) << "each import asks, then tells of the skipped line";
    EXPECT_EQ(told[3].substr(told[3].size() - 2), " 1");
    EXPECT_FALSE(d->ImportFrom(rig.home.File("missing.csv")));

    rig.Stop();
    const std::string ini = ReadBytes(rig.home.Path() + "Talvocti/" + ProgramName() + ".ini");
    EXPECT_NE(ini.find("[Auto]\r\nTimeoutCall=7000\r\nRingTimeOut=9\r\nRepeatCall=0"), std::string::npos) << ini;
}

// Whether each box told of its file: the text, then the whole path as shown.
void ExpectTold(const std::vector<std::string> &boxes, int textId, const std::vector<std::string> &paths)
{
    ASSERT_EQ(boxes.size(), paths.size());
    ASSERT_FALSE(Nls->GetText(textId).empty());
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(boxes[i].rfind(Nls->GetText(textId) + "\n" + NameFromFs(paths[i]) + "\n", 0), 0u) << boxes[i];
}

TEST_F(Dialler, AFileThatCannotBeWrittenOrReadIsToldByNameAndLeftAsItWasAGoodOneIsNot)
{
    // A name the code page can spell, so that the told text can be compared.
    const std::string file = rig.home.File("Seznam \xC4\x8D\xC3\xADsel.csv"), earlier = "1;kept;;T\r\n";
    WriteBytes(file, earlier);
    {
        FileSizeLimit full(earlier.size());
        EXPECT_FALSE(d->ExportTo(file));
    }
    EXPECT_EQ(ReadBytes(file), earlier) << "the user's earlier list stays byte for byte";
    int beside = 0;
    for (const auto &e : std::filesystem::directory_iterator(rig.home.Path()))
        beside += e.path().filename().string().rfind("Seznam", 0) == 0;
    EXPECT_EQ(beside, 1) << "no half-written list is left beside it";
    const std::string noFolder = rig.home.File("no folder/list.csv"), underFile = file + "/list.csv";
    EXPECT_FALSE(d->ExportTo(noFolder));
    EXPECT_FALSE(d->ExportTo(underFile));
    ExpectTold(rig.Boxes, 293, {file, noFolder, underFile});

    rig.Boxes.clear();
    EXPECT_FALSE(d->ImportFrom(rig.home.File("missing.csv")));
    EXPECT_FALSE(d->ImportFrom(rig.home.Path())) << "a folder is no list";
    // Told, and not asked first whether to erase the table.
    ExpectTold(rig.Boxes, 295, {rig.home.File("missing.csv"), rig.home.Path()});
    EXPECT_EQ(d->List.Table.RecordCount(), 2);

    // With room again the same file takes the list whole, and it comes back.
    rig.Boxes.clear();
    ASSERT_TRUE(d->ExportTo(file));
    EXPECT_EQ(ReadBytes(file), "101;Name 101;; \r\n102;Name 102;; \r\n");
    d->List.EraseAll();
    ASSERT_TRUE(d->ImportFrom(file));
    EXPECT_EQ(Record("101") + " " + Record("102"), "0/0 0/0");
    EXPECT_TRUE(rig.Boxes.empty()) << "nothing to tell: " << rig.Boxes.front();
}

TEST_F(Dialler, KeysFromEveryControlReachThePanel)
{
    d->show();
    d->activateWindow();
    d->DBGridAuto->selectRow(1);
    const std::string keys = Comm("Act=\"DIAL\" Num=\"5\" ") + Comm("Act=\"SPK\" ");
    for (QWidget *control : {static_cast<QWidget *>(d->DBGridAuto), static_cast<QWidget *>(d->SpeedButtonErase),
                             d->DBNavigator1->widgetForAction(d->NavEdit), static_cast<QWidget *>(d)}) {
        SCOPED_TRACE(control->metaObject()->className());
        control->setFocus();
        ASSERT_TRUE(FakeExchange::WaitUntil([&] { return QApplication::focusWidget() == control; }, 3000));
        QTest::keyClick(control, Qt::Key_5);
        QTest::keyClick(control, Qt::Key_F5);
        EXPECT_EQ(rig.Sent(), keys) << "each key once";
    }
}

TEST_F(Dialler, NothingIsDialledWithoutTheCommandRight)
{
    rig.Answer("<ans Type=\"CLOSE\" Handle=\"5\" Ret=\"OK\"/>");
    d->SpeedButtonOpenClick();
    Tick(d->Timer1);
    EXPECT_TRUE(d->CurNumber.empty()) << "a call that cannot be placed would never end";
}

} // namespace
