#pragma once

#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>

// Whether the desktop has a tray, now and later. At login the program often starts before the
// panel: the tray host (a StatusNotifierWatcher on the session bus, or an XEmbed tray manager
// on X11) comes some seconds after, and comes again when the panel restarts. The icon is only
// to be made once a host is there: the toolkit decides how to show it when it is made.
class CTrayWatch : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
    static constexpr int kLookMs = 3000;

    explicit CTrayWatch(QObject* parent = nullptr);

    bool ready() const { return m_ready; }

signals:
    // A tray host is there: the icon is to be made (again, after the panel restarted).
    void trayReady();
    // The host went away.
    void trayGone();

private slots:
    void onHostRegistered();

private:
    void look();
    void ownerChanged(const QString& oldOwner, const QString& newOwner);
    bool notifierHostRegistered() const;
    static bool embedTrayPresent();

    QDBusServiceWatcher m_watcher;
    QTimer m_look;
    bool m_ready = false;
};
