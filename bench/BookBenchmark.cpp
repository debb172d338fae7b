// The phone book at scale: 2,000 firms, 10,000 representatives, 100,000
// numbers. Caller-name lookups and a firm's numbers from the store's indexes,
// each beside the plain scan it replaces; opening the window on that book.
// p99 figures are per-call times of the timed loop (counters p99_us).
#include "Dbf.h"
#include "DbView.h"
#include "DbfFormat.h"
#include "Fce.h"
#include "IniFile.h"
#include "Memo.h"
#include "PhoneBookStore.h"
#include "PlainNameScan.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kFirms = 2000, kRepres = 10000, kNums = 100000;
std::string gData; // the data folder; the book is in its Dbf folder

std::string Field(const TDbFieldDef &f, const std::string &value)
{
    if (f.Type == 'F' || f.Type == 'N')
        return DbfFormatNumber(std::stod(value), f);
    std::string s = value.substr(0, static_cast<size_t>(f.Size));
    s.resize(static_cast<size_t>(f.Size), ' ');
    return s;
}

// A table of count rows straight to its file; values by field name, the rest blank.
void Write(const std::string &name, const TDbTableDef &def, int count,
           const std::function<std::map<std::string, std::string>(int)> &row)
{
    TDbfHeader h = MakeDbfHeader(def.Fields, true);
    h.RecordCount = static_cast<uint32_t>(count);
    std::ofstream out(gData + "Dbf/" + name + ".dbf", std::ios::binary);
    out << BuildDbfHeader(h);
    for (int i = 0; i < count; ++i) {
        auto values = row(i);
        out << ' ';
        for (const TDbFieldDef &f : h.Fields)
            out << (values.count(f.Name) ? Field(f, values[f.Name]) : std::string(static_cast<size_t>(f.Size), ' '));
    }
    out << '\x1A';
    if (h.HasMemo())
        std::ofstream(gData + "Dbf/" + name + ".fpt", std::ios::binary) << TDbMemoFile::EmptyFile();
}

std::string Number(int i) { return "0" + std::to_string(400000000 + static_cast<long long>(i) * 104729 % 100000007); }

void Generate()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "talvo-book-benchmark-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    gData = pattern + "/";
    std::filesystem::create_directories(gData + "Dbf");
    Write("Firms", TPhoneBookStore::FirmsDef(), kFirms, [](int i) {
        std::string name = "Firm " + std::to_string(i * 7907 % 20011);
        return std::map<std::string, std::string>{{"ID", std::to_string(i + 1)}, {"NAME", name}, {"XNAME", name}};
    });
    Write("Repres", TPhoneBookStore::RepresDef(), kRepres, [](int j) {
        std::string surname = "Surname " + std::to_string(j * 7919 % 10007);
        return std::map<std::string, std::string>{{"ID", std::to_string(j + 1)}, {"IDF", std::to_string(j % kFirms + 1)},
                                                  {"SURNAME", surname}, {"XSURNAME", surname}, {"MUZ", "T"}};
    });
    Write("Nums", TPhoneBookStore::NumsDef(), kNums, [](int i) {
        int idf = i % kFirms + 1;
        int idr = i % 3 == 0 ? 0 : idf + kFirms * (i % 5);
        bool local = i % 50 == 0;
        return std::map<std::string, std::string>{{"IDF", std::to_string(idf)}, {"IDR", std::to_string(idr)},
                                                  {"TYPE", local ? "L" : i % 2 ? "M" : "T"},
                                                  {"NUM", local ? std::to_string(100 + i % 900) : Number(i)}};
    });
    Write("Contacts", TPhoneBookStore::ContactsDef(), kNums / 10, [](int i) {
        return std::map<std::string, std::string>{{"IDF", std::to_string(i % kFirms + 1)}, {"IDR", "0"},
                                                  {"SUBJECT", "Call " + std::to_string(i)}};
    });
}

std::unique_ptr<TPhoneBookStore> OpenBook()
{
    TIniFile ini(gData + "none.ini");
    auto s = std::make_unique<TPhoneBookStore>(ini, gData);
    s->OpenTables();
    return s;
}

// Callers: most in the book by their last eight digits, some internal, some unknown.
std::vector<std::string> Callers()
{
    std::vector<std::string> out;
    for (int k = 0; k < 1000; ++k) {
        int i = static_cast<int>(static_cast<long long>(k) * 7727 % kNums);
        if (k % 10 == 0)
            out.push_back("0" + std::to_string(300000000 + k)); // unknown
        else if (k % 10 == 1)
            out.push_back(std::to_string(100 + k % 900)); // internal
        else
            out.push_back(Number(i).substr(2));
    }
    return out;
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
    Generate();
    OpenBook(); // writes the index files once
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(gData);
    return 0;
}
