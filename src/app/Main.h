#pragma once
// The telephone front panel: the program's main window. It owns the shared
// objects (skin engine, desktop manager, language object), keeps the panel
// settings, and starts and ends the program in a fixed order.
#include "Desktop.h"
#include "PanelSettings.h"
#include "PanelTrace.h"
#include "Receivers.h"
#include "SkinHost.h"
#include "Timer.h"
#include "Vcl.h"

#include <QMessageBox>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QKeyEvent;
class TLayeredForm;
class TSoundPlayer;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QSystemTrayIcon;

class TFMain : public TForm, public TDesktopSkin, public TSkinHost, public TAnswerReceivers {
    Q_OBJECT
public:
    explicit TFMain(QWidget *parent = nullptr);
    ~TFMain() override;

    // Set by the start: builds the windows that need not be there before the
    // panel shows. Called once, when the panel has been painted.
    std::function<void()> BuildOtherForms;

    // Design-time controls.
    TImage *Image0;  // the skin's face, the whole client area
    TImage *Image1;  // the skin's sprite sheet, never shown
    TLayeredForm *LayeredForm1; // the window's shape, set by the skin
    std::vector<QPixmap> ImageList1;
    TToolBar *ToolBar1;
    TSpeedButton *SpeedButtonOpen, *SpeedButtonClose, *SpeedButtonXML, *SpeedButtonDbf, *SpeedButtonHist,
        *SpeedButtonAcc, *SpeedButtonLog, *SpeedButtonFront, *SpeedButtonHold, *SpeedButtonPark,
        *SpeedButtonPersonal, *SpeedButtonPorter;
    QMenuBar *MainMenu;
    QMenu *LanguageSel;
    QMenu *PopupMenu1, *PopupLanguage;
    QAction *MenuOpen, *MenuClose, *MenuExit, *MenuXML, *MenuDbf, *MenuAuto, *MenuHist, *MenuAcc, *MenuLog,
        *MenuFront, *MenuHold, *MenuPark, *MenuPersonal, *MenuPorter, *MenuSpeeds;
    QAction *PopupOpen, *PopupClose, *PopupXML, *PopupDbf, *PopupAuto, *PopupHist, *PopupAcc, *PopupLog,
        *PopupFront, *PopupHold, *PopupPark, *PopupPersonal, *PopupPorter;
    QStatusBar *StatusBar1;
    TLabel *StatusPanels[2];
    TTimer *Timer1, *TimerClock, *TimerOnOff, *TimerDest;

    // Session and settings.
    std::string InstanceId;
    TPanelSettings Settings;
    bool Connected = false;
    bool LineOpen = false; // the log-in's command right
    bool RightSTS = false, RightCTI = false;
    bool PosKnown = false;
    bool SessionFormsCreated = false;
    bool Held = false;
    bool FrontBlink = false;
    int Handle = 0;
    std::string LineType;
    std::string LineState;
    std::string HelpFile;

    // Line display.
    static constexpr int kAppend = 1000, kReplace = 1001, kDeleteLast = 1002;
    static constexpr int kMaxParties = 56;
    struct TCallParty {
        std::string Name, Number, Port;
    };
    std::string DispNumber;
    std::string TariffText;
    bool RingShown = false;
    bool RingBlink = false, DialBlink = false;
    int StatPicture = -1, HandState = -1, RingPos = -1;
    int SpeakerLamp = 0, MuteLamp = 0; // the last STATE's Hfree and Mic
    bool DialPending = true;
    int FrontPhase = 1;
    std::array<TCallParty, kMaxParties> CallParties;
    int CallPartyCount = 0;
    int ClockTicks = 0; // seconds until the timed display clears
    int OnOffTicks = 0;

    void LoadIni();
    void SaveIni();
    void FormInit();
    void FormClose();
    void Trace(const std::string &text);
    void PlaySoundFile(const std::string &name, bool wait);
    void ApplyLanguage(const std::string &code, bool initial);
    void BuildLanguageMenu();
    void LanguageClick(QAction *item);
    void SelectHelpFile();
    void UpdateControls();
    void CreateSessionForms();
    void DestroySessionForms();
    void SpeedButtonOpenClick();
    void SpeedButtonCloseClick();
    void SetStatusText(int panel, const std::string &text);
    void SpeedButtonFrontClick();
    void HideToTray();
    // Every window of the program goes down with the panel and comes back with it.
    void MinimizeApplication();
    void RestoreApplication();
    void ImageFrontDblClick();
    void TrayIcon1Restore();
    void Set2Click();
    void MenuSpeedsClick();
    void PopupSkinClick();
    void Nastavenpsma1Click();
    void About1Click();
    void Content1Click();
    void Vyhledn1Click();
    void Pouitnpovdy1Click();

    // The context menu of a skin image.
    void PopupMenuImgPopup();
    void PopupImgClick(QAction *item);
    void PopupImgLabClick();
    void PopupImgDialClick();
    QMenu *PopupFunctions = nullptr, *PopupNum = nullptr, *PopupDSS = nullptr;
    QAction *PopupImgDial = nullptr, *PopupImgLab = nullptr;
    QSystemTrayIcon *TrayIcon1 = nullptr;

