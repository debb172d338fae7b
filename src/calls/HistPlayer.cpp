#include "HistPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

namespace {

TSpeedButton *PlayerButton(QToolBar *bar, const char *text, const char *name)
{
    auto *b = new TSpeedButton(bar);
    b->setText(QString::fromLatin1(text));
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoRaise(true);
    b->setEnabled(false);
    bar->addWidget(b);
    return b;
}

} // namespace

TRecordingPlayer::TRecordingPlayer(QToolBar *bar) : QObject(bar)
{
    ButtonPlay = PlayerButton(bar, "Play", "ButtonPlay");
    ButtonPause = PlayerButton(bar, "Pause", "ButtonPause");
    ButtonStop = PlayerButton(bar, "Stop", "ButtonStop");
    connect(ButtonPlay, &QToolButton::clicked, this, [this] { Play(); });
    connect(ButtonPause, &QToolButton::clicked, this, [this] { Pause(); });
    connect(ButtonStop, &QToolButton::clicked, this, [this] { Stop(); });
}

void TRecordingPlayer::Open(const std::string &path)
{
    if (path == file_)
        return;
    file_ = path;
    if (player_) {
        player_->stop();
        player_->setSource(path.empty() ? QUrl() : QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
    }
    for (TSpeedButton *b : {ButtonPlay, ButtonPause, ButtonStop})
        b->setEnabled(!path.empty());
}

void TRecordingPlayer::Play()
{
    if (file_.empty())
        return;
    if (!player_) {
        player_ = new QMediaPlayer(this);
        audio_ = new QAudioOutput(this);
        player_->setAudioOutput(audio_);
        player_->setSource(QUrl::fromLocalFile(QString::fromLocal8Bit(file_.c_str())));
    }
    player_->setPosition(0);
    player_->play();
}

void TRecordingPlayer::Pause()
{
    if (player_)
        player_->pause();
}

void TRecordingPlayer::Stop()
{
    if (!player_)
        return;
    player_->stop();
    Rewind();
}

void TRecordingPlayer::Rewind()
{
    if (player_)
        player_->setPosition(0);
}

bool TRecordingPlayer::Playing() const { return player_ && player_->playbackState() == QMediaPlayer::PlayingState; }

qint64 TRecordingPlayer::Position() const { return player_ ? player_->position() : 0; }

void TRecordingPlayer::Tick()
{
    if (!player_ || player_->playbackState() == QMediaPlayer::PausedState)
        return;
    const qint64 position = player_->position();
    const qint64 length = player_->duration();
    if (position != 0 && length > 0 && position >= length) {
        player_->stop();
        Rewind();
    }
}
