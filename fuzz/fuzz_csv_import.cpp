// Bytes as CSV rows imported into a small plan: an import that is refused leaves the plan as
// it was; one that is taken leaves a plan its own load takes and that saves and loads again.

#include "fuzz/FuzzApp.h"
#include "model/CHrplDoc.h"
#include "model/CPlanCheck.h"
#include "model/CPlanCsv.h"
#include "model/CPlanFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// A division with an activity and a top-level activity, with hours in both periods.
void seed(CQLData& plan) {
    const std::string rows = "2026-12-07,Work. Mail,1\n"
                             "2026-12-06,Walks,2\n"
                             "2026-08-02,Walks,10,week\n";
    if (!CPlanCsv::read(rows, plan, false).applied)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CQLData plan{fuzzApp()};
    seed(plan);
    const std::string before = CPlanFile::write(plan);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool skipBad = size % 2 == 1;
    const CPlanCsv::ImportResult result = CPlanCsv::read(text, plan, skipBad);
    if (!result.applied) {
        if (CPlanFile::write(plan) != before)
            __builtin_trap();
        return 0;
    }
    if (!CPlanCheck::problem(plan).empty())
        __builtin_trap();
    CHrplDoc reread{fuzzApp()};
    if (reread.loadBytes(CPlanFile::write(plan)) != CHrplDoc::LoadResult::Loaded)
        __builtin_trap();
    return 0;
}
