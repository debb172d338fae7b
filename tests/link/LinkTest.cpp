// The link without a window: joining, requests, the message list and trace,
// dispatch by Type and session, settings.
#include "Data.h"
#include "FailureTrace.h"
#include "IniFile.h"
#include "RecordingReceivers.h"
#include "TempDir.h"
#include "TraceFile.h"
#include "XmlLink.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace {

using Lines = std::vector<std::string>;

class Link : public TXmlLink {
public:
    Link()
    {
        SetReceivers(&rx);
        SetMessageList(&list);
    }
    void Feed(const std::string &bytes)
    {
        for (size_t done = 0; done < bytes.size();)
            done += static_cast<size_t>(Receive(bytes.data() + done, static_cast<int>(bytes.size() - done)));
    }
    void Request(const std::string &type, const std::string &name, const std::string &value)
    {
        BeginRequest("<req");
        AddAttr("Type", type);
        AddAttr(name, value);
        Append("/>");
        Send();
    }
    std::string wire;
    RecordingReceivers rx;
    TLineList list;

protected:
    void WriteToExchange(const std::string &bytes) override { wire += bytes; }
};

TEST(Joining, ListTagsCarryTheirOpeningTag)
{
    Link l;
    l.Feed("<ans Type=\"HOLD\" Handle=\"0\" Act=\"ACT\">\r\n<ans Port=\"21\" Act=\"ACT\"/>\r\n"
           "<ans Type=\"RING\" Handle=\"9\"/></ans>\r\n");
    const std::string open = "holdwin <ans Type=\"HOLD\" Handle=\"0\" Act=\"ACT\">";
    EXPECT_EQ(l.rx.Calls, (Lines{"hold ACT", open, "hold ACT", open + "<ans Port=\"21\" Act=\"ACT\"/>", "hold ACT",
                                 open + "<ans Type=\"RING\" Handle=\"9\"/>", "hold ACT", open + "</ans>"}));
    EXPECT_EQ(l.list.Lines.size(), 4u); // listed as cut
    EXPECT_TRUE(l.PendingAnswer.empty());

    // A stray closing tag opens a list of its own until a "</" ends it.
    EXPECT_EQ(l.JoinMessage("</ans>"), "</ans>");
    EXPECT_EQ(TXmlLink::GetAttrAct(l.JoinMessage("<a Act=\"END\"/>"), "Act"), "/END");
    l.JoinMessage("</x>");
    EXPECT_TRUE(l.PendingAnswer.empty());
}

TEST(Requests, BytesOnTheWire)
{
    Link l;
    l.rx.Handle = 5;
    l.TimerLiveTimer();
    l.Terminal = true;
    l.TimerLiveTimer();
    EXPECT_EQ(l.wire, "<req Type=\"LIVE\" Handle=\"5\" /><req Type=\"LIVE\" Handle=\"5\" />\r\n");
    l.BeginRequest("<req");
    l.AddAttrInt("Pos", -12);
    l.AddAttr("Text", "a\"b>c&d<e \xE8"); // typed text cannot add attributes
    l.AddAttr("Pass", "a&b c");            // nor lose an '&' on an exchange that decodes nothing
    l.AddAttr("Name", "Nov\xE1k; 21 'A' =/");
    l.Append("/>");
    EXPECT_EQ(l.OutBuffer, "<req Pos=\"-12\" Text=\"a&quot;b&gt;c&d<e \xE8\" Pass=\"a&b c\" "
                           "Name=\"Nov\xE1k; 21 'A' =/\" />");
}

TEST(MessageList, BoundFollowingAndSplitting)
{
    Link l;
    for (int i = 0; i < 600; ++i)
        l.AddToList(std::to_string(i));
    EXPECT_EQ(l.list.Lines.size(), 501u);
    EXPECT_EQ(l.list.Lines.front(), "99");
    EXPECT_EQ(l.list.ItemIndex(), 500); // follows the traffic
    l.list.SetItemIndex(3);
    l.AddToList("a\r\nb\r\n" + std::string(1200, 'c'));
    EXPECT_EQ(l.list.ItemIndex(), 3); // a selection elsewhere stays
    EXPECT_EQ(l.list.Lines[l.list.Lines.size() - 2], "b");
    EXPECT_EQ(l.list.Lines.back().size(), 997u); // each break passes on 1000 characters

    // LIVE traffic is sent but not listed unless asked for.
    l.Request("LIVE", "Handle", "0");
    l.Feed("<ans Type=\"LIVE\" Handle=\"0\"/>");
    EXPECT_EQ(l.list.Lines.back().size(), 997u);
    EXPECT_FALSE(l.wire.empty());
    l.ShowLive = true;
    l.Feed("<ans Type=\"LIVE\" Handle=\"0\"/>");
    EXPECT_EQ(l.list.Lines.back(), "<ans Type=\"LIVE\" Handle=\"0\"/>");
}

