#include "Main.h"

#include "Auto.h"
#include "Dbf.h"
#include "Fce.h"
#include "InstanceId.h"
#include "LineStatePictures.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "Porter.h"
#include "SessionWindows.h"

#include <QApplication>
#include <QAudioOutput>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMediaPlayer>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <sys/stat.h>

TFMain *FMain = nullptr;

namespace {
// No sound may hold the panel longer than this, played or not.
constexpr int kLongestSoundWaitMs = 15000;

// A window the desktop places while its global pointer is set.
template <typename Window> TPlacedWindow Placed(Window *&window)
{
    return {[&window] { return window != nullptr; }, [&window](const TIniFile &ini) { window->LoadPlacement(ini); },
            [&window](TIniFile &ini) { window->SavePlacement(ini); }};
}
} // namespace

TFMain::TFMain(QWidget *parent) : TForm(parent)
{
    FMain = this;
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    BuildControls();
    BuildMenus();

    InstanceId = GetInstanceId(ProgramDir());
    DataDir = GetDataDir(InstanceId);
    QDir().mkpath(ToQ(DataDir));
    ::chmod(DataDir.c_str(), 0700);

    Nls = new TNlsFunc;
    Desktop = new TDesktop(this, this);
    Desktop->MainWindows = {Placed(FDbf), Placed(FAuto)};
    Desktop->SessionWindows = {Placed(FHist), Placed(FAcc), Placed(FLog), Placed(FFront),
                               Placed(FHold),  Placed(FPark), Placed(FPer)};

    LoadIni();
    Trace("------------Constructor");
    connect(qApp, &QApplication::focusChanged, this, [this] { UpdateControls(); });
    PlaySoundFile(Settings.SoundStart, false);
    QMetaObject::invokeMethod(this, [this] { FormInit(); }, Qt::QueuedConnection);
}

TFMain::~TFMain()
{
    Trace("------------Destructor");
    if (Connected)
        OnSessionClosed("", true);
    PlaySoundFile(Settings.SoundEnd, true);
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    SaveIni();
    delete Desktop;
    Desktop = nullptr;
    delete Nls;
    Nls = nullptr;
    FMain = nullptr;
}

void TFMain::BuildControls()
{
    Image0 = new TImage(this);
    Image0->setObjectName(QStringLiteral("Image0"));
    Image0->setScaledContents(false);
    Image1 = new TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->hide();
    ImageList1 = MakeLineStatePictures();

    ToolBar1 = new TToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    auto button = [this](const char *name, int tag, const char *text) {
        auto *b = new TSpeedButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->Tag = tag;
        b->setText(QString::fromLatin1(text));
        b->setCheckable(true);
        ToolBar1->addWidget(b);
        return b;
    };
    SpeedButtonOpen = button("SpeedButtonOpen", 160, "Open");
    SpeedButtonClose = button("SpeedButtonClose", 161, "Close");
    SpeedButtonXML = button("SpeedButtonXML", 162, "XML");
    SpeedButtonDbf = button("SpeedButtonDbf", 163, "Book");
    SpeedButtonHist = button("SpeedButtonHist", 164, "Hist");
    SpeedButtonAcc = button("SpeedButtonAcc", 165, "Acc");
    SpeedButtonLog = button("SpeedButtonLog", 166, "Log");
    SpeedButtonFront = button("SpeedButtonFront", 167, "Queue");
    SpeedButtonHold = button("SpeedButtonHold", 168, "Hold");
    SpeedButtonPark = button("SpeedButtonPark", 169, "Park");
    SpeedButtonPersonal = button("SpeedButtonPersonal", 170, "Speed");
    SpeedButtonPorter = button("SpeedButtonPorter", 171, "Door");
    SpeedButtonOpen->setCheckable(false);
    SpeedButtonClose->setCheckable(false);
    ToolBar1->hide();
    connect(SpeedButtonOpen, &QToolButton::clicked, this, [this] { SpeedButtonOpenClick(); });
    connect(SpeedButtonClose, &QToolButton::clicked, this, [this] { SpeedButtonCloseClick(); });
    connect(SpeedButtonDbf, &QToolButton::clicked, this, [this] { ToggleWindow(FDbf); });
    connect(SpeedButtonPorter, &QToolButton::clicked, this, [this] { ToggleWindow(FPorter); });

    // The panel's face is the skin; the status texts are kept for whoever asks.
    StatusBar1 = new QStatusBar(this);
    for (auto &panel : StatusPanels) {
        panel = new QLabel(StatusBar1);
        panel->setTextFormat(Qt::PlainText);
        StatusBar1->addWidget(panel);
    }
    StatusBar1->hide();

    Timer1 = new TTimer(this, 200, true);
    TimerClock = new TTimer(this, 1000, true);
    TimerOnOff = new TTimer(this, 100, false);
    TimerDest = new TTimer(this, 1500, false);
}

