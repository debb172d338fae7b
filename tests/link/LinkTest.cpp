// The link without a window: joining, requests, the message list and trace,
// dispatch by Type and session, settings.
#include "IniFile.h"
#include "RecordingReceivers.h"
#include "TempDir.h"
#include "XmlLink.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class Link : public TXmlLink {
public:
    Link()
    {
        SetReceivers(&rx);
        SetMessageList(&list);
    }
    void Feed(const std::string &bytes)
    {
        size_t done = 0;
        while (done < bytes.size())
            done += static_cast<size_t>(Receive(bytes.data() + done, static_cast<int>(bytes.size() - done)));
    }
    std::string wire;
    RecordingReceivers rx;
    TLineList list;

protected:
    void WriteToExchange(const std::string &bytes) override { wire += bytes; }
};

using Lines = std::vector<std::string>;

TEST(Joining, ListAnswerTagsCarryTheirOpeningTag)
{
    Link l;
    const std::string open = "<ans Type=\"HOLD\" Handle=\"0\" Act=\"ACT\">";
    EXPECT_EQ(l.JoinMessage(open), open);
    EXPECT_EQ(l.PendingAnswer, open);
    EXPECT_EQ(l.JoinMessage("<i Port=\"5\" Act=\"X\"/>"), open + "<i Port=\"5\" Act=\"X\"/>");
    const std::string closing = l.JoinMessage("</ans>");
    EXPECT_EQ(closing, open + "</ans>");
    EXPECT_EQ(TXmlLink::GetAttrAct(closing, "Act"), "/ACT");
    EXPECT_TRUE(l.PendingAnswer.empty());
    EXPECT_EQ(l.JoinMessage("<ans Type=\"RING\"/>"), "<ans Type=\"RING\"/>");

    // A stray closing tag opens a list of its own until a "</" ends it.
    EXPECT_EQ(l.JoinMessage("</ans>"), "</ans>");
    EXPECT_EQ(l.JoinMessage("<ans Act=\"END\"/>"), "</ans><ans Act=\"END\"/>");
    EXPECT_EQ(TXmlLink::GetAttrAct("</ans><ans Act=\"END\"/>", "Act"), "/END");
    l.JoinMessage("</x>");
    EXPECT_TRUE(l.PendingAnswer.empty());
}

TEST(Joining, HoldListReachesPanelAndWindowWithTheOpeningType)
{
    Link l;
    l.Feed("<ans Type=\"HOLD\" Handle=\"0\" Act=\"ACT\">\r\n<ans Port=\"21\" Act=\"ACT\"/>\r\n"
           "<ans Type=\"RING\" Handle=\"9\" Act=\"ACT\"/></ans>\r\n");
    ASSERT_EQ(l.rx.Calls.size(), 8u);
    EXPECT_EQ(l.rx.Calls[0], "hold ACT");
    EXPECT_EQ(l.rx.Calls[2], "hold ACT");
    EXPECT_EQ(l.rx.Calls[3], "holdwin <ans Type=\"HOLD\" Handle=\"0\" Act=\"ACT\"><ans Port=\"21\" Act=\"ACT\"/>");
    EXPECT_EQ(l.rx.Calls[4], "hold ACT"); // the single tag inside the list is one of its tags
    EXPECT_EQ(l.rx.Calls[7], "holdwin <ans Type=\"HOLD\" Handle=\"0\" Act=\"ACT\"></ans>");
    EXPECT_EQ(l.list.Lines.size(), 4u); // listed as cut
}

TEST(Requests, BytesOnTheWire)
{
    Link l;
    l.rx.Handle = 5;
    l.TimerLiveTimer();
    EXPECT_EQ(l.wire, "<req Type=\"LIVE\" Handle=\"5\" />");
    l.wire.clear();
    l.Terminal = true;
    l.TimerLiveTimer();
    EXPECT_EQ(l.wire, "<req Type=\"LIVE\" Handle=\"5\" />\r\n");
    EXPECT_EQ(l.OutBuffer, "<req Type=\"LIVE\" Handle=\"5\" />");

    l.BeginRequest("<req");
    l.AddAttrInt("Pos", -12);
    l.AddAttr("Text", "a\"b>c&d<e \xE8");
    l.Append("/>");
    EXPECT_EQ(l.OutBuffer, "<req Pos=\"-12\" Text=\"a&quot;b&gt;c&d<e \xE8\" />");
}

