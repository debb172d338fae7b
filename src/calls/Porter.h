#pragma once
// The door-entry console: camera pages in a browser, pops up when the door
// line calls, answers and opens the door with one button, and hides again
// when a call it popped up for is over.
#include "Timer.h"
#include "Vcl.h"

#include <array>
#include <string>

class QStatusBar;
class TPorterBrowser;

class TFPorter : public TForm {
    Q_OBJECT
public:
    explicit TFPorter(QWidget *parent = nullptr);
    ~TFPorter() override;
    void Translate();
    void IncomingCall(const std::string &number);
    void StartCloseTimer();
    void SetCallState(int handle, bool canCall);

    TToolBar *ToolBar1;
    TSpeedButton *SpeedButtonHang, *SpeedButtonOpen, *SpeedButtonRefresh, *SpeedButtonSet;
    std::array<TSpeedButton *, 4> SpeedButtonC; // SpeedButtonC0 to SpeedButtonC3
    QWidget *BrowserArea;                       // the browser's left edge may lie outside it
    TPorterBrowser *CppWebBrowser;
    QStatusBar *StatusBar1;
    TTimer *Timer1;

    std::string DoorLine, OpenCode;
    std::array<std::string, 4> WebCam;
    std::string CurrentPage;
    // The address last handed to the browser.
    std::string NavigatedPage;
    bool AutoOpened = false;
    bool CanCall = false;
    int LoginHandle = 0;
    int CppLeft = -220;

    void Timer1Timer();
    void SpeedButtonOpenClick();
    void SpeedButtonHangClick();
    void SpeedButtonCClick(int camera);
    void SpeedButtonRefreshClick();
    void SpeedButtonSetClick();
    void FormResize();
    void CppWebBrowserProgressChange(int progress, int maximum);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void NavigateCurrent();
    void UpdateCameraButtons();
    // Camera page n becomes the current page, its button the one down.
    void ShowCamera(int camera);
    void LoadSettings();
    void SaveSettings();
};

extern TFPorter *FPorter;
