// The phone book at scale: 2,000 firms, 10,000 representatives, 100,000
// numbers. Caller-name lookups and a firm's numbers from the store's indexes,
// each beside the plain scan it replaces; opening the window on that book.
// p99 figures are per-call times of the timed loop (counters p99_us).
// Window figures are from the offscreen platform (no X server).
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
#include <fstream>

#include <malloc.h>
#include <unistd.h>

namespace {

using BigBook::Callers;
using BigBook::kFirms;
std::string gData;    // the data folder; the book is in its Dbf folder
std::string gOneFirm; // the same book with every number in the first firm

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

long RssKb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

class PaintCount : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        Paints += e->type() == QEvent::Paint;
        return false;
    }
};

// Selects firm row (its record) as a click does, and waits for the number grid's next paint.
void SelectAndPaint(TFDbf &window, PaintCount &count, uint32_t firm)
{
    window.ViewFirm().MoveToRecNo(firm);
    window.SelectFirm();
    for (int seen = count.Paints; count.Paints == seen;)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Selecting the firm that holds all 100,000 numbers, to the number grid's first painted rows.
void BM_SelectFirmToPaint(benchmark::State &state)
{
    DataDir = gOneFirm;
    TFDbf window;
    PaintCount count;
    window.DBGridNum->viewport()->installEventFilter(&count);
    window.show();
    SelectAndPaint(window, count, 2);
    for (auto _ : state) {
        SelectAndPaint(window, count, 1);
        state.PauseTiming();
        SelectAndPaint(window, count, 2);
        state.ResumeTiming();
    }
    state.counters["num_rows"] = BigBook::kNums;
}

// What opening the window on a book and browsing it adds to the resident
// memory: shown, the numbers scrolled to the end, 200 firms selected, the
// callers named (heap freed before is trimmed first).
double BrowseAddsMb(const std::string &dataDir)
{
    DataDir = dataDir;
    malloc_trim(0);
    const long before = RssKb();
    TFDbf window;
    PaintCount count;
    window.DBGridNum->viewport()->installEventFilter(&count);
    window.show();
    for (uint32_t firm = 1; firm <= 200; ++firm)
        SelectAndPaint(window, count, firm);
    window.ViewNum().Last();
    for (const std::string &caller : Callers())
        window.Store().NameByNumber(caller, "?", '(', {});
    QCoreApplication::processEvents();
    return static_cast<double>(RssKb() - before) / 1024;
}

// The first window also pays for styles, fonts and the like: it browses the
// one-firm book, closed again before the book itself is measured.
void BM_BrowseRss(benchmark::State &state)
{
    for (auto _ : state) {
        state.counters["rss_first_window_mb"] = BrowseAddsMb(gOneFirm);
        state.counters["rss_added_mb"] = BrowseAddsMb(gData);
    }
}

} // namespace

BENCHMARK(BM_BrowseRss)->Unit(benchmark::kMillisecond)->Iterations(1); // first: the heap is still small
BENCHMARK(BM_NameLookupIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NameLookupPlainScan)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_FirmNumbersIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirmNumbersPlainFilter)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SelectFirmToPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::string pattern = (std::filesystem::temp_directory_path() / "talvo-book-benchmark-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    gData = pattern + "/";
    gOneFirm = gData + "one-firm/";
    BigBook::Write(gData);
    BigBook::Write(gOneFirm, true);
    OpenBook(); // writes the index files once
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(gData);
    return 0;
}
