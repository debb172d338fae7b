#include "Main.h"

#include "About.h"
#include "Auto.h"
#include "Data.h"
#include "Dbf.h"
#include "Fce.h"
#include "Help.h"
#include "InstanceId.h"
#include "KeyForward.h"
#include "LineStatePictures.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "Porter.h"
#include "QtBridge.h"
#include "SessionWindows.h"
#include "Set.h"
#include "ShortcutWord.h"
#include "Skin.h"
#include "Xml.h"

#include <QApplication>
#include <QAudioOutput>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QMediaPlayer>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QSystemTrayIcon>
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
    ::DataDir = GetDataDir(InstanceId);
    QDir().mkpath(ToQ(::DataDir));
    ::chmod(::DataDir.c_str(), 0700);

    Skin = new TSkin(this, Image0, Image1);
    Desktop = new TDesktop(this, this);
    Nls = new TNlsFunc;
    ::PbxData = new TPbxData;
    Desktop->MainWindows = {Placed(FXML), Placed(FDbf), Placed(FAuto)};
    Desktop->SessionWindows = {Placed(FHist), Placed(FAcc), Placed(FLog), Placed(FFront),
                               Placed(FHold),  Placed(FPark), Placed(FPer)};

    LoadIni();
    Trace("------------Constructor");
    connect(qApp, &QApplication::focusChanged, this, [this] { UpdateControls(); });
    PanelKeys.KeyDown = [this](QKeyEvent *key) { FormKeyDown(key); };
    PanelKeys.KeyPress = [this](QKeyEvent *key) { FormKeyPress(key); };
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
    PanelKeys = {};
    SaveIni();
    delete Desktop;
    Desktop = nullptr;
    delete Skin;
    Skin = nullptr;
    delete ::PbxData;
    ::PbxData = nullptr;
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
    ImageList1 = MakeLineStatePictures(16);
    // Dragging the panel by its face.
    Image0->installEventFilter(this);

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
    // The panel's face is the skin; the status texts are kept for whoever asks.
    StatusBar1 = new QStatusBar(this);
    for (auto &panel : StatusPanels) {
        panel = new QLabel(StatusBar1);
        panel->setTextFormat(Qt::PlainText);
        StatusBar1->addWidget(panel);
    }
    StatusBar1->hide();

    Timer1 = new TTimer(this, 200, true);
    Timer1->OnTimer = [this] { Timer1Timer(); };
    TimerClock = new TTimer(this, 1000, true);
    TimerClock->OnTimer = [this] { TimerClockTimer(); };
    TimerOnOff = new TTimer(this, 100, false);
    TimerOnOff->OnTimer = [this] { TimerOnOffTimer(); };
    TimerDest = new TTimer(this, 1500, false);
    TimerDest->OnTimer = [this] { TimerDestTimer(); };
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
    QAction *set2 = AddItem(settings, 132, "Settings...");
    LanguageSel = settings->addMenu(QStringLiteral("Language"));
    SetTag(LanguageSel->menuAction(), 133);
    QMenu *help = MainMenu->addMenu(QStringLiteral("Help"));
    SetTag(help->menuAction(), 140);
    AddHelpItems(help);

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
    QAction *porter1 = AddItem(PopupMenu1, 121, "Door entry");
    PopupMenu1->addSeparator();
    QAction *popupSkin = AddItem(PopupMenu1, 134, "Skin...");
    QAction *popupDesktop = AddItem(PopupMenu1, 135, "Desktop...");
    QAction *saveDesktop = AddItem(PopupMenu1, 136, "Save desktop as...");
    PopupLanguage = PopupMenu1->addMenu(QStringLiteral("Language"));
    SetTag(PopupLanguage->menuAction(), 133);
    QAction *popupApplication = AddItem(PopupMenu1, 132, "Settings...");
    QMenu *popupHelp = PopupMenu1->addMenu(QStringLiteral("Help"));
    SetTag(popupHelp->menuAction(), 140);
    AddHelpItems(popupHelp);
    PopupMenu1->addSeparator();
    QAction *hideToTray = AddItem(PopupMenu1, 137, "Hide to tray");
    QAction *minimise = AddItem(PopupMenu1, 138, "Minimise");
    PopupMenu1->addSeparator();
    QAction *exit = AddItem(PopupMenu1, 103, "Exit");

    PopupMenuImg_ = new QMenu(this);
    BuildImageMenu();
    PopupMenuLab_ = new QMenu(this);
    QAction *labelFont = AddItem(PopupMenuLab_, 150, "Font...");

    // Each window is toggled from its tool button, its menu item and its pop-up item.
    const struct {
        TSpeedButton *button;
        std::vector<QAction *> items;
        std::function<QWidget *()> window;
    } toggles[] = {
        {SpeedButtonXML, {MenuXML, PopupXML}, [] { return FXML; }},
        {SpeedButtonDbf, {MenuDbf, PopupDbf}, [] { return FDbf; }},
        {nullptr, {MenuAuto, PopupAuto}, [] { return FAuto; }},
        {SpeedButtonHist, {MenuHist, PopupHist}, [] { return FHist; }},
        {SpeedButtonAcc, {MenuAcc, PopupAcc}, [] { return FAcc; }},
        {SpeedButtonLog, {MenuLog, PopupLog}, [] { return FLog; }},
        {SpeedButtonFront, {MenuFront, PopupFront}, [] { return FFront; }},
        {SpeedButtonHold, {MenuHold, PopupHold}, [] { return FHold; }},
        {SpeedButtonPark, {MenuPark, PopupPark}, [] { return FPark; }},
        {SpeedButtonPersonal, {MenuPersonal, PopupPersonal}, [] { return FPer; }},
        {SpeedButtonPorter, {MenuPorter, porter1}, [] { return FPorter; }},
    };
    for (const auto &t : toggles) {
        auto toggle = [this, window = t.window] { ToggleWindow(window()); };
        if (t.button)
            connect(t.button, &QToolButton::clicked, this, toggle);
        for (QAction *item : t.items) {
            item->setCheckable(true);
            connect(item, &QAction::triggered, this, toggle);
        }
    }
    MenuSpeeds->setCheckable(true);
    connect(SpeedButtonOpen, &QToolButton::clicked, this, [this] { SpeedButtonOpenClick(); });
    connect(SpeedButtonClose, &QToolButton::clicked, this, [this] { SpeedButtonCloseClick(); });
    for (QAction *a : {MenuOpen, PopupOpen})
        connect(a, &QAction::triggered, this, [this] { SpeedButtonOpenClick(); });
    for (QAction *a : {MenuClose, PopupClose})
        connect(a, &QAction::triggered, this, [this] { SpeedButtonCloseClick(); });
    for (QAction *a : {MenuExit, exit})
        connect(a, &QAction::triggered, this, [this] { close(); });
    for (QAction *a : {set2, popupApplication})
        connect(a, &QAction::triggered, this, [this] { Set2Click(); });
    connect(MenuSpeeds, &QAction::triggered, this, [this] { MenuSpeedsClick(); });
    connect(hideToTray, &QAction::triggered, this, [this] { ExecutePanelFunction(501, ""); });
    connect(minimise, &QAction::triggered, this, [this] { ExecutePanelFunction(502, ""); });
    connect(labelFont, &QAction::triggered, this, [this] { Nastavenpsma1Click(); });
    SetShortCut(popupSkin, 'S' | kAltBit);
    SetShortCut(popupDesktop, 'D' | kAltBit);
    SetShortCut(saveDesktop, 'D' | kCtrlBit);
    SetShortCut(MenuHist, 'H' | kCtrlBit);
    SetShortCut(MenuDbf, 'B' | kCtrlBit);
    SetShortCut(MenuAuto, 'A' | kCtrlBit);
    connect(popupSkin, &QAction::triggered, this, [this] { PopupSkinClick(); });
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
    trace_.Configure(::DataDir + "Talvodem.trc", Settings.Trace, Settings.TraceErase);
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
    for (QWidget *menu : std::initializer_list<QWidget *>{MainMenu, PopupMenu1, PopupMenuLab_, PopupMenuImg_})
        Nls->TranslateMenu(menu);
    Nls->CloseFile();
    SelectHelpFile();
    UpdateControls();
    if (FDbf)
        FDbf->Translate(!initial);
    if (FAuto)
        FAuto->Translate();
    if (FXML)
        FXML->Translate();
    for (TSessionWindow *w : std::initializer_list<TSessionWindow *>{FHist, FAcc, FLog, FPer, FFront, FHold, FPark})
        if (w)
            w->Translate();
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
    SpeedButtonXML->setChecked(visible(FXML));
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

