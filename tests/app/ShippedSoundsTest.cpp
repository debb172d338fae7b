#include "Paths.h"
#include "TempDir.h"

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
        EXPECT_TRUE(b.starts_with("RIFF") && b.compare(8, 4, "WAVE") == 0 && Le(b, 4, 4) == b.size() - 8);
        std::size_t fmt = 0, data = 0, size = 0;
        for (std::size_t at = 12; at + 8 <= b.size(); at += 8 + Le(b, at + 4, 4) + (Le(b, at + 4, 4) & 1))
            if (b.compare(at, 4, "fmt ") == 0)
                fmt = at + 8;
            else if (b.compare(at, 4, "data") == 0)
                std::tie(data, size) = std::make_tuple(at + 8, Le(b, at + 4, 4));
        ASSERT_TRUE(fmt && data && data + size <= b.size());
        const std::uint32_t rate = Le(b, fmt + 4, 4);
        EXPECT_TRUE(rate == 8000 || rate == 16000);
        EXPECT_EQ(std::make_tuple(Le(b, fmt, 2), Le(b, fmt + 2, 2), Le(b, fmt + 8, 4), Le(b, fmt + 12, 2), Le(b, fmt + 14, 2)),
                  std::make_tuple(1u, 1u, rate * 2, 2u, 16u)) << "16-bit mono PCM";
        EXPECT_TRUE(size / 2.0 / rate > 0.15 && size / 2.0 / rate < 1.0) << size;
        int peak = 0;
        for (std::size_t at = data; at + 1 < data + size; at += 2)
            peak = std::max(peak, std::abs(static_cast<std::int16_t>(Le(b, at, 2))));
        EXPECT_TRUE(peak > 3000 && peak < 32000) << "audible, not clipped: " << peak;
    }
}

} // namespace