QAction *TFMain::AddItem(QMenu *menu, int tag, const char *text)
{
    QAction *item = menu->addAction(QString::fromLatin1(text));
    SetTag(item, tag);
    return item;
}

void TFMain::BuildMenus()
{
    MainMenu = new QMenuBar(this);
    MainMenu->hide();
    QMenu *file = MainMenu->addMenu(QStringLiteral("File"));
    SetTag(file->menuAction(), 100);
    MenuOpen = AddItem(file, 101, "Log in");
    MenuClose = AddItem(file, 102, "Log out");
    MenuExit = AddItem(file, 103, "Exit");
    QMenu *windows = MainMenu->addMenu(QStringLiteral("Windows"));
    SetTag(windows->menuAction(), 110);
    MenuXML = AddItem(windows, 111, "Protocol");
    MenuDbf = AddItem(windows, 112, "Phone book");
    MenuAuto = AddItem(windows, 113, "Dialler");
    MenuHist = AddItem(windows, 114, "History");
    MenuAcc = AddItem(windows, 115, "Accounting");
    MenuLog = AddItem(windows, 116, "Event log");
    MenuFront = AddItem(windows, 117, "Waiting calls");
    MenuHold = AddItem(windows, 118, "Held calls");
    MenuPark = AddItem(windows, 119, "Parked calls");
    MenuPersonal = AddItem(windows, 120, "Speed dials");
    MenuPorter = AddItem(windows, 121, "Door entry");
    QMenu *settings = MainMenu->addMenu(QStringLiteral("Settings"));
    SetTag(settings->menuAction(), 130);
    MenuSpeeds = AddItem(settings, 131, "Tool bar");
    LanguageSel = settings->addMenu(QStringLiteral("Language"));
    SetTag(LanguageSel->menuAction(), 133);
    for (QAction *a : {MenuXML, MenuDbf, MenuAuto, MenuHist, MenuAcc, MenuLog, MenuFront, MenuHold, MenuPark,
                       MenuPersonal, MenuPorter, MenuSpeeds})
        a->setCheckable(true);

    PopupMenu1 = new QMenu(this);
    PopupOpen = AddItem(PopupMenu1, 101, "Log in");
    PopupClose = AddItem(PopupMenu1, 102, "Log out");
    PopupMenu1->addSeparator();
    PopupXML = AddItem(PopupMenu1, 111, "Protocol");
    PopupDbf = AddItem(PopupMenu1, 112, "Phone book");
    PopupAuto = AddItem(PopupMenu1, 113, "Dialler");
    PopupHist = AddItem(PopupMenu1, 114, "History");
    PopupAcc = AddItem(PopupMenu1, 115, "Accounting");
    PopupLog = AddItem(PopupMenu1, 116, "Event log");
    PopupFront = AddItem(PopupMenu1, 117, "Waiting calls");
    PopupHold = AddItem(PopupMenu1, 118, "Held calls");
    PopupPark = AddItem(PopupMenu1, 119, "Parked calls");
    PopupPersonal = AddItem(PopupMenu1, 120, "Speed dials");
    for (QAction *a : {PopupXML, PopupDbf, PopupAuto, PopupHist, PopupAcc, PopupLog, PopupFront, PopupHold,
                       PopupPark, PopupPersonal})
        a->setCheckable(true);
    PopupMenu1->addSeparator();
    QAction *popupDesktop = AddItem(PopupMenu1, 135, "Desktop...");
    QAction *saveDesktop = AddItem(PopupMenu1, 136, "Save desktop as...");
    PopupLanguage = PopupMenu1->addMenu(QStringLiteral("Language"));
    SetTag(PopupLanguage->menuAction(), 133);
    PopupMenu1->addSeparator();
    QAction *exit = AddItem(PopupMenu1, 103, "Exit");

    PopupMenuImg = new QMenu(this);
    PopupMenuLab = new QMenu(this);

    for (QAction *a : {MenuOpen, PopupOpen})
        connect(a, &QAction::triggered, this, [this] { SpeedButtonOpenClick(); });
    for (QAction *a : {MenuClose, PopupClose})
        connect(a, &QAction::triggered, this, [this] { SpeedButtonCloseClick(); });
    for (QAction *a : {MenuExit, exit})
        connect(a, &QAction::triggered, this, [this] { close(); });
    for (QAction *a : {MenuDbf, PopupDbf})
        connect(a, &QAction::triggered, this, [this] { ToggleWindow(FDbf); });
    for (QAction *a : {MenuAuto, PopupAuto})
        connect(a, &QAction::triggered, this, [this] { ToggleWindow(FAuto); });
    connect(MenuPorter, &QAction::triggered, this, [this] { ToggleWindow(FPorter); });
    connect(popupDesktop, &QAction::triggered, this, [this] { PopupDesktopClick(); });
    connect(saveDesktop, &QAction::triggered, this, [this] { SaveDesktop1Click(); });

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(mapToGlobal(at)); });
}

