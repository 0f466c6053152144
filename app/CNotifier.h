#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

// Desktop notifications through the session bus's notification server. Each kind of notice
// has at most one on screen: a new one of the kind replaces the last. Nothing here takes the
// focus; only the user's click on an action reaches the program.
class CNotifier : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";

    struct Action {
        QString key;
        QString label;
    };

    explicit CNotifier(QObject* parent = nullptr);

    // Returns at once; a bus without a notification server drops the notice.
    void notify(const QString& kind, const QString& summary, const QString& body,
                const QList<Action>& actions);

signals:
    // The user chose the action of the notice of this kind.
    void actionInvoked(const QString& kind, const QString& key);

private slots:
    void onActionInvoked(uint id, const QString& key);
    void onClosed(uint id, uint reason);

private:
    QHash<QString, uint> m_shown; // kind -> the server's number of its notice
};