std::string TFMain::CurrentSkinName() const { return Skin->SkinName; }
void TFMain::SetSkinName(const std::string &name) { Skin->SkinName = name; }
void TFMain::LoadSkin() { Skin->LoadSkin(); }
void TFMain::SaveSkin(bool removeControls) { Skin->SaveSkin(removeControls); }

std::string TFMain::DataDir() const { return ::DataDir; }
std::string TFMain::IniFileName() const { return ProgramIniPath(); }

TAnswerWindow *TFMain::HoldWindow() { return FHold; }
TAnswerWindow *TFMain::ParkWindow() { return FPark; }
TAnswerWindow *TFMain::HistWindow() { return FHist; }
TAnswerWindow *TFMain::AccWindow() { return FAcc; }
TAnswerWindow *TFMain::LogWindow() { return FLog; }
TSpeedDialReceiver *TFMain::SpeedDial() { return FPer; }
TPortReceiver *TFMain::PbxData() { return ::PbxData; }

// Without a notification area (a bare X server) the panel minimises, so it
// can never vanish beyond reach.
void TFMain::HideToTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showMinimized();
        return;
    }
    if (!TrayIcon1) {
        TrayIcon1 = new QSystemTrayIcon(QIcon(ImageList1[0]), this);
        TrayIcon1->setToolTip(QApplication::applicationName());
        connect(TrayIcon1, &QSystemTrayIcon::activated, this, [this] { TrayIcon1Restore(); });
    }
    TrayIcon1->show();
    hide();
}

