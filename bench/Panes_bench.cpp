// One typed entry of hours in the input pane, up to all three panes refilled (offscreen).

#include "bench/BenchPlans.h"
#include "model/CHrplDoc.h"
#include "views/CInputView.h"
#include "views/CListViewOfActivities.h"
#include "views/CListViewOfActivityItems.h"
#include "views/CVCF1.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void BM_TypedHoursUpToThreePanes(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    CHrplDoc document{*f.app.core};
    document.load(f.path);
    CVCF1 inputGrid;
    CVCF1 activitiesGrid;
    CVCF1 divisionsGrid;
    inputGrid.resize(640, 800);
    activitiesGrid.resize(540, 400);
    divisionsGrid.resize(540, 400);
    CInputView input{document};
    CListViewOfActivities activities;
    CListViewOfActivityItems divisions;
    for (auto [pane, grid] : {std::pair<CSpreadsheetView*, CVCF1*>{&input, &inputGrid},
                              {&activities, &activitiesGrid},
                              {&divisions, &divisionsGrid}}) {
        pane->attachGrid(grid);
        pane->initialiseControl();
        pane->SetupGrid();
        pane->BuildTitle();
    }
    for (CVCF1* grid : {&inputGrid, &activitiesGrid, &divisionsGrid})
        grid->show(); // painted as a user sees them
    input.setPriorityPanes(&activities, &divisions);
    input.PrepareRows(document);
    input.FillFromDocument(document);
    const int row = static_cast<int>(document.inputRows.size()); // the last activity row
    bool flip = false;
    for (auto _ : state) {
        input.AcceptHours(row, 4, document, flip ? QStringLiteral("1:30") : QStringLiteral("0:45"));
        for (CVCF1* grid : {&inputGrid, &activitiesGrid, &divisionsGrid})
            grid->viewport()->repaint();
        flip = !flip;
    }
}

} // namespace

BENCHMARK(BM_TypedHoursUpToThreePanes)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
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
