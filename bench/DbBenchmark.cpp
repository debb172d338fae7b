// Speed of the table engine on a phone book of 100,000 numbers and 20,000
// firms. Run: db_benchmark [benchmark flags] [path of a Nums.dbf] to measure
// another table (with its .cdx beside it); without one, tables are generated.
#include "Cursor.h"
#include "DbfFormat.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstring>
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
    auto number = [&](size_t i) {
        return Num(static_cast<double>(i * 7919 % 20000 + 1)) + Num(static_cast<double>(i % 3)) + types[i % 4]
               + Pad("0" + std::to_string(400000000 + i * 104729 % 100000007), 20);
    };
    WriteTable(gDir + "Nums.dbf", {DbFloat("IDF"), DbFloat("IDR"), DbString("TYPE", 1), DbString("NUM", 20)}, 100000,
               number);
    WriteTable(gDir + "Small.dbf", {DbFloat("IDF"), DbFloat("IDR"), DbString("TYPE", 1), DbString("NUM", 20)}, 1000,
               number);
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

// Opening the numbers (0) or the firms with their name order (1), on the
// first record.
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
        c.First();
        benchmark::DoNotOptimize(c.RecNo());
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

// Open and scan in physical order, counting numbers that end in "123".
void BM_OpenScanSuffix(benchmark::State &state)
{
    size_t hits = 0;
    for (auto _ : state) {
        TDbCursor c;
        Open(c, gTable, gIndexes);
        TDbField num = c.FieldByName("NUM");
        hits = 0;
        for (c.First(); !c.Eof(); c.Next()) {
            std::string v = num.AsString();
            hits += v.size() >= 3 && v.compare(v.size() - 3, 3, "123") == 0;
        }
    }
    state.counters["hits"] = static_cast<double>(hits);
}

// The floor for the scan above: the file's bytes read at once and searched
// with memchr for numbers that end in "123".
void BM_ReadFileMemchr(benchmark::State &state)
{
    const std::string path = gDir + (gTable.find('.') == std::string::npos ? gTable + ".dbf" : gTable);
    size_t hits = 0;
    for (auto _ : state) {
        FILE *f = fopen(path.c_str(), "rb");
        std::string bytes(std::filesystem::file_size(path), '\0');
        bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
        fclose(f);
        TDbfHeader h = ParseDbfHeader(bytes, bytes.size());
        const size_t numAt = static_cast<size_t>(h.Fields.back().Offset); // NUM is the last field
        const size_t numEnd = numAt + static_cast<size_t>(h.Fields.back().Size);
        hits = 0;
        for (const char *p = bytes.data() + h.HeaderLen, *end = bytes.data() + bytes.size();
             (p = static_cast<const char *>(memchr(p, '3', static_cast<size_t>(end - p)))); ++p) {
            size_t at = static_cast<size_t>(p - bytes.data() - h.HeaderLen) % h.RecordLen;
            hits += at >= numAt + 2 && at < numEnd && p[-1] == '2' && p[-2] == '1' && (at + 1 == numEnd || p[1] == ' ');
        }
    }
    state.counters["hits"] = static_cast<double>(hits);
}

// Heap held by a cursor that has browsed the whole table in NUM order:
// the numbers (0) or a table of 1,000 (1).
void BM_BrowseMemory(benchmark::State &state)
{
    const bool small = state.range(0) == 1;
    if (small && !gGenerated) {
        state.SkipWithError("only on generated tables");
        return;
    }
    size_t held = 0;
    for (auto _ : state) {
        size_t before = mallinfo2().uordblks;
        TDbCursor c;
        Open(c, small ? "Small" : gTable, gIndexes);
        c.SetIndexName("NUM");
        size_t n = 0;
        for (c.First(); !c.Eof(); c.Next())
            ++n;
        for (c.Last(); !c.Bof(); c.Prior())
            ++n;
        held = mallinfo2().uordblks - before;
        benchmark::DoNotOptimize(n);
    }
    state.counters["heap_kb"] = static_cast<double>(held) / 1024;
}

// Edit and post a number, moving its key.
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

// Append a number.
void BM_AppendNumber(benchmark::State &state)
{
    if (!gGenerated) {
        state.SkipWithError("only on generated tables: it writes");
        return;
    }
    TDbCursor c;
    Open(c, gTable, gIndexes);
    int i = 0;
    for (auto _ : state) {
        c.Append();
        c.FieldByName("IDF").SetAsInteger(i % 20000 + 1);
        c.FieldByName("NUM").SetAsString("0" + std::to_string(600000000 + i++ * 7919 % 1000003));
        c.Post();
    }
}

} // namespace

BENCHMARK(BM_Open)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchOrder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LocateNum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilteredScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenScanSuffix)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileMemchr)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrowseMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
// Last: they change the table the others read.
BENCHMARK(BM_PostNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendNumber)->Unit(benchmark::kMillisecond);

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
        TDbCursor nums, small, firms; // write the index files once
        Open(nums, "Nums", gIndexes);
        Open(small, "Small", gIndexes);
        Open(firms, "Firms", {{"NAME", "XNAME", false}});
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (argc <= 1)
        std::filesystem::remove_all(gDir);
    return 0;
}
