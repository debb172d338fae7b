#include "Paths.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

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
        EXPECT_EQ(b.substr(0, 4), "RIFF");
        EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
        EXPECT_EQ(b.substr(8, 4), "WAVE");
        std::size_t fmt = 0, data = 0, dataSize = 0;
        for (std::size_t at = 12; at + 8 <= b.size(); at += 8 + Le(b, at + 4, 4) + (Le(b, at + 4, 4) & 1)) {
            if (b.compare(at, 4, "fmt ") == 0)
                fmt = at + 8;
            if (b.compare(at, 4, "data") == 0) {
                data = at + 8;
                dataSize = Le(b, at + 4, 4);
            }
        }
        ASSERT_TRUE(fmt && data);
        ASSERT_LE(data + dataSize, b.size());
        const std::uint32_t rate = Le(b, fmt + 4, 4);
        EXPECT_EQ(Le(b, fmt, 2), 1u) << "PCM";
        EXPECT_EQ(Le(b, fmt + 2, 2), 1u) << "mono";
        EXPECT_TRUE(rate == 8000 || rate == 16000);
        EXPECT_EQ(Le(b, fmt + 8, 4), rate * 2);
        EXPECT_EQ(Le(b, fmt + 12, 2), 2u);
        EXPECT_EQ(Le(b, fmt + 14, 2), 16u);
        const double seconds = dataSize / 2.0 / rate;
        EXPECT_GT(seconds, 0.15);
        EXPECT_LT(seconds, 1.0);
        int peak = 0;
        for (std::size_t at = data; at + 1 < data + dataSize; at += 2)
            peak = std::max(peak, std::abs(static_cast<std::int16_t>(Le(b, at, 2))));
        EXPECT_GT(peak, 3000) << "audible";
        EXPECT_LT(peak, 32000) << "not clipped";
    }
}

} // namespace
