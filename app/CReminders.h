#pragma once

#include "core/QlnClock.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <optional>

class CHrplDoc;
class CNotifier;
class CTimerControl;

// What the program reminds the user of through desktop notifications: at a time of day and on
// the return to the computer, the activity furthest behind its plan; once per timer, a timer
// that has run longer than its limit. A notice waits while the program asks a question, and
// one that would say the same as the last is not sent again.
class CReminders : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kTimeValue = "reminderMinute";        // of the day; -1: none
    static constexpr const char* kLongTimerValue = "longTimerMinutes"; // 0: none
    static constexpr int kDefaultLongTimerMinutes = 240;
    static constexpr int kLookMs = 15000;
    static constexpr const char* kBehind = "behind";
    static constexpr const char* kLongTimer = "long-timer";

    CReminders(CTimerControl& timer, CHrplDoc& document, CNotifier& notifier,
               QObject* parent = nullptr);

    void setDailyMinute(int minute) { m_dailyMinute = minute; }
    void setLongTimerMinutes(int minutes) { m_longTimerMinutes = minutes; }
    // The user counts as away after this long without input (0: never).
    void setAwayMinutes(int minutes) { m_awayMinutes = minutes; }
    void setLookInterval(int milliseconds) { m_look.setInterval(milliseconds); }
    // Reads the settings that Options stores.
    void readSettings();
    // The time of day, a return to the computer, a timer run long: each notified when due.
    void look();

signals:
    // "Show" on a notice about this activity.
    void showRequested(std::int32_t activity);

private:
    void onAction(const QString& kind, const QString& key);
    bool dailyTimePassed(qlnclock::Instant now) const;
    bool returnedFromAway();
    void remindBehind();
    void remindLongTimer();
    static bool asking();

    CTimerControl& m_timer;
    CHrplDoc& m_document;
    CNotifier& m_notifier;
    QTimer m_look;
    int m_dailyMinute = -1;
    int m_longTimerMinutes = kDefaultLongTimerMinutes;
    int m_awayMinutes = 0;
    qlnclock::Instant m_lastLook;
    bool m_away = false;
    bool m_behindDue = false;
    QString m_behindSaid; // the state the last notice about the furthest behind told
    std::int32_t m_behindActivity = -1;
    std::optional<qlnclock::Instant> m_longTimerSaidFor; // the start of the timer it was about
};
