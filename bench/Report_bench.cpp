// A year's report over a plan and the archive of the weeks it no longer keeps: the bench plan
// lived on half a year, so that the year lies half in the archive, half in the plan.

#include "bench/BenchPlans.h"
#include "model/CAtomicFile.h"
#include "model/CHoursArchive.h"
#include "model/CHrplDoc.h"
#include "model/CPeriodHours.h"
#include "model/CPeriodReport.h"

#include <benchmark/benchmark.h>

namespace {

constexpr const char* kHalfYearOn = "20270608";

struct ArchivedPlan {
    explicit ArchivedPlan(int activities) : app(kHalfYearOn), path(dir.file("plan.qln")) {
        CAtomicFile::write(path, benchPlan(activities).bytes);
        CHrplDoc doc{*app.core};
        doc.load(path);
        doc.saveAndRelease(path); // the weeks that left go to the archive
        app.sink.texts.clear();
    }
    TempDir dir;
    TestApp app;
    std::string path;
};

void BM_YearReport(benchmark::State& state) {
    ArchivedPlan f{static_cast<int>(state.range(0))};
    CHrplDoc doc{*f.app.core};
    doc.loadInMemory(f.path);
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<CArchivedHours> archive;
        CHoursArchive::readForPlan(f.path, archive);
        const CPeriodHours hours{doc.plan(), archive, "20260609", kHalfYearOn};
        const CPeriodReport report{doc.plan(), hours, "20260609", kHalfYearOn};
        benchmark::DoNotOptimize(report.lines().data());
        rows = archive.size();
    }
    state.counters["archived rows"] = static_cast<double>(rows);
}

} // namespace

BENCHMARK(BM_YearReport)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