TEST(MessageList, BoundFollowingAndSplitting)
{
    Link l;
    for (int i = 0; i < 600; ++i)
        l.AddToList("<x n=\"" + std::to_string(i) + "\"/>");
    ASSERT_EQ(l.list.Lines.size(), 501u);
    EXPECT_EQ(l.list.Lines.front(), "<x n=\"99\"/>");
    EXPECT_EQ(l.list.ItemIndex(), 500); // follows the traffic

    // A selection elsewhere is kept as it was.
    l.list.SetItemIndex(3);
    l.AddToList("a\r\nb\r\n" + std::string(1200, 'c'));
    EXPECT_EQ(l.list.ItemIndex(), 3);
    EXPECT_EQ(l.list.Lines[l.list.Lines.size() - 2], "b");
    EXPECT_EQ(l.list.Lines.back().size(), 997u); // each break passes on only 1000 characters

    // A hand-edited negative bound keeps one line.
    l.MaxList = -5;
    TempDir dir;
    TIniFile ini(dir.File("x.ini"));
    ini.WriteInteger("XML", "MaxList", -5);
    l.ReadLinkSettings(ini);
    EXPECT_EQ(l.MaxList, 0);
    l.AddToList("last");
    EXPECT_EQ(l.list.Lines, (std::deque<std::string>{"last"}));
}

TEST(MessageList, LiveTrafficHiddenUnlessShown)
{
    Link l;
    l.TimerLiveTimer();
    l.Feed("<ans Type=\"LIVE\" Handle=\"0\"/>");
    EXPECT_TRUE(l.list.Lines.empty());
    EXPECT_FALSE(l.wire.empty()); // still sent
    l.ShowLive = true;
    l.TimerLiveTimer();
    l.Feed("<ans Type=\"LIVE\" Handle=\"0\"/>");
    EXPECT_EQ(l.list.Lines.size(), 2u);
}

TEST(MessageList, PasswordNeverListed)
{
    EXPECT_EQ(TXmlLink::MaskPassword("<req Type=\"OPEN\" User=\"u\" Pass=\"secret\" Firm=\"0\" />"),
              "<req Type=\"OPEN\" User=\"u\" Pass=\"*\" Firm=\"0\" />");
    EXPECT_EQ(TXmlLink::MaskPassword("<req Type=\"OPEN\" Pass=\"\" />"), "<req Type=\"OPEN\" Pass=\"*\" />");
    EXPECT_EQ(TXmlLink::MaskPassword("<req Type=\"X\" Pass=\"p\" />"), "<req Type=\"X\" Pass=\"p\" />");
    EXPECT_EQ(TXmlLink::MaskPassword("<req Type=\"OPEN\" Pass=\"p"), "<req Type=\"OPEN\" Pass=\"p");

    // A quote in the password cannot leave part of it visible.
    Link l;
    l.BeginRequest("<req");
    l.AddAttr("Type", "OPEN");
    l.AddAttr("Pass", "ab\"cd");
    l.Append("/>");
    l.Send();
    EXPECT_EQ(l.list.Lines.back(), "<req Type=\"OPEN\" Pass=\"*\" />");
    EXPECT_NE(l.wire.find("ab&quot;cd"), std::string::npos);
}

TEST(Trace, AppendedPerLineAndErasedOncePerRun)
{
    TempDir dir;
    WriteBytes(dir.File("XML.trc"), "old\r\n");
    Link l;
    l.DataDir = dir.Path();
    l.AddToList("nothing traced");
    EXPECT_EQ(ReadBytes(dir.File("XML.trc")), "old\r\n");

    l.Trace = true;
    l.AddToList("one");
    EXPECT_EQ(ReadBytes(dir.File("XML.trc")), "old\r\none\r\n");

    TXmlLink::TraceEraseDue = true;
    l.TraceErase = true;
    l.AddToList("<req Type=\"OPEN\" Pass=\"pw\" />");
    l.AddToList("two\r\nthree");
    EXPECT_EQ(ReadBytes(dir.File("XML.trc")), "<req Type=\"OPEN\" Pass=\"*\" />\r\ntwo\r\nthree\r\n");
    EXPECT_FALSE(TXmlLink::TraceEraseDue);

    // An unwritable folder loses the line quietly.
    l.DataDir = dir.Path() + "missing/";
    l.AddToList("lost");
    EXPECT_EQ(l.list.Lines.back(), "lost");
}

