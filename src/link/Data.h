#pragma once
// What the program knows of the exchange it is logged into: its ports, their
// names, kinds and numbers, and which of them are audio ports.
#include "Receivers.h"

#include <array>
#include <cstdint>
#include <string>

class TXmlLink;

struct TPbxPortRec {
    std::string Name, Port, Type, Num;
};

class TPbxData : public TPortReceiver {
public:
    static constexpr int kMaxPorts = 56;
    static constexpr int kMaxAudioPorts = 20;

    // Asks for the port list, and with the command right for the system data.
    void RequestInfo(TXmlLink &link, int handle, int ownPort, bool cmdRight);
    void AddPort(const std::string &port, const std::string &type, const std::string &num,
                 const std::string &name) override;
    std::string PortName(const std::string &port) const;
    bool IsAudioPort(const std::string &port) const;

    int OwnPort = -1;
    int PortCount = 0;
    std::uint8_t CountIL = 0, CountCO = 0, CountEM = 0, CountGSM = 0, AudioCount = 0;
    std::array<std::string, kMaxAudioPorts> AudioPorts;
    std::array<TPbxPortRec, kMaxPorts> Ports;
};

extern TPbxData *PbxData;
