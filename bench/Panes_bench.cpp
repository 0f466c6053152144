// One typed entry of hours in the input pane, up to all three panes refilled (offscreen).

#include "bench/BenchPlans.h"
#include "model/CHrplDoc.h"
#include "model/CPlanActions.h"
#include "tests/support/MainView.h"
#include "views/CInputView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// The entry goes into the active day's cell: the day pane's one hours column, or the
// timesheet's column of that day.
void typedHoursUpToThreePanes(benchmark::State& state, bool weekSheet) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    CHrplDoc document{*f.app.core};
    document.load(f.path);
    MainView set{document, {1200, 800}};
    set.view.setWeekSheet(weekSheet);
    set.open(true);
    CInputView& input = set.view.input();
    const int row = static_cast<int>(document.inputRows.size()); // the last activity row
    const CInputColumns& columns = input.columns();
    const int hours = columns.first(CInputColumns::Kind::Hours);
    int column = hours;
    for (int c = hours; c <= columns.last(CInputColumns::Kind::Hours); ++c)
        if (input.dayOfColumn(c).value_or(CMyStringDate{}).text() ==
            f.app.core->dates().activeDay().text())
            column = c;
    if (weekSheet && !input.showsDays()) {
        state.SkipWithError("the active day is not shown as a day of the timesheet");
        return;
    }
    const std::int32_t item = document.inputRows.at(row).itemId();
    const std::optional<CMyStringDate> day = input.dayOfColumn(column);
    bool flip = false;
    for (auto _ : state) {
        input.show(CPlanActions{document.plan()}.enterHours(item, flip ? "1:30" : "0:45", day));
        for (CHrplView::Pane pane :
             {CHrplView::Pane::Input, CHrplView::Pane::Activities, CHrplView::Pane::Divisions})
            set.grid(pane)->viewport()->repaint(); // painted as a user sees them
        flip = !flip;
    }
}

void BM_TypedHoursUpToThreePanes(benchmark::State& state) {
    typedHoursUpToThreePanes(state, false);
}

void BM_TimesheetHoursUpToThreePanes(benchmark::State& state) {
    typedHoursUpToThreePanes(state, true);
}

} // namespace

// The plan sizes of bench/run's table.
void planSizes(benchmark::internal::Benchmark* benchmark) {
    for (int activities : {50, 500, 1000, 5000, 20000})
        benchmark->Arg(activities);
    benchmark->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_TypedHoursUpToThreePanes)->Apply(planSizes);
BENCHMARK(BM_TimesheetHoursUpToThreePanes)->Apply(planSizes);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QLN_NO_SPLASH", "1", 1);
    QApplication application{argc, argv};
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
