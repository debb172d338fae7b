#pragma once
// Sounds are played by a module of their own, loaded at the first sound, so
// the program starts without the multimedia libraries.
#include <QString>

#include <memory>

class TSoundPlayer {
public:
    virtual ~TSoundPlayer() = default;
    // Stops what is playing and plays the file; with wait, returns when it has
    // ended (or after a bound, for there may be no sound device at all).
    virtual void Play(const QString &file, bool wait) = 0;
};

// The module beside the program; null when it cannot be loaded (no sound then).
std::unique_ptr<TSoundPlayer> LoadSoundPlayer();

// The module's one export.
extern "C" TSoundPlayer *TalvoCreateSoundPlayer();
