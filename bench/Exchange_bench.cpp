// CSV import and export: a year of daily rows for many activities.

#include "bench/BenchPlans.h"
#include "model/CHrplDoc.h"
#include "model/CPlanCsv.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// One row a day for a year for each activity, ten activities a division: about 180,000 rows
// at 500 activities.
std::string yearOfRows(int activities) {
    std::string csv = "date,activity,hours,kind\n";
    const std::string today = "20261208";
    for (int day = 0; day < 365; ++day) {
        const std::string date = qlndates::addDays(today, -day);
        const std::string iso = date.substr(0, 4) + '-' + date.substr(4, 2) + '-' + date.substr(6);
        for (int a = 0; a < activities; ++a) {
            char row[96];
            std::snprintf(row, sizeof row, "%s,Division %d. Activity %d,%d.%02d,day\n", iso.c_str(),
                          a / 10, a, (a + day) % 5, (a * 7 + day) % 4 * 25);
            csv += row;
        }
    }
    return csv;
}

void BM_ImportCsv(benchmark::State& state) {
    const int activities = static_cast<int>(state.range(0));
    TestApp app{"20261208"};
    const std::string csv = yearOfRows(activities);
    std::size_t rows = 0;
    for (auto _ : state) {
        CQLData plan{*app.core};
        const CPlanCsv::ImportResult result = CPlanCsv::read(csv, plan, false);
        rows = static_cast<std::size_t>(result.taken + static_cast<int>(result.outside.size()));
        benchmark::DoNotOptimize(result.applied);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

// One row for each of n names the plan does not have yet, all at the top of the tree.
void BM_ImportCsvNewNames(benchmark::State& state) {
    const int names = static_cast<int>(state.range(0));
    TestApp app{"20261208"};
    std::string csv = "date,activity,hours,kind\n";
    for (int n = 0; n < names; ++n)
        csv += "2026-12-07,Name " + std::to_string(n) + ",1,day\n";
    for (auto _ : state) {
        CQLData plan{*app.core};
        benchmark::DoNotOptimize(CPlanCsv::read(csv, plan, false).createdItems);
    }
}

void BM_ExportCsv(benchmark::State& state) {
    BenchPlan& f = benchPlan(static_cast<int>(state.range(0)));
    CHrplDoc doc{*f.app.core};
    doc.loadInMemory(f.path);
    for (auto _ : state)
        benchmark::DoNotOptimize(CPlanCsv::write(doc.plan()));
}

} // namespace

BENCHMARK(BM_ImportCsv)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCsvNewNames)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Arg(500)->Unit(benchmark::kMillisecond);
