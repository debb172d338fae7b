// The link window against a fake exchange on 127.0.0.1.
#include "FakeExchange.h"
#include "IniFile.h"
#include "KeyForward.h"
#include "RecordingReceivers.h"
#include "TempDir.h"
#include "Xml.h"
#include "Xmlset.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

using Lines = std::vector<std::string>;

struct Rig {
    TempDir dir;
    FakeExchange exchange;
    RecordingReceivers rx;
    std::unique_ptr<TFXML> xml;

    explicit Rig(const std::string &ip = "127.0.0.1", int live = 30)
    {
        TIniFile ini(dir.File("Talvodem.ini"));
        ini.WriteString("TCP", "IP", ip);
        ini.WriteInteger("TCP", "Port", exchange.Port());
        ini.WriteInteger("XML", "Live", live);
    }
    TFXML &Start(bool connect = true)
    {
        xml = std::make_unique<TFXML>(nullptr, dir.Path());
        xml->SetReceivers(&rx);
        if (connect) {
            EXPECT_TRUE(exchange.WaitConnected());
        }
        return *xml;
    }
    Lines Listed() const
    {
        const auto &listed = xml->Messages.Lines();
        return Lines(listed.begin(), listed.end());
    }
    bool WaitCalls(size_t n) { return FakeExchange::WaitUntil([&] { return rx.Calls.size() >= n; }); }
};

TEST(LinkWindow, WritesOnlyOnAConnectionAndListsEverything)
{
    Rig rig;
    TFXML &xml = rig.Start(false);
    xml.Append("<early/>"); // still connecting: lost, not queued
    xml.Send();
    ASSERT_TRUE(rig.exchange.WaitConnected());
    xml.BeginRequest("<req");
    xml.Append("/>");
    xml.Send();
    ASSERT_TRUE(rig.exchange.WaitReceived("/>"));
    EXPECT_EQ(rig.exchange.Received(), "<req />");
    EXPECT_EQ(rig.Listed(), (Lines{"<early/>", "<req />"}));
    EXPECT_EQ(xml.Messages.ItemIndex(), 1);

    // The view shows the list only while the window is shown, and keeps the user's line.
    xml.show();
    QAbstractItemModel *shown = xml.ListBox1->model();
    EXPECT_EQ(shown->rowCount(), 2);
    EXPECT_EQ(xml.ListBox1->currentIndex().row(), 1);
    xml.ListBox1->setCurrentIndex(shown->index(0, 0));
    xml.AddToList("<seen/>");
    EXPECT_EQ(xml.ListBox1->currentIndex().row(), 0);
    xml.hide();
    xml.AddToList("<unseen/>");
    EXPECT_EQ(xml.Messages.ItemIndex(), 0);
    xml.show();
    EXPECT_EQ(FromQ(shown->index(3, 0).data().toString()), "<unseen/>");
    EXPECT_EQ(xml.ListBox1->currentIndex().row(), 0);
    xml.hide();

    // Without an exchange nothing is sent and nothing shown.
    rig.exchange.StopListening();
    rig.exchange.Drop();
    xml.ClosePort();
    xml.OpenPort();
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return xml.ClientSocket1->state() == QAbstractSocket::UnconnectedState; }));
    xml.TimerLiveTimer();
    EXPECT_EQ(rig.exchange.Connections(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(LinkWindow, AFloodBeyondTheSocketsBoundIsReadInTurnsNothingLost)
{
    Rig rig;
    rig.Start();
    std::string list = "<ans Type=\"RING\" Handle=\"0\" Act=\"ACT\">\r\n";
    for (int i = 0; i < 3000; ++i)
        list += "<ans Port=\"" + std::to_string(i) + "\" Cid=\"555000111\" PBXName=\"Name\" Act=\"ACT\"/>\r\n";
    ASSERT_GT(list.size(), size_t(2 * TFXML::kReadBufferSize));
    rig.exchange.Send(list + "</ans>\r\n");
    ASSERT_TRUE(rig.WaitCalls(3002));
    EXPECT_EQ(rig.rx.Calls[3000], "ring 2999|555000111|Name|||-1|ACT");
    EXPECT_EQ(rig.rx.Calls[3001], "ring |||||-1|/ACT");
}

TEST(LinkWindow, AnswersKeepComingWhileAHandlersModalBoxIsOpen)
{
    Rig rig;
    TFXML &xml = rig.Start();
    size_t callsWhileOpen = 0;
    rig.rx.DuringOpen = [&] {
        QMessageBox box(QMessageBox::Warning, "T", "refused", QMessageBox::Ok);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (rig.rx.Calls.size() >= 3)
                callsWhileOpen = rig.rx.Calls.size(), box.accept();
        });
        poll.start(10);
        QTimer::singleShot(5000, &box, &QMessageBox::accept);
        box.exec();
        rig.rx.Calls.push_back("box closed");
    };
    // More than one buffer in one go: the rest waits in the socket, where only
    // a read step that keeps coming finds it while the box is open.
    std::string bytes = "<ans Type=\"OPEN\" Ret=\"BADPASS\" Handle=\"1\"/>";
    for (int i = 0; i < 170; ++i)
        bytes += "<ans Type=\"LOG\" Handle=\"0\"/>\r\n";
    rig.rx.WindowsExist = false;
    rig.exchange.Send(bytes + "<ans Type=\"STATE\" Handle=\"0\" State=\"REL\"/><ans Type=\"DIAL\" Handle=\"0\"/>");
    ASSERT_TRUE(rig.WaitCalls(4));
    EXPECT_EQ(callsWhileOpen, 3u);
    EXPECT_EQ(rig.rx.Calls.back(), "box closed");
    EXPECT_EQ(xml.Framing.RxCount, 0);
}

