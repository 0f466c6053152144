#pragma once

#include <optional>

// How long the desktop has seen no input, as its session bus tells: GNOME's idle monitor, or
// the screen saver service of KDE and most X11 desktops; none where neither answers.
class CDesktopIdle {
public:
    enum class Source { None, GnomeIdleMonitor, ScreenSaver };

    static std::optional<long long> seconds();
    // The first source that answers now.
    static Source source();
};
