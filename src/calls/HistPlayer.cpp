#include "HistPlayer.h"

#include "Paths.h"
#include "SoundModule.h"

namespace {

TSpeedButton *PlayerButton(QToolBar *bar, int tag, const char *glyph, const char *hint, const char *name)
{
    TSpeedButton *b = AddGlyphButton(bar, tag, glyph, hint);
    b->setObjectName(QString::fromLatin1(name));
    b->setEnabled(false);
    return b;
}

} // namespace

TRecordingPlayer::TRecordingPlayer(QToolBar *bar) : QObject(bar)
{
    ButtonPlay = PlayerButton(bar, 30613, "\u25B6", "Play", "ButtonPlay");
    ButtonPause = PlayerButton(bar, 30614, "\u2016", "Pause", "ButtonPause");
    ButtonStop = PlayerButton(bar, 30615, "\u25A0", "Stop", "ButtonStop");
    connect(ButtonPlay, &QToolButton::clicked, this, [this] { Play(); });
    connect(ButtonPause, &QToolButton::clicked, this, [this] { Pause(); });
    connect(ButtonStop, &QToolButton::clicked, this, [this] { Stop(); });
}

TRecordingPlayer::~TRecordingPlayer() = default;

void TRecordingPlayer::Open(const std::string &path)
{
    if (path == file_)
        return;
    file_ = path;
    if (player_) {
        player_->Stop();
        player_->SetSource(QPath(path));
    }
    for (TSpeedButton *b : {ButtonPlay, ButtonPause, ButtonStop})
        b->setEnabled(!path.empty());
}

void TRecordingPlayer::Play()
{
    if (file_.empty())
        return;
    if (!player_) {
        // Without the sound module nothing plays; it is looked for again at the next Play.
        player_ = LoadMediaPlayback();
        if (!player_)
            return;
        player_->SetSource(QPath(file_));
    }
    player_->SetPosition(0);
    player_->Play();
}

void TRecordingPlayer::Pause()
{
    if (player_)
        player_->Pause();
}

void TRecordingPlayer::Stop()
{
    if (!player_)
        return;
    player_->Stop();
    Rewind();
}

void TRecordingPlayer::Rewind()
{
    if (player_)
        player_->SetPosition(0);
}

bool TRecordingPlayer::Playing() const { return player_ && player_->Playing(); }

qint64 TRecordingPlayer::Position() const { return player_ ? player_->Position() : 0; }

void TRecordingPlayer::Tick()
{
    if (!player_ || player_->Paused())
        return;
    const qint64 position = player_->Position();
    const qint64 length = player_->Duration();
    if (position != 0 && length > 0 && position >= length) {
        player_->Stop();
        Rewind();
    }
}
