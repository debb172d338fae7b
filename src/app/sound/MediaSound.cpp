// The sound module: plain PCM waves go straight to the audio output; any other
// file goes through a media player, made at the first such file (it brings in
// the whole decoding framework, some fifteen megabytes). Recorded calls get a
// media player of their own.
#include "SoundModule.h"

#include <QAudioOutput>
#include <QAudioSink>
#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include <cstdint>
#include <memory>

namespace {

// No sound may hold the panel longer than this, played or not.
constexpr int kLongestSoundWaitMs = 15000;

std::uint32_t Le(const QByteArray &b, qsizetype at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

struct Wave {
    QAudioFormat format;
    QByteArray samples;
};

// A RIFF wave of 8- or 16-bit PCM; false for anything else.
bool ReadPcmWave(const QByteArray &b, Wave &wave)
{
    if (b.size() < 12 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE")
        return false;
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= b.size();) {
        const QByteArray id = b.mid(at, 4);
        const qsizetype size = Le(b, at + 4, 4);
        const qsizetype body = at + 8;
        if (size > b.size() - body)
            return false;
        if (id == "fmt " && size >= 16) {
            const int tag = static_cast<int>(Le(b, body, 2)), channels = static_cast<int>(Le(b, body + 2, 2));
            const int rate = static_cast<int>(Le(b, body + 4, 4)), bits = static_cast<int>(Le(b, body + 14, 2));
            if (tag != 1 || channels < 1 || channels > 2 || rate < 1000 || rate > 192000 || (bits != 8 && bits != 16))
                return false;
            wave.format.setChannelCount(channels);
            wave.format.setSampleRate(rate);
            wave.format.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            wave.samples = b.mid(body, size);
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

class TMediaSound : public TSoundPlayer {
public:
    void Play(const QString &file, bool wait) override
    {
        Stop();
        QFile f(file);
        Wave wave;
        if (f.open(QIODevice::ReadOnly) && ReadPcmWave(f.readAll(), wave))
            PlayWave(wave);
        else
            PlayMedia(file);
        if (!wait)
            return;
        // Bounded: without a sound device the end may never be reported.
        QEventLoop loop;
        QTimer::singleShot(kLongestSoundWaitMs, &loop, &QEventLoop::quit);
        QList<QMetaObject::Connection> ends;
        if (sink_) {
            ends << QObject::connect(sink_.get(), &QAudioSink::stateChanged, &loop, [&loop](QAudio::State s) {
                if (s == QAudio::IdleState || s == QAudio::StoppedState)
                    loop.quit();
            });
            if (sink_->state() == QAudio::ActiveState)
                loop.exec();
        } else if (player_) {
            ends << QObject::connect(player_.get(), &QMediaPlayer::mediaStatusChanged, &loop,
                                     [&loop](QMediaPlayer::MediaStatus s) {
                                         if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia ||
                                             s == QMediaPlayer::NoMedia)
                                             loop.quit();
                                     });
            ends << QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, &loop, [&loop] { loop.quit(); });
            if (player_->playbackState() == QMediaPlayer::PlayingState)
                loop.exec();
        }
        for (const auto &c : ends)
            QObject::disconnect(c);
        Stop();
    }

private:
    void Stop()
    {
        if (sink_) {
            sink_->stop();
            sink_.reset();
        }
        buffer_.close();
        if (player_)
            player_->stop();
    }

    void PlayWave(const Wave &wave)
    {
        samples_ = wave.samples;
        buffer_.setData(samples_);
        buffer_.open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), wave.format);
        // Played out: the device goes idle, and is let go.
        QAudioSink *sink = sink_.get();
        QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State s) {
            if (s == QAudio::IdleState)
                QTimer::singleShot(0, sink, [sink] { sink->stop(); });
        });
        sink_->start(&buffer_);
    }

    void PlayMedia(const QString &file)
    {
        if (!player_) {
            audio_ = std::make_unique<QAudioOutput>();
            player_ = std::make_unique<QMediaPlayer>();
            player_->setAudioOutput(audio_.get());
        }
        player_->setSource(QUrl::fromLocalFile(file));
        player_->play();
    }

    QByteArray samples_;
    QBuffer buffer_;
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<QAudioOutput> audio_;
    std::unique_ptr<QMediaPlayer> player_;
};

class TMediaFile : public TMediaPlayback {
public:
    TMediaFile() { player_.setAudioOutput(&audio_); }
    void SetSource(const QString &file) override { player_.setSource(file.isEmpty() ? QUrl() : QUrl::fromLocalFile(file)); }
    void Play() override { player_.play(); }
    void Pause() override { player_.pause(); }
    void Stop() override { player_.stop(); }
    void SetPosition(qint64 ms) override { player_.setPosition(ms); }
    qint64 Position() const override { return player_.position(); }
    qint64 Duration() const override { return player_.duration(); }
    bool Playing() const override { return player_.playbackState() == QMediaPlayer::PlayingState; }
    bool Paused() const override { return player_.playbackState() == QMediaPlayer::PausedState; }

private:
    QAudioOutput audio_;
    QMediaPlayer player_;
};

} // namespace

extern "C" Q_DECL_EXPORT TSoundPlayer *TalvoCreateSoundPlayer() { return new TMediaSound; }
extern "C" Q_DECL_EXPORT TMediaPlayback *TalvoCreateMediaPlayback() { return new TMediaFile; }
