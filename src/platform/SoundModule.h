#pragma once
// Sounds and recorded calls are played by a module of their own, loaded at the
// first use, so the program starts without the multimedia libraries.
#include <QString>

#include <memory>

class TSoundPlayer {
public:
    virtual ~TSoundPlayer() = default;
    // Stops what is playing and plays the file; with wait, returns when it has
    // ended (or after a bound, for there may be no sound device at all).
    virtual void Play(const QString &file, bool wait) = 0;
};

// A media player over one local file, for the player of recorded calls.
class TMediaPlayback {
public:
    virtual ~TMediaPlayback() = default;
    // "" leaves the player without a file.
    virtual void SetSource(const QString &file) = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    // Milliseconds from the start.
    virtual void SetPosition(qint64 ms) = 0;
    virtual qint64 Position() const = 0;
    virtual qint64 Duration() const = 0;
    virtual bool Playing() const = 0;
    virtual bool Paused() const = 0;
};

// The module beside the program; null when it cannot be loaded (no sound then).
std::unique_ptr<TSoundPlayer> LoadSoundPlayer();
std::unique_ptr<TMediaPlayback> LoadMediaPlayback();

// The module's exports.
extern "C" TSoundPlayer *TalvoCreateSoundPlayer();
extern "C" TMediaPlayback *TalvoCreateMediaPlayback();
