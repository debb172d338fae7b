// The receiving half of the panel: line state, parties, keys, tariff and
// the timers that animate the display.
#include "Auto.h"
#include "ClockText.h"
#include "Data.h"
#include "DialRules.h"
#include "Dbf.h"
#include "Main.h"
#include "Nlsfunc.h"
#include "Porter.h"
#include "SessionWindows.h"
#include "Skin.h"

#include <QLocale>
#include <QTime>

#include <utility>

namespace {

struct StateLook {
    const char *word;
    int text;
    int picture; // -1: blinks, chosen by the caller
};

constexpr StateLook kStates[] = {{"REL", 1003, 0}, {"PCK", 1004, 1}, {"RNG", 1000, -1}, {"CAL", 1002, 4},
                                 {"WTG", 1006, 5},  {"DIA", 1001, -1}, {"ERR", 1005, 7}, {"BUS", 1006, 8}};

const StateLook *LookOf(const std::string &word)
{
    for (const auto &s : kStates)
        if (word == s.word)
            return &s;
    return nullptr;
}

} // namespace

bool TFMain::SetLabel(const std::string &name, const std::string &text, int mode)
{
    return Skin && Skin->SetLabelText(name, text, mode);
}

void TFMain::SetImage(const std::string &name, int state)
{
    if (Skin)
        Skin->SetImageState(name, state);
}

void TFMain::ShowLineState(int code, const std::string &word)
{
    int id = 1003;
    if (code == -1) {
        if (!word.empty()) {
            const StateLook *look = LookOf(word);
            id = look ? look->text : 1006;
        }
    } else if (code == 1000 || code == 1001 || code == 1002) {
        id = code;
    }
    SetLabel("LabelSTAT", Nls->GetText(id) + (id == 1002 ? TariffText : std::string()), kReplace);
}

void TFMain::ShowCaller(const std::string &number, const std::string &name, int mode)
{
    DispNumber = number;
    ClockTicks = 0; // a timed message still counting down must not wipe the caller
    std::string shown = name.empty() ? number : name;
    SetLabel("LabelDISP", mode == 1000 && shown.empty() ? Nls->GetText(270) : shown, kReplace);
    ShowLineState(mode, "");
}

void TFMain::ClearCaller() { ShowCaller("", "", -1); }

void TFMain::ShowDestination(const std::string &number, const std::string &name)
{
    if (Settings.ShowDest)
        SetLabel("LabelDEST", name.empty() ? number : name, kReplace);
}

void TFMain::SetStatImage(int index)
{
    if (index == StatPicture)
        return;
    if (Skin)
        Skin->GetImagePicture("ImageSTAT", ImageList1, index);
    StatPicture = index;
}

void TFMain::SetHandImage(int index)
{
    int state = (index == 0 || index == 2 || index == 3) ? 0 : 1;
    if (state == HandState)
        return;
    SetImage("ImageHAND", state);
    HandState = state;
}

int TFMain::BlinkPicture(const std::string &state)
{
    if (state == "RNG") {
        int index = RingBlink ? 2 : 3;
        RingBlink = !RingBlink;
        return index;
    }
    if (state == "DIA") {
        int index = DialBlink ? 6 : 9;
        DialBlink = !DialBlink;
        return index;
    }
    return -1;
}

void TFMain::OnStateAnswer(const std::string &state, int hfree, int mic)
{
    if (FDbf)
        FDbf->SetLineState(state);
    if (FAuto)
        FAuto->CallStateChanged(state);
    if (state == "REL" && LineState != "REL") {
        SetLabel("LabelKEYS", "", kReplace);
        ShowTariff(-1);
    }
    if (state == "CAL" && LineState != "CAL")
        SetLabel("LabelKEYS", "", kReplace);
    RelaxOnStateChange(state);
    LineState = state;
    SetStatusText(1, state);
    ShowLineState(-1, state);
    // A word the exchange may add later keeps the pictures as they are.
    if (const StateLook *look = LookOf(state)) {
        int index = look->picture >= 0 ? look->picture : BlinkPicture(state);
        SetStatImage(index);
        SetHandImage(index);
    }
    SpeakerLamp = hfree;
    MuteLamp = mic;
    SetImage("ImageLEDSPK", hfree);
    SetImage("ImageLEDMUTE", mic);
}

