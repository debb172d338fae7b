// Opening and ending a session with the exchange.
#include "Auto.h"
#include "Data.h"
#include "DialogButtons.h"
#include "Dbf.h"
#include "Fce.h"
#include "Login.h"
#include "Main.h"
#include "Nlsfunc.h"
#include "Porter.h"
#include "Xml.h"

#include <QMessageBox>
#include <QScopedValueRollback>

namespace {

const char *const kSignature = "       Vrel - Voku";

int OpenResultText(const std::string &ret)
{
    static const std::pair<const char *, int> kTexts[] = {
        {"BADRIGHTS", 204}, {"PBXNOTREADY", 201}, {"BADUSER", 208}, {"BADPASS", 209}, {"BADLINE", 202}};
    for (auto &[word, id] : kTexts)
        if (ret == word)
            return id;
    return 0;
}

} // namespace

void TFMain::SpeedButtonOpenClick()
{
    // One log-in at a time: the connection wait runs the event loop, where
    // the lift key or the on/off timer would start another on top. None once
    // the program is closing: its session would outlive the program.
    if (loggingIn_ || closing_)
        return;
    const QScopedValueRollback<bool> busy(loggingIn_, true);
    TFLogin dialog(this, Settings.Attr, Settings.Pass, Settings.User, Settings.Line);
    dialog.adjustSize();
    CenterForm(this, &dialog);
    // The dialog and the connection wait run the event loop, where the close may begin.
    if (dialog.exec() != QDialog::Accepted || closing_)
        return;
    std::string error;
    if (!FXML->EnsureConnected(error)) {
        MessageBox(Nls->GetText(223) + " " + FXML->Address + ":" + std::to_string(FXML->Port) + "\n" + error, 100,
                   QMessageBox::Critical);
        return;
    }
    if (closing_)
        return;
    FXML->BeginRequest("<req");
    FXML->AddAttr("Type", "OPEN");
    FXML->AddAttr("User", Settings.User);
    FXML->AddAttr("Pass", Settings.Pass);
    FXML->AddAttr("Firm", "0");
    FXML->AddAttr("Line", Settings.Line);
    FXML->AddAttr("Attr", Settings.Attr);
    if (Settings.TariffEnabled)
        FXML->AddAttr("Set", "TAR");
    FXML->AddAttr("Desc", "CTI-Vrel");
    FXML->Append("/>");
    FXML->Send();
}

void TFMain::SpeedButtonCloseClick() { SendClose(Handle); }

void TFMain::SendClose(int handle)
{
    FXML->BeginRequest("<req");
    FXML->AddAttr("Type", "CLOSE");
    FXML->AddAttrInt("Handle", handle);
    FXML->Append("/>");
    FXML->Send();
}

void TFMain::MessageBox(const std::string &text, int captionId, QMessageBox::Icon icon)
{
    MessageBox(ToQ(text), captionId, icon);
}

void TFMain::MessageBox(const QString &text, int captionId, QMessageBox::Icon icon)
{
    // Nobody answers a box once the program is closing, and the close would wait for it.
    if (closing_) {
        Trace("Not shown, closing: " + FromQ(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '))));
        return;
    }
    QMessageBox box(icon, ToQ(Nls->GetText(captionId)), text, QMessageBox::Ok, this);
    FitCaption(box);
    box.exec();
}

void TFMain::SkinRefused(const std::string &text)
{
    // At start the box waits until every window is built.
    if (startingUp_)
        refusedSkin_ = text;
    else
        MessageBox(text, 101, QMessageBox::Warning);
}

void TFMain::OnOpenAnswer(int handle, const std::string &attr, int pos, const std::string &lineType,
                          const std::string &ret)
{
    if (ret != "OK") {
        int id = OpenResultText(ret);
        // A refusal without a word still says something.
        MessageBox(id ? Nls->GetText(id) : ret.empty() ? Nls->GetText(224) : ret, 100, QMessageBox::Critical);
        return;
    }
    // Granted while the program closes: ended at once, before the connection goes.
    if (closing_) {
        SendClose(handle);
        return;
    }
    // A second session granted while one is open replaces it.
    DestroySessionForms();
    Connected = true;
    PlaySoundFile(Settings.SoundOpen, false);
    ShowTimedDisplay(Nls->GetText(280) + kSignature, 3);
    Handle = handle;
    LineType = lineType;
    const bool illegal = lineType.find("ILL") != std::string::npos;
    LineOpen = attr.find("CMD") != std::string::npos;
    if (FDbf)
        FDbf->SetConnected(handle, LineOpen);
    if (FPorter)
        FPorter->SetCallState(handle, LineOpen);
    CreateSessionForms();
    if (::PbxData)
        ::PbxData->RequestInfo(*FXML, handle, pos, LineOpen);
    UpdateControls();
    SetStatusText(0, Settings.Line);
    if (attr == Settings.Attr && !illegal)
        return;
    std::string msg;
    if (attr != Settings.Attr)
        msg = Nls->GetText(203) + "\n" + Nls->GetText(3001) + Settings.Attr + "\n" + Nls->GetText(3002) + attr;
    if (illegal && Settings.Line != Settings.NotWarnForIL) {
        if (!msg.empty())
            msg += "\n\n";
        msg += Nls->GetText(206);
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        if (Settings.FlagNotWarnForIL) {
            msg += Nls->GetText(207);
            buttons = QMessageBox::Yes | QMessageBox::No;
        }
        QMessageBox box(QMessageBox::Warning, ToQ(Nls->GetText(101)), ToQ(msg), buttons, this);
        FitCaption(box);
        if (box.exec() == QMessageBox::No)
            Settings.NotWarnForIL = Settings.Line;
        return;
    }
    if (!msg.empty())
        MessageBox(msg, 101, QMessageBox::Warning);
}

void TFMain::OnSessionClosed(const std::string &reason, bool waitSound)
{
    Trace("Close");
    Connected = false;
    Handle = -1;
    // No window may offer call actions without a session.
    LineOpen = false;
    if (FDbf)
        FDbf->SetConnected(-1, false);
    if (FPorter)
        FPorter->SetCallState(-1, false);
    SetStatusText(0, "");
    SetStatusText(1, "");
    for (const char *label : {"LabelCLOCK", "LabelKEYS", "LabelSTAT"})
        SetLabel(label, "", kReplace);
    ForgetLineState();
    ShowTimedDisplay(Nls->GetText(281) + kSignature, 3);
    DestroySessionForms();
    PlaySoundFile(Settings.SoundClose, waitSound);
    if (FDbf)
        FDbf->SetLineState("");
    UpdateControls();
    if (reason == TXmlLink::kConnectionLost)
        MessageBox(Nls->GetText(222), 101, QMessageBox::Warning);
    else if (!reason.empty())
        MessageBox(reason == "CLOSEDEAD" ? Nls->GetText(221) : reason, 101, QMessageBox::Warning);
}

// No session began, so none ends: only the message of any dropped connection.
void TFMain::OnOpenLost() { MessageBox(Nls->GetText(222), 101, QMessageBox::Warning); }