    // Answers from the exchange.
    int SessionHandle() const override { return Handle; }
    bool SessionConnected() const override { return Connected; }
    void OnOpenAnswer(int handle, const std::string &attr, int pos, const std::string &lineType,
                      const std::string &ret) override;
    void OnSessionClosed(const std::string &reason, bool waitSound) override;
    void OnOpenLost() override;
    void OnRingAnswer(const std::string &port, const std::string &cid, const std::string &pbxName,
                      const std::string &dest, const std::string &destName, int pos, const std::string &act) override;
    void OnDialAnswer(const std::string &pbxName, const std::string &cid, const std::string &act) override;
    void OnCallAnswer(const std::string &cid, const std::string &pbxName, const std::string &port,
                      const std::string &act) override;
    void OnHoldAnswer(const std::string &act) override;
    void OnStateAnswer(const std::string &state, int hfree, int mic) override;
    void ShowInfoKeys(const std::string &key) override;
    void ShowService(const std::string &service, int id, int rmn) override;
    void ShowTariff(int tar) override;
    TAnswerWindow *HoldWindow() override;
    TAnswerWindow *ParkWindow() override;
    TAnswerWindow *HistWindow() override;
    TAnswerWindow *AccWindow() override;
    TAnswerWindow *LogWindow() override;
    TSpeedDialReceiver *SpeedDial() override;
    TPortReceiver *PbxData() override;

    // The line display.
    void ShowLineState(int code, const std::string &word);
    void ShowCaller(const std::string &number, const std::string &name, int mode);
    void ShowDestination(const std::string &number, const std::string &name);
    void ShowTimedDisplay(const std::string &text, int ticks);
    void Timer1Timer();
    void TimerClockTimer();
    void TimerDestTimer();

    // Panel functions and call requests.
    void ExecutePanelFunction(int id, const std::string &imageName) override;
    void SendKeyFunction(int id);
    void SendSpeakerState(int state);
    void ToggleSpeaker();
    void Dial(const std::string &number, const std::string &kind);
    void DialOrTransfer(const std::string &number, const std::string &kind);
    void SendConference(const std::string &number);
    void OnPanelButtonDown(int id) override;
    void OnPanelButtonUp(int id) override;
    void OnPanelButtonDblClick(int id) override;
    void OnImageDblClick(const std::string &imageName) override;
    void TimerOnOffTimer();
    void LookupDispNumber(const std::string &labelName) override;
    void ShowDispNumber(const std::string &labelName) override;
    void SkinRefused(const std::string &text) override;
    int BarHeight() const override;
    void SkinShown() override;

    // Keyboard.
    void FormKeyDown(QKeyEvent *key);
    void FormKeyPress(QKeyEvent *key);
    bool FindMenuShortcut(QWidget *menu, std::uint16_t word);

    // What the skin engine needs of the panel.
    std::string DataDir() const override;
    std::string IniFileName() const override;
    QMenu *PopupMenuImg() override { return PopupMenuImg_; }
    QMenu *PopupMenuLab() override { return PopupMenuLab_; }
    void PopupDesktopClick();
    void SaveDesktop1Click();

    // The skin engine, as the desktop manager drives it.
    std::string CurrentSkinName() const override;
    void SetSkinName(const std::string &name) override;
    void PrefetchSkin(const std::string &name) override;
    void LoadSkin() override;
    void SaveSkin(bool removeControls) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *key) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool SetLabel(const std::string &name, const std::string &text, int mode);
    void SetImage(const std::string &name, int state);
    void SetStatImage(int index);
    void SetHandImage(int index);
    void ForgetLineState();
    void ShowLineStateAgain();
    void PlaceToolBar(int faceHeight);
    int BlinkPicture(const std::string &state);
    void RelaxOnStateChange(const std::string &state);
    void ClearCaller();
    void EndRingDisplay();
    void SendClose(int handle);
    void SendComm(const std::string &act, const std::string &name = "", const std::string &value = "");
    void SendListRequest(const char *type, const std::string &act, const std::string &value, const std::string &order);
    void DialButtonNumber(const std::string &imageName);
    void MessageBox(const std::string &text, int captionId, QMessageBox::Icon icon);
    void MessageBox(const QString &text, int captionId, QMessageBox::Icon icon);

    QMenu *PopupMenuImg_ = nullptr;
    QMenu *MainItems_ = nullptr; // the main menu's items inside PopupMenu1
    QMenu *PopupMenuLab_ = nullptr;
    void BuildFace();
    void BuildControls();
    void BuildMenus();
    void BuildImageMenu();
    void AddHelpItems(QMenu *menu);
    QAction *AddItem(QMenu *menu, int tag, const char *text);
    void ToggleWindow(QWidget *w);

    TPanelTrace trace_;
    std::unique_ptr<TSoundPlayer> player_;
    bool closing_ = false;
    bool startingUp_ = false;
    bool loggingIn_ = false; // a log-in dialog or its connection wait is under way
    std::string refusedSkin_; // said once the start has built every window
    static constexpr int kFirstFrameWaitMs = 250;
    QPoint dragOrigin_;
    std::vector<QPointer<QWidget>> minimisedWithPanel_;
};

extern TFMain *FMain;

// Shortcut word of a menu item, matched by the panel itself (never a Qt
// shortcut, or the item would fire twice).
void SetShortCut(QAction *item, std::uint16_t word);
