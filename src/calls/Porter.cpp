#include "Porter.h"

#include "Fce.h"
#include "IniFile.h"
#include "Nlsfunc.h"
#include "PanelCalls.h"
#include "Placement.h"
#include "PorterBrowser.h"
#include "PorterText.h"
#include "Portset.h"

#include <QStatusBar>
#include <QVBoxLayout>

TFPorter *FPorter = nullptr;

namespace {

const char *const kCamKeys[4] = {"WebCam", "WebCam1", "WebCam2", "WebCam3"};

} // namespace

TFPorter::TFPorter(QWidget *parent) : TForm(parent)
{
    FPorter = this;
    setWindowFlag(Qt::Tool);
    Tag = 7300;
    SetCaption("Porter");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = new TToolBar(this);
    SpeedButtonHang = AddGlyphButton(ToolBar1, 7301, "\u2715", "Hang up");
    SpeedButtonOpen = AddGlyphButton(ToolBar1, 7302, "\u26B7", "Answer and open the door");
    SpeedButtonC[0] = AddGlyphButton(ToolBar1, 0, "0", "");
    SpeedButtonRefresh = AddGlyphButton(ToolBar1, 7304, "\u21BB", "Reload the page");
    for (int n = 1; n < 4; ++n)
        SpeedButtonC[static_cast<size_t>(n)] = AddGlyphButton(ToolBar1, 0, n == 1 ? "1" : n == 2 ? "2" : "3", "");
    SpeedButtonSet = AddGlyphButton(ToolBar1, 7303, "\u2699", "Settings");
    for (size_t n = 0; n < 4; ++n) {
        SpeedButtonC[n]->setObjectName(QStringLiteral("SpeedButtonC%1").arg(n));
        SpeedButtonC[n]->setCheckable(true);
        connect(SpeedButtonC[n], &QToolButton::clicked, this, [this, n] { SpeedButtonCClick(static_cast<int>(n)); });
    }
    SpeedButtonHang->setEnabled(false);
    SpeedButtonOpen->setEnabled(false);
    connect(SpeedButtonHang, &QToolButton::clicked, this, &TFPorter::SpeedButtonHangClick);
    connect(SpeedButtonOpen, &QToolButton::clicked, this, &TFPorter::SpeedButtonOpenClick);
    connect(SpeedButtonRefresh, &QToolButton::clicked, this, &TFPorter::SpeedButtonRefreshClick);
    connect(SpeedButtonSet, &QToolButton::clicked, this, &TFPorter::SpeedButtonSetClick);
    layout->addWidget(ToolBar1);
    BrowserArea = new QWidget(this);
    BrowserArea->setMinimumHeight(40);
    CppWebBrowser = new TPorterBrowser(BrowserArea);
    CppWebBrowser->OnProgress = [this](int progress, int maximum) { CppWebBrowserProgressChange(progress, maximum); };
    layout->addWidget(BrowserArea, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(StatusBar1);
    Timer1 = new TTimer(this, 500, false);
    Timer1->OnTimer = [this] { Timer1Timer(); };
    // The design's client size.
    resize(445, 295);
    LoadSettings();
    UpdateCameraButtons();
    ShowCamera(0);
}

TFPorter::~TFPorter()
{
    SaveSettings();
    if (FPorter == this)
        FPorter = nullptr;
}

void TFPorter::LoadSettings()
{
    TIniFile ini(ProgramIniPath());
    ::LoadPlacement(ini, "Porter", this, PlacementKeys::LeftTopWidthHeight, QPoint(0, 50));
    DoorLine = ini.ReadString("Porter", "Line", "");
    OpenCode = ini.ReadString("Porter", "Open", "61");
    for (size_t n = 0; n < 4; ++n)
        WebCam[n] = ini.ReadString("Porter", kCamKeys[n], "");
    CppLeft = ini.ReadInteger("Porter", "CppLeft", -220);
}

void TFPorter::SaveSettings()
{
    TIniFile ini(ProgramIniPath());
    ::SavePlacement(ini, "Porter", this, PlacementKeys::LeftTopWidthHeight);
    ini.WriteString("Porter", "Line", DoorLine);
    ini.WriteString("Porter", "Open", OpenCode);
    for (size_t n = 0; n < 4; ++n)
        ini.WriteString("Porter", kCamKeys[n], WebCam[n]);
    ini.WriteInteger("Porter", "CppLeft", CppLeft);
}

void TFPorter::Translate()
{
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFPorter::UpdateCameraButtons()
{
    for (size_t n = 0; n < 4; ++n) {
        if (n > 0)
            SpeedButtonC[n]->setEnabled(!WebCam[n].empty());
        SetHintOf(SpeedButtonC[n], WebCam[n]);
    }
}

void TFPorter::NavigateCurrent()
{
    if (CurrentPage.empty())
        return;
    NavigatedPage = CurrentPage;
    CppWebBrowser->Navigate(CurrentPage);
}

void TFPorter::showEvent(QShowEvent *event)
{
    TForm::showEvent(event);
    CppWebBrowser->Create();
    FormResize();
}

void TFPorter::resizeEvent(QResizeEvent *event)
{
    TForm::resizeEvent(event);
    FormResize();
}

void TFPorter::FormResize()
{
    // The default negative offset pushes the page's left part out of sight.
    CppWebBrowser->setGeometry(CppLeft + 16, 0, BrowserArea->width() - CppLeft - 16, BrowserArea->height());
}

void TFPorter::IncomingCall(const std::string &number)
{
    if (DoorLine.empty() || DoorLine != number)
        return;
    Timer1->SetEnabled(false);
    if (isVisible())
        return;
    AutoOpened = true;
    ShowCamera(0);
    show();
    raise();
    activateWindow();
}

void TFPorter::StartCloseTimer() { Timer1->SetEnabled(true); }

void TFPorter::Timer1Timer()
{
    if (AutoOpened) {
        AutoOpened = false;
        hide();
    }
    Timer1->SetEnabled(false);
}

void TFPorter::SetCallState(int handle, bool canCall)
{
    LoginHandle = handle;
    CanCall = canCall;
    // After a log-out the buttons would send requests without a session.
    const bool on = handle != -1 && canCall;
    SpeedButtonHang->setEnabled(on);
    SpeedButtonOpen->setEnabled(on);
}

void TFPorter::SpeedButtonOpenClick()
{
    // The state word changes only with the exchange's answer, so after the
    // answering request it still reads RNG and the code follows at once.
    if (panelcall::LineState() == "RNG")
        panelcall::ToggleSpeaker();
    const std::string state = panelcall::LineState();
    if (state == "CAL" || state == "RNG")
        panelcall::Dial(OpenCode, "L");
}

void TFPorter::SpeedButtonHangClick() { panelcall::ToggleSpeaker(); }

void TFPorter::SpeedButtonCClick(int camera) { ShowCamera(camera); }

void TFPorter::ShowCamera(int camera)
{
    // The button down is the camera shown.
    for (size_t n = 0; n < 4; ++n)
        SpeedButtonC[n]->setChecked(static_cast<int>(n) == camera);
    CurrentPage = WebCam[static_cast<size_t>(camera)];
    NavigateCurrent();
}

void TFPorter::SpeedButtonRefreshClick() { NavigateCurrent(); }

void TFPorter::CppWebBrowserProgressChange(int progress, int maximum)
{
    if (!isActiveWindow())
        return;
    StatusBar1->showMessage(
        ToQ(PorterProgressText(progress, maximum, [](int id) { return Nls ? Nls->GetText(id) : std::string(); })));
}

void TFPorter::SpeedButtonSetClick()
{
    const int offset = CppLeft;
    bool ok;
    {
        TFPorterSet set(this, &DoorLine, &OpenCode, &CppLeft, &WebCam[0], &WebCam[1], &WebCam[2], &WebCam[3]);
        CenterForm(this, &set);
        ok = set.exec() == QDialog::Accepted;
    }
    if (!ok)
        return;
    UpdateCameraButtons();
    if (CppLeft != offset)
        FormResize();
    if (CurrentPage != WebCam[0])
        ShowCamera(0);
}
