#pragma once

#include <optional>

// How long the desktop has seen no input, as its screen saver service tells on the session
// bus; none where no service answers.
class CDesktopIdle {
public:
    static std::optional<long long> seconds();
};
