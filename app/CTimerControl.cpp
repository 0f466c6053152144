#include "app/CTimerControl.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "views/PlanText.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDateTime>

CTimerControl::CTimerControl(CHrplDoc& document, QObject* parent)
    : QObject(parent), m_document(document) {
    // The shown minutes follow the clock, which a test or a demonstration may move at will.
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &CTimerControl::tick);
    idleSeconds = &CTimerControl::desktopIdleSeconds;
}

std::optional<long long> CTimerControl::desktopIdleSeconds() {
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

void CTimerControl::checkIdle() {
    if (!m_state || m_idleLimitMinutes <= 0 || !idleSeconds)
        return;
    const std::optional<long long> idle = idleSeconds();
    if (!idle)
        return;
    const qlnclock::Instant now = qlnclock::now();
    if (*idle >= m_idleLimitMinutes * 60LL) {
        if (!m_idleSince)
            m_idleSince = now - std::chrono::seconds{*idle};
        return;
    }
    if (!m_idleSince)
        return;
    // Back at the computer: the minutes away count only if the user says so.
    const qlnclock::Instant since = std::max(*m_idleSince, m_state->started);
    const qlnclock::Instant back = now - std::chrono::seconds{*idle};
    m_idleSince.reset();
    const long long away = std::chrono::floor<std::chrono::minutes>(back - since).count();
    if (away <= 0)
        return;
    const std::string question = "You were away from the computer for " +
                                 qlnclock::hoursMinutes(away) + " while the timer ran on " +
                                 summary().toStdString() +
                                 ". Keep these minutes in the timer? (No takes them out.)";
    if (m_document.plan().app().messages().askYesNo(question) || !m_state)
        return;
    m_state->started += back - since;
    CLiveTimer::save(*m_state);
    m_shownMinutes = -1;
    tick();
}

long long CTimerControl::elapsedMinutes() const {
    return m_state ? CLiveTimer::elapsedMinutes(*m_state, qlnclock::now()) : 0;
}

QString CTimerControl::summary() const {
    if (!m_state)
        return {};
    const CActivityItem* item = m_document.plan().findItem(m_state->activityId);
    const QString name = item ? plantext::toDisplay(m_document.plan().fullName(*item))
                              : QString::number(m_state->activityId);
    return name + QLatin1Char(' ') +
           QString::fromStdString(qlnclock::hoursMinutes(elapsedMinutes()));
}

QString CTimerControl::startedLocalTime() const {
    if (!m_state)
        return {};
    const auto seconds = m_state->started.time_since_epoch().count();
    return QDateTime::fromSecsSinceEpoch(seconds).toLocalTime().toString(
        QStringLiteral("ddd, MMM dd yyyy, hh:mm"));
}

bool CTimerControl::start(std::int32_t itemId) {
    CQLData& plan = m_document.plan();
    CMessageSink& messages = plan.app().messages();
    const CActivityItem* item = plan.findItem(itemId);
    if (!item || item->isDetached())
        return false;
    if (item->isDivision()) {
        messages.message(CHoursLedger::kDivisionInput);
        return false;
    }
    if (m_state)
        stop();
    const CLiveTimer::State state{m_planPath, itemId, qlnclock::now()};
    if (!CLiveTimer::save(state)) {
        messages.message(std::string(kNotKept) + "\n" + CAtomicFile::lastError());
        return false;
    }
    resume(state);
    return true;
}

void CTimerControl::resume(const CLiveTimer::State& state) {
    m_state = state;
    m_state->plan = m_planPath;
    m_shownMinutes = elapsedMinutes();
    m_clock.start();
    emit changed();
}

void CTimerControl::stop() {
    if (!m_state)
        return;
    const CLiveTimer::State state = *m_state;
    m_state.reset();
    m_clock.stop();
    const CLiveTimer::Stop result = CLiveTimer::addTime(m_document.plan(), state, qlnclock::now());
    CLiveTimer::discard(state.plan);
    if (result == CLiveTimer::Stop::UnderAMinute)
        m_document.plan().app().messages().message(kUnderAMinute);
    emit changed();
    if (result == CLiveTimer::Stop::Added)
        emit hoursAdded();
}

void CTimerControl::toggle(std::int32_t itemId) {
    if (m_state)
        stop();
    else
        start(itemId);
}

void CTimerControl::discard() {
    CLiveTimer::discard(m_planPath);
    m_state.reset();
    m_clock.stop();
    emit changed();
}

void CTimerControl::movePlan(const std::string& path) {
    if (path == m_planPath)
        return;
    const std::string old = m_planPath;
    m_planPath = path;
    if (!m_state)
        return;
    m_state->plan = path;
    if (CLiveTimer::save(*m_state))
        CLiveTimer::discard(old);
}

std::optional<CLiveTimer::State> CTimerControl::findKept() {
    bool damaged = false;
    std::optional<CLiveTimer::State> kept = CLiveTimer::load(m_planPath, &damaged);
    if (damaged) {
        m_document.plan().app().messages().message(std::string(kDamaged) + "\n" +
                                                   CLiveTimer::sidecarPath(m_planPath));
        CLiveTimer::discard(m_planPath);
    }
    return kept;
}

void CTimerControl::tick() {
    if (++m_ticks % 15 == 0)
        checkIdle();
    const long long minutes = elapsedMinutes();
    if (minutes == m_shownMinutes)
        return;
    m_shownMinutes = minutes;
    emit changed();
}
