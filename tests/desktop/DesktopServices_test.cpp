// The program on a desktop of the test's own: a private session bus with stand-ins for the
// panel's tray host and the notification server, as a desktop at login has them, late.

#include "app/CDesktopIdle.h"
#include "app/CNotifier.h"
#include "app/CReminders.h"
#include "app/CTimerPresenter.h"
#include "app/CTrayWatch.h"
#include "tests/support/FrameFixture.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMutex>
#include <QSystemTrayIcon>
#include <QThread>

#include <xcb/xcb.h>

#include <atomic>

namespace {

using namespace gridUser;

struct Notice {
    uint id = 0;
    uint replaces = 0;
    QString summary;
    QStringList actions;
};

// The panel's StatusNotifierWatcher, with a host registered: what the tray items say to it.
class StandInWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const {
        QMutexLocker lock{&m_mutex};
        return m_items;
    }
    int registrations() const { return items().size(); }

public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        {
            QMutexLocker lock{&m_mutex};
            m_items << service;
        }
        emit StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    mutable QMutex m_mutex;
    QStringList m_items;
};

// The notification server: keeps each notice; the test plays the user's click on an action.
class StandInNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    std::vector<Notice> notices() const {
        QMutexLocker lock{&m_mutex};
        return m_notices;
    }
    void click(uint id, const QString& key) {
        QMetaObject::invokeMethod(this, [this, id, key] { emit ActionInvoked(id, key); });
    }

public slots:
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary,
                const QString&, const QStringList& actions, const QVariantMap&, int) {
        QMutexLocker lock{&m_mutex};
        const uint id = static_cast<uint>(m_notices.size()) + 1;
        m_notices.push_back({id, replaces, summary, actions});
        return id;
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    void CloseNotification(uint) {}

signals:
    void ActionInvoked(uint id, const QString& key);
    void NotificationClosed(uint id, uint reason);

private:
    mutable QMutex m_mutex;
    std::vector<Notice> m_notices;
};

// GNOME's idle monitor: how long the desktop has had no input.
class StandInIdleMonitor : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")

public:
    std::atomic<qulonglong> idleMs{0};

public slots:
    qulonglong GetIdletime() { return idleMs; }
};

// The stand-ins' own connection, served from a thread of their own: the program's blocking
// calls are answered while its thread waits, as another process would answer them.
class StandInDesktop {
public:
    StandInDesktop()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "stand-ins")) {
        m_thread.start();
        m_context.moveToThread(&m_thread);
        // Made and registered in their thread: the bus's helpers of an object live beside it.
        inThread([this] {
            m_watcher = std::make_unique<StandInWatcher>();
            m_notifications = std::make_unique<StandInNotifications>();
            m_idle = std::make_unique<StandInIdleMonitor>();
            const auto exported = QDBusConnection::ExportAllSlots |
                                  QDBusConnection::ExportAllSignals |
                                  QDBusConnection::ExportAllProperties;
            m_bus.registerObject("/StatusNotifierWatcher", m_watcher.get(), exported);
            m_bus.registerObject(CNotifier::kPath, m_notifications.get(), exported);
            m_bus.registerObject(kIdlePath, m_idle.get(), exported);
        });
    }
    ~StandInDesktop() {
        inThread([this] {
            m_bus.unregisterObject("/StatusNotifierWatcher");
            m_bus.unregisterObject(CNotifier::kPath);
            m_bus.unregisterObject(kIdlePath);
            m_watcher.reset();
            m_idle.reset();
            m_notifications.reset();
        });
        QDBusConnection::disconnectFromBus("stand-ins");
        m_thread.quit();
        m_thread.wait();
    }
    bool own(const char* service) { return m_bus.registerService(service); }
    bool leave(const char* service) { return m_bus.unregisterService(service); }

    StandInWatcher& watcher() { return *m_watcher; }
    StandInNotifications& notifications() { return *m_notifications; }
    StandInIdleMonitor& idle() { return *m_idle; }
    static constexpr const char* kIdleService = "org.gnome.Mutter.IdleMonitor";
    static constexpr const char* kIdlePath = "/org/gnome/Mutter/IdleMonitor/Core";

private:
    void inThread(const std::function<void()>& step) {
        QMetaObject::invokeMethod(&m_context, step, Qt::BlockingQueuedConnection);
    }

    QThread m_thread;
    QObject m_context;
    QDBusConnection m_bus;
    std::unique_ptr<StandInWatcher> m_watcher;
    std::unique_ptr<StandInNotifications> m_notifications;
    std::unique_ptr<StandInIdleMonitor> m_idle;
};

// How long the test looked away from the computer, as the desktop tells.
struct AwayHost : CTimerHost {
    CTimerHost* window = nullptr;
    long long idle = 0;
    Answer askAboutTimer(const Question& question) override {
        return window->askAboutTimer(question);
    }
    bool storePlanNow() override { return window->storePlanNow(); }
    std::optional<long long> idleSeconds() override { return idle; }
};