void TFMain::TrayIcon1Restore()
{
    if (TrayIcon1 && TrayIcon1->isVisible())
        TrayIcon1->hide();
    showNormal();
    raise();
    activateWindow();
}

bool TFMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image0) {
        if (event->type() == QEvent::MouseButtonPress) {
            dragOrigin_ = static_cast<QMouseEvent *>(event)->position().toPoint();
        } else if (event->type() == QEvent::MouseMove) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->buttons() & Qt::LeftButton)
                move(pos() + mouse->position().toPoint() - dragOrigin_);
        }
    }
    return TForm::eventFilter(watched, event);
}

void TFMain::MenuSpeedsClick()
{
    // The tool bar sits below the face; the panel grows by its height and
    // the window's shape takes it in.
    const bool show = !ToolBar1->isVisible();
    const int bar = ToolBar1->sizeHint().height();
    if (show) {
        ToolBar1->setGeometry(0, height(), width(), bar);
        resize(width(), height() + bar);
        ToolBar1->show();
    } else {
        ToolBar1->hide();
        resize(width(), height() - bar);
    }
    if (Skin && !Skin->Region.isEmpty())
        setMask(show ? Skin->Region.united(ToolBar1->geometry()) : Skin->Region);
    UpdateControls();
}

void TFMain::PopupSkinClick()
{
    QString cwd = QDir::currentPath();
    QFileDialog dialog(this);
    Skin->ChooseSkinFile(&dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        Skin->SelectSkin(FromQ(QFileInfo(dialog.selectedFiles().first()).fileName()));
    QDir::setCurrent(cwd);
}

void TFMain::Nastavenpsma1Click()
{
    auto *label = qobject_cast<TLabel *>(Skin ? Skin->PopupComponent() : nullptr);
    if (!label)
        return;
    const std::string name = FromQ(label->objectName());
    TFont font = Skin->LabelFont(name);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, ToQFont(font), this, QString(), QFontDialog::DontUseNativeDialog);
    if (!ok)
        return;
    font.Name = FromQ(chosen.family());
    if (chosen.pointSize() > 0)
        font.SetSize(chosen.pointSize());
    else
        font.SetHeight(-chosen.pixelSize());
    font.Style = (chosen.bold() ? fsBold : 0) | (chosen.italic() ? fsItalic : 0) |
                 (chosen.underline() ? fsUnderline : 0) | (chosen.strikeOut() ? fsStrikeOut : 0);
    Skin->SetLabelFont(name, font);
}

void TFMain::AddHelpItems(QMenu *menu)
{
    connect(AddItem(menu, 141, "Contents"), &QAction::triggered, this, [this] { Content1Click(); });
    connect(AddItem(menu, 142, "Search..."), &QAction::triggered, this, [this] { Vyhledn1Click(); });
    connect(AddItem(menu, 143, "Using help"), &QAction::triggered, this, [this] { Pouitnpovdy1Click(); });
    menu->addSeparator();
    connect(AddItem(menu, 144, "About..."), &QAction::triggered, this, [this] { About1Click(); });
}

void TFMain::About1Click()
{
    if (!FAbout)
        return;
    CenterForm(this, FAbout);
    FAbout->exec();
}

void TFMain::Content1Click() { ShowHelp(HelpFile, THelpCommand::Contents, this); }
void TFMain::Vyhledn1Click() { ShowHelp(HelpFile, THelpCommand::Search, this); }
void TFMain::Pouitnpovdy1Click() { ShowHelp(HelpFile, THelpCommand::HelpOnHelp, this); }

void TFMain::Set2Click()
{
    // Besides the panel's settings the dialog shows or hides the door-entry button.
    bool porter = !SpeedButtonPorter->isHidden();
    TFSet dialog(this, Skin, &Settings, &porter);
    CenterForm(this, &dialog);
    dialog.exec();
    SpeedButtonPorter->setVisible(porter);
}
