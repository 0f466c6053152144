// Bytes as a JSON plan: reading never crashes, and a plan that is read and loads is written
// back as the same JSON, so an export and import of it is lossless.

#include "fuzz/FuzzApp.h"
#include "model/CHrplDoc.h"
#include "model/CPlanFile.h"
#include "model/CPlanJson.h"
#include "model/CQLData.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CQLData plan{fuzzApp()};
    std::string why;
    if (!CPlanJson::read(std::string_view(reinterpret_cast<const char*>(data), size), plan, why))
        return 0;
    // What the import stores only once its own load takes it.
    CHrplDoc stored{fuzzApp()};
    if (stored.loadBytes(CPlanFile::write(plan)) != CHrplDoc::LoadResult::Loaded)
        return 0;
    const std::string json = CPlanJson::write(stored.plan());
    CQLData again{fuzzApp()};
    if (!CPlanJson::read(json, again, why) || CPlanJson::write(again) != json)
        __builtin_trap();
    return 0;
}
