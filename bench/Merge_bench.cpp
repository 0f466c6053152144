// Two plans with a year of daily hours each, changed apart from one base, merged into one.

#include "bench/BenchPlans.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanMerge.h"
#include "model/CQLData.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<CHrplDoc> loaded(BenchPlan& f) {
    auto doc = std::make_unique<CHrplDoc>(*f.app.core);
    doc->loadBytes(f.bytes);
    return doc;
}

// Each side renamed a tenth of the activities and typed other hours for a tenth of them;
// every twentieth both changed the same way, every hundredth differently.
void changeSide(CQLData& plan, int side) {
    const auto activities = plan.activitiesOf(*plan.root());
    const std::string week = plan.detailedWeeks.rbegin()->first;
    for (std::size_t i = 0; i < activities.size(); ++i) {
        CActivityItem& item = *plan.findItem(activities[i]);
        if (i % 10 == static_cast<std::size_t>(side))
            item.name += " (renamed)";
        if (i % 10 == static_cast<std::size_t>(side + 2) || i % 20 == 5 || i % 100 == 7)
            plan.detailedWeeks[week][item.id].dayHours[1] =
                FloatMy{i % 100 == 7 ? side + 1.0 : 3.25};
    }
    CHoursLedger{plan}.normaliseAfterLoad();
}

void BM_Merge(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    const auto base = loaded(f);
    const auto ours = loaded(f);
    const auto theirs = loaded(f);
    changeSide(ours->plan(), 0);
    changeSide(theirs->plan(), 1);
    for (auto _ : state) {
        CQLData merged{*f.app.core};
        const CPlanMerge::Result result = CPlanMerge::merge(
            &base->plan(), ours->plan(), theirs->plan(), CPlanMerge::Side::Theirs, merged);
        benchmark::DoNotOptimize(result.decisions.size());
        state.PauseTiming(); // freeing the merged plan is no part of the merge
        merged.clear();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_Merge)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