TEST(LinkWindow, KeepAliveGoesOutOnlyWhileLoggedIn)
{
    Rig rig("127.0.0.1", 1);
    TFXML &xml = rig.Start();
    rig.exchange.Send("<ans Type=\"OPEN\" Ret=\"OK\" Handle=\"5\"/>\r\n");
    ASSERT_TRUE(rig.exchange.WaitReceived("/>"));
    EXPECT_EQ(rig.exchange.Received(), "<req Type=\"LIVE\" Handle=\"5\" />");
    rig.exchange.Send("<ans Type=\"CLOSE\" Handle=\"5\" Ret=\"OK\"/>");
    ASSERT_TRUE(rig.WaitCalls(2));
    EXPECT_FALSE(xml.TimerLive->Enabled());
}

TEST(LinkWindow, AddressChangeReopensAndStartsClean)
{
    Rig rig("");
    rig.rx.WindowsExist = false;
    TFXML &xml = rig.Start(false);
    auto typeAddress = [&](const char *ip) {
        QTimer::singleShot(0, [&xml, ip] {
            TFXmlSet *set = xml.findChild<TFXmlSet *>();
            set->MaskEditIP->clear();
            QTest::keyClicks(set->MaskEditIP, ip);
            set->BitBtnOk->click();
        });
        xml.SpeedButtonSetClick();
    };
    typeAddress("127.0.0.1");
    ASSERT_TRUE(rig.exchange.WaitConnected(1));
    // A list and a tag cut off by a dropped connection.
    rig.exchange.Send("<ans Type=\"HOLD\" Handle=\"0\" Act=\"ACT\">\r\n<ans Port=");
    ASSERT_TRUE(rig.WaitCalls(1));
    rig.exchange.Drop();
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return xml.ClientSocket1->state() == QAbstractSocket::UnconnectedState; }));
    typeAddress("127.0.0.1");
    EXPECT_EQ(xml.ClientSocket1->state(), QAbstractSocket::UnconnectedState) << "the same address: no reopen";

    xml.ClosePort();
    xml.OpenPort();
    ASSERT_TRUE(rig.exchange.WaitConnected(2));
    rig.exchange.Send("<ans Type=\"STATE\" Handle=\"0\" State=\"REL\"/>");
    ASSERT_TRUE(rig.WaitCalls(2));
    EXPECT_EQ(rig.rx.Calls, (Lines{"hold ACT", "state REL|-1|-1"}));
}

TEST(LinkWindow, AConnectionLostWhileAnOpenWaitsForItsAnswerIsTold)
{
    Rig rig;
    TFXML &xml = rig.Start();
    auto sendOpen = [&] {
        xml.BeginRequest("<req");
        xml.AddAttr("Type", "OPEN");
        xml.Append("/>");
        xml.Send();
    };
    sendOpen();
    ASSERT_TRUE(rig.exchange.WaitReceived("OPEN"));
    rig.exchange.Drop();
    ASSERT_TRUE(rig.WaitCalls(1));
    EXPECT_EQ(rig.rx.Calls, (Lines{"openlost"}));

    // Answered, even with a refusal, the OPEN waits no more: a later drop is no news.
    xml.ClosePort();
    xml.OpenPort();
    ASSERT_TRUE(rig.exchange.WaitConnected(2));
    sendOpen();
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return rig.exchange.Received().rfind("OPEN") > 20; }));
    rig.exchange.Send("<ans Type=\"OPEN\" Ret=\"BADPASS\" Handle=\"0\"/>");
    ASSERT_TRUE(rig.WaitCalls(2));
    rig.exchange.Drop();
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return xml.ClientSocket1->state() == QAbstractSocket::UnconnectedState; }));
    FakeExchange::Pause(50);
    EXPECT_EQ(rig.rx.Calls.size(), 2u) << rig.rx.Calls.back();
}

