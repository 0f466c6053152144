#include "app/CReminders.h"

#include "app/CAppSettings.h"
#include "app/CNextActivity.h"
#include "app/CNotifier.h"
#include "app/CTimerControl.h"
#include "model/CHrplDoc.h"

#include <QApplication>
#include <QDateTime>

namespace {

QDateTime localTime(qlnclock::Instant instant) {
    return QDateTime::fromSecsSinceEpoch(instant.time_since_epoch().count(), Qt::LocalTime);
}

} // namespace

CReminders::CReminders(CTimerControl& timer, CHrplDoc& document, CNotifier& notifier,
                       QObject* parent)
    : QObject(parent), m_timer(timer), m_document(document), m_notifier(notifier),
      m_lastLook(qlnclock::now()) {
    m_look.setInterval(kLookMs);
    connect(&m_look, &QTimer::timeout, this, &CReminders::look);
    connect(&m_notifier, &CNotifier::actionInvoked, this, &CReminders::onAction);
    m_look.start();
}

void CReminders::readSettings() {
    m_dailyMinute = CAppSettings::readInt(QString::fromLatin1(kTimeValue), -1);
    m_longTimerMinutes =
        CAppSettings::readInt(QString::fromLatin1(kLongTimerValue), kDefaultLongTimerMinutes);
    m_awayMinutes = CAppSettings::readInt(QString::fromLatin1(CTimerControl::kIdleValue),
                                          CTimerControl::kDefaultIdleMinutes);
}

void CReminders::look() {
    const qlnclock::Instant now = qlnclock::now();
    // A time of day that passed while the computer slept is due on waking.
    if (dailyTimePassed(now))
        m_behindDue = true;
    m_lastLook = now;
    // The timer asks its own question on the return while it runs.
    if (returnedFromAway() && !m_timer.running())
        m_behindDue = true;
    if (asking())
        return;
    if (m_behindDue)
        remindBehind();
    remindLongTimer();
}

bool CReminders::dailyTimePassed(qlnclock::Instant now) const {
    if (m_dailyMinute < 0)
        return false;
    const QDateTime local = localTime(now);
    const QDateTime at{local.date(), QTime{m_dailyMinute / 60 % 24, m_dailyMinute % 60}};
    const qlnclock::Instant due{std::chrono::seconds{at.toSecsSinceEpoch()}};
    return m_lastLook < due && due <= now;
}

bool CReminders::returnedFromAway() {
    if (m_awayMinutes <= 0)
        return false;
    const std::optional<long long> idle = m_timer.host().idleSeconds();
    if (!idle)
        return false;
    if (*idle >= m_awayMinutes * 60LL) {
        m_away = true;
        return false;
    }
    const bool returned = m_away;
    m_away = false;
    return returned;
}

void CReminders::remindBehind() {
    m_behindDue = false;
    const std::optional<CNextActivity> next = CNextActivity::of(m_document.plan());
    if (!next)
        return;
    const QString state = QStringLiteral("%1 %2 %3")
                              .arg(next->id)
                              .arg(next->minutesToPlan)
                              .arg(localTime(qlnclock::now()).date().toString(Qt::ISODate));
    if (state == m_behindSaid)
        return;
    m_behindSaid = state;
    m_behindActivity = next->id;
    m_notifier.notify(QString::fromLatin1(kBehind),
                      next->fullName + QStringLiteral(" is furthest behind: ") + next->hoursText() +
                          QStringLiteral(" to plan this week"),
                      QStringLiteral("Start a timer on it, or show it in the plan."),
                      {{QStringLiteral("start"), QStringLiteral("Start Timer")},
                       {QStringLiteral("show"), QStringLiteral("Show")}});
}

void CReminders::remindLongTimer() {
    const std::optional<qlnclock::Instant> started = m_timer.started();
    if (!started || m_longTimerMinutes <= 0 || m_longTimerSaidFor == started)
        return;
    const long long minutes = m_timer.elapsedMinutes();
    if (minutes < m_longTimerMinutes)
        return;
    m_longTimerSaidFor = started;
    m_notifier.notify(QString::fromLatin1(kLongTimer),
                      QStringLiteral("Timer on ") + m_timer.activityName() +
                          QStringLiteral(" has run ") +
                          QString::fromStdString(qlnclock::hoursMinutes(minutes)) +
                          QStringLiteral(" \u2014 still working?"),
                      QStringLiteral("Stop adds the time to the activity."),
                      {{QStringLiteral("stop"), QStringLiteral("Stop")},
                       {QStringLiteral("keep"), QStringLiteral("Keep")}});
}

void CReminders::onAction(const QString& kind, const QString& key) {
    if (kind == QLatin1String(kBehind) && key == QLatin1String("start"))
        m_timer.start(m_behindActivity);
    else if (kind == QLatin1String(kBehind)) // "show", or a click on the notice itself
        emit showRequested(m_behindActivity);
    else if (kind == QLatin1String(kLongTimer) && key == QLatin1String("stop"))
        m_timer.stop();
    // Keep: the timer runs on, and this run is not asked about again.
}

// A question on screen is the user's to answer first.
bool CReminders::asking() {
    return QApplication::activeModalWidget() != nullptr;
}
