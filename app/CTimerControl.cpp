#include "app/CTimerControl.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "views/PlanText.h"

#include <QDateTime>

#include <algorithm>

namespace {

constexpr std::string_view kNothingAdded = " No time was added.";

// A refusal's reason, as the opening of a question about the timer.
QString reasonText(const char* reason) {
    std::string_view text{reason};
    if (text.ends_with(kNothingAdded))
        text.remove_suffix(kNothingAdded.size());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CTimerControl::CTimerControl(CHrplDoc& document, QObject* parent)
    : QObject(parent), m_document(document) {
    // The shown minutes follow the clock, which a test or a demonstration may move at will.
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &CTimerControl::tick);
}

void CTimerControl::checkIdle() {
    if (!m_state || m_idleLimitMinutes <= 0 || m_asking)
        return;
    const std::optional<long long> idle = m_host->idleSeconds();
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
    // Back at the computer: the minutes away go only if the user says so; a question left
    // unanswered (a session's end, the box closed) keeps them.
    const qlnclock::Instant since = std::max(*m_idleSince, m_state->started);
    const qlnclock::Instant back = now - std::chrono::seconds{*idle};
    m_idleSince.reset();
    const long long away = std::chrono::floor<std::chrono::minutes>(back - since).count();
    if (away <= 0)
        return;
    const std::string question = "You were away from the computer for " +
                                 qlnclock::hoursMinutes(away) + " while the timer ran on " +
                                 summary().toStdString() +
                                 ". Take these minutes out of the timer? (No keeps them.)";
    m_asking = true;
    const bool takeOut = m_document.plan().app().messages().askYesNo(question);
    m_asking = false;
    if (!takeOut || !m_state)
        return;
    m_state->started += back - since;
    CLiveTimer::save(*m_state);
    m_shownMinutes = -1;
    tick();
}

void CTimerControl::checkClock() {
    if (!m_state || m_asking)
        return;
    const qlnclock::Instant now = qlnclock::now();
    const qlnclock::Instant seen = m_lastSeen;
    m_lastSeen = now;
    if (now <= seen + kClockJump && now >= seen - kClockBack)
        return;
    // The computer slept, or its clock was set: whether that time counts is the user's call.
    Question question;
    question.text = QStringLiteral("The clock moved from ") + localTime(seen) +
                    QStringLiteral(" to ") + localTime(now) +
                    QStringLiteral(" while the timer ran on ") + summary() +
                    QStringLiteral(", started ") + startedLocalTime() +
                    QStringLiteral(". What should become of it?");
    question.upToNow = now >= m_state->started;
    question.until = question.upToNow;
    question.earliest = m_state->started;
    question.latest = now;
    question.suggested = std::clamp(seen, m_state->started, now);
    askAndSettle(question);
}

long long CTimerControl::elapsedMinutes() const {
    return m_state ? CLiveTimer::elapsedMinutes(*m_state, qlnclock::now()) : 0;
}

QString CTimerControl::activityName() const {
    if (!m_state)
        return {};
    const CActivityItem* item = m_document.plan().findItem(m_state->activityId);
    return item ? plantext::toDisplay(m_document.plan().fullName(*item))
                : QString::number(m_state->activityId);
}

QString CTimerControl::summary() const {
    if (!m_state)
        return {};
    return activityName() + QLatin1Char(' ') +
           QString::fromStdString(qlnclock::hoursMinutes(elapsedMinutes()));
}

QString CTimerControl::localTime(qlnclock::Instant instant) {
    return QDateTime::fromSecsSinceEpoch(instant.time_since_epoch().count())
        .toLocalTime()
        .toString(QStringLiteral("ddd, MMM dd yyyy, hh:mm"));
}

QString CTimerControl::startedLocalTime() const {
    return m_state ? localTime(m_state->started) : QString();
}

bool CTimerControl::start(std::int32_t itemId) {
    CQLData& plan = m_document.plan();
    CMessageSink& messages = plan.app().messages();
    const CActivityItem* item = plan.findItem(itemId);
    if (!item || item->isDetached())
        return false;
    if (!item->takesHours()) {
        messages.message(CHoursLedger::kDivisionInput);
        return false;
    }
    if (m_state && !stop())
        return false;
    const CLiveTimer::State state{m_document.planPath(), itemId, qlnclock::now(),
                                  plan.fullName(*item)};
    if (!CLiveTimer::save(state)) {
        messages.message(std::string(kNotKept) + "\n" + CAtomicFile::lastError());
        return false;
    }
    // The file now holds this timer: the one stopped before it lives on in the plan alone.
    if (m_storedLater == m_document.planPath())
        m_storedLater.reset();
    resume(state);
    return true;
}

void CTimerControl::resume(const CLiveTimer::State& state) {
    m_state = state;
    m_state->plan = m_document.planPath();
    m_shownMinutes = elapsedMinutes();
    m_lastSeen = qlnclock::now();
    m_clock.start();
    emit changed();
}

bool CTimerControl::stop() {
    if (!m_state)
        return true;
    const qlnclock::Instant now = qlnclock::now();
    if (const char* reason = CLiveTimer::refusal(m_document.plan(), *m_state, now))
        return askAndSettle(questionAbout(reason));
    return finish(*m_state, now);
}

// The time reaches the plan, then the stored plan, and only then does the timer's file go:
// killed at any moment, the program leaves the hours in one of the two.
bool CTimerControl::finish(CLiveTimer::State state, qlnclock::Instant ended) {
    m_state.reset();
    m_clock.stop();
    const CLiveTimer::Stop result = CLiveTimer::addTime(m_document.plan(), state, ended);
    if (result == CLiveTimer::Stop::Refused) {
        resume(state); // said why; the timer is not lost for it
        return false;
    }
    if (result == CLiveTimer::Stop::Added && !m_host->storePlanNow())
        m_storedLater = state.plan;
    else
        CLiveTimer::discard(state.plan);
    if (result == CLiveTimer::Stop::UnderAMinute)
        m_document.plan().app().messages().message(kUnderAMinute);
    emit changed();
    if (result == CLiveTimer::Stop::Added)
        emit hoursAdded();
    return true;
}

CTimerControl::Question CTimerControl::questionAbout(const char* reason) const {
    Question question;
    question.text = reasonText(reason) + QStringLiteral("\n\nWhat should become of the timer on ") +
                    summary() + QStringLiteral(", started ") + startedLocalTime() +
                    QStringLiteral("?");
    // Only a day the ledger cannot take yet leaves a time of the user's to add.
    const bool untilToday = std::string_view{reason} == CLiveTimer::kAfterToday;
    question.upToNow = false;
    question.until = untilToday;
    if (m_state) {
        question.earliest = m_state->started;
        question.latest = std::max(m_state->started, qlnclock::now());
        question.suggested = question.earliest;
    }
    return question;
}

bool CTimerControl::askAndSettle(const Question& question) {
    if (m_asking)
        return false;
    m_asking = true;
    const Answer answer = m_host->askAboutTimer(question);
    m_asking = false;
    m_lastSeen = qlnclock::now(); // the time the question was up is no jump
    return settle(answer);
}

bool CTimerControl::settle(const Answer& answer) {
    if (!m_state)
        return true;
    switch (answer.choice) {
    case Choice::Discard:
        discard();
        return true;
    case Choice::AddUpToNow:
    case Choice::AddUntil: {
        const qlnclock::Instant ended =
            answer.choice == Choice::AddUntil ? answer.until : qlnclock::now();
        if (const char* reason = CLiveTimer::refusal(m_document.plan(), *m_state, ended)) {
            m_document.plan().app().messages().message(reasonText(reason).toStdString() +
                                                       " The timer keeps running.");
            return false;
        }
        return finish(*m_state, ended);
    }
    default:
        return false;
    }
}

void CTimerControl::toggle(std::int32_t itemId) {
    if (m_state)
        stop();
    else
        start(itemId);
}

void CTimerControl::discard() {
    CLiveTimer::discard(m_document.planPath());
    m_state.reset();
    m_clock.stop();
    emit changed();
}

void CTimerControl::followPlan() {
    const std::string& path = m_document.planPath();
    if (!m_state || m_state->plan == path)
        return;
    const std::string old = m_state->plan;
    m_state->plan = path;
    if (CLiveTimer::save(*m_state))
        CLiveTimer::discard(old);
}

void CTimerControl::planStored() {
    if (!m_storedLater)
        return;
    CLiveTimer::discard(*m_storedLater);
    m_storedLater.reset();
}

std::optional<CLiveTimer::State> CTimerControl::findKept() {
    std::string problem;
    std::optional<CLiveTimer::State> kept = CLiveTimer::load(m_document.planPath(), &problem);
    if (!problem.empty())
        m_document.plan().app().messages().message(problem);
    return kept;
}

void CTimerControl::offerKept() {
    const std::optional<CLiveTimer::State> kept = findKept();
    if (!kept)
        return;
    resume(*kept);
    const qlnclock::Instant now = qlnclock::now();
    if (const char* reason = CLiveTimer::refusal(m_document.plan(), *m_state, now)) {
        askAndSettle(questionAbout(reason));
        return;
    }
    Question question;
    question.text = QString::fromLatin1(kKeptSince) + startedLocalTime() + QStringLiteral(" on ") +
                    activityName() + QStringLiteral(". What should become of it?");
    question.earliest = m_state->started;
    question.latest = now;
    question.suggested = now;
    askAndSettle(question);
}

void CTimerControl::tick() {
    checkClock();
    if (++m_ticks % 15 == 0)
        checkIdle();
    const long long minutes = elapsedMinutes();
    if (minutes == m_shownMinutes)
        return;
    m_shownMinutes = minutes;
    emit changed();
}
