// qln_bench_table RESULTS.json... [--startup FILE]: the benchmarks' medians as one table, a row
// per plan size. The startup file holds "activities first-paint-ms peak-rss-KiB floor-ms"
// lines, the floor being a bare table view's first paint (qln_floor).

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Table = std::map<int, std::map<std::string, double>>; // size -> column -> milliseconds

// "BM_Load/500_median" -> ("BM_Load", 500)
bool medianOf(const std::string& name, std::string& benchmark, int& size) {
    const std::size_t slash = name.find('/');
    const std::size_t suffix = name.rfind("_median");
    if (slash == std::string::npos || suffix == std::string::npos)
        return false;
    benchmark = name.substr(0, slash);
    size = std::stoi(name.substr(slash + 1, suffix - slash - 1));
    return true;
}

// "activities first-paint-ms peak-rss-KiB floor-ms" lines; the floor gives the ratio.
void readStartup(const char* path, Table& table) {
    std::ifstream in{path};
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields{line};
        int size = 0;
        double ms = 0;
        double kib = 0;
        double floor = 0;
        if (!(fields >> size >> ms >> kib))
            continue;
        table[size]["startup"] = ms;
        table[size]["rss"] = kib / 1024;
        if (fields >> floor && floor > 0) {
            table[size]["floor"] = floor;
            table[size]["ratio"] = ms / floor;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::pair<std::string, std::string>> columns = {
        {"BM_Load", "load"},
        {"BM_Save", "save"},
        {"BM_Compute", "compute"},
        {"BM_TypedHoursEntry", "typed entry"},
        {"BM_TypedHoursUpToThreePanes", "entry to panes"},
        {"BM_TimesheetHoursUpToThreePanes", "entry to sheet"},
        {"startup", "first paint"},
        {"floor", "bare table"},
        {"ratio", "paint / table"},
        {"rss", "peak MiB"}};
    Table table;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--startup" && i + 1 < argc) {
            readStartup(argv[++i], table);
            continue;
        }
        std::ifstream in{arg};
        const nlohmann::json results = nlohmann::json::parse(in, nullptr, false);
        if (results.is_discarded())
            continue;
        for (const auto& run : results.value("benchmarks", nlohmann::json::array())) {
            std::string benchmark;
            int size = 0;
            if (medianOf(run.value("name", ""), benchmark, size))
                table[size][benchmark] = run.value("real_time", 0.0);
        }
    }
    std::printf("%-10s", "activities");
    for (const auto& column : columns)
        std::printf(" %15s", column.second.c_str());
    std::printf("\n");
    for (const auto& [size, values] : table) {
        std::printf("%-10d", size);
        for (const auto& column : columns) {
            const auto value = values.find(column.first);
            if (value == values.end())
                std::printf(" %15s", "-");
            else
                std::printf(" %15.2f", value->second);
        }
        std::printf("\n");
    }
    std::printf(
        "(milliseconds, medians; peak memory of the program's start-up in MiB; the bare table\n"
        "view over as many rows, and the first paint as a multiple of it)\n");
    return 0;
}
