#pragma once
// Receivers that write down every call as one line of text.
#include "Receivers.h"

#include <functional>
#include <string>
#include <vector>

class RecordingReceivers : public TAnswerReceivers, public TAnswerWindow {
public:
    int Handle = 0;
    bool Connected = false;
    std::vector<std::string> Calls;
    bool WindowsExist = true;
    // Runs inside OnOpenAnswer after it has been recorded (a modal box, say).
    std::function<void()> DuringOpen;

    int SessionHandle() const override { return Handle; }
    bool SessionConnected() const override { return Connected; }

    void OnOpenAnswer(int handle, const std::string &attr, int pos, const std::string &lineType,
                      const std::string &ret) override;
    void OnSessionClosed(const std::string &reason, bool waitSound) override;
    void OnRingAnswer(const std::string &port, const std::string &cid, const std::string &pbxName,
                      const std::string &dest, const std::string &destName, int pos, const std::string &act) override;
    void OnDialAnswer(const std::string &pbxName, const std::string &cid, const std::string &act) override;
    void OnCallAnswer(const std::string &cid, const std::string &pbxName, const std::string &port,
                      const std::string &act) override;
    void OnHoldAnswer(const std::string &act) override { Calls.push_back("hold " + act); }
    void OnStateAnswer(const std::string &state, int hfree, int mic) override;
    void ShowInfoKeys(const std::string &key) override { Calls.push_back("keys " + key); }
    void ShowService(const std::string &service, int id, int rmn) override;
    void ShowTariff(int tar) override { Calls.push_back("tariff " + std::to_string(tar)); }

    TAnswerWindow *HoldWindow() override { return Window("holdwin"); }
    TAnswerWindow *ParkWindow() override { return Window("parkwin"); }
    TAnswerWindow *HistWindow() override { return Window("histwin"); }
    TAnswerWindow *AccWindow() override { return Window("accwin"); }
    TAnswerWindow *LogWindow() override { return Window("logwin"); }
    TSpeedDialReceiver *SpeedDial() override { return WindowsExist ? &speedDial_ : nullptr; }
    TPortReceiver *PbxData() override { return WindowsExist ? &ports_ : nullptr; }

    void ProcessAnswer(const std::string &answer) override { Calls.push_back(window_ + " " + answer); }

private:
    TAnswerWindow *Window(const char *name);
    std::string window_;
    struct SpeedDial : TSpeedDialReceiver {
        std::vector<std::string> *calls;
        void ProcessAnswer(const std::string &act, int pos, const std::string &num, const std::string &text) override;
    } speedDial_;
    struct Ports : TPortReceiver {
        std::vector<std::string> *calls;
        void AddPort(const std::string &port, const std::string &type, const std::string &num,
                     const std::string &name) override;
    } ports_;

public:
    RecordingReceivers() { speedDial_.calls = ports_.calls = &Calls; }
};
