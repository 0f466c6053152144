// One typed entry of hours in the input pane, up to all three panes refilled (offscreen).

#include "bench/BenchPlans.h"
#include "model/CHrplDoc.h"
#include "tests/support/PaneSet.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void BM_TypedHoursUpToThreePanes(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    CHrplDoc document{*f.app.core};
    document.load(f.path);
    PaneSet set{document, 1200, 800};
    set.fill();
    const int row = static_cast<int>(document.inputRows.size()); // the last activity row
    bool flip = false;
    for (auto _ : state) {
        set.input.AcceptHours(row, 4, document,
                              flip ? QStringLiteral("1:30") : QStringLiteral("0:45"));
        for (CVCF1* grid : {set.inputGrid, set.activitiesGrid, set.divisionsGrid})
            grid->viewport()->repaint(); // painted as a user sees them
        flip = !flip;
    }
}

} // namespace

BENCHMARK(BM_TypedHoursUpToThreePanes)
    ->Arg(50)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QLN_NO_SPLASH", "1", 1);
    QApplication application{argc, argv};
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
