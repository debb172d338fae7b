// Arbitrary bytes through the framing, joining, dispatch and every reader.
#include "RecordingReceivers.h"
#include "XmlLink.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

namespace {

// Through every reader, by one of the names answers carry (which one
// varies with the text): the readers' paths do not depend on the name.
void ReadEverything(const std::string &answer)
{
    static const char *const kNames[] = {"Type", "Handle", "Act", "Port", "PBXName", "Pos", "Pass"};
    const char *name = kNames[answer.size() % std::size(kNames)];
    TAttrReader::GetAttr(answer, name);
    TAttrReader::GetAttrInt(answer, name);
    TAttrReader::GetAttrText(answer, name);
    TAttrReader::GetAttrAct(answer, name);
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

// The link's keep-alive timer starts on an answer that opens the session, as
// in the program: timers need the application's event dispatcher.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

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
