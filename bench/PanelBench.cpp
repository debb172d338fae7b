// The real panel with its skin, offscreen, logged in, fed through the link's
// receive path: answers per second end to end, with the protocol trace off
// and on. Its memory over many skin switches during a call. Saving settings
// beside it, to show that it grows linearly.
#include "PanelRig.h"
#include "PanelSettings.h"
#include "Skin.h"
#include "Timer.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

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

long ResidentKb()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Skin switches as a user makes them during a call: the skin dialog, drawn
// as it shows, then the deferred switch, alternating the two shipped skins.
// Resident memory after the first 20 switches and after all of them: what a
// switch keeps shows as growth between the two. (CTest runs the short one.)
void SkinSwitches(benchmark::State &state)
{
    constexpr int kWarmUp = 20;
    PanelRig *panel = Rig();
    // A call with its lamps lit, held and charged.
    panel->Answer(Ans("STATE", "State=\"CAL\" Hfree=\"1\" Mic=\"1\""));
    panel->Answer(List("CALL", {"Port=\"CO1\" Cid=\"603111222\" PBXName=\"Nov&#225;k\""}));
    panel->Answer(Ans("HOLD", "Act=\"ACT\""));
    panel->Answer(Ans("INF", "Act=\"TARIMPULS\" Tar=\"12\""));
    // The tick comes at once: the switch's own path without its 50 ms wait.
    Skin->Timer->SetInterval(1);
    const auto standard = panel->OnModal;
    for (auto _ : state) {
        long warm = 0;
        for (int i = 0; i < state.range(0); ++i) {
            const char *name = i % 2 ? "RizUzezi.skn" : "Mini.skn";
            panel->OnModal = [name](QWidget *w) { AnswerFileDialog(w, QString::fromLatin1(name)); };
            panel->main->PopupSkinClick();
            if (!FakeExchange::WaitUntil([] { return !Skin->Timer->Enabled(); }) || Skin->SkinName != name) {
                state.SkipWithError("a switch did not happen");
                break;
            }
            if (i + 1 == kWarmUp)
                warm = ResidentKb();
        }
        const long end = ResidentKb();
        state.counters["rss_after_20_MB"] = static_cast<double>(warm) / 1024.0;
        state.counters["rss_end_MB"] = static_cast<double>(end) / 1024.0;
        state.counters["growth_MB"] = static_cast<double>(end - warm) / 1024.0;
    }
    Skin->Timer->SetInterval(50);
    panel->OnModal = standard;
}
BENCHMARK(SkinSwitches)->ArgName("switches")->Arg(50)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

// An exchange in a thread of its own that sends a million STATE answers in one
// burst as fast as TCP lets it; the panel's growth in memory meanwhile is the
// figure (the answers are made as they go, so the sender holds no copy).
void Flood(benchmark::State &state)
{
    constexpr int kAnswers = 1000000;
    PanelRig *panel = Rig();
    TFXML &xml = *panel->xml;
    for (auto _ : state) {
        int server = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(server, reinterpret_cast<sockaddr *>(&addr), len);
        ::listen(server, 1);
        ::getsockname(server, reinterpret_cast<sockaddr *>(&addr), &len);
        std::atomic<bool> sent{false};
        std::thread sender([&] {
            int client = ::accept(server, nullptr, nullptr);
            const Stream s = States();
            const int perChunk = s.answers;
            for (int n = 0; n < kAnswers && client >= 0; n += perChunk)
                if (::send(client, s.bytes.data(), s.bytes.size(), MSG_NOSIGNAL) < 0)
                    break;
            sent = true;
            ::close(client);
        });
        xml.ClosePort();
        xml.Port = ntohs(addr.sin_port);
        const long before = ResidentKb();
        long peak = before;
        xml.OpenPort();
        QElapsedTimer clock;
        clock.start();
        while (!(sent && xml.ClientSocket1->bytesAvailable() == 0 &&
                 xml.ClientSocket1->state() != QAbstractSocket::ConnectedState) &&
               clock.elapsed() < 600000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            peak = std::max(peak, ResidentKb());
        }
        sender.join();
        ::close(server);
        state.counters["rss_growth_MB"] = static_cast<double>(peak - before) / 1024.0;
        state.counters["answers/s"] = kAnswers * 1000.0 / static_cast<double>(std::max<qint64>(1, clock.elapsed()));
    }
}
BENCHMARK(Flood)->Iterations(1)->Unit(benchmark::kSecond);

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