TEST(LinkWindow, APortOutOfRangeConnectsNowhereAndIsKeptAsWritten)
{
    for (int port : {70000, 65536, 0, -1}) {
        Rig rig;
        TIniFile(rig.dir.File("Talvodem.ini")).WriteInteger("TCP", "Port", port);
        TFXML &xml = rig.Start(false);
        EXPECT_EQ(xml.ClientSocket1->state(), QAbstractSocket::UnconnectedState) << port << " was cut to 16 bits";
        std::string error = "unset";
        EXPECT_FALSE(xml.EnsureConnected(error, 200));
        EXPECT_EQ(xml.ClientSocket1->state(), QAbstractSocket::UnconnectedState);
        rig.xml.reset();
        EXPECT_EQ(TIniFile(rig.dir.File("Talvodem.ini")).ReadInteger("TCP", "Port", 6800), port);
        EXPECT_EQ(rig.exchange.Connections(), 0);
    }
}

TEST(SettingsDialog, WritesBackOnOkOnlyAndLocksTheAddressWhileLoggedIn)
{
    bool trace = true, erase = false, terminal = true, live = false;
    std::string ip = "127.0.0.1";
    for (bool connected : {false, true}) {
        TFXmlSet set(nullptr, trace, erase, terminal, live, ip, connected);
        EXPECT_TRUE(set.CheckBoxTerminal->isChecked()); // Cancel wrote nothing
        EXPECT_EQ(set.GetIP(), "127.0.0.1");
        EXPECT_EQ(set.TabSheetServer->isEnabled(), !connected);
        EXPECT_EQ(set.LabelWarn->isHidden(), !connected);
        set.CheckBoxTerminal->setChecked(false);
        set.MaskEditIP->selectAll();
        QTest::keyClicks(set.MaskEditIP, "10.1.22.3x.4"); // short groups; no letters, no fifth group
        EXPECT_EQ(set.GetIP(), connected ? "127.0.0.1" : "10.1.22.34");
        EXPECT_EQ(set.MaskEditIP->displayText(), set.MaskEditIP->text()) << "no blank places shown";
        QTimer::singleShot(0, connected ? set.BitBtnOk : set.BitBtnCanc, &QPushButton::click);
        EXPECT_EQ(set.ShowModal(), connected);
        EXPECT_EQ(ip, "127.0.0.1");
    }
    EXPECT_FALSE(terminal);

    // Enter takes the dialog from any control, Escape leaves it.
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        TFXmlSet set(nullptr, trace, erase, terminal, live, ip, false);
        set.CheckBoxLIVE->setChecked(!live);
        const bool before = live;
        QTimer::singleShot(3000, &set, [&] { set.close(); }); // a key not taken fails, never hangs
        QTimer::singleShot(0, [&] { QTest::keyClick(key == Qt::Key_Enter ? static_cast<QWidget *>(set.MaskEditIP) : set.CheckBoxLIVE, key); });
        EXPECT_EQ(set.ShowModal(), key != Qt::Key_Escape);
        EXPECT_EQ(live, key == Qt::Key_Escape ? before : !before);
    }
}

TEST(LinkWindow, SettingsPlacementAndKeys)
{
    Rig rig;
    TFXML &xml = rig.Start(false);
    xml.Terminal = true;
    TIniFile desk(rig.dir.File("a.dst"));
    xml.LoadPlacement(desk);
    EXPECT_FALSE(xml.isVisible());
    EXPECT_EQ(xml.frameGeometry().topLeft(), QPoint(0, 50));
    desk.WriteInteger("XML", "Left", 30);
    desk.WriteInteger("XML", "Width", 333);
    desk.WriteBool("XML", "Visible", true);
    xml.LoadPlacement(desk);
    xml.SavePlacement(desk);
    EXPECT_EQ(desk.ReadSection("XML"), (Lines{"Left", "Width", "Visible", "Top", "Height"}));
    EXPECT_EQ(desk.ReadInteger("XML", "Left", -1), 30);
    EXPECT_EQ(desk.ReadInteger("XML", "Width", -1), 333);
    EXPECT_TRUE(desk.ReadBool("XML", "Visible", false));

    std::string keys;
    PanelKeys.KeyDown = [&](QKeyEvent *e) { keys += "d" + std::to_string(e->key()) + " "; };
    PanelKeys.KeyPress = [&](QKeyEvent *e) { keys += "p" + e->text().toStdString() + " "; };
    QApplication::setActiveWindow(&xml);
    xml.ListBox1->setFocus();
    QTest::keyClick(xml.ListBox1, Qt::Key_5);
    QTest::keyClick(xml.ListBox1, Qt::Key_F5); // unused by the list: still handed on once
    xml.setFocus();
    QTest::keyClick(&xml, Qt::Key_F6);
    PanelKeys = {};
    EXPECT_EQ(keys, "d53 p5 d16777268 d16777269 ");

    std::remove(rig.dir.File("Talvodem.ini").c_str());
    rig.xml.reset(); // settings are written when the window goes
    struct stat st {};
    ASSERT_EQ(::stat(rig.dir.File("Talvodem.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "it may hold the password, whoever creates it";
    TIniFile ini(rig.dir.File("Talvodem.ini"));
    EXPECT_TRUE(ini.ReadBool("XML", "Terminal", false));
    EXPECT_EQ(ini.ReadInteger("XML", "Live", -1), 30);
}

} // namespace
