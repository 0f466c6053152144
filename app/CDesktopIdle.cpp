#include "app/CDesktopIdle.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace {

// A plain call: an interface object would first ask the bus to describe the service, a second
// blocking round trip every time.
template <typename Milliseconds>
std::optional<long long> ask(const char* service, const char* path, const char* interface,
                             const char* method) {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                       QString::fromLatin1(interface), QString::fromLatin1(method));
    const QDBusReply<Milliseconds> idle = bus.call(call, QDBus::Block, 500);
    if (!idle.isValid())
        return std::nullopt;
    return static_cast<long long>(idle.value() / 1000);
}

// GNOME on Wayland answers only here.
std::optional<long long> gnomeIdle() {
    return ask<qulonglong>("org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
                           "org.gnome.Mutter.IdleMonitor", "GetIdletime");
}

std::optional<long long> screenSaverIdle() {
    return ask<uint>("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                     "org.freedesktop.ScreenSaver", "GetSessionIdleTime");
}

} // namespace

std::optional<long long> CDesktopIdle::seconds() {
    // The source that answered last is asked first: one round trip on a steady desktop.
    static Source last = Source::GnomeIdleMonitor;
    if (last == Source::ScreenSaver)
        if (const std::optional<long long> idle = screenSaverIdle())
            return idle;
    if (const std::optional<long long> idle = gnomeIdle()) {
        last = Source::GnomeIdleMonitor;
        return idle;
    }
    const std::optional<long long> idle = screenSaverIdle();
    if (idle)
        last = Source::ScreenSaver;
    return idle;
}

CDesktopIdle::Source CDesktopIdle::source() {
    if (gnomeIdle())
        return Source::GnomeIdleMonitor;
    return screenSaverIdle() ? Source::ScreenSaver : Source::None;
}