class DesktopServicesTest : public FrameInputTest {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        setNow("2026-12-07T09:00:00Z");
        desktop.own(CNotifier::kService);
        FrameInputTest::SetUp();
        away.window = &frame->timerPresenter();
        frame->timer().setHost(&away);
    }
    void TearDown() override {
        if (frame)
            frame->timer().setHost(&frame->timerPresenter());
        unsetenv("QLN_NOW");
        FrameInputTest::TearDown();
    }
    static void setNow(const char* iso) { setenv("QLN_NOW", iso, 1); }
    CReminders& reminders() { return frame->timerPresenter().reminders(); }
    bool noticesReach(std::size_t count) {
        return QTest::qWaitFor([&] { return desktop.notifications().notices().size() >= count; },
                               3000);
    }
    // The activity at the top of the priorities pane, as the user reads it there.
    QString topActivity() {
        return frame->view()->grid(CHrplView::Pane::Activities)->cellText(3, 1);
    }

    StandInDesktop desktop;
    AwayHost away;
};

TEST_F(DesktopServicesTest, TheTrayIconComesWhenTheTrayDoesAndAgainAfterThePanelRestarts) {
    EXPECT_EQ(frame->timerPresenter().trayIcon(), nullptr);
    QTest::qWait(200);
    EXPECT_EQ(desktop.watcher().registrations(), 0);
    ASSERT_TRUE(desktop.own(CTrayWatch::kWatcherService)); // the panel, a few seconds late
    ASSERT_TRUE(QTest::qWaitFor([&] { return desktop.watcher().registrations() == 1; }, 5000));
    ASSERT_NE(frame->timerPresenter().trayIcon(), nullptr);
    EXPECT_TRUE(frame->timerPresenter().trayIcon()->isVisible());
    // The panel restarts: the new host hears of the icon again.
    ASSERT_TRUE(desktop.leave(CTrayWatch::kWatcherService));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->timerPresenter().trayIcon(); }, 3000));
    ASSERT_TRUE(desktop.own(CTrayWatch::kWatcherService));
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.watcher().registrations() == 2; }, 5000));
}

// An X11 panel with an XEmbed tray, started late: it owns the display's tray selection.
TEST_F(DesktopServicesTest, TheTrayIconComesWhenAnXEmbedTrayAppears) {
    EXPECT_EQ(frame->timerPresenter().trayIcon(), nullptr);
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr);
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t tray = xcb_generate_id(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, tray, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const std::string name = "_NET_SYSTEM_TRAY_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
        nullptr);
    ASSERT_NE(atom, nullptr);
    xcb_set_selection_owner(connection, tray, atom->atom, XCB_CURRENT_TIME);
    std::free(atom);
    xcb_flush(connection);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->timerPresenter().trayIcon() != nullptr; },
                                CTrayWatch::kLookMs * 2));
    xcb_destroy_window(connection, tray);
    xcb_flush(connection);
}

TEST_F(DesktopServicesTest, TheDailyReminderNamesTheActivityFurthestBehindAndStartsItsTimer) {
    reminders().setDailyMinute(17 * 60);
    reminders().setLookInterval(50);
    setNow("2026-12-07T16:59:00Z");
    QTest::qWait(200);
    EXPECT_TRUE(desktop.notifications().notices().empty()) << "before its time";
    setNow("2026-12-07T17:00:00Z");
    ASSERT_TRUE(noticesReach(1));
    const Notice notice = desktop.notifications().notices().front();
    const QString top = topActivity();
    EXPECT_TRUE(notice.summary.startsWith(top + " is furthest behind: "))
        << notice.summary.toStdString();
    EXPECT_TRUE(notice.summary.endsWith(" to plan this week")) << notice.summary.toStdString();
    EXPECT_EQ(notice.actions, (QStringList{"start", "Start Timer", "show", "Show"}));
    // Once a day: the looks that follow say nothing more.
    QTest::qWait(300);
    EXPECT_EQ(desktop.notifications().notices().size(), 1u);
    desktop.notifications().click(notice.id, "start");
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->timer().running(); }, 3000));
    EXPECT_EQ(frame->timer().activityName(), top);
}

// GNOME answers only through its idle monitor; a desktop with no idle source is said so in
// Options rather than the timer never asking without a word.
TEST_F(DesktopServicesTest, TheIdleTimeComesFromGnomesMonitorOrOptionsSaysThereIsNone) {
    const auto noteShown = [this] {
        bool shown = false;
        whenShown<COptnDlg>([&](COptnDlg* options) {
            for (const QLabel* label : options->findChildren<QLabel*>())
                shown = shown || label->text() == COptnDlg::kNoIdleSource;
            options->reject();
        });
        helpItem(frame, "&Options")->trigger();
        return shown;
    };
    EXPECT_EQ(CDesktopIdle::seconds(), std::nullopt);
    EXPECT_EQ(CDesktopIdle::source(), CDesktopIdle::Source::None);
    EXPECT_TRUE(noteShown());
    desktop.idle().idleMs = 90500;
    ASSERT_TRUE(desktop.own(StandInDesktop::kIdleService));
    EXPECT_EQ(CDesktopIdle::seconds(), 90);
    EXPECT_EQ(CDesktopIdle::source(), CDesktopIdle::Source::GnomeIdleMonitor);
    EXPECT_FALSE(noteShown());
    desktop.leave(StandInDesktop::kIdleService);
}

