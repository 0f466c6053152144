// Text through the helper library's time-string parser, compiled in here for coverage.

#include "helperlib/initQLN.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {
void quiet(void*, const char*) {}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    stMsgSnkDll(quiet, nullptr); // refusals are expected by the thousand
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size); // NUL-terminated copy
    double hours = -1;
    if (mkOneDblFrmTmeStrngDll(text.c_str(), &hours) != 0 && std::isnan(hours))
        __builtin_trap();
    return 0;
}
