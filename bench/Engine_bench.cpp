// The engine end to end: a plan loaded and computed, and one typed entry of hours.

#include "bench/BenchPlans.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
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

} // namespace

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