void TFMain::LoadIni()
{
    Settings.LoadIni(ProgramIniPath());
    Nls->SetLanguageCode(Settings.Lang);
    trace_.Configure(DataDir + "Talvodem.trc", Settings.Trace, Settings.TraceErase);
}

void TFMain::SaveIni()
{
    if (Nls)
        Settings.Lang = Nls->Language();
    Settings.SaveIni(ProgramIniPath());
}

void TFMain::Trace(const std::string &text) { trace_.Write(text); }

void TFMain::FormInit()
{
    Trace("FormInit");
    Desktop->LoadAtStart();
    SelectHelpFile();
    BuildLanguageMenu();
    ApplyLanguage(Settings.Lang, true);
    SpeedButtonOpenClick();
}

void TFMain::closeEvent(QCloseEvent *event)
{
    // Every road out (the panel's own exit, the window manager, a signal at
    // the end of the session) comes here once, so nothing is left unsaved.
    if (!closing_) {
        closing_ = true;
        FormClose();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    event->accept();
}

void TFMain::FormClose()
{
    Trace("FormClose");
    if (Connected)
        SpeedButtonCloseClick();
    DestroySessionForms();
    Desktop->SaveAtExit();
    Delay(500);
}

void TFMain::PlaySoundFile(const std::string &name, bool wait)
{
    if (name.empty())
        return;
    std::string path = FindFileNoCase(ProgramDir() + "Sounds/", name);
    if (!QFileInfo::exists(ToQ(path)))
        return;
    if (!player_) {
        player_ = new QMediaPlayer(this);
        audio_ = new QAudioOutput(this);
        player_->setAudioOutput(audio_);
    }
    player_->stop();
    player_->setSource(QUrl::fromLocalFile(ToQ(path)));
    player_->play();
    if (!wait)
        return;
    // Bounded: without a sound device the end may never be reported.
    QEventLoop loop;
    auto done = connect(player_, &QMediaPlayer::mediaStatusChanged, &loop, [&loop](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia || s == QMediaPlayer::NoMedia)
            loop.quit();
    });
    auto failed = connect(player_, &QMediaPlayer::errorOccurred, &loop, [&loop] { loop.quit(); });
    QTimer::singleShot(kLongestSoundWaitMs, &loop, &QEventLoop::quit);
    if (player_->playbackState() == QMediaPlayer::PlayingState)
        loop.exec();
    disconnect(done);
    disconnect(failed);
    player_->stop();
}

