// Export and import of a phone book of 2,000 firms, 10,000 representatives
// and 100,000 numbers, beside a plain copy of the same bytes.
// Run: phonebook_files_benchmark [benchmark flags]
#include "AtomicFile.h"
#include "DbfExport.h"
#include "DbfImport.h"
#include "IniFile.h"
#include "PhoneBookStore.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

const char *const kFiles[] = {"Firms.txt", "Firms.txm", "Repres.txt", "Repres.txm",
                              "Contacts.txt", "Contacts.txm", "Nums.txt"};
constexpr int kFirms = 2000, kRepres = 10000, kNums = 100000;
constexpr int kRows = kFirms + kRepres + kNums;
constexpr int kStepRows = 5000;

std::string gHome;
std::unique_ptr<TPhoneBookStore> gStore;

void Write(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

TPhoneBookStore &Store()
{
    if (gStore)
        return *gStore;
    std::string pattern = (std::filesystem::temp_directory_path() / "talvo-book-benchmark-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    gHome = pattern + "/";
    Write(gHome + "Talvodem.ini", "[Dbf]\r\nHome=Dbf\r\n");
    gStore = std::make_unique<TPhoneBookStore>(TIniFile(gHome + "Talvodem.ini"), gHome);
    gStore->OpenTables();
    std::string dir = gStore->DatabaseDir + "/";
    std::string firms, repres, nums;
    for (int i = 0; i < kFirms; ++i)
        firms += "Firm " + std::to_string(i * 7907 % 20011) + ";Street 1;City;12345;CZ;123;CZ123;a@b.cz;www;T;F;\r\n";
    for (int i = 0; i < kRepres; ++i)
        repres += "Firm " + std::to_string(i % kFirms * 7907 % 20011) + ";Ing.;Jan;Surname" + std::to_string(i / kFirms)
                  + ";;T;Boss;j@b.cz;\r\n";
    for (int i = 0; i < kNums; ++i)
        nums += "Firm " + std::to_string(i % kFirms * 7907 % 20011) + ";Surname" + std::to_string(i % 5) + ";M;0"
                + std::to_string(400000000 + i * 104729ull % 100000007) + ";\r\n";
    for (const char *f : kFiles)
        Write(dir + f, "");
    Write(dir + "Firms.txt", firms);
    Write(dir + "Repres.txt", repres);
    Write(dir + "Nums.txt", nums);
    TDbfImport imp(*gStore);
    while (imp.Step(kStepRows)) {
    }
    if (imp.Failure() != TDbfImport::kNone || gStore->TableNum.RecordCount() != kNums)
        std::abort();
    return *gStore;
}

void BM_Export(benchmark::State &state)
{
    TPhoneBookStore &store = Store();
    for (auto _ : state) {
        TDbfExport exp(store);
        while (exp.Step(kStepRows)) {
        }
        benchmark::DoNotOptimize(exp.Rows());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Import(benchmark::State &state)
{
    TPhoneBookStore &store = Store();
    for (auto _ : state) {
        TDbfImport imp(store);
        while (imp.Step(kStepRows)) {
        }
        if (imp.Failure() != TDbfImport::kNone)
            state.SkipWithError("import failed");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: reading the text files and writing them out again.
void BM_CopyBytes(benchmark::State &state)
{
    std::string dir = Store().DatabaseDir + "/";
    for (auto _ : state)
        for (const char *f : kFiles) {
            std::string bytes;
            atomicfile::ReadAll(dir + f, bytes);
            Write(dir + f + ".copy", bytes);
        }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_CopyBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    gStore.reset();
    if (!gHome.empty())
        std::filesystem::remove_all(gHome);
    return 0;
}
