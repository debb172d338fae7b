#include "Data.h"
#include "XmlLink.h"

#include <gtest/gtest.h>

namespace {

class SentLink : public TXmlLink {
public:
    std::string sent;

protected:
    void WriteToExchange(const std::string &bytes) override { sent += bytes; }
};

TEST(PbxData, PortsAreCountedNamedAndReplacedByTheNextList)
{
    TPbxData pbx;
    pbx.AddPort("", "", "", "");
    pbx.AddPort("IL1", "SYS", "10", "Operator");
    pbx.AddPort("IL2", "AUDIO", "11", "Music");
    pbx.AddPort("CO1", "CO", "", "Line 1");
    pbx.AddPort("CO2", "CO", "", "Line 2");
    pbx.AddPort("EM1", "EM", "", "E&M");
    pbx.AddPort("GS1", "GSM", "", "GSM gate");
    pbx.AddPort("IS1", "ISDN", "", "ISDN");
    EXPECT_EQ(pbx.PortCount, 7);
    EXPECT_EQ(pbx.CountIL, 2);
    EXPECT_EQ(pbx.CountCO, 2);
    EXPECT_EQ(pbx.CountEM, 1);
    EXPECT_EQ(pbx.CountGSM, 1);
    EXPECT_EQ(pbx.AudioCount, 1);
    EXPECT_EQ(pbx.PortName("CO2"), "Line 2");
    EXPECT_EQ(pbx.PortName("XX9"), "");
    EXPECT_TRUE(pbx.IsAudioPort("IL2"));
    EXPECT_FALSE(pbx.IsAudioPort("IL1"));

    pbx.AddPort("", "", "", "");
    pbx.AddPort("CO9", "CO", "", "Other");
    EXPECT_EQ(pbx.PortCount, 1);
    EXPECT_EQ(pbx.PortName("CO1"), "");
    EXPECT_FALSE(pbx.IsAudioPort("IL2"));
}

TEST(PbxData, ExcessPortsNeverWritePastTheTables)
{
    TPbxData pbx;
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
    SentLink link;
    pbx.RequestInfo(link, 5, 3, false);
    EXPECT_EQ(link.sent, "<req Type=\"PBXINFO\" Handle=\"5\" />");
    EXPECT_EQ(pbx.OwnPort, 3);
    link.sent.clear();
    pbx.RequestInfo(link, 5, -1, true);
    EXPECT_EQ(link.sent, "<req Type=\"PBXINFO\" Handle=\"5\" /><req Type=\"SYSINFO\" Act=\"GET\" Handle=\"5\" />");
}

} // namespace
