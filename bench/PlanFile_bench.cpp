// Load, normalise and save of plans with a year of daily hours.

#include "bench/BenchPlans.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanFile.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_Load(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto doc = std::make_unique<CHrplDoc>(*f.app.core);
        benchmark::DoNotOptimize(doc->load(f.path));
        // Freeing the plan is not part of a load.
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["fileKiB"] = static_cast<double>(f.bytes.size()) / 1024.0;
}

void BM_Save(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    CHrplDoc doc{*f.app.core};
    doc.load(f.path);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.save(f.path));
}

void BM_LoadAndSave(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto doc = std::make_unique<CHrplDoc>(*f.app.core);
        doc->load(f.path);
        benchmark::DoNotOptimize(doc->saveAndRelease(f.path));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

void BM_ParseOnly(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto plan = std::make_unique<CQLData>(*f.app.core);
        CPlanFile::read(f.bytes, *plan);
        benchmark::DoNotOptimize(plan->items.size());
        state.PauseTiming();
        plan.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_Load)->Arg(50)->Arg(500)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(50)->Arg(500)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndSave)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseOnly)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
