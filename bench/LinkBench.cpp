// Bytes in, dispatched answers out; beside it the framing alone and a plain
// scan of the same bytes for '>' as the floor.
#include "XmlLink.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct Stream {
    std::string bytes;
    int answers = 0;
};

const Stream &Answers()
{
    static const Stream stream = [] {
        Stream s;
        for (; s.bytes.size() < 256 * 1024; s.answers += 5)
            s.bytes += "<ans Type=\"STATE\" Handle=\"0\" State=\"CAL\" Hfree=\"1\" Mic=\"0\"/>\r\n"
                       "<ans Type=\"RING\" Handle=\"0\" Act=\"ACT\">\r\n"
                       "<ans Port=\"12\" Cid=\"603111222\" PBXName=\"Nov&#225;k\" Dest=\"21\" Pos=\"1\" Act=\"ACT\"/>\r\n"
                       "</ans>\r\n"
                       "<ans Type=\"DIAL\" Handle=\"0\" PBXName=\"Recepce\" Cid=\"21\" Act=\"END\"/>\r\n";
        return s;
    }();
    return stream;
}

template <typename Sink> void Feed(Sink &sink, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size())
        done += static_cast<size_t>(sink.Receive(bytes.data() + done, static_cast<int>(bytes.size() - done)));
}

void Report(benchmark::State &state, const Stream &s)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
    state.counters["answers/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * s.answers, benchmark::Counter::kIsRate);
}

void AnswerPath(benchmark::State &state)
{
    const Stream &s = Answers();
    TXmlLink link;
    for (auto _ : state)
        Feed(link, s.bytes);
    Report(state, s);
}
BENCHMARK(AnswerPath);

void FramingOnly(benchmark::State &state)
{
    const Stream &s = Answers();
    TRxFraming framing;
    size_t cut = 0;
    framing.OnMessage = [&](std::string_view m) { cut += m.size(); };
    for (auto _ : state)
        Feed(framing, s.bytes);
    benchmark::DoNotOptimize(cut);
    Report(state, s);
}
BENCHMARK(FramingOnly);

void PlainScan(benchmark::State &state)
{
    const Stream &s = Answers();
    for (auto _ : state) {
        size_t tags = 0;
        for (char c : s.bytes)
            tags += c == '>';
        benchmark::DoNotOptimize(tags);
    }
    Report(state, s);
}
BENCHMARK(PlainScan);

} // namespace

BENCHMARK_MAIN();
