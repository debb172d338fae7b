#include "SoundModule.h"

#include "Paths.h"

#include <QLibrary>

namespace {

template <typename T> std::unique_ptr<T> CreateInModule(const char *entry)
{
    // Never unloaded: the player's code must outlive the player.
    QLibrary module(QPath(ProgramDir() + "libtalvo_sound.so"));
    auto create = reinterpret_cast<T *(*)()>(module.resolve(entry));
    return std::unique_ptr<T>(create ? create() : nullptr);
}

} // namespace

std::unique_ptr<TSoundPlayer> LoadSoundPlayer() { return CreateInModule<TSoundPlayer>("TalvoCreateSoundPlayer"); }

std::unique_ptr<TMediaPlayback> LoadMediaPlayback() { return CreateInModule<TMediaPlayback>("TalvoCreateMediaPlayback"); }
