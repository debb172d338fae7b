// The real panel with its skin, offscreen, logged in, fed through the link's
// receive path: answers per second end to end, with the protocol trace off
// and on. Saving settings beside it, to show that it grows linearly.
#include "PanelRig.h"
#include "PanelSettings.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>
#include <string>

namespace {

struct Stream {
    std::string bytes;
    int answers = 0;
};

// Changing line states in turn, as a busy line reports them.
Stream States()
{
    Stream s;
    const char *const states[] = {"RNG", "CAL", "REL", "DIA"};
    for (; s.bytes.size() < 128 * 1024; ++s.answers)
        s.bytes += std::string("<ans Type=\"STATE\" Handle=\"5\" State=\"") + states[s.answers % 4] +
                   "\" Hfree=\"" + std::to_string(s.answers % 2) + "\" Mic=\"0\"/>\r\n";
    return s;
}

// RING lists of one ringing call: opening tag, the call, closing tag.
Stream Rings()
{
    Stream s;
    for (int n = 0; s.bytes.size() < 128 * 1024; ++n, s.answers += 3)
        s.bytes += "<ans Type=\"RING\" Handle=\"5\" Act=\"ACT\">\r\n"
                   "<ans Port=\"12\" Cid=\"60311" + std::to_string(1000 + n % 100) +
                   "\" PBXName=\"Nov&#225;k\" Dest=\"21\" DestName=\"Recepce\" Pos=\"0\" Act=\"ACT\"/>\r\n"
                   "</ans>\r\n";
    return s;
}

std::unique_ptr<PanelRig> rig;

PanelRig *Rig()
{
    if (!rig) {
        rig = std::make_unique<PanelRig>();
        rig->Start();
        rig->LogIn();
    }
    return rig.get();
}

void Feed(TFXML &xml, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size())
        done += static_cast<size_t>(xml.Receive(bytes.data() + done, static_cast<int>(bytes.size() - done)));
}

void Answers(benchmark::State &state, const Stream &s)
{
    PanelRig *panel = Rig();
    panel->xml->Trace = state.range(0) != 0;
    for (auto _ : state)
        Feed(*panel->xml, s.bytes);
    panel->xml->Trace = false;
    state.counters["answers/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * s.answers, benchmark::Counter::kIsRate);
}

void StateAnswers(benchmark::State &state)
{
    static const Stream s = States();
    Answers(state, s);
}
BENCHMARK(StateAnswers)->ArgName("trace")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void RingAnswers(benchmark::State &state)
{
    static const Stream s = Rings();
    Answers(state, s);
}
BENCHMARK(RingAnswers)->ArgName("trace")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void SaveSettings(benchmark::State &state)
{
    TempDir dir;
    TPanelSettings settings;
    for (int i = 0; i < state.range(0); ++i)
        settings.Prefixes.Set("+" + std::to_string(i), std::to_string(i));
    for (auto _ : state)
        settings.SaveIni(dir.File("Talvodem.ini"));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(SaveSettings)->RangeMultiplier(4)->Range(1250, 20000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rig.reset();
    return 0;
}