TEST(Dispatch, SessionHandleFiltersAllButOpen)
{
    Link l;
    l.rx.Handle = 7;
    l.Feed("<ans Type=\"RING\" Handle=\"8\" Port=\"1\" Act=\"ACT\"/>");
    EXPECT_TRUE(l.rx.Calls.empty());
    EXPECT_EQ(l.list.Lines.size(), 1u);
    l.Feed("<ans Type=\"OPEN\" Handle=\"3\" Ret=\"BADPASS\"/>");
    EXPECT_EQ(l.rx.Calls, (Lines{"open 3  -1  BADPASS"}));
    l.rx.Calls.clear();
    l.rx.Handle = -1;
    l.Feed("<ans Type=\"STATE\" State=\"REL\" Hfree=\"1\" Mic=\"0\"/>");
    EXPECT_EQ(l.rx.Calls, (Lines{"state REL|1|0"}));
}

TEST(Dispatch, EachTypeReachesItsReceiver)
{
    Link l;
    l.Feed("<ans Type=\"RING\" Handle=\"0\" Port=\"12\" Cid=\"555\" PBXName=\"A&amp;B\" Dest=\"7\" "
           "DestName=\"&#232;\" Pos=\"2\" Act=\"ACT\"/>"
           "<ans Type=\"DIAL\" Handle=\"0\" PBXName=\"D\" Cid=\"1\" Act=\"END\"/>"
           "<ans Type=\"CALL\" Handle=\"0\" Cid=\"2\" PBXName=\"C\" Port=\"3\" Act=\"ACT\"/>"
           "<ans Type=\"PARK\" Handle=\"0\"/><ans Type=\"HIST\" Handle=\"0\"/>"
           "<ans Type=\"ACC\" Handle=\"0\"/><ans Type=\"LOG\" Handle=\"0\"/>"
           "<ans Type=\"INF\" Handle=\"0\" Act=\"KEY\" Key=\"K\"/>"
           "<ans Type=\"INF\" Handle=\"0\" Act=\"SERVICE\" Rmn=\"4\" Id=\"5\" Service=\"S\"/>"
           "<ans Type=\"INF\" Handle=\"0\" Act=\"TARIMPULS\" Tar=\"9\"/>"
           "<ans Type=\"INF\" Handle=\"0\" Act=\"OTHER\"/>"
           "<ans Type=\"SHORT\" Handle=\"0\" Act=\"GET\" Pos=\"3\" Num=\"12\" Text=\"T\"/>"
           "<ans Type=\"SYSINFO\" Handle=\"0\"/><ans Type=\"STATES\" Handle=\"0\"/><ans Type=\"WHAT\" Handle=\"0\"/>");
    EXPECT_EQ(l.rx.Calls, (Lines{"ring 12|555|A&B|7|\xE8|2|ACT", "dial D|1|END", "call 2|C|3|ACT",
                                 "parkwin <ans Type=\"PARK\" Handle=\"0\"/>", "histwin <ans Type=\"HIST\" Handle=\"0\"/>",
                                 "accwin <ans Type=\"ACC\" Handle=\"0\"/>", "logwin <ans Type=\"LOG\" Handle=\"0\"/>",
                                 "keys K", "service S|5|4", "tariff 9", "short GET|3|12|T"}));
    l.rx.Calls.clear();
    l.rx.WindowsExist = false;
    l.Feed("<ans Type=\"PARK\" Handle=\"0\"/><ans Type=\"SHORT\" Handle=\"0\" Act=\"GET\"/>"
           "<ans Type=\"PBXINFO\" Handle=\"0\"/><ans Type=\"HOLD\" Handle=\"0\" Act=\"END\"/>");
    EXPECT_EQ(l.rx.Calls, (Lines{"hold END"}));
}

TEST(Dispatch, PortListReadFromTheTagAsReceived)
{
    Link l;
    l.Feed("<ans Type=\"PBXINFO\" Handle=\"0\">\r\n<ans Port=\"1\" Type=\"AN\" Num=\"10\" Name=\"A\"/>\r\n"
           "<ans Port=\"2\" Type=\"DG\" Num=\"11\" Name=\"B\"/>\r\n<ans Port=\"3\" Type=\"AU\" Num=\"12\" Name=\"C\"/>\r\n"
           "</ans>\r\n");
    EXPECT_EQ(l.rx.Calls, (Lines{"port |PBXINFO||", "port 1|AN|10|A", "port 2|DG|11|B", "port 3|AU|12|C"}));
}

