#pragma once
// Where the exchange's answers go. The panel, the call-list windows, the
// speed-dial panel and the exchange configuration fill this in; every
// operation does nothing until then. The dispatcher reads the session handle
// and state from here: the log-in owns them.
#include <string>

// A window that takes whole answers (history, accounting, log, held calls, parks).
class TAnswerWindow {
public:
    virtual ~TAnswerWindow() = default;
    virtual void ProcessAnswer(const std::string &answer) = 0;
};

class TSpeedDialReceiver {
public:
    virtual ~TSpeedDialReceiver() = default;
    virtual void ProcessAnswer(const std::string &act, int pos, const std::string &num, const std::string &text) = 0;
};

class TPortReceiver {
public:
    virtual ~TPortReceiver() = default;
    virtual void AddPort(const std::string &port, const std::string &type, const std::string &num,
                         const std::string &name) = 0;
};

class TAnswerReceivers {
public:
    virtual ~TAnswerReceivers() = default;

    // The panel's session: 0 before the first log-in, -1 after a close.
    virtual int SessionHandle() const { return 0; }
    virtual bool SessionConnected() const { return false; }

    virtual void OnOpenAnswer(int handle, const std::string &attr, int pos, const std::string &lineType,
                              const std::string &ret) {}
    virtual void OnSessionClosed(const std::string &reason, bool waitSound) {}
    // The connection went while a log-in waited for the OPEN answer.
    virtual void OnOpenLost() {}
    virtual void OnRingAnswer(const std::string &port, const std::string &cid, const std::string &pbxName,
                              const std::string &dest, const std::string &destName, int pos, const std::string &act) {}
    virtual void OnDialAnswer(const std::string &pbxName, const std::string &cid, const std::string &act) {}
    virtual void OnCallAnswer(const std::string &cid, const std::string &pbxName, const std::string &port,
                              const std::string &act) {}
    virtual void OnHoldAnswer(const std::string &act) {}
    virtual void OnStateAnswer(const std::string &state, int hfree, int mic) {}
    virtual void ShowInfoKeys(const std::string &key) {}
    virtual void ShowService(const std::string &service, int id, int rmn) {}
    virtual void ShowTariff(int tar) {}

    // The receivers that exist only at times; nullptr while they don't.
    virtual TAnswerWindow *HoldWindow() { return nullptr; }
    virtual TAnswerWindow *ParkWindow() { return nullptr; }
    virtual TAnswerWindow *HistWindow() { return nullptr; }
    virtual TAnswerWindow *AccWindow() { return nullptr; }
    virtual TAnswerWindow *LogWindow() { return nullptr; }
    virtual TSpeedDialReceiver *SpeedDial() { return nullptr; }
    virtual TPortReceiver *PbxData() { return nullptr; }
};
