#pragma once
// The exchange's call history: filters by direction, line and date, dialling
// from a row, and the recorded calls of the visible rows.
#include "HistPlayer.h"
#include "Recordings.h"
#include "RemoteView.h"
#include "Timer.h"

class TFHist : public TRemoteView {
    Q_OBJECT
public:
    TFHist(QWidget *owner, bool canCall, const std::string &line);
    ~TFHist() override;

    std::vector<std::string> Conditions() const override;
    void LoadSettings();
    void SaveSettings();
    void ResolveFolders();

    void StringGrid1Click() override;
    void SpeedButtonDialFirmClick();
    void SpeedButtonSetClick();
    void SpeedButtonWAVClick();
    bool FindRecording(int row, std::string &wav) const;
    void ClearWavColumn();
    void Timer1Timer();
    TRecordingFolders Folders() const;

    std::string Line;
    char NumberKind = 'T';
    bool Wav = false, RecYear = false, RecMonth = false, RecWeek = false, RecDay = false;
    std::string WavPath, TxtPath, WavExt = "wav", TxtExt = "txt", WavDir, TxtDir;
    std::string LinesFilter, LinesCondition;

    TSpeedButton *SpeedButtonOut, *SpeedButtonIn, *SpeedButtonInn, *SpeedButtonMy, *SpeedButtonDialFirm,
        *SpeedButtonHangRepre, *SpeedButtonSet;
    TRecordingPlayer *MediaPlayer1;
    TTimer *Timer1, *Timer2;

protected:
    void RowSelected(int row) override;
    void showEvent(QShowEvent *event) override;
};

extern TFHist *FHist;