// Set in Options as a person sets it: the page's tab, the box, the time typed.
TEST_F(DesktopServicesTest, TheRemindersSetInOptionsAreTheOnesThatCome) {
    whenShown<COptnDlg>([&](COptnDlg* options) {
        QTabBar* tabs = options->pages()->tabBar();
        EXPECT_EQ(tabs->tabText(1), "Reminders");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        EXPECT_FALSE(options->dailyBox()->isChecked()) << "off until the user sets it";
        EXPECT_FALSE(options->dailyTime()->isEnabled());
        EXPECT_TRUE(options->longTimerBox()->isChecked());
        EXPECT_EQ(options->longTimerTime()->time(), QTime(4, 0));
        QTest::mouseClick(options->dailyBox(), Qt::LeftButton, {},
                          QPoint(8, options->dailyBox()->height() / 2));
        ASSERT_TRUE(options->dailyTime()->isEnabled());
        // Tab from the box into the time selects its hour, which the typing replaces.
        QApplication::setActiveWindow(options);
        QTest::keyClick(options->dailyBox(), Qt::Key_Tab);
        ASSERT_TRUE(options->dailyTime()->hasFocus());
        QTest::keyClicks(options->dailyTime(), "1730");
        buttonOf(options, "OK")->click();
    });
    helpItem(frame, "&Options")->trigger();
    EXPECT_EQ(CAppSettings::readInt(QString::fromLatin1(CReminders::kTimeValue), -1), 17 * 60 + 30);
    EXPECT_EQ(CAppSettings::readInt(QString::fromLatin1(CReminders::kLongTimerValue), 0), 240);
    reminders().setLookInterval(50);
    setNow("2026-12-07T17:29:00Z");
    QTest::qWait(200);
    EXPECT_TRUE(desktop.notifications().notices().empty());
    setNow("2026-12-07T17:30:00Z");
    EXPECT_TRUE(noticesReach(1));
    CAppSettings::write(QString::fromLatin1(CReminders::kTimeValue), -1);
}

TEST_F(DesktopServicesTest, ALongTimerIsNoticedOnceAndStopsFromTheNotice) {
    click(input, rowShowing(input, "Reading"), hoursColumn(input));
    key(input, Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(frame->timer().running());
    reminders().setLongTimerMinutes(4 * 60);
    setNow("2026-12-07T12:59:00Z");
    reminders().look();
    setNow("2026-12-07T13:00:00Z");
    reminders().look();
    ASSERT_TRUE(noticesReach(1));
    const Notice notice = desktop.notifications().notices().front();
    EXPECT_EQ(notice.summary, "Timer on Reading has run 4:00 \u2014 still working?");
    EXPECT_EQ(notice.actions, (QStringList{"stop", "Stop", "keep", "Keep"}));
    setNow("2026-12-07T14:00:00Z");
    reminders().look();
    QTest::qWait(200);
    EXPECT_EQ(desktop.notifications().notices().size(), 1u);
    desktop.notifications().click(notice.id, "stop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->timer().running(); }, 3000));
    const std::uint16_t reading = 4;
    EXPECT_NEAR(app.document()->plan().dayHours("20261206", reading, 2), 5.0, 1e-6); // Monday
}

// Back at the computer the user hears what is furthest behind, unless a question is on screen:
// then the notice waits for the answer. The same state is not said twice.
TEST_F(DesktopServicesTest, ReturningToTheComputerRemindsOnceAndNeverDuringAQuestion) {
    reminders().setAwayMinutes(10);
    away.idle = 15 * 60;
    reminders().look();
    away.idle = 2;
    bool quietWhileAsking = false;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        reminders().look();
        QTest::qWait(300);
        quietWhileAsking = desktop.notifications().notices().empty();
        box->reject();
    });
    QMessageBox::question(frame, "Quillon", "A question of the program's");
    EXPECT_TRUE(quietWhileAsking);
    reminders().look();
    ASSERT_TRUE(noticesReach(1));
    EXPECT_TRUE(desktop.notifications().notices().front().summary.startsWith(topActivity()));
    away.idle = 15 * 60;
    reminders().look();
    away.idle = 0;
    reminders().look();
    QTest::qWait(300);
    EXPECT_EQ(desktop.notifications().notices().size(), 1u) << "nothing changed since";
}

} // namespace

#include "DesktopServices_test.moc"
