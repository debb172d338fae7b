#pragma once
// The automatic dialler: while it runs, dials the next number of its list
// whenever the line is idle, hangs up a call that rings too long, and marks
// each number reached or failed from the line states the exchange reports.
#include "AutoList.h"
#include "Timer.h"
#include "Vcl.h"

#include <string>

class QAction;
class TAutoGrid;
class TIniFile;

class TFAuto : public TForm {
    Q_OBJECT
public:
    explicit TFAuto(QWidget *parent = nullptr);
    ~TFAuto() override;
    void Translate();
    void LoadPlacement(const TIniFile &ini);
    // The window is at least as wide as every button of its tool bar.
    void KeepToolBarInReach();
    void SavePlacement(TIniFile &ini) const;
    bool TableOpen() const { return List.TableOpen; }
    void CallStateChanged(const std::string &state);
    // The name the dialler gave the number it is calling; "" when it is not dialling.
    std::string GetCalledName(const std::string &number) const;

    TToolBar *ToolBar1;
    TSpeedButton *SpeedButtonOpen, *SpeedButtonClose, *SpeedButtonDial, *SpeedButtonHang, *SpeedButtonOk,
        *SpeedButtonErr, *SpeedButtonImport, *SpeedButtonExport, *SpeedButtonErase, *SpeedButtonSet;
    // The navigator: first, prior, next, last, insert, delete, edit.
    TToolBar *DBNavigator1;
    QAction *NavFirst, *NavPrior, *NavNext, *NavLast, *NavInsert, *NavDelete, *NavEdit;
    TAutoGrid *DBGridAuto;
    TTimer *Timer1, *Timer2;
    int Timer2Ticks = 0;

    TAutoList List;
    int RingTimeOut = 15;
    int RepeatCall = 0;
    bool ManualCall = true;
    bool Running = false;
    std::string CurNumber, CurName, LastState;

    void LoadSettings();
    void SaveSettings();
    void UpdateButtons();
    void UpdateHangButton();
    void Timer1Timer();
    void Timer2Timer();
    void StartCall(const std::string &number, const std::string &name);
    void FinishCall(bool reached);
    void SpeedButtonOpenClick();
    void SpeedButtonCloseClick();
    void SpeedButtonDialClick();
    void SpeedButtonOkClick();
    void SpeedButtonErrClick();
    void SpeedButtonEraseClick();
    void SpeedButtonSetClick();
    void SpeedButtonImportClick();
    void SpeedButtonExportClick();
    // The file parts of import and export, after their dialogs.
    bool ExportTo(const std::string &path);
    bool ImportFrom(const std::string &path);
    // Insert or edit through the record dialog; OK posts, anything else cancels.
    void EditRecord(bool insert);

private:
    // The grid shows the table as it now stands, on the current record.
    void Refresh();
    TSpeedButton *Button(const char *name, int tag, const char *glyph, const char *hint);
    // The record being dialled: marked when its call ends, wherever the user
    // has moved meanwhile.
    TDbCursor::TBookmark dialled_ = 0;
};

extern TFAuto *FAuto;
