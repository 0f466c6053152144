// Bytes as a timer's file beside a plan: reading never crashes, and a timer that is read is
// written back to text that reads as the same timer (its name cut where the file cuts it).

#include "model/CLiveTimer.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text{reinterpret_cast<const char*>(data), size};
    const std::optional<CLiveTimer::State> state = CLiveTimer::parse(text);
    if (!state)
        return 0;
    const std::string written = CLiveTimer::text(*state);
    const std::optional<CLiveTimer::State> again = CLiveTimer::parse(written);
    if (!again || again->plan != state->plan || again->activityId != state->activityId ||
        again->started != state->started ||
        state->fullName.compare(0, again->fullName.size(), again->fullName) != 0 ||
        CLiveTimer::text(*again) != written)
        __builtin_trap();
    return 0;
}
