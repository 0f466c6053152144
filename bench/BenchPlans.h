#pragma once

#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"

#include <map>
#include <memory>
#include <string>

// A plan file per size with a year of daily hours, written once per run.
struct BenchPlan {
    explicit BenchPlan(int activities);
    TempDir dir;
    TestApp app;
    std::string path;
    std::string bytes;
};

BenchPlan& benchPlan(int activities);
