#include "XmlLink.h"

#include "IniFile.h"

namespace {

TAnswerReceivers &NoReceivers()
{
    static TAnswerReceivers none;
    return none;
}

} // namespace

TXmlLink::TXmlLink()
    : TimerLive(std::make_unique<TTimer>(nullptr, 30000, false)), receivers_(&NoReceivers()), list_(&ownList_)
{
    Framing.OnMessage = [this](std::string_view message) { ProcessMessage(std::string(message)); };
    TimerLive->OnTimer = [this] { TimerLiveTimer(); };
}

TXmlLink::~TXmlLink() = default;

void TXmlLink::SetReceivers(TAnswerReceivers *receivers) { receivers_ = receivers ? receivers : &NoReceivers(); }

void TXmlLink::SetMessageList(TMessageList *list) { list_ = list ? list : &ownList_; }

void TXmlLink::ResetReceive()
{
    Framing.Clear();
    PendingAnswer.clear();
    openWaiting_ = false;
}

std::string TXmlLink::JoinMessage(const std::string &message)
{
    if (PendingAnswer.empty()) {
        if (message.find("/>") == std::string::npos)
            PendingAnswer = message;
        return message;
    }
    std::string joined = PendingAnswer + message;
    if (IsEndTag(message))
        PendingAnswer.clear();
    return joined;
}

void TXmlLink::BeginRequest(const std::string &head) { OutBuffer = head + " "; }

// Values go out as typed, except the two characters that would break the
// request: '"' ends the value, '>' the tag for a reader that cuts there. A
// raw '&' or '<' reaches an exchange that decodes entities and one that does
// not alike; "&amp;" only the first.
void TXmlLink::AddAttr(const std::string &name, const std::string &value)
{
    OutBuffer += name;
    OutBuffer += "=\"";
    for (char c : value) {
        switch (c) {
        case '>': OutBuffer += "&gt;"; break;
        case '"': OutBuffer += "&quot;"; break;
        default: OutBuffer += c;
        }
    }
    OutBuffer += "\" ";
}

void TXmlLink::AddAttrInt(const std::string &name, int value) { AddAttr(name, std::to_string(value)); }

void TXmlLink::Append(const std::string &text) { OutBuffer += text; }

void TXmlLink::Send()
{
    if (GetAttr(OutBuffer, "Type") == "OPEN")
        openWaiting_ = true;
    WriteToExchange(Terminal ? OutBuffer + "\r\n" : OutBuffer);
    AddToList(OutBuffer);
}

void TXmlLink::TimerLiveTimer()
{
    BeginRequest("<req");
    AddAttr("Type", "LIVE");
    AddAttrInt("Handle", receivers_->SessionHandle());
    Append("/>");
    Send();
}

void TXmlLink::ReadLinkSettings(const TIniFile &ini)
{
    Port = ini.ReadInteger("TCP", "Port", 6800);
    Address = ini.ReadString("TCP", "IP", "127.0.0.1");
    Trace = ini.ReadBool("XML", "Trace", false);
    TraceErase = ini.ReadBool("XML", "TraceErase", false);
    ShowLive = ini.ReadBool("XML", "ShowLive", false);
    Terminal = ini.ReadBool("XML", "Terminal", false);
    MaxList = std::max(0, ini.ReadInteger("XML", "MaxList", 500));
    // Seconds in the file; an hour-long period is the most a timer holds sensibly.
    const long long seconds = ini.ReadInteger("XML", "Live", 30);
    TimerLive->SetInterval(static_cast<int>(std::clamp(seconds, 0LL, 2147483LL) * 1000));
}

void TXmlLink::WriteLinkSettings(TIniFile &ini) const
{
    ini.WriteInteger("TCP", "Port", Port);
    ini.WriteString("TCP", "IP", Address);
    ini.WriteBool("XML", "Trace", Trace);
    ini.WriteBool("XML", "TraceErase", TraceErase);
    ini.WriteBool("XML", "Terminal", Terminal);
    ini.WriteBool("XML", "ShowLive", ShowLive);
    ini.WriteInteger("XML", "Live", TimerLive->Interval() / 1000);
}