void TFMain::RelaxOnStateChange(const std::string &state)
{
    if (state == LineState)
        return;
    if (state == "REL") {
        if (Settings.RelaxMinimize)
            MinimizeApplication();
    } else if (Settings.NoRelaxActivate) {
        RestoreApplication();
    }
}

void TFMain::OnRingAnswer(const std::string &port, const std::string &cid, const std::string &pbxName,
                          const std::string &dest, const std::string &destName, int pos, const std::string &act)
{
    // Names are looked up only where they show: the call on the line on the
    // panel, a waiting call in the list.
    const bool onLine = act == "ACT" && pos == 0, waiting = act == "ACT" && pos >= 1;
    std::string display, listText;
    if (cid.empty() && (onLine || waiting)) {
        std::string portName = ::PbxData ? ::PbxData->PortName(port) : std::string();
        display = Nls->GetText(270) + "\n" + portName;
        listText = portName;
    } else if (!cid.empty() && FDbf) {
        if (onLine)
            FDbf->FindNameByNumber(cid, pbxName, display, '\n');
        if (waiting)
            FDbf->FindNameByNumber(cid, pbxName, listText, '(');
    }
    if (act == "ACT") {
        if (pos == -1) {
            RingPos = -1;
            FrontBlink = false;
        } else if (pos == 0) {
            ShowCaller(cid, display, 1000);
            ShowDestination(dest, destName);
            RingShown = true;
            RingPos = 0;
            if (FPorter)
                FPorter->IncomingCall(cid);
        } else if (pos >= 1 && pos <= 4) {
            FrontBlink = true;
        }
    } else if (act == "/ACT") {
        SetImage("ImageFRONT", FrontBlink ? 1 : 0);
        if (RingPos < 0 && RingShown)
            EndRingDisplay();
    } else if (act == "END") {
        FrontBlink = false;
        SetImage("ImageFRONT", 0);
        if (RingShown)
            EndRingDisplay();
        if (FPorter)
            FPorter->StartCloseTimer();
    }
    // The waiting-call window exists only while logged in.
    if (FFront)
        FFront->ProcessElement(act, pos, listText, cid, port);
}

// Without a session nothing rings, waits or is held any more, and the lamps
// and the blinking handset must not say otherwise.
void TFMain::ForgetLineState()
{
    LineState.clear();
    RingShown = false;
    FrontBlink = false;
    Held = false;
    SpeakerLamp = MuteLamp = 0;
    const int released = LookOf("REL")->picture;
    SetStatImage(released);
    SetHandImage(released);
    for (const char *lamp : {"ImageFRONT", "ImageLEDHOLD", "ImageLEDSPK", "ImageLEDMUTE"})
        SetImage(lamp, 0);
}

// The images of a skin just put on the panel start in their first state;
// the line's state goes back on them at once.
void TFMain::ShowLineStateAgain()
{
    if (const int picture = std::exchange(StatPicture, -1); picture >= 0)
        SetStatImage(picture);
    if (HandState >= 0)
        SetImage("ImageHAND", HandState);
    SetImage("ImageLEDSPK", SpeakerLamp);
    SetImage("ImageLEDMUTE", MuteLamp);
    SetImage("ImageLEDHOLD", Held ? 1 : 0);
    SetImage("ImageFRONT", FrontBlink ? FrontPhase : 0);
}

void TFMain::EndRingDisplay()
{
    if (!Settings.StableDisp)
        ClearCaller();
    TimerDest->SetEnabled(true);
    RingShown = false;
}

void TFMain::OnDialAnswer(const std::string &, const std::string &cid, const std::string &act)
{
    std::string name = FAuto ? FAuto->GetCalledName(cid) : std::string();
    if (name.empty() && FDbf)
        FDbf->FindNameByNumber(cid, "", name, '\n');
    if (act == "ACT") {
        if (cid.empty()) {
            DialPending = true;
        } else if (DialPending) {
            ShowCaller(cid, name, 1001);
            if (FPorter)
                FPorter->IncomingCall(cid);
            DialPending = false;
        }
    } else if (act == "END") {
        if (FPorter)
            FPorter->StartCloseTimer();
        if (!Settings.StableDisp)
            ClearCaller();
    }
}