TEST(MessageList, PasswordNeverListed)
{
    EXPECT_EQ(TXmlLink::MaskPassword("<req Type=\"OPEN\" Pass=\"\" />"), "<req Type=\"OPEN\" Pass=\"*\" />");
    EXPECT_EQ(TXmlLink::MaskPassword("<req Type=\"X\" Pass=\"p\" />"), "<req Type=\"X\" Pass=\"p\" />");
    EXPECT_EQ(TXmlLink::MaskPassword("<req Type=\"OPEN\" Pass=\"p"), "<req Type=\"OPEN\" Pass=\"p");
    Link l;
    l.Request("OPEN", "Pass", "ab\"cd"); // a quote cannot leave part of it visible
    EXPECT_EQ(l.list.Lines.back(), "<req Type=\"OPEN\" Pass=\"*\" />");
    EXPECT_EQ(l.wire, "<req Type=\"OPEN\" Pass=\"ab&quot;cd\" />");
}

TEST(Trace, AppendedPerLineAndErasedOncePerRun)
{
    TempDir dir;
    WriteBytes(dir.File("XML.trc"), "old\r\n");
    Link l;
    l.DataDir = dir.Path();
    l.AddToList("not traced");
    l.Trace = true;
    l.AddToList("one");
    // Written once the event-loop turn ends.
    EXPECT_EQ(ReadBytes(dir.File("XML.trc")), "old\r\n");
    QCoreApplication::processEvents();
    EXPECT_EQ(ReadBytes(dir.File("XML.trc")), "old\r\none\r\n");
    TXmlLink::TraceEraseDue = true;
    l.TraceErase = true;
    l.Request("OPEN", "Pass", "pw");
    l.AddToList("two\r\nthree");
    FlushTraces();
    EXPECT_EQ(ReadBytes(dir.File("XML.trc")), "<req Type=\"OPEN\" Pass=\"*\" />\r\ntwo\r\nthree\r\n");
    l.DataDir = dir.Path() + "missing/"; // lost quietly
    l.AddToList("lost");
    EXPECT_EQ(l.list.Lines.back(), "lost");
}

TEST(Dispatch, SessionHandleFiltersAllButOpen)
{
    Link l;
    l.rx.Handle = 7;
    l.Feed("<ans Type=\"RING\" Handle=\"8\" Port=\"1\"/><ans Type=\"OPEN\" Handle=\"3\" Ret=\"BADPASS\"/>");
    EXPECT_EQ(l.rx.Calls, (Lines{"open 3||-1||BADPASS"}));
    EXPECT_EQ(l.list.Lines.size(), 2u); // the dropped one is listed
    l.rx.Handle = -1; // after a close an answer without Handle passes
    l.Feed("<ans Type=\"STATE\" State=\"REL\" Hfree=\"1\" Mic=\"0\"/>");
    EXPECT_EQ(l.rx.Calls.back(), "state REL|1|0");
}

