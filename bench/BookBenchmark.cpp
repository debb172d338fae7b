// The phone book at scale: 2,000 firms, 10,000 representatives, 100,000
// numbers. Caller-name lookups and a firm's numbers from the store's indexes,
// each beside the plain scan it replaces; opening the window on that book.
// p99 figures are per-call times of the timed loop (counters p99_us).
#include "BigBook.h"
#include "Dbf.h"
#include "DbView.h"
#include "Fce.h"
#include "IniFile.h"
#include "PhoneBookStore.h"
#include "PlainNameScan.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace {

using BigBook::Callers;
using BigBook::kFirms;
std::string gData; // the data folder; the book is in its Dbf folder

std::unique_ptr<TPhoneBookStore> OpenBook()
{
    TIniFile ini(gData + "none.ini");
    auto s = std::make_unique<TPhoneBookStore>(ini, gData);
    s->OpenTables();
    return s;
}

template <typename F> void TimedCalls(benchmark::State &state, size_t count, F call)
{
    std::vector<double> us;
    size_t k = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        call(k++ % count);
        us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(us.begin(), us.end());
    if (!us.empty())
        state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
}

void BM_NameLookupIndexed(benchmark::State &state)
{
    auto book = OpenBook();
    auto callers = Callers();
    auto t0 = std::chrono::steady_clock::now();
    book->NameByNumber(callers[0], "", '(', {}); // the index is read once, then kept
    state.counters["read_index_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    TimedCalls(state, callers.size(),
               [&](size_t k) { benchmark::DoNotOptimize(book->NameByNumber(callers[k], "?", '(', {})); });
}

void BM_NameLookupPlainScan(benchmark::State &state)
{
    auto book = OpenBook();
    auto callers = Callers();
    TimedCalls(state, callers.size(),
               [&](size_t k) { benchmark::DoNotOptimize(PlainNameScan(book->QueryNum, callers[k])); });
}

void BM_FirmNumbersIndexed(benchmark::State &state)
{
    auto book = OpenBook();
    TDbView view(book->TableNum, [&](const TDbCondition &c) { return book->FirmRows(book->TableNum, c); });
    view.SetIndexName("NUM");
    view.SetFilter("Idf=1");
    TimedCalls(state, kFirms, [&](size_t k) {
        view.SetFilter("Idf=" + std::to_string(k * 7 % kFirms + 1));
        benchmark::DoNotOptimize(view.Count());
    });
}

void BM_FirmNumbersPlainFilter(benchmark::State &state)
{
    auto book = OpenBook();
    TDbCursor &c = book->TableNum;
    c.SetIndexName("NUM");
    TimedCalls(state, kFirms, [&](size_t k) {
        c.SetFilter("Idf=" + std::to_string(k * 7 % kFirms + 1));
        int n = 0;
        for (; !c.Eof(); c.Next())
            ++n;
        benchmark::DoNotOptimize(n);
    });
}

// The window made on the big book: its grids show their first rows when the constructor returns.
void BM_OpenWindow(benchmark::State &state)
{
    DataDir = gData;
    for (auto _ : state) {
        TFDbf window;
        benchmark::DoNotOptimize(window.ViewFirm().Count());
        state.PauseTiming();
        window.Store().CloseTables();
        state.ResumeTiming();
    }
    state.counters["firm_rows"] = kFirms;
}

} // namespace

BENCHMARK(BM_NameLookupIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NameLookupPlainScan)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_FirmNumbersIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirmNumbersPlainFilter)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::string pattern = (std::filesystem::temp_directory_path() / "talvo-book-benchmark-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    gData = pattern + "/";
    BigBook::Write(gData);
    OpenBook(); // writes the index files once
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(gData);
    return 0;
}
