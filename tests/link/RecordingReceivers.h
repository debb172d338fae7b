#pragma once
// Receivers that write every call down as one line: its name and arguments
// joined by '|'.
#include "Receivers.h"

#include <functional>
#include <string>
#include <vector>

class RecordingReceivers : public TAnswerReceivers,
                           public TAnswerWindow,
                           public TSpeedDialReceiver,
                           public TPortReceiver {
public:
    int Handle = 0;
    bool Connected = false;
    bool WindowsExist = true;
    std::vector<std::string> Calls;
    // Runs inside OnOpenAnswer after it is recorded (a modal box, say).
    std::function<void()> DuringOpen;

    int SessionHandle() const override { return Handle; }
    bool SessionConnected() const override { return Connected; }

    void OnOpenAnswer(int handle, const std::string &attr, int pos, const std::string &lineType,
                      const std::string &ret) override
    {
        Rec("open", {N(handle), attr, N(pos), lineType, ret});
        if (ret == "OK")
            Handle = handle, Connected = true;
        if (DuringOpen)
            DuringOpen();
    }
    void OnSessionClosed(const std::string &reason, bool) override
    {
        Rec("closed", {reason});
        Handle = -1, Connected = false;
    }
    void OnOpenLost() override { Rec("openlost", {}); }
    void OnRingAnswer(const std::string &port, const std::string &cid, const std::string &pbxName,
                      const std::string &dest, const std::string &destName, int pos, const std::string &act) override
    {
        Rec("ring", {port, cid, pbxName, dest, destName, N(pos), act});
    }
    void OnDialAnswer(const std::string &pbxName, const std::string &cid, const std::string &act) override
    {
        Rec("dial", {pbxName, cid, act});
    }
    void OnCallAnswer(const std::string &cid, const std::string &pbxName, const std::string &port,
                      const std::string &act) override
    {
        Rec("call", {cid, pbxName, port, act});
    }
    void OnHoldAnswer(const std::string &act) override { Rec("hold", {act}); }
    void OnStateAnswer(const std::string &state, int hfree, int mic) override { Rec("state", {state, N(hfree), N(mic)}); }
    void ShowInfoKeys(const std::string &key) override { Rec("keys", {key}); }
    void ShowService(const std::string &service, int id, int rmn) override { Rec("service", {service, N(id), N(rmn)}); }
    void ShowTariff(int tar) override { Rec("tariff", {N(tar)}); }

    TAnswerWindow *HoldWindow() override { return Window("holdwin"); }
    TAnswerWindow *ParkWindow() override { return Window("parkwin"); }
    TAnswerWindow *HistWindow() override { return Window("histwin"); }
    TAnswerWindow *AccWindow() override { return Window("accwin"); }
    TAnswerWindow *LogWindow() override { return Window("logwin"); }
    TSpeedDialReceiver *SpeedDial() override { return WindowsExist ? this : nullptr; }
    TPortReceiver *PbxData() override { return WindowsExist ? this : nullptr; }

    void ProcessAnswer(const std::string &answer) override { Rec(window_, {answer}); }
    void ProcessAnswer(const std::string &act, int pos, const std::string &num, const std::string &text) override
    {
        Rec("short", {act, N(pos), num, text});
    }
    void AddPort(const std::string &port, const std::string &type, const std::string &num,
                 const std::string &name) override
    {
        Rec("port", {port, type, num, name});
    }

private:
    static std::string N(int n) { return std::to_string(n); }
    void Rec(const std::string &name, std::initializer_list<std::string> args)
    {
        std::string line = name;
        const char *sep = " ";
        for (const std::string &a : args)
            line += sep + a, sep = "|";
        Calls.push_back(line);
    }
    TAnswerWindow *Window(const char *name)
    {
        window_ = name;
        return WindowsExist ? this : nullptr;
    }
    std::string window_;
};