void TFMain::BuildLanguageMenu()
{
    // The language files stand beside the program, wherever it was started from.
    QStringList files = QDir(ToQ(ProgramDir())).entryList({QStringLiteral("Talvodel.*")}, QDir::Files, QDir::Name);
    for (const QString &f : files) {
        QString code = QFileInfo(f).suffix().toLower();
        for (QMenu *menu : {LanguageSel, PopupLanguage}) {
            QAction *item = menu->addAction(code);
            item->setCheckable(true);
            connect(item, &QAction::triggered, this, [this, item] { LanguageClick(item); });
        }
    }
    for (QMenu *menu : {LanguageSel, PopupLanguage})
        for (QAction *item : menu->actions())
            item->setChecked(FromQ(item->text()) == Nls->Language());
}

void TFMain::LanguageClick(QAction *item) { ApplyLanguage(FromQ(item->text()), false); }

void TFMain::ApplyLanguage(const std::string &code, bool initial)
{
    for (QMenu *menu : {LanguageSel, PopupLanguage})
        for (QAction *item : menu->actions())
            item->setChecked(FromQ(item->text()) == code);
    Nls->SetLanguage(code);
    Nls->LoadTexts();
    Nls->TranslateForm(this, false);
    for (QWidget *menu : std::initializer_list<QWidget *>{MainMenu, PopupMenu1, PopupMenuLab, PopupMenuImg})
        Nls->TranslateMenu(menu);
    Nls->CloseFile();
    SelectHelpFile();
    UpdateControls();
    if (FDbf)
        FDbf->Translate(!initial);
    if (FAuto)
        FAuto->Translate();
    if (FPorter)
        FPorter->Translate();
}

void TFMain::SelectHelpFile()
{
    std::string own = FindFileNoCase(ProgramDir(), "Talvd" + Nls->Language() + ".html");
    HelpFile = QFileInfo::exists(ToQ(own)) ? own : ProgramDir() + "Talvdeng.html";
}

void TFMain::UpdateControls()
{
    auto visible = [](const QWidget *w) { return w && w->isVisible(); };
    for (TSpeedButton *b : {SpeedButtonHist, SpeedButtonAcc, SpeedButtonLog, SpeedButtonFront, SpeedButtonHold,
                            SpeedButtonPark}) {
        b->setEnabled(Connected);
        b->setChecked(false);
    }
    SpeedButtonPorter->setChecked(visible(FPorter));
    SpeedButtonDbf->setEnabled(FDbf && FDbf->TablesOpen());
    SpeedButtonDbf->setChecked(visible(FDbf));
    SpeedButtonPersonal->setEnabled(Connected && LineOpen);
    SetHintOf(SpeedButtonPersonal, ToggleLine(!LineOpen, HintOf(SpeedButtonPersonal), Nls->GetText(250)));
    SpeedButtonOpen->setEnabled(!Connected);
    SpeedButtonClose->setEnabled(Connected);
    MenuOpen->setEnabled(!Connected);
    MenuClose->setEnabled(Connected);
    MenuSpeeds->setChecked(ToolBar1->isVisible());
    const std::pair<QAction *, TSpeedButton *> copies[] = {
        {MenuXML, SpeedButtonXML},   {MenuDbf, SpeedButtonDbf},     {MenuHist, SpeedButtonHist},
        {MenuAcc, SpeedButtonAcc},   {MenuLog, SpeedButtonLog},     {MenuFront, SpeedButtonFront},
        {MenuHold, SpeedButtonHold}, {MenuPark, SpeedButtonPark},   {MenuPersonal, SpeedButtonPersonal},
        {MenuPorter, SpeedButtonPorter}};
    for (auto &[item, b] : copies) {
        item->setEnabled(b->isEnabled());
        item->setChecked(b->isChecked());
    }
    MenuAuto->setEnabled(FAuto && FAuto->TableOpen());
    MenuAuto->setChecked(visible(FAuto));
    PopupOpen->setEnabled(MenuOpen->isEnabled());
    PopupClose->setEnabled(MenuClose->isEnabled());
    const std::pair<QAction *, QAction *> popups[] = {
        {PopupXML, MenuXML},   {PopupDbf, MenuDbf},   {PopupAuto, MenuAuto},   {PopupHist, MenuHist},
        {PopupAcc, MenuAcc},   {PopupLog, MenuLog},   {PopupFront, MenuFront}, {PopupHold, MenuHold},
        {PopupPark, MenuPark}, {PopupPersonal, MenuPersonal}};
    for (auto &[item, from] : popups) {
        item->setEnabled(from->isEnabled());
        item->setChecked(from->isChecked());
    }
}

