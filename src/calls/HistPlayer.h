#pragma once
// The player of recorded calls: Play, Pause and Stop buttons over one file.
// The media player is made at the first Play, so a history that never plays
// needs no audio back end. Every Play starts from the beginning; a recording
// that has played to its end is rewound.
#include "Vcl.h"

#include <QObject>

#include <memory>
#include <string>

class TMediaPlayback;

class TRecordingPlayer : public QObject {
    Q_OBJECT
public:
    explicit TRecordingPlayer(QToolBar *bar);
    ~TRecordingPlayer() override;

    // The file waits for the Play button; "" closes the player.
    void Open(const std::string &path);
    void Close() { Open(""); }
    const std::string &FileName() const { return file_; }
    void Play();
    void Pause();
    void Stop();
    // Once a second: rewinds a recording that has reached its end.
    void Tick();
    bool Playing() const;
    qint64 Position() const;

    TSpeedButton *ButtonPlay, *ButtonPause, *ButtonStop;

private:
    void Rewind();
    std::string file_;
    std::unique_ptr<TMediaPlayback> player_;
};
