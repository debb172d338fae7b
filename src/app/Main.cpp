#include "Main.h"
#include "PanelCalls.h"

#include "Auto.h"
#include "Data.h"
#include "Dbf.h"
#include "FailureTrace.h"
#include "Fce.h"
#include "FirstFrame.h"
#include "Help.h"
#include "InstanceId.h"
#include "KeyForward.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "Porter.h"
#include "QtTranslations.h"
#include "SessionWindows.h"
#include "Skin.h"
#include "SoundModule.h"
#include "Xml.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <sys/stat.h>

TFMain *FMain = nullptr;

namespace {
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
    BuildFace();

    InstanceId = GetInstanceId(ProgramDir());
    ::DataDir = GetDataDir(InstanceId);
    QDir().mkpath(QPath(::DataDir));
    ::chmod(::DataDir.c_str(), 0700);

    Skin = new TSkin(this, Image0, Image1);
    Desktop = new TDesktop(this, this);
    // The skin's pictures decode on another thread while the panel is built.
    Desktop->PrefetchAtStart();
    BuildControls();
    BuildMenus();
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
    PanelCalls.Dial = [this](const std::string &number, const std::string &kind) { Dial(number, kind); };
    PanelCalls.DialOrTransfer = [this](const std::string &number, const std::string &kind) {
        DialOrTransfer(number, kind);
    };
    PanelCalls.SendConference = [this](const std::string &number) { SendConference(number); };
    PanelCalls.ToggleSpeaker = [this] { ToggleSpeaker(); };
    PanelCalls.NameParts = [](bool &title, bool &firstName, bool &titleAfter) {
        if (Skin) {
            title = Skin->Title;
            firstName = Skin->FirstName;
            titleAfter = Skin->TitleAfter;
        }
    };
    PanelCalls.SendList = [this](const std::string &type, const std::string &act, const std::string &value) {
        SendListRequest(type.c_str(), act, value, "");
    };
    PanelCalls.LineState = [this] { return LineState; };
    PanelCalls.CanCall = [this] { return LineOpen; };
    PanelCalls.ToPSTN = [this] { return Settings.ToPSTN; };
    PanelCalls.LastTop = [this] { return Settings.LastTop; };
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
    PanelCalls = {};
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
    SetFailureTrace("");
}

void TFMain::LoadIni()
{
    Settings.LoadIni(ProgramIniPath());
    Nls->SetLanguageCode(Settings.Lang);
    trace_.Configure(::DataDir + "Talvodem.trc", Settings.Trace, Settings.TraceErase);
    SetFailureTrace(::DataDir + "Talvodem.trc");
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
    // The panel shows first; the other windows are built while it is looked at.
    startingUp_ = true;
    // A skin refused now is named in the words of the language file.
    Nls->SetLanguage(Settings.Lang);
    Nls->LoadTexts();
    Nls->CloseFile();
    Desktop->ShowPanelAtStart();
    WaitUntilPainted(this, kFirstFrameWaitMs);
    PlaySoundFile(Settings.SoundStart, false);
    if (BuildOtherForms)
        std::exchange(BuildOtherForms, nullptr)();
    startingUp_ = false;
    Desktop->PlaceWindowsAtStart();
    if (!Skin->NotCopied.empty())
        MessageBox(Nls->GetText(515) + "\n" + NameFromFs(Skin->NotCopied), 101, QMessageBox::Warning);
    if (!Desktop->RefusedDefault().empty())
        MessageBox(Nls->GetText(9254) + "\n" + Desktop->RefusedDefault(), 101, QMessageBox::Warning);
    if (!refusedSkin_.empty())
        SkinRefused(std::exchange(refusedSkin_, std::string()));
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
    std::string path = FindFileNoCase(ProgramDir() + "Sounds/", FsName(name));
    if (!QFileInfo::exists(QPath(path)))
        return;
    if (!player_)
        player_ = LoadSoundPlayer();
    if (player_)
        player_->Play(QPath(path), wait);
}

void TFMain::BuildLanguageMenu()
{
    // The language files stand beside the program, wherever it was started from.
    QStringList files = QDir(QPath(ProgramDir())).entryList({QStringLiteral("Talvodel.*")}, QDir::Files, QDir::Name);
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
    LoadQtTranslations(code);
    Nls->TranslateForm(this, false);
    for (QWidget *menu : std::initializer_list<QWidget *>{MainMenu, PopupMenu1, PopupMenuLab_, PopupMenuImg_})
        Nls->TranslateMenu(menu);
    Nls->CloseFile();
    SelectHelpFile();
    UpdateControls();
    // The state text on the display was looked up in the old language.
    if (Connected && !LineState.empty())
        ShowLineState(-1, LineState);
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
    if (THelpWindow *help = HelpWindow())
        help->ChangeLanguage(HelpFile);
}

void TFMain::SelectHelpFile()
{
    std::string own = FindFileNoCase(ProgramDir(), FsName("Talvd" + Nls->Language() + ".html"));
    HelpFile = QFileInfo::exists(QPath(own)) ? own : ProgramDir() + "Talvdeng.html";
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
        StatusPanels[panel]->SetCaptionLater(text);
}

std::string TFMain::CurrentSkinName() const { return Skin->SkinName; }
void TFMain::SetSkinName(const std::string &name) { Skin->SkinName = name; }
void TFMain::LoadSkin() { Skin->LoadSkin(); }
void TFMain::PrefetchSkin(const std::string &name) { Skin->Prefetch(name); }
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
