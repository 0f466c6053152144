// Load, normalise and save of plans with a year of daily hours.

#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanFile.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"

#include <benchmark/benchmark.h>

namespace {

// One plan file per size, written once.
struct Fixture {
    explicit Fixture(int activities) : path(dir.file("plan.qln")) {
        app.core->setInstallDirectory(dir.path());
        CQLData plan{*app.core};
        PlanBuilder build{plan};
        build.addActivities(activities);
        build.addYearOfHours();
        CHoursLedger{plan}.normaliseAfterLoad();
        bytes = CPlanFile::write(plan);
        CAtomicFile::write(path, bytes);
    }
    TempDir dir;
    TestApp app;
    std::string path;
    std::string bytes;
};

Fixture& fixture(int activities) {
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    auto& f = fixtures[activities];
    if (!f)
        f = std::make_unique<Fixture>(activities);
    return *f;
}

void BM_Load(benchmark::State& state) {
    Fixture& f = fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CHrplDoc doc{*f.app.core};
        benchmark::DoNotOptimize(doc.load(f.path));
    }
    state.counters["fileKiB"] = static_cast<double>(f.bytes.size()) / 1024.0;
}

void BM_Save(benchmark::State& state) {
    Fixture& f = fixture(static_cast<int>(state.range(0)));
    CHrplDoc doc{*f.app.core};
    doc.load(f.path);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.save(f.path));
}

void BM_LoadAndSave(benchmark::State& state) {
    Fixture& f = fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CHrplDoc doc{*f.app.core};
        doc.load(f.path);
        benchmark::DoNotOptimize(doc.saveAndRelease(f.path));
    }
}

void BM_ParseOnly(benchmark::State& state) {
    Fixture& f = fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CQLData plan{*f.app.core};
        CPlanFile::read(f.bytes, plan);
        benchmark::DoNotOptimize(plan.items.size());
    }
}

} // namespace

BENCHMARK(BM_Load)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndSave)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseOnly)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