TEST(Dispatch, SessionEndsAndKeepAlive)
{
    Link l;
    l.Feed("<ans Type=\"OPEN\" Ret=\"OK\" LineType=\"ST\" Pos=\"4\" Attr=\"STS-CTI\" Handle=\"5\"/>");
    EXPECT_EQ(l.rx.Calls, (Lines{"open 5 STS-CTI 4 ST OK"}));
    EXPECT_TRUE(l.TimerLive->Enabled());
    l.Feed("<ans Type=\"CLOSE\" Handle=\"5\" Ret=\"BUSY\"/>");
    EXPECT_TRUE(l.TimerLive->Enabled());
    l.Feed("<ans Type=\"CLOSE\" Handle=\"5\" Ret=\"OK\"/>");
    EXPECT_FALSE(l.TimerLive->Enabled());
    EXPECT_EQ(l.rx.Calls.back(), "closed ");

    l.Feed("<ans Type=\"OPEN\" Ret=\"OK\" Handle=\"6\"/><ans Type=\"LIVE\" Handle=\"6\" Act=\"OK\"/>");
    EXPECT_TRUE(l.TimerLive->Enabled());
    l.Feed("<ans Type=\"LIVE\" Handle=\"6\" Act=\"CLOSEDEAD\"/>");
    EXPECT_FALSE(l.TimerLive->Enabled());
    EXPECT_EQ(l.rx.Calls.back(), "closed CLOSEDEAD");

    // A session closed while the OPEN answer's box was open stays without keep-alive.
    l.rx.DuringOpen = [&] { l.Feed("<ans Type=\"CLOSE\" Handle=\"7\" Ret=\"CLOSEDEAD\"/>"); };
    l.Feed("<ans Type=\"OPEN\" Ret=\"OK\" Handle=\"7\"/>");
    EXPECT_EQ(l.rx.Calls.back(), "closed CLOSEDEAD");
    EXPECT_FALSE(l.TimerLive->Enabled());
}

class Throwing : public RecordingReceivers {
public:
    void OnStateAnswer(const std::string &state, int, int) override
    {
        Calls.push_back("state " + state);
        throw std::runtime_error("receiver failed");
    }
};

TEST(Dispatch, FailingReceiverDropsOnlyItsAnswer)
{
    Link l;
    Throwing rx;
    l.SetReceivers(&rx);
    l.Feed("<ans Type=\"STATE\" Handle=\"0\" State=\"RNG\"/><ans Type=\"STATE\" Handle=\"0\" State=\"CAL\"/>"
           "<ans Type=\"DIAL\" Handle=\"0\" Cid=\"1\"/>");
    EXPECT_EQ(rx.Calls, (Lines{"state RNG", "state CAL", "dial |1|"}));
    EXPECT_EQ(l.Framing.RxCount, 0);
}

TEST(Settings, DefaultsAndWriteBack)
{
    TempDir dir;
    Link l;
    {
        TIniFile none(dir.File("none.ini"));
        l.ReadLinkSettings(none);
    }
    EXPECT_EQ(l.Address, "127.0.0.1");
    EXPECT_EQ(l.Port, 6800);
    EXPECT_FALSE(l.Trace || l.TraceErase || l.ShowLive || l.Terminal);
    EXPECT_EQ(l.MaxList, 500);
    EXPECT_EQ(l.TimerLive->Interval(), 30000);

    TIniFile ini(dir.File("a.ini"));
    ini.WriteInteger("XML", "Live", 0);
    ini.WriteInteger("XML", "MaxList", 20);
    ini.WriteString("TCP", "IP", "10.1.2.3");
    ini.WriteBool("XML", "Terminal", true);
    l.ReadLinkSettings(ini);
    EXPECT_EQ(l.TimerLive->Interval(), 0);
    EXPECT_EQ(l.Address, "10.1.2.3");
    EXPECT_TRUE(l.Terminal);
    l.MaxList = 77;
    l.WriteLinkSettings(ini);
    EXPECT_EQ(ini.ReadInteger("XML", "Live", -1), 0);
    EXPECT_EQ(ini.ReadInteger("XML", "MaxList", -1), 20); // never written
    EXPECT_EQ(ini.ReadString("TCP", "Port", ""), "6800");
}

} // namespace
