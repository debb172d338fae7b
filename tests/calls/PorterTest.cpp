// The door console against the fake exchange, its camera pages served on loopback.
#include "CallRig.h"
#include "Paths.h"
#include "Porter.h"
#include "PorterBrowser.h"
#include "Portset.h"

#include <QCoreApplication>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <fstream>

namespace {

#if defined(__SANITIZE_ADDRESS__)
// The browser engine's own allocator frees with sizes the sanitizer takes for a mismatch.
extern "C" const char *__asan_default_options() { return "new_delete_type_mismatch=0"; }
#endif

// Answers every request with a page titled after its path ("/cam1" gives "cam1").
class PageServer {
public:
    PageServer()
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *s = server_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    const QByteArray request = s->readAll();
                    const QByteArray path = request.split(' ').value(1).mid(1);
                    Paths.push_back(path.toStdString());
                    const QByteArray body = "<html><head><title>" + path + "</title></head><body>" + path + "</body></html>";
                    s->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                             QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    s->disconnectFromHost();
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    std::string Url(const char *path) const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path; }
    std::vector<std::string> Paths;

private:
    QTcpServer server_;
};

bool EngineLoaded()
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find("libQt6WebEngineCore") != std::string::npos)
            return true;
    return false;
}

std::string Ring(const std::string &cid) { return Ans("RING", "Act=\"ACT\" Cid=\"" + cid + "\" Pos=\"0\""); }

std::string PageTitle(TFPorter &p)
{
    QWidget *view = p.CppWebBrowser->View();
    return view ? view->property("title").toString().toStdString() : std::string("<no browser>");
}

TEST(Porter, DoorCallShowsTheCameraPageAndEndHidesIt)
{
    PageServer pages;
    PanelRig rig("[Porter]\r\nLine=31\r\nWebCam=" + pages.Url("/cam0") + "\r\nWebCam1=" + pages.Url("/cam1") + "\r\n");
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    TFPorter &p = *rig.porter;
    EXPECT_FALSE(EngineLoaded()) << "a console never shown never loads the web engine";
    EXPECT_FALSE(p.SpeedButtonC[2]->isEnabled());

    rig.Answer(Ring("44"));
    EXPECT_FALSE(p.isVisible()) << "another number";
    rig.Answer(Ring("31"));
    ASSERT_TRUE(p.isVisible());
    EXPECT_TRUE(p.AutoOpened);
    EXPECT_TRUE(FakeExchange::WaitUntil([&] { return PageTitle(p) == "cam0"; }, 20000)) << PageTitle(p);
    EXPECT_TRUE(EngineLoaded());
    EXPECT_EQ(p.CppWebBrowser->geometry().left(), -204) << "the page's left part is cut off";
    EXPECT_EQ(p.CppWebBrowser->width(), p.BrowserArea->width() + 204);

    p.SpeedButtonC[1]->click();
    EXPECT_TRUE(FakeExchange::WaitUntil([&] { return PageTitle(p) == "cam1"; }, 20000)) << PageTitle(p);
    EXPECT_TRUE(p.SpeedButtonC[1]->isChecked() && !p.SpeedButtonC[0]->isChecked());

    // Hidden only half a second after the end: the test says when that has passed.
    EXPECT_EQ(p.Timer1->Interval(), 500);
    p.Timer1->SetInterval(3600000);
    rig.Answer(Ans("RING", "Act=\"END\""));
    EXPECT_TRUE(p.isVisible());
    ASSERT_TRUE(p.Timer1->Active());
    p.Timer1->OnTimer();
    EXPECT_FALSE(p.isVisible());
    EXPECT_FALSE(p.AutoOpened);
    // The next door call shows camera 0 again, and its button is the one down.
    rig.Answer(Ring("31"));
    EXPECT_TRUE(p.SpeedButtonC[0]->isChecked() && !p.SpeedButtonC[1]->isChecked());
}

TEST(Porter, AShownConsoleStaysAndAnEmptyLineNeverPopsUp)
{
    PanelRig rig("[Porter]\r\nLine=31\r\n");
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    TFPorter &p = *rig.porter;
    p.show();
    rig.Answer(Ring("31"));
    EXPECT_FALSE(p.AutoOpened);
    EXPECT_EQ(p.NavigatedPage, "") << "no camera page: nothing to show";
    rig.Answer(Ans("CALL", "Act=\"END\""));
    p.Timer1->OnTimer();
    EXPECT_TRUE(p.isVisible()) << "the close time passed";

    p.hide();
    p.DoorLine.clear();
    rig.Answer(Ring(""));
    EXPECT_FALSE(p.isVisible());
}

TEST(Porter, OpenButtonAnswersThenDialsTheCodeAndGoesQuietAtLogOut)
{
    PanelRig rig("[Porter]\r\nLine=31\r\nOpen=*9\r\n");
    rig.Start();
    EXPECT_FALSE(rig.porter->SpeedButtonOpen->isEnabled());
    ASSERT_TRUE(rig.LogIn());
    TFPorter &p = *rig.porter;
    EXPECT_TRUE(p.SpeedButtonOpen->isEnabled() && p.SpeedButtonHang->isEnabled());
    const std::string open = Comm("Act=\"DIAL\" Num=\"*9\" ");
    struct Case {
        const char *state;
        std::string sent;
    } cases[] = {
        {"RNG", Comm("Act=\"SPK\" ") + open},
        {"CAL", open},
        {"REL", ""},
        {"PCK", ""},
    };
    for (const Case &c : cases) {
        rig.Answer(State(c.state));
        rig.Sent();
        p.SpeedButtonOpen->click();
        EXPECT_EQ(rig.Sent(), c.sent) << c.state;
    }

    // Settings: OK writes back, the browser moves, camera 1 and the first page take effect.
    rig.OnModal = [](QWidget *w) {
        if (auto *set = qobject_cast<TFPorterSet *>(w)) {
            EXPECT_EQ(set->EditOpen->Text(), "*9");
            set->CSpinEditOff->setValue(0);
            set->EditWWW->SetText("http://127.0.0.1:9/a");
            set->EditWW1->SetText("http://127.0.0.1:9/b");
            set->BitBtnOkClick();
        }
    };
    EXPECT_FALSE(p.SpeedButtonC[1]->isEnabled());
    p.SpeedButtonSetClick();
    EXPECT_EQ(p.CppLeft, 0);
    EXPECT_EQ(p.CppWebBrowser->geometry().left(), 16);
    EXPECT_TRUE(p.SpeedButtonC[1]->isEnabled());
    EXPECT_EQ(HintOf(p.SpeedButtonC[1]), "http://127.0.0.1:9/b");
    EXPECT_EQ(p.NavigatedPage, "http://127.0.0.1:9/a");
    EXPECT_FALSE(p.CppWebBrowser->Created()) << "the hidden console still has no engine";

    rig.Answer("<ans Type=\"CLOSE\" Handle=\"5\" Ret=\"OK\"/>");
    EXPECT_FALSE(p.SpeedButtonOpen->isEnabled() || p.SpeedButtonHang->isEnabled());
    rig.Sent();
    p.SpeedButtonOpenClick();
    p.SpeedButtonHangClick();
    EXPECT_EQ(rig.Sent(), "") << "no request without a session";

    rig.Stop();
    const std::string ini = ReadBytes(rig.home.Path() + "Talvocti/" + ProgramName() + ".ini");
    for (const char *line : {"Line=31", "Open=*9", "CppLeft=0", "WebCam1=http://127.0.0.1:9/b", "Top="})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
}

} // namespace
