// The sound module: one media player for every sound of the program.
#include "SoundPlayer.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

namespace {

// No sound may hold the panel longer than this, played or not.
constexpr int kLongestSoundWaitMs = 15000;

class TMediaSound : public TSoundPlayer {
public:
    TMediaSound() { player_.setAudioOutput(&audio_); }

    void Play(const QString &file, bool wait) override
    {
        player_.stop();
        player_.setSource(QUrl::fromLocalFile(file));
        player_.play();
        if (!wait)
            return;
        // Bounded: without a sound device the end may never be reported.
        QEventLoop loop;
        auto done = QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, &loop,
                                     [&loop](QMediaPlayer::MediaStatus s) {
                                         if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia ||
                                             s == QMediaPlayer::NoMedia)
                                             loop.quit();
                                     });
        auto failed = QObject::connect(&player_, &QMediaPlayer::errorOccurred, &loop, [&loop] { loop.quit(); });
        QTimer::singleShot(kLongestSoundWaitMs, &loop, &QEventLoop::quit);
        if (player_.playbackState() == QMediaPlayer::PlayingState)
            loop.exec();
        QObject::disconnect(done);
        QObject::disconnect(failed);
        player_.stop();
    }

private:
    QAudioOutput audio_;
    QMediaPlayer player_;
};

} // namespace

extern "C" Q_DECL_EXPORT TSoundPlayer *TalvoCreateSoundPlayer() { return new TMediaSound; }
