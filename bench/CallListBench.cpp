// A screen of history rows painted from cached answers, and the memory a
// history takes at 1,000 and at 1,000,000 records: grid and table together
// (the grid's row header keeps a few bytes per row; the table keeps none).
#include "RemoteGrid.h"
#include "RemoteTableModel.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

const int kScreenRows = 21;

std::string Record(int n)
{
    return "<ans Type=\"HIST\" Handle=\"5\" Act=\"REC\" RecNo=\"" + std::to_string(n) +
           "\" Date=\"09.08.06\" Time=\"14:05:33\" Line=\"21\" Id=\"77\" Way=\"IN\" SOO_Port=\"CO1\" "
           "SOO_Line=\"602123456\" Park=\"\" RingTime=\"3\" CallTime=\"65\" Wav=\"\"/>";
}

struct History {
    TRemoteTable table{[](const std::string &, const std::string &) {}, [](const std::string &) { return "Novak"; }};
    TRemoteTableModel model{table};
    explicit History(int records)
    {
        table.Columns = DefaultColumns("HIST");
        table.Shown = 13;
        model.ColumnsChanged();
        model.ProcessAnswer("<ans Type=\"HIST\" Act=\"SET\" RecordCount=\"" + std::to_string(records) + "\"/>", -1);
        for (int n = records - kScreenRows + 1; n <= records; ++n)
            model.ProcessAnswer(Record(n), -1);
    }
};

void PaintScreenFromCache(benchmark::State &state)
{
    const int records = static_cast<int>(state.range(0));
    History h(records);
    for (auto _ : state)
        for (int r = records - kScreenRows; r < records; ++r)
            for (int c = 1; c <= 13; ++c)
                benchmark::DoNotOptimize(h.model.data(h.model.index(r, c), Qt::DisplayRole));
}
BENCHMARK(PaintScreenFromCache)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The same screen drawn by the grid into a picture.
void DrawScreenFromCache(benchmark::State &state)
{
    History h(static_cast<int>(state.range(0)));
    TRemoteGrid view;
    view.setModel(&h.model);
    view.resize(900, kScreenRows * view.RowHeight() + 40);
    view.ScrollToEnd();
    QPixmap picture(view.size());
    for (auto _ : state)
        view.render(&picture);
}
BENCHMARK(DrawScreenFromCache)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Heap and mapped blocks: a large block may come from either.
size_t InUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// Bytes in use after the history is made and shown in a grid, scrolled to its end.
void MemoryOfAHistory(benchmark::State &state)
{
    const int records = static_cast<int>(state.range(0));
    size_t used = 0;
    {
        // Fonts, styles and other one-time costs are not the history's.
        History warm(10);
        TRemoteGrid view;
        view.setModel(&warm.model);
        view.grab();
    }
    for (auto _ : state) {
        malloc_trim(0);
        const size_t before = InUse();
        {
            History h(records);
            TRemoteGrid view;
            view.setModel(&h.model);
            view.resize(700, 400);
            view.ScrollToEnd();
            view.grab();
            used = InUse() - before;
        }
    }
    state.counters["bytes"] = static_cast<double>(used);
}
BENCHMARK(MemoryOfAHistory)->Arg(1000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The table and its model alone, without a grid.
void MemoryOfATable(benchmark::State &state)
{
    size_t used = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const size_t before = InUse();
        History h(static_cast<int>(state.range(0)));
        for (int r = 0; r < kScreenRows; ++r)
            for (int c = 1; c <= 13; ++c)
                benchmark::DoNotOptimize(h.model.data(h.model.index(r, c), Qt::DisplayRole));
        used = InUse() - before;
    }
    state.counters["bytes"] = static_cast<double>(used);
}
BENCHMARK(MemoryOfATable)->Arg(1000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
