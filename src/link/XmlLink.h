#pragma once
// The exchange link without its window: framing, joining of list answers,
// the request builder, the message list and its trace file, the dispatcher
// and the keep-alive. The link window adds the socket and the widgets.
#include "Attr.h"
#include "Framing.h"
#include "MessageList.h"
#include "Receivers.h"
#include "Timer.h"

#include <memory>
#include <string>

class TIniFile;

class TXmlLink : public TAttrReader {
public:
    TXmlLink();
    virtual ~TXmlLink();
    TXmlLink(const TXmlLink &) = delete;
    TXmlLink &operator=(const TXmlLink &) = delete;

    // Answers go here; nullptr restores the receivers that do nothing.
    void SetReceivers(TAnswerReceivers *receivers);
    TAnswerReceivers &Receivers() const { return *receivers_; }
    void SetMessageList(TMessageList *list);

    // Bytes from the exchange: at most Framing.Room() are taken; returns how many.
    int Receive(const char *data, int n) { return Framing.Receive(data, n); }
    // A new connection starts with nothing of the old one.
    void ResetReceive();

    std::string JoinMessage(const std::string &message);
    void ProcessMessage(const std::string &message);

    void BeginRequest(const std::string &head);
    void AddAttr(const std::string &name, const std::string &value);
    void AddAttrInt(const std::string &name, int value);
    void Append(const std::string &text);
    void Send();

    void AddToList(const std::string &text);
    static std::string MaskPassword(std::string line);
    void WriteTrace(const std::string &line);

    void TimerLiveTimer();
    // The connection is gone: an open session ends as the exchange's close
    // would; a log-in still waiting for its OPEN answer is told.
    void ConnectionLost();
    static constexpr const char *kConnectionLost = "CONNLOST";

    // A TCP port: 1 to 65535. Any other number from the file is kept as read
    // and written back, but connects nowhere.
    bool PortValid() const { return Port >= 1 && Port <= 65535; }

    void ReadLinkSettings(const TIniFile &ini);
    void WriteLinkSettings(TIniFile &ini) const;

    TRxFraming Framing;
    std::string PendingAnswer;
    std::string OutBuffer;

    std::string Address = "127.0.0.1";
    int Port = 6800;
    bool Terminal = false;
    bool ShowLive = false;
    bool Trace = false;
    bool TraceErase = false;
    int MaxList = 500;
    // Folder of the trace file, ending in a slash.
    std::string DataDir;
    std::unique_ptr<TTimer> TimerLive;

    // The trace file has not been erased yet in this run.
    static bool TraceEraseDue;

protected:
    // Puts a built request on the wire; without a connection it is lost.
    virtual void WriteToExchange(const std::string &bytes) {}

private:
    void Dispatch(const std::string &type, const std::string &joined, const std::string &message);
    void OnOpen(const std::string &joined);
    void OnClose(const std::string &joined);
    void OnLive(const std::string &joined);
    void EndSession(const std::string &reason);
    void OnRing(const std::string &joined);
    void OnDial(const std::string &joined);
    void OnCall(const std::string &joined);
    void OnHold(const std::string &joined);
    void OnState(const std::string &joined);
    void OnInf(const std::string &joined);
    void OnShort(const std::string &joined);
    void OnPbxInfo(const std::string &joined, const std::string &message);

    // An OPEN request went out on this connection and its answer has not come.
    bool openWaiting_ = false;
    std::string tracePath_, traceLine_;
    TAnswerReceivers *receivers_;
    TMessageList *list_;
    TLineList ownList_;
};
