// What arrives in the half second of the close: nothing waits for a person,
// and no session outlives the program.
#include "Login.h"
#include "PanelRig.h"
#include "SessionWindows.h"
#include "Skin.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(PanelExit, ALogInAnsweredLateAsksNothingAndAGrantIsClosedAtOnce)
{
    const struct {
        const char *answer, *sent;
    } cases[] = {
        {R"(<ans Type="OPEN" Ret="BADPASS"/>)", ""},
        // Other rights than asked for, and an illegal line: each would have asked.
        {R"(<ans Type="OPEN" Ret="OK" Handle="7" Attr="STS" Pos="2" LineType="IL"/>)", R"(<req Type="CLOSE" Handle="7" />)"},
        {R"(<ans Type="OPEN" Ret="OK" Handle="7" Attr="STS-CTI-CMD" Pos="2" LineType="IL-ILL"/>)",
         R"(<req Type="CLOSE" Handle="7" />)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer);
        PanelRig rig("[Main]\r\nFlagNotWarnForIL=1\r\n");
        rig.Start();
        rig.Sent();
        rig.exchange.Reply(R"(<req Type="CLOSE" Handle="7" />)", R"(<ans Type="CLOSE" Handle="7" Ret="OK"/>)");
        // The user pressed Enter in the log-in dialog, then closed the program.
        QTimer::singleShot(200, [&] { rig.exchange.Send(c.answer); });
        rig.main->close();
        // The program's end drops the connection right after the close.
        rig.xml->ClosePort();
        EXPECT_EQ(rig.Sent(), c.sent) << "no session's windows, no port list";
        EXPECT_EQ(rig.Boxes, std::vector<std::string>{});
        EXPECT_FALSE(rig.main->Connected);
        EXPECT_EQ(FHist, nullptr);
    }
}

TEST(PanelExit, NoLogInStartsOnceTheCloseHasBegun)
{
    {
        PanelRig rig;
        rig.Start();
        rig.Sent();
        const int logins = rig.Logins;
        // The lift key 0.1 s after the close image, and the menu's log-in after it.
        QTimer::singleShot(100, [&] {
            rig.main->OnPanelButtonDown(200);
            rig.main->OnPanelButtonUp(200);
        });
        QTimer::singleShot(200, [&] { rig.main->PopupOpen->trigger(); });
        rig.main->close();
        EXPECT_EQ(rig.Logins, logins) << "no log-in dialog";
        EXPECT_EQ(rig.Sent(), "");
    }

    // The desktop ends the session while the log-in dialog waits, and OK is
    // pressed in the half second that follows.
    PanelRig waiting;
    waiting.Start();
    waiting.Sent();
    bool closed = false;
    waiting.OnModal = [&, standard = waiting.OnModal](QWidget *w) {
        if (qobject_cast<TFLogin *>(w) && !closed) {
            closed = true;
            waiting.main->close();
            return;
        }
        standard(w);
    };
    waiting.main->SpeedButtonOpenClick();
    EXPECT_TRUE(closed);
    EXPECT_EQ(waiting.Sent(), "") << "no OPEN after the close began";
}

TEST(PanelExit, ASkinRefusedWhileClosingAsksNothing)
{
    PanelRig rig;
    rig.Start();
    WriteBytes(rig.home.Path() + "Talvocti/Skins/Broken.skn",
               "[Set]\r\nWidth=300\r\nHeight=200\r\nBackground=Missing.png\r\n");
    Skin->SelectSkin("Broken.skn");
    rig.main->close();
    EXPECT_FALSE(Skin->Timer->Enabled()) << "the switch was tried during the close";
    EXPECT_EQ(rig.Boxes, std::vector<std::string>{});
    EXPECT_EQ(Skin->SkinName, "RizUzezi.skn");
}

} // namespace
