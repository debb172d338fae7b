// The panel and the program's other windows: the waiting-call lamp, going
// down and coming back together, whose shortcuts act where, the state text.
#include "Auto.h"
#include "ClockText.h"
#include "Nlsfunc.h"
#include "PanelRig.h"
#include "SessionWindows.h"

#include <QDir>
#include <QLocale>
#include <QTest>
#include <QTime>

#include <tuple>

#include <gtest/gtest.h>

namespace {

// A skin whose waiting-call lamp has no function and which has no charge label.
void StartWithLampSkin(PanelRig &rig)
{
    const std::string data = rig.home.Path() + "Talvocti/";
    QDir().mkpath(QString::fromStdString(data + "Desktops"));
    QDir().mkpath(QString::fromStdString(data + "Skins"));
    WriteBytes(data + "Desktops/Default.dst", "[Set]\r\nSkinName=Lamp.skn\r\n");
    WriteBytes(data + "Skins/Lamp.skn", "[Set]\r\nWidth=600\r\nHeight=400\r\nBackground=RizUzezi.png\r\n"
                                        "Foreground=RizUzeziKeys.png\r\n[Controls]\r\n"
                                        "ImageFRONT=426 57 12 12:544 402:0\r\nLabelSTAT=136 54 124 14:TL\r\n");
    rig.Start();
}

TEST(PanelWindows, ADoubleClickOnTheLampShowsTheWaitingCallsWhateverItsFunction)
{
    PanelRig rig;
    StartWithLampSkin(rig);
    ASSERT_TRUE(rig.LogIn());
    auto *lamp = rig.main->findChild<TImage *>(QStringLiteral("ImageFRONT"));
    ASSERT_TRUE(lamp && FFront);
    // Without a function; with the shipped toggle while the window is already open.
    for (int code : {0, 902}) {
        lamp->Tag = code;
        FFront->setVisible(code == 902);
        QTest::mouseDClick(lamp, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        EXPECT_TRUE(FFront->isVisible()) << code;
        EXPECT_TRUE(rig.main->SpeedButtonFront->isChecked()) << code;
    }
}

TEST(PanelWindows, ASkinWithoutAKeyCutsWhereItsCornerColourLetsThePanelThrough)
{
    PanelRig rig;
    StartWithLampSkin(rig);
    const QRegion mask = rig.main->mask();
    // Rounded corners and the cord slot are holes; the body and the key caps are not.
    for (QPoint hole : {QPoint(0, 0), QPoint(599, 399), QPoint(68, 26)})
        EXPECT_FALSE(mask.contains(hole)) << hole.x() << "," << hole.y();
    for (QPoint kept : {QPoint(300, 200), QPoint(68, 40)})
        EXPECT_TRUE(mask.contains(kept)) << kept.x() << "," << kept.y();
}

TEST(PanelWindows, EveryWindowGoesDownWithThePanelAndComesBackWithIt)
{
    PanelRig rig("[Main]\r\nRelaxMinimize=1\r\nNoRelaxActivate=1\r\n");
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    rig.dbf->show();
    FHist->show();
    const std::vector<QWidget *> windows{rig.main.get(), rig.dbf.get(), FHist};
    auto minimised = [&] {
        int n = 0;
        for (QWidget *w : windows)
            n += w->isMinimized() ? 1 : 0;
        return n;
    };
    rig.Answer(State("REL"));
    EXPECT_EQ(minimised(), 3);
    rig.Answer(State("PCK"));
    EXPECT_EQ(minimised(), 0);
    EXPECT_TRUE(rig.dbf->isVisible() && FHist->isVisible());
    // Brought back by hand (its task-bar entry), the panel brings the others.
    rig.main->ExecutePanelFunction(502, "");
    EXPECT_EQ(minimised(), 3);
    rig.main->showNormal();
    EXPECT_EQ(minimised(), 0);
}

TEST(PanelWindows, MainMenuShortcutsActOnlyFromThePanel)
{
    PanelRig rig;
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    rig.dbf->show();
    rig.Sent();
    // Passed on from the book's grid: select all stays the grid's, the panel's keys still work.
    QTest::keyClick(rig.dbf->DBGridFirm, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(rig.dbf->DBGridFirm, Qt::Key_H, Qt::ControlModifier);
    QTest::keyClick(rig.dbf->DBGridFirm, Qt::Key_F8);
    rig.Settle();
    EXPECT_FALSE(rig.dialler->isVisible());
    EXPECT_FALSE(FHist->isVisible());
    EXPECT_EQ(rig.Sent(), Comm("Act=\"DIAL\" Num=\"F\" "));
    QTest::keyClick(rig.main.get(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(FHist->isVisible());
}

TEST(PanelWindows, AChargeBeforeTheFirstStateShowsTheFreeLineText)
{
    PanelRig rig;
    StartWithLampSkin(rig);
    ASSERT_TRUE(rig.LogIn());
    rig.Answer(Ans("INF", "Act=\"TARIMPULS\" Tar=\"1234\""));
    EXPECT_EQ(rig.LabelText("LabelSTAT").rfind(Nls->GetText(1003), 0), 0u) << rig.LabelText("LabelSTAT");
}

TEST(PanelClock, HoursAndMinutesInTheLocalesOwnFormat)
{
    const QTime time(13, 5, 9), morning(9, 5, 9);
    const std::tuple<QLocale, QTime, std::string> cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), time, "1:05"},
        {QLocale(QLocale::Czech, QLocale::CzechRepublic), morning, "9:05"},
        {QLocale(QLocale::German, QLocale::Germany), morning, "09:05"},
    };
    for (const auto &[locale, at, text] : cases)
        EXPECT_EQ(ClockText(at, locale), text) << locale.name().toStdString();
}

} // namespace