void TFMain::ToggleWindow(QWidget *w)
{
    if (w)
        w->setVisible(!w->isVisible());
    UpdateControls();
}

void TFMain::CreateSessionForms()
{
    FHist = new TFHist(this, LineOpen, Settings.Line);
    FAcc = new TFAcc(this, LineOpen, Settings.Line);
    FLog = new TFLog(this, LineOpen);
    FFront = new TFFront(this, LineOpen, Handle);
    FHold = new TFHold(this, LineOpen, Handle);
    FPark = new TFPark(this, LineOpen, Handle);
    if (LineOpen)
        FPer = new TFPer(this, LineOpen, Handle);
    Desktop->LoadWindowPositions();
    SessionFormsCreated = true;
}

void TFMain::DestroySessionForms()
{
    if (!SessionFormsCreated)
        return;
    Desktop->SaveWindowPositions("");
    auto free = [](auto *&window) {
        delete window;
        window = nullptr;
    };
    free(FHist);
    free(FAcc);
    free(FLog);
    free(FFront);
    free(FHold);
    free(FPark);
    free(FPer);
    SessionFormsCreated = false;
}

// The log-in dialog and the session's end come with the exchange log-in.
void TFMain::SpeedButtonOpenClick() {}
void TFMain::SpeedButtonCloseClick() {}
void TFMain::OnSessionClosed(const std::string &, bool) { Connected = false; }

void TFMain::SetStatusText(int panel, const std::string &text)
{
    if (panel == 0 || panel == 1)
        StatusPanels[panel]->setText(ToQ(text));
}

namespace {

// Runs a file dialog for a desktop file and hands over the chosen name
// without its folder; the working folder stays as it was.
void RunDesktopDialog(QWidget *parent, QFileDialog::AcceptMode mode, const std::function<void(const std::string &)> &use)
{
    QString cwd = QDir::currentPath();
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    Desktop->PrepareFileDialog(&dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        use(FromQ(QFileInfo(dialog.selectedFiles().first()).fileName()));
    QDir::setCurrent(cwd);
}

} // namespace

void TFMain::PopupDesktopClick()
{
    RunDesktopDialog(this, QFileDialog::AcceptOpen, [](const std::string &name) { Desktop->SwitchDesktop(name); });
}

void TFMain::SaveDesktop1Click()
{
    RunDesktopDialog(this, QFileDialog::AcceptSave, [](const std::string &name) { Desktop->SaveDesktopAs(name); });
}

std::string TFMain::CurrentSkinName() const { return skinName_; }
void TFMain::SetSkinName(const std::string &name) { skinName_ = name; }

void TFMain::LoadSkin()
{
    resize(320, 480);
    show();
}

void TFMain::SaveSkin(bool) {}
