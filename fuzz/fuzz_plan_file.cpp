// Bytes as a data file: the whole load (reading, normalising, the tree and ledger checks),
// then what the program does next with a loaded plan: priorities, statistics, saving.

#include "fuzz/FuzzApp.h"
#include "model/CHrplDoc.h"
#include "model/CPlanFile.h"
#include "model/CPriorityComputation.h"
#include "model/CStatistics.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CHrplDoc document{fuzzApp()};
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (document.loadBytes(bytes) == CHrplDoc::LoadResult::NoMemory)
        return 0;
    CPriorityComputation priorities{document.plan()};
    priorities.computeCurrentPriorities();
    priorities.activityPriorityOrder();
    CStatistics{document.plan()}.computeAveragedParts();
    // What is saved must load again.
    CHrplDoc reread{fuzzApp()};
    if (reread.loadBytes(CPlanFile::write(document.plan())) != CHrplDoc::LoadResult::Loaded)
        __builtin_trap();
    return 0;
}