TEST(Dispatch, EachTypeReachesItsReceiver)
{
    Link l;
    l.Feed("<ans Type=\"RING\" Handle=\"0\" Port=\"12\" Cid=\"555\" PBXName=\"A&amp;B\" Dest=\"7\" "
           "DestName=\"&#232;\" Pos=\"2\" Act=\"ACT\"/><ans Type=\"DIAL\" Handle=\"0\" PBXName=\"D\" Cid=\"1\" "
           "Act=\"END\"/><ans Type=\"CALL\" Handle=\"0\" Cid=\"2\" PBXName=\"C\" Port=\"3\" Act=\"ACT\"/>"
           "<ans Type=\"PARK\" Handle=\"0\"/><ans Type=\"HIST\" Handle=\"0\"/><ans Type=\"ACC\" Handle=\"0\"/>"
           "<ans Type=\"LOG\" Handle=\"0\"/><ans Type=\"INF\" Handle=\"0\" Act=\"KEY\" Key=\"K\"/>"
           "<ans Type=\"INF\" Handle=\"0\" Act=\"SERVICE\" Rmn=\"4\" Id=\"5\" Service=\"S\"/>"
           "<ans Type=\"INF\" Handle=\"0\" Act=\"TARIMPULS\" Tar=\"9\"/><ans Type=\"INF\" Handle=\"0\" Act=\"X\"/>"
           "<ans Type=\"SHORT\" Handle=\"0\" Act=\"GET\" Pos=\"3\" Num=\"12\" Text=\"T\"/>"
           "<ans Type=\"SYSINFO\" Handle=\"0\"/><ans Type=\"STATES\" Handle=\"0\"/><ans Type=\"W\" Handle=\"0\"/>"
           "<ans Type=\"PBXINFO\" Handle=\"0\">\r\n<ans Port=\"1\" Type=\"AN\" Num=\"10\" Name=\"A\"/></ans>\r\n");
    EXPECT_EQ(l.rx.Calls, (Lines{"ring 12|555|A&B|7|\xE8|2|ACT", "dial D|1|END", "call 2|C|3|ACT",
                                 "parkwin <ans Type=\"PARK\" Handle=\"0\"/>", "histwin <ans Type=\"HIST\" Handle=\"0\"/>",
                                 "accwin <ans Type=\"ACC\" Handle=\"0\"/>", "logwin <ans Type=\"LOG\" Handle=\"0\"/>",
                                 "keys K", "service S|5|4", "tariff 9", "short GET|3|12|T",
                                 "port |PBXINFO||", "port 1|AN|10|A"}));
    // Receivers that don't exist get nothing.
    l.rx.Calls.clear();
    l.rx.WindowsExist = false;
    l.Feed("<ans Type=\"PARK\" Handle=\"0\"/><ans Type=\"SHORT\" Handle=\"0\" Act=\"GET\"/>"
           "<ans Type=\"PBXINFO\" Handle=\"0\"/><ans Type=\"HOLD\" Handle=\"0\" Act=\"END\"/>");
    EXPECT_EQ(l.rx.Calls, (Lines{"hold END"}));
}

TEST(Dispatch, SessionEndsAndKeepAlive)
{
    Link l;
    l.Feed("<ans Type=\"OPEN\" Ret=\"OK\" LineType=\"ST\" Pos=\"4\" Attr=\"STS-CTI\" Handle=\"5\"/>");
    EXPECT_EQ(l.rx.Calls, (Lines{"open 5|STS-CTI|4|ST|OK"}));
    EXPECT_TRUE(l.TimerLive->Enabled());
    l.Feed("<ans Type=\"CLOSE\" Handle=\"5\" Ret=\"BUSY\"/>");
    EXPECT_TRUE(l.TimerLive->Enabled());
    l.Feed("<ans Type=\"CLOSE\" Handle=\"5\" Ret=\"OK\"/>");
    EXPECT_FALSE(l.TimerLive->Enabled());
    EXPECT_EQ(l.rx.Calls.back(), "closed ");
    l.Feed("<ans Type=\"OPEN\" Ret=\"OK\" Handle=\"6\"/><ans Type=\"LIVE\" Handle=\"6\" Act=\"CLOSEDEAD\"/>");
    EXPECT_FALSE(l.TimerLive->Enabled());
    EXPECT_EQ(l.rx.Calls.back(), "closed CLOSEDEAD");

    // A session closed while the OPEN answer's box was open gets no keep-alive.
    l.rx.DuringOpen = [&] { l.Feed("<ans Type=\"CLOSE\" Handle=\"7\" Ret=\"CLOSEDEAD\"/>"); };
    l.Feed("<ans Type=\"OPEN\" Ret=\"OK\" Handle=\"7\"/>");
    EXPECT_EQ(l.rx.Calls.back(), "closed CLOSEDEAD");
    EXPECT_FALSE(l.TimerLive->Enabled());
}

TEST(Dispatch, FailingReceiverDropsOnlyItsAnswer)
{
    struct Throwing : RecordingReceivers {
        void OnStateAnswer(const std::string &state, int, int) override
        {
            Calls.push_back(state);
            throw std::runtime_error("receiver failed");
        }
    } rx;
    TempDir dir;
    SetFailureTrace(dir.File("t.trc"));
    Link l;
    l.SetReceivers(&rx);
    l.Feed("<ans Type=\"STATE\" Handle=\"0\" State=\"RNG\"/><ans Type=\"STATE\" Handle=\"0\" State=\"CAL\"/>"
           "<ans Type=\"DIAL\" Handle=\"0\" Cid=\"1\"/>");
    EXPECT_EQ(rx.Calls, (Lines{"RNG", "CAL", "dial |1|"}));
    const std::string trace = ReadBytes(dir.File("t.trc"));
    SetFailureTrace("");
    const std::string failure = " Failure in TXmlLink::ProcessMessage: receiver failed\r\n";
    const size_t first = trace.find(failure);
    EXPECT_NE(first, std::string::npos) << trace;
    EXPECT_NE(trace.find(failure, first + 1), std::string::npos) << "each failure written: " << trace;
}

