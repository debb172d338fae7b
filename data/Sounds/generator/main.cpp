// Synthesises the panel's two chimes: a rising pair of bell tones when a
// log-in succeeds, the same pair falling when it ends. Usage: sound_make <folder>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 16000;

struct Note {
    double hz;
    double start; // seconds
    double length;
};

// A soft bell: quick attack, exponential decay, a quiet octave for colour.
void AddNote(std::vector<double> &mix, const Note &n)
{
    const int first = static_cast<int>(n.start * kRate);
    const int count = static_cast<int>(n.length * kRate);
    const int attack = kRate / 200;
    for (int i = 0; i < count && first + i < static_cast<int>(mix.size()); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double envelope = std::min(1.0, static_cast<double>(i) / attack) * std::exp(-t * 7.0) *
                                std::min(1.0, static_cast<double>(count - i) / attack);
        const double w = 2 * std::numbers::pi * n.hz * t;
        mix[first + i] += envelope * (std::sin(w) + 0.25 * std::sin(2 * w));
    }
}

void Put(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool WriteWav(const std::string &path, const std::vector<Note> &notes, double seconds)
{
    std::vector<double> mix(static_cast<std::size_t>(seconds * kRate), 0.0);
    for (const Note &n : notes)
        AddNote(mix, n);
    std::string data;
    for (double s : mix)
        Put(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(s * 0.3 * 32767))), 2);
    std::string wav = "RIFF";
    Put(wav, static_cast<std::uint32_t>(36 + data.size()), 4);
    wav += "WAVEfmt ";
    Put(wav, 16, 4);
    Put(wav, 1, 2); // PCM
    Put(wav, 1, 2); // mono
    Put(wav, kRate, 4);
    Put(wav, kRate * 2, 4);
    Put(wav, 2, 2);
    Put(wav, 16, 2);
    wav += "data";
    Put(wav, static_cast<std::uint32_t>(data.size()), 4);
    wav += data;
    std::ofstream f(path, std::ios::binary);
    f.write(wav.data(), static_cast<std::streamsize>(wav.size()));
    return static_cast<bool>(f);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound_make <folder>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const double low = 659.25, high = 880.0; // E5 and A5
    bool ok = WriteWav(dir + "Connect.wav", {{low, 0.0, 0.22}, {high, 0.14, 0.36}}, 0.5) &&
              WriteWav(dir + "Exit.wav", {{high, 0.0, 0.22}, {low, 0.14, 0.36}}, 0.5);
    return ok ? 0 : 1;
}