void TFMain::OnCallAnswer(const std::string &cid, const std::string &pbxName, const std::string &port,
                          const std::string &act)
{
    std::string name;
    if (cid.empty() && !port.empty())
        name = Nls->GetText(270) + "\n" + (::PbxData ? ::PbxData->PortName(port) : std::string());
    else if (FDbf)
        FDbf->FindNameByNumber(cid, pbxName, name, '\n');
    if (act == "ACT") {
        if (cid.empty() && port.empty()) {
            CallPartyCount = 0;
        } else if (CallPartyCount < kMaxParties) {
            // Parties past the table are not shown: the exchange names at most a handful.
            CallParties[static_cast<size_t>(CallPartyCount++)] = {name, cid, port};
        }
        TimerDest->SetEnabled(false);
    } else if (act == "/ACT") {
        const auto &first = CallParties[0];
        if (CallPartyCount == 2 && ::PbxData && ::PbxData->IsAudioPort(first.Port))
            ShowCaller(CallParties[1].Number, CallParties[1].Name, 1002);
        else if (CallPartyCount < 3)
            ShowCaller(first.Number, first.Name, 1002);
        else
            ShowCaller("", Nls->GetText(230) + " " + std::to_string(CallPartyCount + 1), 1002);
    } else if (act == "END") {
        if (FPorter)
            FPorter->StartCloseTimer();
        ShowTariff(-1);
        if (!Settings.StableDisp)
            ClearCaller();
        ShowDestination("", "");
    }
}

void TFMain::OnHoldAnswer(const std::string &act)
{
    Held = act == "ACT";
    SetImage("ImageLEDHOLD", Held ? 1 : 0);
}

void TFMain::ShowInfoKeys(const std::string &key)
{
    if (LineState == "PCK" || LineState == "CAL" || LineState == "DIA") {
        if (key != "CLR" && key != "SPD")
            SetLabel("LabelKEYS", key, kAppend);
    } else if (LineState == "REL") {
        if (key == "CLR")
            SetLabel("LabelKEYS", "", kReplace);
        else if (key == "SPD")
            SetLabel("LabelKEYS", "", kDeleteLast);
        else
            SetLabel("LabelKEYS", key, kAppend);
    }
}

void TFMain::ShowService(const std::string &, int, int rmn) { SetLabel("LabelKEYS", "", rmn); }

void TFMain::ShowTariff(int tar)
{
    if (tar == -1) {
        TariffText.clear();
        SetLabel("LabelTAR", "", kReplace);
        return;
    }
    std::string text = FormatTariff(tar, Settings.Delimiter, Settings.Currency);
    if (SetLabel("LabelTAR", text, kReplace)) {
        TariffText.clear();
        return;
    }
    // A skin without a charge label shows it behind the state text.
    TariffText = ":" + text;
    ShowLineState(-1, LineState);
}

void TFMain::Timer1Timer()
{
    if (LineState == "RNG" || LineState == "DIA")
        SetStatImage(BlinkPicture(LineState));
    if (FrontBlink) {
        SetImage("ImageFRONT", FrontPhase);
        FrontPhase = FrontPhase != 2 ? 2 : 1;
    }
}

void TFMain::TimerClockTimer()
{
    if (ClockTicks > 0 && --ClockTicks == 0)
        SetLabel("LabelDISP", "", kReplace);
    if (Connected)
        SetLabel("LabelCLOCK", ClockText(QTime::currentTime(), QLocale::system()), kReplace);
}

void TFMain::ShowTimedDisplay(const std::string &text, int ticks)
{
    SetLabel("LabelDISP", text, kReplace);
    ClockTicks = ticks;
}

void TFMain::TimerDestTimer()
{
    ShowDestination("", "");
    TimerDest->SetEnabled(false);
}
