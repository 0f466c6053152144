#pragma once

#include "model/CLiveTimer.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

class CHrplDoc;

// The live timer of the open plan: started on an activity, shown while it runs, stopped into
// the ledger. Its state is kept beside the plan from the moment it starts, so that it outlives
// the program.
class CTimerControl : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kNotKept =
        "The timer could not be started because its state could not be kept beside the plan:";
    static constexpr const char* kDamaged =
        "The file of a running timer beside the plan is damaged; it was removed and no time was "
        "added:";
    static constexpr const char* kUnderAMinute =
        "The timer ran for less than a minute: no time was added.";

    explicit CTimerControl(CHrplDoc& document, QObject* parent = nullptr);

    // The plan the timer belongs to; its state file lies beside it.
    void setPlanPath(const std::string& path) { m_planPath = path; }
    bool running() const { return m_state.has_value(); }
    std::int32_t activity() const { return m_state ? m_state->activityId : -1; }
    long long elapsedMinutes() const;
    // "Reading 1:30", the activity's full name and the time so far; "" when none runs.
    QString summary() const;
    QString startedLocalTime() const;

    // Starts on the activity, stopping a running timer first. A division or an item that is
    // gone gives its message and starts nothing.
    bool start(std::int32_t itemId);
    // Adds the time so far to the activity and removes the state file.
    void stop();
    void toggle(std::int32_t itemId);
    // A timer found beside the plan: kept running as it is, or dropped without adding time.
    void resume(const CLiveTimer::State& state);
    void discard();
    // The plan is stored under another name: the state file follows it.
    void movePlan(const std::string& path);
    // The timer kept beside the plan, if any; a damaged one is said and removed.
    std::optional<CLiveTimer::State> findKept();

    // Idle time: after this many minutes without input (0: never) the user is asked on return
    // whether the minutes away count. The desktop is asked for its idle time (D-Bus screen
    // saver), or the test's stand-in; none where the desktop cannot tell.
    static constexpr const char* kIdleValue = "idleMinutes";
    static constexpr int kDefaultIdleMinutes = 15;
    void setIdleLimit(int minutes) { m_idleLimitMinutes = minutes; }
    std::function<std::optional<long long>()> idleSeconds;
    // Looks at the desktop's idle time now (the clock does every 15 seconds).
    void checkIdle();

signals:
    // Started, stopped, or another minute passed.
    void changed();
    // Time was added to the plan.
    void hoursAdded();

private:
    void tick();
    static std::optional<long long> desktopIdleSeconds();

    CHrplDoc& m_document;
    std::string m_planPath;
    std::optional<CLiveTimer::State> m_state;
    QTimer m_clock;
    long long m_shownMinutes = -1;
    int m_idleLimitMinutes = kDefaultIdleMinutes;
    std::optional<qlnclock::Instant> m_idleSince;
    int m_ticks = 0;
};
