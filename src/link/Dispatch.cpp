// Answers by Type to their receivers.
#include "XmlLink.h"

#include "FailureTrace.h"

namespace {

void PassOn(TAnswerWindow *window, const std::string &joined)
{
    if (window)
        window->ProcessAnswer(joined);
}

} // namespace

// A receiver that fails drops its own answer only: the bytes after it still
// have to be cut and dispatched.
void TXmlLink::ProcessMessage(const std::string &message)
{
    try {
        AddToList(message);
        const std::string joined = JoinMessage(message);
        const std::string type = GetAttr(joined, "Type");
        if (type == "OPEN") {
            OnOpen(joined);
            return;
        }
        if (GetAttrInt(joined, "Handle") != receivers_->SessionHandle())
            return;
        Dispatch(type, joined, message);
    } catch (...) {
        TraceFailure("TXmlLink::ProcessMessage");
    }
}

void TXmlLink::Dispatch(const std::string &type, const std::string &joined, const std::string &message)
{
    if (type == "CLOSE")
        OnClose(joined);
    else if (type == "RING")
        OnRing(joined);
    else if (type == "DIAL")
        OnDial(joined);
    else if (type == "CALL")
        OnCall(joined);
    else if (type == "PARK")
        PassOn(receivers_->ParkWindow(), joined);
    else if (type == "HOLD")
        OnHold(joined);
    else if (type == "STATE")
        OnState(joined);
    else if (type == "HIST")
        PassOn(receivers_->HistWindow(), joined);
    else if (type == "ACC")
        PassOn(receivers_->AccWindow(), joined);
    else if (type == "LOG")
        PassOn(receivers_->LogWindow(), joined);
    else if (type == "INF")
        OnInf(joined);
    else if (type == "LIVE")
        OnLive(joined);
    else if (type == "SHORT")
        OnShort(joined);
    else if (type == "PBXINFO")
        OnPbxInfo(joined, message);
}

void TXmlLink::OnOpen(const std::string &joined)
{
    openWaiting_ = false;
    const std::string ret = GetAttr(joined, "Ret");
    const std::string lineType = GetAttr(joined, "LineType");
    const int pos = GetAttrInt(joined, "Pos");
    const std::string attr = GetAttr(joined, "Attr");
    const int handle = GetAttrInt(joined, "Handle");
    receivers_->OnOpenAnswer(handle, attr, pos, lineType, ret);
    // The session may have ended while the answer's message box was open.
    if (ret == "OK" && receivers_->SessionConnected())
        TimerLive->SetEnabled(true);
}

void TXmlLink::EndSession(const std::string &reason)
{
    TimerLive->SetEnabled(false);
    receivers_->OnSessionClosed(reason, false);
}

void TXmlLink::ConnectionLost()
{
    TimerLive->SetEnabled(false);
    const bool openWaiting = openWaiting_;
    openWaiting_ = false;
    if (receivers_->SessionConnected())
        receivers_->OnSessionClosed(kConnectionLost, false);
    else if (openWaiting)
        receivers_->OnOpenLost();
}

void TXmlLink::OnClose(const std::string &joined)
{
    const std::string ret = GetAttr(joined, "Ret");
    if (ret == "CLOSEDEAD")
        EndSession("CLOSEDEAD");
    else if (ret == "OK")
        EndSession("");
}

void TXmlLink::OnLive(const std::string &joined)
{
    if (GetAttr(joined, "Act") == "CLOSEDEAD")
        EndSession("CLOSEDEAD");
}

void TXmlLink::OnRing(const std::string &joined)
{
    const std::string port = GetAttr(joined, "Port");
    const std::string cid = GetAttr(joined, "Cid");
    const std::string pbxName = GetAttrText(joined, "PBXName");
    const std::string dest = GetAttr(joined, "Dest");
    const std::string destName = GetAttrText(joined, "DestName");
    const int pos = GetAttrInt(joined, "Pos");
    const std::string act = GetAttrAct(joined, "Act");
    receivers_->OnRingAnswer(port, cid, pbxName, dest, destName, pos, act);
}

void TXmlLink::OnDial(const std::string &joined)
{
    const std::string pbxName = GetAttrText(joined, "PBXName");
    const std::string cid = GetAttr(joined, "Cid");
    receivers_->OnDialAnswer(pbxName, cid, GetAttrAct(joined, "Act"));
}

void TXmlLink::OnCall(const std::string &joined)
{
    const std::string cid = GetAttr(joined, "Cid");
    const std::string pbxName = GetAttrText(joined, "PBXName");
    const std::string port = GetAttr(joined, "Port");
    receivers_->OnCallAnswer(cid, pbxName, port, GetAttrAct(joined, "Act"));
}

void TXmlLink::OnHold(const std::string &joined)
{
    receivers_->OnHoldAnswer(GetAttr(joined, "Act"));
    PassOn(receivers_->HoldWindow(), joined);
}

void TXmlLink::OnState(const std::string &joined)
{
    const std::string state = GetAttr(joined, "State");
    const int hfree = GetAttrInt(joined, "Hfree");
    receivers_->OnStateAnswer(state, hfree, GetAttrInt(joined, "Mic"));
}

void TXmlLink::OnInf(const std::string &joined)
{
    const std::string act = GetAttr(joined, "Act");
    if (act == "KEY") {
        receivers_->ShowInfoKeys(GetAttr(joined, "Key"));
    } else if (act == "SERVICE") {
        const int rmn = GetAttrInt(joined, "Rmn");
        const int id = GetAttrInt(joined, "Id");
        receivers_->ShowService(GetAttr(joined, "Service"), id, rmn);
    } else if (act == "TARIMPULS") {
        receivers_->ShowTariff(GetAttrInt(joined, "Tar"));
    }
}

void TXmlLink::OnShort(const std::string &joined)
{
    TSpeedDialReceiver *speedDial = receivers_->SpeedDial();
    if (!speedDial)
        return;
    const std::string text = GetAttr(joined, "Text");
    const std::string num = GetAttr(joined, "Num");
    const int pos = GetAttrInt(joined, "Pos");
    speedDial->ProcessAnswer(GetAttr(joined, "Act"), pos, num, text);
}

// The ports are read from the tag as received: the opening tag in front of
// an inner tag holds a Type of its own.
void TXmlLink::OnPbxInfo(const std::string &joined, const std::string &message)
{
    TPortReceiver *pbxData = receivers_->PbxData();
    if (!pbxData || joined.find("</ans>") != std::string::npos)
        return;
    pbxData->AddPort(GetAttr(message, "Port"), GetAttr(message, "Type"), GetAttr(message, "Num"),
                     GetAttr(message, "Name"));
}
