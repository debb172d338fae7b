// Speed of the table engine on a phone book of 100,000 numbers and 20,000
// firms. Run: db_benchmark [benchmark flags] [path of a Nums.dbf] to measure
// another table (with its .cdx beside it); without one, tables are generated.
#include "Cursor.h"
#include "DbfFormat.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string gDir, gTable = "Nums";
std::vector<TDbIndexDef> gIndexes;
std::string gLastNum;
bool gGenerated = false;

std::string Pad(const std::string &text, size_t width)
{
    std::string s = text.substr(0, width);
    s.resize(width, ' ');
    return s;
}

void WriteTable(const std::string &path, const std::vector<TDbFieldDef> &fields, size_t count,
                const std::function<std::string(size_t)> &record)
{
    TDbfHeader h = MakeDbfHeader(fields, true);
    h.RecordCount = static_cast<uint32_t>(count);
    std::ofstream out(path, std::ios::binary);
    out << BuildDbfHeader(h);
    for (size_t i = 0; i < count; ++i)
        out << ' ' << record(i);
    out << '\x1A';
}

std::string Num(double v) { return DbfFormatNumber(v, DbFloat("X")); }

void Generate()
{
    // A folder of this run's own: runs side by side never share files.
    std::string pattern = (std::filesystem::temp_directory_path() / "talvo-db-benchmark-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    gDir = pattern + "/";
    const char *types = "TMFL";
    WriteTable(gDir + "Nums.dbf", {DbFloat("IDF"), DbFloat("IDR"), DbString("TYPE", 1), DbString("NUM", 20)}, 100000,
               [&](size_t i) {
                   return Num(static_cast<double>(i * 7919 % 20000 + 1)) + Num(static_cast<double>(i % 3))
                          + types[i % 4] + Pad("0" + std::to_string(400000000 + i * 104729 % 100000007), 20);
               });
    gLastNum = "0" + std::to_string(400000000 + 99999ull * 104729 % 100000007);
    WriteTable(gDir + "Firms.dbf",
               {DbFloat("ID"), DbString("NAME", 40), DbString("ADD_CITY", 40), DbString("XNAME", 40)}, 20000,
               [&](size_t i) {
                   std::string name = "Firm " + std::to_string(i * 7907 % 20011);
                   return Num(static_cast<double>(i + 1)) + Pad(name, 40) + Pad("City", 40) + Pad(name, 40);
               });
    gIndexes = {{"NUM", "NUM", false}};
}

void Open(TDbCursor &c, const std::string &table, const std::vector<TDbIndexDef> &indexes)
{
    c.DatabaseName = gDir;
    c.TableName = table;
    c.IndexDefs = indexes;
    c.Open();
}

// Opening the numbers (0) or the firms with their name order (1).
void BM_Open(benchmark::State &state)
{
    const bool firms = state.range(0) == 1;
    if (firms && !std::filesystem::exists(gDir + "Firms.dbf")) {
        state.SkipWithError("no Firms.dbf beside the numbers");
        return;
    }
    for (auto _ : state) {
        TDbCursor c;
        Open(c, firms ? "Firms" : gTable, firms ? std::vector<TDbIndexDef>{{"NAME", "XNAME", false}} : gIndexes);
        benchmark::DoNotOptimize(c.RecordCount());
    }
}

void BM_FullScan(benchmark::State &state)
{
    TDbCursor c;
    Open(c, gTable, gIndexes);
    try {
        c.SetIndexName(state.range(0) ? "NUM" : "");
    } catch (const EDbError &e) {
        state.SkipWithError(e.what());
        return;
    }
    for (auto _ : state) {
        size_t n = 0;
        for (c.First(); !c.Eof(); c.Next())
            n += c.FieldByName("NUM").AsString().size();
        benchmark::DoNotOptimize(n);
    }
}

void BM_SwitchOrder(benchmark::State &state)
{
    TDbCursor c;
    Open(c, gTable, gIndexes);
    c.Last();
    for (auto _ : state) {
        c.SetIndexName("NUM");
        c.First();
        c.SetIndexName("");
        c.First();
    }
}

void BM_LocateNum(benchmark::State &state)
{
    TDbCursor c;
    Open(c, gTable, gIndexes);
    c.Last();
    std::string wanted = gLastNum.empty() ? c.FieldByName("NUM").AsString() : gLastNum;
    for (auto _ : state)
        benchmark::DoNotOptimize(c.Locate({{"NUM", wanted}}));
}

void BM_FilteredScan(benchmark::State &state)
{
    TDbCursor c;
    Open(c, gTable, gIndexes);
    int id = 1;
    for (auto _ : state) {
        c.SetFilter("Idf=" + std::to_string(id++ % 20000 + 1));
        int n = 0;
        for (; !c.Eof(); c.Next())
            ++n;
        benchmark::DoNotOptimize(n);
    }
}

// Edit and post a number: the record, then the whole index file rewritten.
void BM_PostNumber(benchmark::State &state)
{
    if (!gGenerated) {
        state.SkipWithError("only on generated tables: it writes");
        return;
    }
    TDbCursor c;
    Open(c, gTable, gIndexes);
    c.SetIndexName("NUM");
    c.First();
    int i = 0;
    for (auto _ : state) {
        c.Edit();
        c.FieldByName("NUM").SetAsString("0" + std::to_string(500000000 + i++));
        c.Post();
    }
}

} // namespace

BENCHMARK(BM_Open)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchOrder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LocateNum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilteredScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PostNumber)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc > 1) {
        std::filesystem::path p(argv[1]);
        gDir = p.parent_path().string() + "/";
        gTable = p.filename().string();
    } else {
        Generate();
        gGenerated = true;
        TDbCursor nums, firms; // write the index files once
        Open(nums, "Nums", gIndexes);
        Open(firms, "Firms", {{"NAME", "XNAME", false}});
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (argc <= 1)
        std::filesystem::remove_all(gDir);
    return 0;
}
