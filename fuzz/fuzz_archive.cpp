// Bytes as the archive of older hours: the rows that read write back to a text that reads to
// the same rows, and a year's report over them and a small plan adds up.

#include "fuzz/FuzzApp.h"
#include "model/CHoursArchive.h"
#include "model/CPeriodHours.h"
#include "model/CPeriodReport.h"
#include "model/CPlanCsv.h"
#include "model/CQLData.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text{reinterpret_cast<const char*>(data), size};
    const std::vector<CArchivedHours> rows = CHoursArchive::parse(text);
    int unread = -1;
    if (CHoursArchive::parse(CHoursArchive::text(rows), &unread) != rows || unread != 0)
        __builtin_trap();
    CQLData plan{fuzzApp()};
    if (!CPlanCsv::read("2026-12-07,Work. Mail,1\n2026-08-02,Walks,10,week\n", plan, false).applied)
        __builtin_trap();
    const CPeriodHours hours{plan, rows, "19000101", "20991231"};
    const CPeriodReport report{plan, hours, "19000101", "20991231"};
    double sum = 0;
    for (const CPeriodReport::Line& line : report.lines())
        if (!line.division)
            sum += line.hours;
    if (std::isfinite(sum) && std::fabs(sum - report.totalHours()) > 1e-6 * (1 + std::fabs(sum)))
        __builtin_trap();
    return 0;
}
