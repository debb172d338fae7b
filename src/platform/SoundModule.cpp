#include "SoundModule.h"

#include "Cp1250.h"
#include "Paths.h"

#include <QLibrary>

std::unique_ptr<TSoundPlayer> LoadSoundPlayer()
{
    // Never unloaded: the player's code must outlive the player.
    QLibrary module(ToQ(ProgramDir() + "libtalvo_sound.so"));
    auto create = reinterpret_cast<TSoundPlayer *(*)()>(module.resolve("TalvoCreateSoundPlayer"));
    return std::unique_ptr<TSoundPlayer>(create ? create() : nullptr);
}
