// Arbitrary bytes through the framing, joining, dispatch and every reader.
#include "XmlLink.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void ReadEverything(const std::string &answer)
{
    for (const char *name : {"Type", "Handle", "Act", "Port", "PBXName", "Pos", "Pass"}) {
        TAttrReader::GetAttr(answer, name);
        TAttrReader::GetAttrInt(answer, name);
        TAttrReader::GetAttrText(answer, name);
        TAttrReader::GetAttrAct(answer, name);
    }
    char ch = 0;
    TAttrReader::DecodeCharRef(answer, ch);
    TAttrReader::DecodeEntities(answer);
    TXmlLink::MaskPassword(answer);
}

class Everything : public TAnswerReceivers, public TAnswerWindow, public TSpeedDialReceiver, public TPortReceiver {
public:
    int SessionHandle() const override { return handle; }
    void OnOpenAnswer(int h, const std::string &, int, const std::string &, const std::string &ret) override
    {
        if (ret == "OK")
            handle = h;
    }
    void OnSessionClosed(const std::string &, bool) override { handle = -1; }
    void ProcessAnswer(const std::string &answer) override { ReadEverything(answer); }
    void ProcessAnswer(const std::string &act, int, const std::string &num, const std::string &text) override {}
    void AddPort(const std::string &, const std::string &, const std::string &, const std::string &) override {}
    TAnswerWindow *HoldWindow() override { return this; }
    TAnswerWindow *ParkWindow() override { return this; }
    TAnswerWindow *HistWindow() override { return this; }
    TSpeedDialReceiver *SpeedDial() override { return this; }
    TPortReceiver *PbxData() override { return this; }
    int handle = -1;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Everything receivers;
    TXmlLink link;
    link.SetReceivers(&receivers);
    link.MaxList = 20;
    // The first byte chooses how the stream is cut into reads.
    const size_t step = size ? 1 + data[0] % 64 : 1;
    const char *bytes = reinterpret_cast<const char *>(data);
    size_t done = 0;
    while (done < size) {
        size_t n = std::min(step, size - done);
        done += static_cast<size_t>(link.Receive(bytes + done, static_cast<int>(n)));
    }
    ReadEverything(std::string(bytes, size));
    return 0;
}
