#pragma once
// The telephone front panel: the program's main window. It owns the shared
// objects (skin engine, desktop manager, language object), keeps the panel
// settings, and starts and ends the program in a fixed order.
#include "Desktop.h"
#include "PanelSettings.h"
#include "PanelTrace.h"
#include "Timer.h"
#include "Vcl.h"

#include <QPixmap>

#include <memory>
#include <string>
#include <vector>

class QMediaPlayer;
class QAudioOutput;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;

class TFMain : public TForm, public TDesktopSkin {
    Q_OBJECT
public:
    explicit TFMain(QWidget *parent = nullptr);
    ~TFMain() override;

    // Design-time controls.
    TImage *Image0;  // the skin's face, the whole client area
    TImage *Image1;  // the skin's sprite sheet, never shown
    std::vector<QPixmap> ImageList1;
    TToolBar *ToolBar1;
    TSpeedButton *SpeedButtonOpen, *SpeedButtonClose, *SpeedButtonXML, *SpeedButtonDbf, *SpeedButtonHist,
        *SpeedButtonAcc, *SpeedButtonLog, *SpeedButtonFront, *SpeedButtonHold, *SpeedButtonPark,
        *SpeedButtonPersonal, *SpeedButtonPorter;
    QMenuBar *MainMenu;
    QMenu *LanguageSel;
    QMenu *PopupMenu1, *PopupLanguage, *PopupMenuImg, *PopupMenuLab;
    QAction *MenuOpen, *MenuClose, *MenuExit, *MenuXML, *MenuDbf, *MenuAuto, *MenuHist, *MenuAcc, *MenuLog,
        *MenuFront, *MenuHold, *MenuPark, *MenuPersonal, *MenuPorter, *MenuSpeeds;
    QAction *PopupOpen, *PopupClose, *PopupXML, *PopupDbf, *PopupAuto, *PopupHist, *PopupAcc, *PopupLog,
        *PopupFront, *PopupHold, *PopupPark, *PopupPersonal;
    QStatusBar *StatusBar1;
    QLabel *StatusPanels[2];
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
    std::string LineState = "---";
    std::string HelpFile;

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
    void OnSessionClosed(const std::string &reason, bool waitSound);
    void SetStatusText(int panel, const std::string &text);
    void PopupDesktopClick();
    void SaveDesktop1Click();

    // The skin engine, as the desktop manager drives it.
    std::string CurrentSkinName() const override;
    void SetSkinName(const std::string &name) override;
    void LoadSkin() override;
    void SaveSkin(bool removeControls) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildControls();
    void BuildMenus();
    QAction *AddItem(QMenu *menu, int tag, const char *text);
    void ToggleWindow(QWidget *w);

    TPanelTrace trace_;
    QMediaPlayer *player_ = nullptr;
    QAudioOutput *audio_ = nullptr;
    bool closing_ = false;
    std::string skinName_ = "RizUzezi.skn";
};

extern TFMain *FMain;
