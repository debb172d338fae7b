#include "RecordingReceivers.h"

void RecordingReceivers::OnOpenAnswer(int handle, const std::string &attr, int pos, const std::string &lineType,
                                      const std::string &ret)
{
    Calls.push_back("open " + std::to_string(handle) + " " + attr + " " + std::to_string(pos) + " " + lineType +
                    " " + ret);
    if (ret == "OK") {
        Handle = handle;
        Connected = true;
    }
    if (DuringOpen)
        DuringOpen();
}

void RecordingReceivers::OnSessionClosed(const std::string &reason, bool waitSound)
{
    Calls.push_back("closed " + reason);
    Handle = -1;
    Connected = false;
}

void RecordingReceivers::OnRingAnswer(const std::string &port, const std::string &cid, const std::string &pbxName,
                                      const std::string &dest, const std::string &destName, int pos,
                                      const std::string &act)
{
    Calls.push_back("ring " + port + "|" + cid + "|" + pbxName + "|" + dest + "|" + destName + "|" +
                    std::to_string(pos) + "|" + act);
}

void RecordingReceivers::OnDialAnswer(const std::string &pbxName, const std::string &cid, const std::string &act)
{
    Calls.push_back("dial " + pbxName + "|" + cid + "|" + act);
}

void RecordingReceivers::OnCallAnswer(const std::string &cid, const std::string &pbxName, const std::string &port,
                                      const std::string &act)
{
    Calls.push_back("call " + cid + "|" + pbxName + "|" + port + "|" + act);
}

void RecordingReceivers::OnStateAnswer(const std::string &state, int hfree, int mic)
{
    Calls.push_back("state " + state + "|" + std::to_string(hfree) + "|" + std::to_string(mic));
}

void RecordingReceivers::ShowService(const std::string &service, int id, int rmn)
{
    Calls.push_back("service " + service + "|" + std::to_string(id) + "|" + std::to_string(rmn));
}

TAnswerWindow *RecordingReceivers::Window(const char *name)
{
    window_ = name;
    return WindowsExist ? this : nullptr;
}

void RecordingReceivers::SpeedDial::ProcessAnswer(const std::string &act, int pos, const std::string &num,
                                                  const std::string &text)
{
    calls->push_back("short " + act + "|" + std::to_string(pos) + "|" + num + "|" + text);
}

void RecordingReceivers::Ports::AddPort(const std::string &port, const std::string &type, const std::string &num,
                                        const std::string &name)
{
    calls->push_back("port " + port + "|" + type + "|" + num + "|" + name);
}
