#include "bench/BenchPlans.h"

#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CPlanFile.h"

BenchPlan::BenchPlan(int activities) : path(dir.file("plan.qln")) {
    app.core->setInstallDirectory(dir.path());
    CQLData plan{*app.core};
    PlanBuilder build{plan};
    build.addActivities(activities);
    build.addYearOfHours();
    CHoursLedger{plan}.normaliseAfterLoad();
    bytes = CPlanFile::write(plan);
    CAtomicFile::write(path, bytes);
}

BenchPlan& benchPlan(int activities) {
    static std::map<int, std::unique_ptr<BenchPlan>> plans;
    auto& plan = plans[activities];
    if (!plan)
        plan = std::make_unique<BenchPlan>(activities);
    return *plan;
}
