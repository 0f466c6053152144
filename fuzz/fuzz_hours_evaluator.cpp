// Typed text through the hours evaluator in both modes: the first byte picks the mode.

#include "fuzz/FuzzApp.h"
#include "parse/CInputSumEvaluator.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    CAppCore& app = fuzzApp();
    const CInputSumEvaluator evaluator{app.library(), app.messages()};
    constexpr CInputSumEvaluator::Mode kModes[] = {CInputSumEvaluator::Mode::Plain,
                                                   CInputSumEvaluator::Mode::Time,
                                                   CInputSumEvaluator::Mode::DecimalHours};
    const CInputSumEvaluator::Mode mode = kModes[data[0] % 3];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    double value = -1;
    // An accepted sum is never negative or infinite: the ledger would keep it.
    if (evaluator.evaluateInputSum(text, value, mode) && (!std::isfinite(value) || value < 0))
        __builtin_trap();
    return 0;
}
