// The engine end to end: a plan loaded and computed, and one typed entry of hours.

#include "bench/BenchPlans.h"
#include "core/CAppDates.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanChange.h"
#include "model/CPlanFile.h"
#include "model/CPriorityComputation.h"
#include "model/CStatistics.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void computeAll(CQLData& plan) {
    CHoursLedger{plan}.setActiveWeek(-1);
    CPriorityComputation priorities{plan};
    priorities.computeCurrentPriorities();
    CStatistics{plan}.computeAveragedParts();
    benchmark::DoNotOptimize(priorities.activityPriorityOrder());
    benchmark::DoNotOptimize(priorities.divisionContentOrder(*plan.root()));
}

void BM_LoadAndCompute(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto doc = std::make_unique<CHrplDoc>(*f.app.core);
        doc->load(f.path);
        doc->plan().buildRowLayout();
        computeAll(doc->plan());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

void BM_Compute(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    CHrplDoc doc{*f.app.core};
    doc.load(f.path);
    for (auto _ : state)
        computeAll(doc.plan());
}

// One typed amount for an activity on today: the ledger input with its carries and active
// week, then the priorities and both orders the panes show.
void BM_TypedHoursEntry(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    CHrplDoc doc{*f.app.core};
    doc.load(f.path);
    CQLData& plan = doc.plan();
    const std::uint16_t activity = plan.activitiesOf(*plan.root()).back();
    double hours = 0.25;
    for (auto _ : state) {
        CHoursLedger{plan}.inputHours(activity, hours, -1);
        CPriorityComputation priorities{plan};
        priorities.computeCurrentPriorities();
        benchmark::DoNotOptimize(priorities.activityPriorityOrder());
        benchmark::DoNotOptimize(
            priorities.divisionContentOrder(*plan.findItem(plan.findItem(activity)->parentId)));
        hours = hours == 0.25 ? 1.5 : 0.25;
    }
}

// One typed amount kept as an undoable step, on the latest day or a year back (where the
// step takes every later week of the ledger to compare), then undone: what the undo history
// adds to an entry, and what its memory holds per step.
void BM_RecordedEntryAndUndo(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    CHrplDoc doc{*f.app.core};
    doc.load(f.path);
    CQLData& plan = doc.plan();
    CAppDates& dates = f.app.core->dates();
    const CMyStringDate active = dates.activeDay();
    const int back = static_cast<int>(state.range(1));
    dates.setActiveDay(
        CMyStringDate{CMyStringDate::parse(qlndates::addDays(dates.latestDate().text(), -back))});
    const std::uint16_t activity = plan.activitiesOf(*plan.root()).back();
    for (auto _ : state) {
        {
            const CPlanChange change = CPlanChange::hours(plan, activity, "1:45");
            CHoursLedger{plan}.enterHours(activity, "1:45");
        }
        state.counters["stepBytes"] = static_cast<double>(plan.history.bytes());
        plan.history.undo(plan);
    }
    dates.setActiveDay(active);
}

} // namespace

BENCHMARK(BM_RecordedEntryAndUndo)
    ->Args({500, 0})
    ->Args({500, 350})
    ->Args({5000, 0})
    ->Args({5000, 350})
    ->Args({20000, 0})
    ->Args({20000, 350})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndCompute)
    ->Arg(50)
    ->Arg(500)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compute)->Arg(50)->Arg(500)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedHoursEntry)
    ->Arg(50)
    ->Arg(500)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
