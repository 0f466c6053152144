// qln_benchplan A OUT: writes the benchmarks' plan of A activities with a year of daily hours,
// so that whole-process timings run on the same plans as the in-process ones.

#include "bench/BenchPlans.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qln_benchplan ACTIVITIES OUT\n");
        return 2;
    }
    BenchPlan& plan = benchPlan(std::atoi(argv[1]));
    std::error_code error;
    std::filesystem::copy_file(plan.path, argv[2],
                               std::filesystem::copy_options::overwrite_existing, error);
    return error ? 1 : 0;
}
