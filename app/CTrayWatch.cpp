#include "app/CTrayWatch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <string>

CTrayWatch::CTrayWatch(QObject* parent)
    : QObject(parent),
      m_watcher(QString::fromLatin1(kWatcherService), QDBusConnection::sessionBus(),
                QDBusServiceWatcher::WatchForOwnerChange) {
    connect(&m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString& oldOwner, const QString& newOwner) {
                ownerChanged(oldOwner, newOwner);
            });
    // The host registers with the watcher a moment after the watcher appears.
    const QString service = QString::fromLatin1(kWatcherService);
    QDBusConnection::sessionBus().connect(service, QStringLiteral("/StatusNotifierWatcher"),
                                          service, QStringLiteral("StatusNotifierHostRegistered"),
                                          this, SLOT(onHostRegistered()));
    m_look.setInterval(kLookMs);
    connect(&m_look, &QTimer::timeout, this, &CTrayWatch::look);
    look();
}

void CTrayWatch::look() {
    if (m_ready)
        return;
    if (notifierHostRegistered() || embedTrayPresent()) {
        m_ready = true;
        m_look.stop();
        emit trayReady();
        return;
    }
    // Bus events say when a watcher comes; an XEmbed manager is only seen by looking.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        m_look.start();
}

void CTrayWatch::onHostRegistered() {
    look();
}

void CTrayWatch::ownerChanged(const QString& oldOwner, const QString& newOwner) {
    if (!oldOwner.isEmpty() && m_ready) {
        m_ready = false;
        emit trayGone();
    }
    if (!newOwner.isEmpty())
        look();
}

bool CTrayWatch::notifierHostRegistered() const {
    const QString service = QString::fromLatin1(kWatcherService);
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << service << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(service))
        return false;
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, 1000);
    return reply.isValid() && reply.value().variant().toBool();
}

// The XEmbed tray manager owns the selection _NET_SYSTEM_TRAY_S<screen> of the X display.
bool CTrayWatch::embedTrayPresent() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const std::string name = "_NET_SYSTEM_TRAY_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
        nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool present = owner && owner->owner != XCB_NONE;
    std::free(owner);
    std::free(atom);
    return present;
}
