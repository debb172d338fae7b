#include "Data.h"

#include "XmlLink.h"

TPbxData *PbxData = nullptr;

void TPbxData::RequestInfo(TXmlLink &link, int handle, int ownPort, bool cmdRight)
{
    OwnPort = ownPort;
    link.BeginRequest("<req");
    link.AddAttr("Type", "PBXINFO");
    link.AddAttrInt("Handle", handle);
    link.Append("/>");
    link.Send();
    if (!cmdRight)
        return;
    link.BeginRequest("<req");
    link.AddAttr("Type", "SYSINFO");
    link.AddAttr("Act", "GET");
    link.AddAttrInt("Handle", handle);
    link.Append("/>");
    link.Send();
}

void TPbxData::AddPort(const std::string &port, const std::string &type, const std::string &num,
                       const std::string &name)
{
    if (port.empty()) {
        PortCount = 0;
        CountIL = CountCO = CountEM = CountGSM = AudioCount = 0;
        return;
    }
    // Ports past the tables are dropped: the tables have fixed sizes.
    if (PortCount >= kMaxPorts)
        return;
    std::string kind = port.substr(0, 2);
    if (kind == "IL") {
        ++CountIL;
        if (type == "AUDIO" && AudioCount < kMaxAudioPorts)
            AudioPorts[AudioCount++] = port;
    } else if (kind == "CO") {
        ++CountCO;
    } else if (kind == "EM") {
        ++CountEM;
    } else if (kind == "GS") {
        ++CountGSM;
    }
    Ports[static_cast<size_t>(PortCount++)] = {name, port, type, num};
}

std::string TPbxData::PortName(const std::string &port) const
{
    for (int i = 0; i < PortCount; ++i)
        if (Ports[static_cast<size_t>(i)].Port == port)
            return Ports[static_cast<size_t>(i)].Name;
    return {};
}

bool TPbxData::IsAudioPort(const std::string &port) const
{
    for (int i = 0; i < AudioCount; ++i)
        if (AudioPorts[static_cast<size_t>(i)] == port)
            return true;
    return false;
}
