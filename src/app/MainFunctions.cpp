// The sending half of the panel: panel functions, call requests and the
// operations other windows use to act on the line.
#include "DialRules.h"
#include "Dbf.h"
#include "Fce.h"
#include "Main.h"
#include "SessionWindows.h"
#include "Skin.h"
#include "Xml.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>

void TFMain::SendComm(const std::string &act, const std::string &name, const std::string &value)
{
    FXML->BeginRequest("<req");
    FXML->AddAttr("Type", "COMM");
    FXML->AddAttrInt("Handle", Handle);
    FXML->AddAttr("Act", act);
    if (!name.empty())
        FXML->AddAttr(name, value);
    FXML->Append("/>");
    FXML->Send();
}

void TFMain::SendKeyFunction(int id)
{
    static const char *const kDigits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "*", "#"};
    if (id >= 1 && id <= 12)
        SendComm("DIAL", "Num", kDigits[id - 1]);
    else if (id == 100)
        SendComm("MUTE");
    else if (id == 102 || id == 103)
        SendComm("VOLUME", "State", id == 102 ? "+1" : "-1");
    else if (id == 300)
        SendComm("CONF");
    else if (id == 301)
        SendComm("REDIAL");
    else if (id == 302)
        SendComm("SPD");
    else if (id == 303)
        SendComm("PARK");
    else if (id == 305)
        SendComm("TRF");
    else if (id == 306)
        SendComm("DIAL", "Num", "F");
    else if (id >= 600 && id <= 655)
        SendComm("DSS" + std::to_string(id - 600));
}

void TFMain::ExecutePanelFunction(int id, const std::string &imageName)
{
    switch (id) {
    case 150:
        DialButtonNumber(imageName);
        return;
    case 200:
        SendSpeakerState(1);
        return;
    case 201:
        SendSpeakerState(0);
        return;
    case 202:
        SendSpeakerState(-1);
        return;
    case 303:
        if (LineState == "CAL" || ((LineState == "REL" || LineState == "PCK") && Held))
            SendKeyFunction(id);
        return;
    case 500:
        close();
        return;
    case 501:
        HideToTray();
        return;
    case 502:
        MinimizeApplication();
        return;
    case 503:
        PopupMenu1->popup(QCursor::pos());
        return;
    case 504:
        Set2Click();
        return;
    case 900:
    case 901:
        if (!Settings.DblClick)
            SendSpeakerState(-1);
        return;
    default:
        SendKeyFunction(id);
    }
}

void TFMain::SendSpeakerState(int state)
{
    if (!Connected || !LineOpen)
        return;
    if (state == -1)
        SendComm("SPK");
    else
        SendComm("SPK", "State", std::to_string(state));
}

void TFMain::ToggleSpeaker()
{
    if (LineOpen)
        SendComm("SPK");
}

void TFMain::Dial(const std::string &typed, const std::string &kind)
{
    const std::string number = PlainNumber(typed);
    if (!LineOpen || number.empty())
        return;
    if (LineState == "REL")
        SendSpeakerState(1);
    SendComm("DIAL", "Num", ApplyDialPrefixes(number, kind, Settings.Prefixes, Settings.ToPSTN, LineType));
}

void TFMain::DialOrTransfer(const std::string &typed, const std::string &kind)
{
    const std::string number = PlainNumber(typed);
    if (!LineOpen || number.empty())
        return;
    if (LineState == "CAL") {
        // A transfer never takes the reverse-line rule.
        SendComm("DIAL", "Num", "F" + ApplyDialPrefixes(number, kind, Settings.Prefixes, Settings.ToPSTN, "TRS"));
    } else if (LineState == "DIA") {
        SendComm("SPEAKER", "State", "0");
        SendComm("SPEAKER", "State", "1");
        SendComm("DIAL", "Num", "*");
    }
}

void TFMain::SendConference(const std::string &number)
{
    if (LineOpen && !number.empty())
        SendComm("DIAL", "Num", "F" + Settings.Conference);
}

void TFMain::SendListRequest(const char *type, const std::string &act, const std::string &value,
                             const std::string &order)
{
    FXML->BeginRequest("<req");
    FXML->AddAttr("Type", type);
    FXML->AddAttrInt("Handle", Handle);
    FXML->AddAttr("Act", act);
    if (act == "SET") {
        FXML->AddAttr("Filter", value);
        FXML->AddAttr("Order", order);
    } else if (act == "REC") {
        FXML->AddAttr("RecNo", value);
    }
    FXML->Append("/>");
    FXML->Send();
}

void TFMain::DialButtonNumber(const std::string &imageName)
{
    std::string text = Skin ? Skin->GetItemValue(imageName) : std::string();
    if (text.empty())
        return;
    bool hangUp = text[0] == 'S';
    if (hangUp)
        text.erase(0, 1);
    Dial(text, "L");
    if (hangUp)
        SendSpeakerState(0);
}

void TFMain::OnPanelButtonDown(int id)
{
    if (id == 200 && !Connected) {
        SpeedButtonOpenClick();
        return;
    }
    if ((id == 201 && Connected) || id == 202) {
        OnOffTicks = 0;
        TimerOnOff->SetEnabled(true);
    }
}

void TFMain::OnPanelButtonUp(int id)
{
    if (id == 200 || id == 201 || id == 202)
        TimerOnOff->SetEnabled(false);
}

void TFMain::TimerOnOffTimer()
{
    if (++OnOffTicks <= Settings.OnOff)
        return;
    TimerOnOff->SetEnabled(false);
    if (Connected)
        SpeedButtonCloseClick();
    else
        SpeedButtonOpenClick();
}

void TFMain::OnPanelButtonDblClick(int id)
{
    if ((id == 900 || id == 901) && Settings.DblClick)
        SendSpeakerState(-1);
    else if (id == 902)
        SpeedButtonFrontClick();
}

void TFMain::OnImageDblClick(const std::string &imageName)
{
    if (imageName == "ImageFRONT")
        ImageFrontDblClick();
}

void TFMain::ImageFrontDblClick()
{
    if (FFront)
        FFront->show();
    UpdateControls();
}

void TFMain::LookupDispNumber(const std::string &labelName)
{
    if (labelName == "LabelDISP" && FDbf)
        FDbf->ShowNumber(DispNumber, false);
}

void TFMain::ShowDispNumber(const std::string &labelName)
{
    if (labelName != "LabelDISP" || !FDbf)
        return;
    FDbf->show();
    FDbf->ShowNumber(DispNumber, true);
}

void TFMain::SpeedButtonFrontClick() { ToggleWindow(FFront); }
