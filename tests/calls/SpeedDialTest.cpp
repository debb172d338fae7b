// The speed-dial panel through the fake exchange: slots asked for at log-in,
// captions and hints from the answers, dialling and editing, byte for byte.
#include "CallRig.h"
#include "PerSet.h"
#include "SessionWindows.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The caption as the button shows it: "&&" is one '&', a lone '&' marks a shortcut.
std::string Caption(int slot)
{
    const std::string text = FPer->Buttons[static_cast<size_t>(slot)]->Caption();
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != '&' || ++i < text.size())
            shown += text[i];
    return shown;
}
// The hint as its tool tip shows it.
std::string Hint(int slot)
{
    QString tip = FPer->Buttons[static_cast<size_t>(slot)]->toolTip();
    if (Qt::mightBeRichText(tip)) {
        QTextDocument shown;
        shown.setHtml(tip);
        tip = shown.toPlainText();
    }
    return FromQ(tip);
}

TEST(SpeedDial, AskedForAtLogIn)
{
    PanelRig rig;
    rig.Start();
    rig.Sent();
    ASSERT_TRUE(rig.LogIn());
    std::string expected;
    for (int pos = 0; pos < 32; ++pos)
        expected += Req("SHORT", "Act=\"GET\" Pos=\"" + std::to_string(pos) + "\" ");
    // after the call lists' selections
    const std::string sent = rig.Sent();
    EXPECT_TRUE(sent.ends_with(expected + Req("PBXINFO", "") + "<req Type=\"SYSINFO\" Act=\"GET\" Handle=\"5\" />"))
        << sent;
}

TEST(SpeedDial, CaptionsHintsAndDialling)
{
    struct Case {
        const char *answer;
        int slot;
        const char *caption, *hint;
    } cases[] = {
        {"Act=\"GET\" Pos=\"0\" Num=\"(02)12345\" Text=\"Doctor\"", 0, "Doctor", "Doctor : (02)12345"},
        {"Act=\"GET\" Pos=\"31\" Num=\"222\" Text=\"\"", 31, "222", " : 222"},
        {"Act=\"GET\" Pos=\"32\" Num=\"9\" Text=\"Past the end\"", 31, "222", " : 222"},
        {"Act=\"GET\" Pos=\"-1\" Num=\"9\" Text=\"Before\"", 0, "Doctor", "Doctor : (02)12345"},
        {"Act=\"SET\" Pos=\"1\" Num=\"5\" Text=\"Stored\"", 1, "", " : "},
        {"Act=\"GET\" Pos=\"2\" Num=\"9\" Text=\"Dr &quot;Who&quot; &gt;x\"", 2, "Dr \"Who\" >x", "Dr \"Who\" >x : 9"},
        {"Act=\"GET\" Pos=\"4\" Num=\"7\" Text=\"&lt;img src=x&gt;\"", 4, "<img src=x>", "<img src=x> : 7"},
        {"Act=\"GET\" Pos=\"5\" Num=\"8\" Text=\"Tom &amp; Jerry\"", 5, "Tom & Jerry", "Tom & Jerry : 8"},
    };
    CallRig rig;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.answer);
        rig.Answer(Ans("SHORT", c.answer));
        EXPECT_EQ(Caption(c.slot), c.caption);
        EXPECT_EQ(Hint(c.slot), c.hint);
    }
    FPer->BitBtnClick(1);
    EXPECT_EQ(rig.Sent(), "") << "an empty slot dials nothing";
    FPer->Buttons[0]->click();
    EXPECT_EQ(rig.Sent(), Req("COMM", "Act=\"DIAL\" Num=\"0212345\" ")) << "dialled without the brackets";

    QKeyEvent digit(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
    QApplication::sendEvent(FPer, &digit);
    EXPECT_EQ(rig.Sent(), Req("COMM", "Act=\"DIAL\" Num=\"5\" ")) << "keys work as on the panel";
}

TEST(SpeedDial, EditedInTheDialog)
{
    struct Case {
        const char *what;
        bool ok;
        std::string text, num, request, caption;
    } cases[] = {
        {"cancel changes nothing", false, "Nobody", "1", "", "Doctor"},
        {"typed quotes and brackets cannot end the request; & and < go as typed", true, "Dr \"Who\" >x & <y",
         "(5)55", Req("SHORT", "Act=\"SET\" Pos=\"3\" Num=\"(5)55\" Text=\"Dr &quot;Who&quot; &gt;x & <y\" "),
         "Dr \"Who\" >x & <y"},
    };
    CallRig rig;
    rig.Answer(Ans("SHORT", "Act=\"GET\" Pos=\"3\" Num=\"777\" Text=\"Doctor\""));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string shown;
        rig.OnModal = [&](QWidget *w) {
            auto *dialog = qobject_cast<TFPerSet *>(w);
            if (!dialog)
                return;
            shown = dialog->EditText->Text() + "|" + dialog->EditNum->Text();
            dialog->EditText->SetText(c.text);
            dialog->EditNum->SetText(c.num);
            c.ok ? dialog->BitBtn1Click() : dialog->reject();
        };
        // A right press opens the dialog once the press is over.
        QTest::mouseClick(FPer->Buttons[3], Qt::RightButton);
        EXPECT_TRUE(FakeExchange::WaitUntil([&] { return !shown.empty(); }, 2000));
        EXPECT_EQ(shown, "Doctor|777");
        EXPECT_EQ(rig.Sent(), c.request);
        EXPECT_EQ(Caption(3), c.caption);
    }
}

// What the exchange would get as '?' is refused by OK, naming it; nothing is sent.
TEST(SpeedDial, OkRefusesTextTheCodePageCannotHold)
{
    CallRig rig;
    rig.Answer(Ans("SHORT", "Act=\"GET\" Pos=\"3\" Num=\"777\" Text=\"Doctor\""));
    QString box;
    bool open = false, done = false;
    rig.OnModal = [&](QWidget *w) {
        if (auto *dialog = qobject_cast<TFPerSet *>(w); dialog && !done) {
            done = true;
            dialog->EditText->setText(QString::fromUtf8("Dr \u0416ivago"));
            QTimer boxes; // the rig's own watch waits for this call to end
            QObject::connect(&boxes, &QTimer::timeout, [&] {
                if (auto *m = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    box = m->text();
                    m->accept();
                }
            });
            boxes.start(5);
            dialog->BitBtn1Click();
            open = dialog->isVisible();
            dialog->reject();
        }
    };
    QTest::mouseClick(FPer->Buttons[3], Qt::RightButton);
    EXPECT_TRUE(FakeExchange::WaitUntil([&] { return done; }, 2000));
    EXPECT_TRUE(open);
    EXPECT_TRUE(box.contains(QString::fromUtf8("\u0416"))) << FromQ(box);
    EXPECT_EQ(rig.Sent(), "");
    EXPECT_EQ(Caption(3), "Doctor");
}

TEST(SpeedDial, LogOutWhileTheDialogIsOpen)
{
    CallRig rig;
    bool closed = false;
    rig.OnModal = [&](QWidget *w) {
        if (qobject_cast<TFPerSet *>(w) && !closed) {
            closed = true;
            rig.exchange.Send(Ans("CLOSE", "Ret=\"OK\""));
        }
    };
    FPer->BitBtnMouseDown(0, Qt::RightButton);
    EXPECT_TRUE(closed);
    EXPECT_EQ(FPer, nullptr);
    EXPECT_EQ(rig.Sent(), "");
}

} // namespace
