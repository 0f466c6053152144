#include "app/CNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

CNotifier::CNotifier(QObject* parent) : QObject(parent) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QString::fromLatin1(kService);
    const QString path = QString::fromLatin1(kPath);
    bus.connect(service, path, service, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(service, path, service, QStringLiteral("NotificationClosed"), this,
                SLOT(onClosed(uint, uint)));
}

void CNotifier::notify(const QString& kind, const QString& summary, const QString& body,
                       const QList<Action>& actions) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kService), QStringLiteral("Notify"));
    QStringList pairs;
    for (const Action& action : actions)
        pairs << action.key << action.label;
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QStringLiteral("app.quillon.Quillon")},
        {QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)}};
    call << QStringLiteral("Quillon") << m_shown.value(kind, 0u)
         << QStringLiteral("app.quillon.Quillon") << summary << body << pairs << hints << -1;
    // Asynchronous: a slow or absent server never holds the window up.
    auto* watcher =
        new QDBusPendingCallWatcher{QDBusConnection::sessionBus().asyncCall(call), this};
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, kind](auto* done) {
        const QDBusPendingReply<uint> reply = *done;
        if (reply.isValid())
            m_shown.insert(kind, reply.value());
        done->deleteLater();
    });
}

void CNotifier::onActionInvoked(uint id, const QString& key) {
    const QString kind = m_shown.key(id);
    if (!kind.isEmpty())
        emit actionInvoked(kind, key);
}

void CNotifier::onClosed(uint id, uint /*reason*/) {
    const QString kind = m_shown.key(id);
    if (!kind.isEmpty())
        m_shown.remove(kind);
}
