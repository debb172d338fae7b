#include "Paths.h"
#include "SoundModule.h"
#include "TempDir.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <tuple>

namespace {

std::uint32_t Le(const std::string &b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b.at(at + i));
    return v;
}

TEST(ShippedSounds, AreShortAudibleMonoPcmWaves)
{
    for (const char *name : {"Connect.wav", "Exit.wav"}) {
        SCOPED_TRACE(name);
        const std::string b = ReadBytes(ProgramDir() + "Sounds/" + name);
        ASSERT_GE(b.size(), 44u);
        // The plain 44-byte header: RIFF, a 16-byte fmt chunk, then the data.
        EXPECT_EQ(b.substr(0, 4) + b.substr(8, 8) + b.substr(36, 4), "RIFFWAVEfmt data");
        EXPECT_EQ(std::make_tuple(Le(b, 4, 4), Le(b, 40, 4)), std::make_tuple(b.size() - 8, b.size() - 44));
        const std::uint32_t rate = Le(b, 24, 4), size = Le(b, 40, 4);
        EXPECT_TRUE(rate == 8000 || rate == 16000);
        EXPECT_EQ(std::make_tuple(Le(b, 16, 4), Le(b, 20, 2), Le(b, 22, 2), Le(b, 28, 4), Le(b, 32, 2), Le(b, 34, 2)),
                  std::make_tuple(16u, 1u, 1u, rate * 2, 2u, 16u)) << "16-bit mono PCM";
        EXPECT_TRUE(size / 2.0 / rate > 0.15 && size / 2.0 / rate < 1.0) << size;
        int peak = 0;
        for (std::size_t at = 44; at + 1 < b.size(); at += 2)
            peak = std::max(peak, std::abs(static_cast<std::int16_t>(Le(b, at, 2))));
        EXPECT_TRUE(peak > 3000 && peak < 32000) << "audible, not clipped: " << peak;
    }
}

TEST(ShippedSounds, TheModuleBesideTheProgramHearsThemWhole)
{
    std::unique_ptr<TMediaPlayback> media = LoadMediaPlayback();
    ASSERT_TRUE(media);
    for (const char *name : {"Connect.wav", "Exit.wav"}) {
        SCOPED_TRACE(name);
        const std::string file = ProgramDir() + "Sounds/" + name, b = ReadBytes(file);
        ASSERT_GE(b.size(), 44u);
        media->SetSource(QString::fromStdString(file));
        QDeadlineTimer due(10000);
        while (media->Duration() <= 0 && !due.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        EXPECT_NEAR(media->Duration(), Le(b, 40, 4) * 1000.0 / Le(b, 28, 4), 5.0);
    }
    // A sound that is not there ends the wait at once.
    std::unique_ptr<TSoundPlayer> player = LoadSoundPlayer();
    ASSERT_TRUE(player);
    player->Play(QString::fromStdString(ProgramDir() + "Sounds/missing.wav"), true);
}

} // namespace
