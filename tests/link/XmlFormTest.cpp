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

namespace {

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
        ini.UpdateFile();
    }
    TFXML &Start()
    {
        xml = std::make_unique<TFXML>(nullptr, dir.Path());
        xml->SetReceivers(&rx);
        return *xml;
    }
    std::vector<std::string> Listed() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < xml->ListBox1->count(); ++i)
            lines.push_back(FromQ(xml->ListBox1->item(i)->text()));
        return lines;
    }
    bool WaitCalls(size_t n) { return FakeExchange::WaitUntil([&] { return rx.Calls.size() >= n; }); }
};

void SendLive(TFXML &xml)
{
    xml.BeginRequest("<req");
    xml.AddAttr("Type", "STATE");
    xml.Append("/>");
    xml.Send();
}

TEST(LinkWindow, WritesOnlyOnAConnectionAndListsEverything)
{
    Rig rig;
    TFXML &xml = rig.Start();
    EXPECT_EQ(FXML, &xml);
    SendLive(xml); // still connecting: lost, not queued
    ASSERT_TRUE(rig.exchange.WaitConnected());
    FakeExchange::Pause(50);
    EXPECT_EQ(rig.exchange.Received(), "");
    SendLive(xml);
    ASSERT_TRUE(rig.exchange.WaitReceived("/>"));
    EXPECT_EQ(rig.exchange.Received(), "<req Type=\"STATE\" />");
    EXPECT_EQ(rig.Listed(), (std::vector<std::string>{"<req Type=\"STATE\" />", "<req Type=\"STATE\" />"}));
    EXPECT_EQ(xml.ListBox1->currentRow(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(LinkWindow, WithoutAnExchangeNothingIsSentOrShown)
{
    Rig rig;
    rig.exchange.StopListening();
    TFXML &xml = rig.Start();
    FakeExchange::Pause(100);
    xml.TimerLiveTimer();
    EXPECT_EQ(xml.ClientSocket1->state(), QAbstractSocket::UnconnectedState);
    EXPECT_EQ(rig.exchange.Connections(), 0);
    EXPECT_TRUE(rig.Listed().empty()); // LIVE is hidden by default
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(LinkWindow, SplitTagsPausesBackspaceAndNulThroughTheSocket)
{
    Rig rig;
    rig.Start();
    ASSERT_TRUE(rig.exchange.WaitConnected());
    const std::string bytes = std::string("<ans Type=\"STATE\" Handle=\"0\" State=\"RNX\bG\"/>\r\n") +
                              std::string("<ans Type=\0\"DIAL\" Handle=\"0\" Cid=\"12\" Act=\"ACT\"/>", 50);
    rig.exchange.SendSplit(bytes, {5, 20, 44, 47, 60});
    ASSERT_TRUE(rig.WaitCalls(2));
    EXPECT_EQ(rig.rx.Calls, (std::vector<std::string>{"state RNG|-1|-1", "dial |12|ACT"}));
}

TEST(LinkWindow, MoreThanTheBufferInOneGoIsReadInTurns)
{
    Rig rig;
    rig.Start();
    ASSERT_TRUE(rig.exchange.WaitConnected());
    std::string bytes = "<ans Type=\"RING\" Handle=\"0\" Act=\"ACT\">\r\n";
    for (int i = 0; i < 300; ++i)
        bytes += "<ans Port=\"" + std::to_string(i) + "\" Cid=\"555000111\" PBXName=\"Name\" Act=\"ACT\"/>\r\n";
    bytes += "</ans>\r\n";
    ASSERT_GT(bytes.size(), 4u * 4000u);
    rig.exchange.Send(bytes);
    ASSERT_TRUE(rig.WaitCalls(302));
    EXPECT_EQ(rig.rx.Calls[1], "ring 0|555000111|Name|||-1|ACT");
    EXPECT_EQ(rig.rx.Calls[300], "ring 299|555000111|Name|||-1|ACT");
    EXPECT_EQ(rig.rx.Calls[301], "ring |||||-1|/ACT");
}

TEST(LinkWindow, AnswersKeepComingWhileAHandlersModalBoxIsOpen)
{
    Rig rig;
    TFXML &xml = rig.Start();
    ASSERT_TRUE(rig.exchange.WaitConnected());
    size_t callsWhileOpen = 0;
    rig.rx.DuringOpen = [&] {
        QMessageBox box(QMessageBox::Warning, "T", "refused", QMessageBox::Ok);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (rig.rx.Calls.size() >= 3 || !rig.exchange.Connected()) {
                callsWhileOpen = rig.rx.Calls.size();
                box.accept();
            }
        });
        poll.start(10);
        QTimer::singleShot(5000, &box, &QMessageBox::accept);
        box.exec();
        rig.rx.Calls.push_back("box closed");
    };
    // The later answers arrive only once the box is open.
    QTimer::singleShot(100, [&] {
        rig.exchange.Send("<ans Type=\"STATE\" Handle=\"0\" State=\"REL\"/><ans Type=\"DIAL\" Handle=\"0\" Cid=\"9\"/>");
    });
    rig.exchange.Send("<ans Type=\"OPEN\" Ret=\"BADPASS\" Handle=\"1\"/>");
    ASSERT_TRUE(rig.WaitCalls(4));
    EXPECT_EQ(callsWhileOpen, 3u);
    EXPECT_EQ(rig.rx.Calls.back(), "box closed");
    EXPECT_EQ(xml.Framing.RxCount, 0);
}

TEST(LinkWindow, KeepAliveRunsOnlyWhileLoggedIn)
{
    Rig rig("127.0.0.1", 1);
    TFXML &xml = rig.Start();
    xml.ShowLive = true;
    ASSERT_TRUE(rig.exchange.WaitConnected());
    EXPECT_EQ(xml.TimerLive->Interval(), 1000);
    rig.exchange.Reply("Type=\"LIVE\"", "<ans Type=\"LIVE\" Handle=\"5\" Act=\"OK\"/>\r\n");
    rig.exchange.Send("<ans Type=\"OPEN\" Ret=\"OK\" Attr=\"STS-CTI-CMD\" Handle=\"5\"/>\r\n");
    ASSERT_TRUE(rig.exchange.WaitReceived("<req Type=\"LIVE\" Handle=\"5\" />"));
    EXPECT_EQ(rig.exchange.Received(), "<req Type=\"LIVE\" Handle=\"5\" />");
    ASSERT_TRUE(FakeExchange::WaitUntil([&] { return rig.Listed().size() >= 3; }));
    EXPECT_EQ(rig.Listed()[2], "<ans Type=\"LIVE\" Handle=\"5\" Act=\"OK\"/>");

    rig.exchange.Send("<ans Type=\"CLOSE\" Handle=\"5\" Ret=\"OK\"/>");
    ASSERT_TRUE(rig.WaitCalls(2));
    EXPECT_FALSE(xml.TimerLive->Enabled());
}

TFXmlSet *OpenDialog(TFXML &xml)
{
    return xml.findChild<TFXmlSet *>();
}

TEST(LinkWindow, AddressChangeReopensAndStartsClean)
{
    Rig rig("");
    rig.rx.WindowsExist = false;
    TFXML &xml = rig.Start();
    FakeExchange::Pause(50);
    EXPECT_EQ(rig.exchange.Connections(), 0);

    auto typeAddress = [&](const char *ip) {
        QTimer::singleShot(0, [&xml, ip] {
            TFXmlSet *set = OpenDialog(xml);
            ASSERT_NE(set, nullptr);
            set->MaskEditIP->clear();
            QTest::keyClicks(set->MaskEditIP, ip);
            set->BitBtnOk->click();
        });
        xml.SpeedButtonSetClick();
    };
    typeAddress("127.0.0.1");
    EXPECT_EQ(xml.Address, "127.0.0.1");
    ASSERT_TRUE(rig.exchange.WaitConnected(1));

    // A list and a tag cut off by a dropped connection.
    rig.exchange.Send("<ans Type=\"HOLD\" Handle=\"0\" Act=\"ACT\">\r\n<ans Port=");
    ASSERT_TRUE(rig.WaitCalls(1));
    rig.exchange.Drop();
    FakeExchange::Pause(50);
    typeAddress("127.0.0.1"); // the same address: no reopen
    FakeExchange::Pause(50);
    EXPECT_EQ(rig.exchange.Connections(), 1);

    xml.ClosePort();
    xml.OpenPort();
    ASSERT_TRUE(rig.exchange.WaitConnected(2));
    rig.exchange.Send("<ans Type=\"STATE\" Handle=\"0\" State=\"REL\"/>");
    ASSERT_TRUE(rig.WaitCalls(2));
    EXPECT_EQ(rig.rx.Calls, (std::vector<std::string>{"hold ACT", "state REL|-1|-1"}));
}

TEST(SettingsDialog, WritesBackOnOkOnly)
{
    bool trace = true, erase = false, terminal = true, live = false;
    std::string ip = "127.0.0.1";
    {
        TFXmlSet set(nullptr, trace, erase, terminal, live, ip, false);
        EXPECT_TRUE(set.CheckBoxTrace->isChecked());
        EXPECT_TRUE(set.CheckBoxTerminal->isChecked());
        EXPECT_FALSE(set.CheckBoxLIVE->isChecked());
        EXPECT_EQ(set.GetIP(), "127.0.0.1");
        EXPECT_TRUE(set.TabSheetServer->isEnabled());
        EXPECT_TRUE(set.LabelWarn->isHidden());
        set.CheckBoxTrace->setChecked(false);
        set.MaskEditIP->clear();
        QTest::keyClicks(set.MaskEditIP, "10.1.22.3");
        EXPECT_EQ(set.GetIP(), "10.1.22.3");
        QTimer::singleShot(0, set.BitBtnCanc, &QPushButton::click);
        EXPECT_FALSE(set.ShowModal());
    }
    EXPECT_TRUE(trace);
    EXPECT_EQ(ip, "127.0.0.1");
    {
        TFXmlSet set(nullptr, trace, erase, terminal, live, ip, true);
        EXPECT_FALSE(set.TabSheetServer->isEnabled());
        EXPECT_FALSE(set.LabelWarn->isHidden());
        set.CheckBoxLIVE->setChecked(true);
        set.CheckBoxTerminal->setChecked(false);
        QTimer::singleShot(0, set.BitBtnOk, &QPushButton::click);
        EXPECT_TRUE(set.ShowModal());
    }
    EXPECT_TRUE(live);
    EXPECT_FALSE(terminal);
    EXPECT_EQ(ip, "127.0.0.1");
}

TEST(LinkWindow, SettingsPlacementAndKeys)
{
    Rig rig;
    {
        TFXML &xml = rig.Start();
        xml.Terminal = true;
        TIniFile desk(rig.dir.File("a.dst"));
        xml.LoadPlacement(&desk);
        EXPECT_FALSE(xml.isVisible());
        EXPECT_EQ(xml.frameGeometry().topLeft(), QPoint(0, 50));
        desk.WriteInteger("XML", "Left", 30);
        desk.WriteInteger("XML", "Width", 333);
        desk.WriteBool("XML", "Visible", true);
        xml.LoadPlacement(&desk);
        EXPECT_TRUE(xml.isVisible());
        TIniFile saved(rig.dir.File("b.dst"));
        xml.SavePlacement(&saved);
        EXPECT_EQ(saved.ReadSection("XML"), (std::vector<std::string>{"Visible", "Left", "Top", "Width", "Height"}));
        EXPECT_EQ(saved.ReadInteger("XML", "Left", -1), 30);
        EXPECT_EQ(saved.ReadInteger("XML", "Width", -1), 333);

        std::string keys;
        PanelKeys.KeyDown = [&](QKeyEvent *e) { keys += "d" + std::to_string(e->key()) + " "; };
        PanelKeys.KeyPress = [&](QKeyEvent *e) { keys += "p" + e->text().toStdString() + " "; };
        QTest::keyClick(xml.ListBox1, Qt::Key_5);
        QTest::keyClick(&xml, Qt::Key_F5);
        PanelKeys = {};
        EXPECT_EQ(keys, "d53 p5 d16777268 ");
        rig.xml.reset();
    }
    TIniFile ini(rig.dir.File("Talvodem.ini"));
    EXPECT_TRUE(ini.ReadBool("XML", "Terminal", false));
    EXPECT_EQ(ini.ReadInteger("XML", "Live", -1), 30);
    EXPECT_EQ(ini.ReadString("TCP", "IP", ""), "127.0.0.1");
}

} // namespace