TEST(Settings, DefaultsAndBounds)
{
    TempDir dir;
    Link l;
    TIniFile ini(dir.File("a.ini"));
    l.ReadLinkSettings(ini);
    EXPECT_EQ(std::tuple(l.Address, l.Port, l.MaxList, l.TimerLive->Interval()),
              std::tuple(std::string("127.0.0.1"), 6800, 500, 30000));
    EXPECT_FALSE(l.Trace || l.TraceErase || l.ShowLive || l.Terminal);
    ini.WriteInteger("XML", "Live", 0);
    ini.WriteInteger("XML", "MaxList", -5); // hand-edited
    l.ReadLinkSettings(ini);
    EXPECT_EQ(l.TimerLive->Interval(), 0);
    EXPECT_EQ(l.MaxList, 0);
    l.AddToList("a");
    l.AddToList("b");
    EXPECT_EQ(l.list.Lines, (std::deque<std::string>{"b"}));
    l.WriteLinkSettings(ini);
    EXPECT_EQ(ini.ReadInteger("XML", "Live", -1), 0);
    EXPECT_EQ(ini.ReadInteger("XML", "MaxList", 1), -5); // never written
}

TEST(PbxData, PortsAreCountedNamedAndReplacedByTheNextList)
{
    TPbxData pbx;
    const char *ports[][4] = {{"", "", "", ""},         {"IL1", "SYS", "10", "Operator"}, {"IL2", "AUDIO", "11", "Music"},
                              {"CO1", "CO", "", "Line 1"}, {"CO2", "CO", "", "Line 2"},     {"EM1", "EM", "", "E&M"},
                              {"GS1", "GSM", "", "GSM gate"}, {"IS1", "ISDN", "", "ISDN"}};
    for (auto &p : ports) // a list starts with an empty port
        pbx.AddPort(p[0], p[1], p[2], p[3]);
    EXPECT_EQ(std::vector<int>({pbx.PortCount, pbx.CountIL, pbx.CountCO, pbx.CountEM, pbx.CountGSM, pbx.AudioCount}),
              std::vector<int>({7, 2, 2, 1, 1, 1}));
    EXPECT_EQ(pbx.PortName("CO2") + "|" + pbx.PortName("XX9"), "Line 2|");
    EXPECT_TRUE(pbx.IsAudioPort("IL2") && !pbx.IsAudioPort("IL1"));

    pbx.AddPort("", "", "", "");
    pbx.AddPort("CO9", "CO", "", "Other");
    EXPECT_EQ(pbx.PortCount, 1);
    EXPECT_EQ(pbx.PortName("CO1"), "");
    EXPECT_FALSE(pbx.IsAudioPort("IL2"));

    // Excess ports never write past the tables.
    pbx.AddPort("", "", "", "");
    for (int i = 0; i < 80; ++i)
        pbx.AddPort("IL" + std::to_string(i), "AUDIO", "", "p" + std::to_string(i));
    EXPECT_EQ(pbx.PortCount, TPbxData::kMaxPorts);
    EXPECT_EQ(pbx.AudioCount, TPbxData::kMaxAudioPorts);
    EXPECT_EQ(pbx.PortName("IL55"), "p55");
    EXPECT_EQ(pbx.PortName("IL56"), "");
}

TEST(PbxData, RequestsFollowTheCommandRight)
{
    TPbxData pbx;
    Link link;
    pbx.RequestInfo(link, 5, 3, false);
    EXPECT_EQ(link.wire, "<req Type=\"PBXINFO\" Handle=\"5\" />");
    EXPECT_EQ(pbx.OwnPort, 3);
    link.wire.clear();
    pbx.RequestInfo(link, 5, -1, true);
    EXPECT_EQ(link.wire, "<req Type=\"PBXINFO\" Handle=\"5\" /><req Type=\"SYSINFO\" Act=\"GET\" Handle=\"5\" />");
}

} // namespace
