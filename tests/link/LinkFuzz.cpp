// Arbitrary bytes through the framing, joining, dispatch and every reader.
#include "RecordingReceivers.h"
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

// Every answer a window would get is read through every reader as well.
class Everything : public RecordingReceivers {
public:
    void ProcessAnswer(const std::string &answer) override { ReadEverything(answer); }
    using RecordingReceivers::ProcessAnswer;
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
