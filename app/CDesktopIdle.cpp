#include "app/CDesktopIdle.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

std::optional<long long> CDesktopIdle::seconds() {
    // A plain call: an interface object would first ask the bus to describe the service,
    // a second blocking round trip every time.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.ScreenSaver"),
        QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("GetSessionIdleTime"));
    const QDBusReply<uint> idle = bus.call(call, QDBus::Block, 500);
    if (!idle.isValid())
        return std::nullopt;
    return static_cast<long long>(idle.value() / 1000);
}
