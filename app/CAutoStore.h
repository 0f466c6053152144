#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

// Stores the plan a moment after it changed, so that a crash, a kill or a power cut loses at
// most the last few seconds of work. The first change starts the wait and later ones do not
// prolong it, so steady typing is stored as often. A store that fails is said, without a box
// that would break into the typing every few seconds, and tried again a little later, or as
// soon as the next change.
class CAutoStore : public QObject {
    Q_OBJECT

public:
    static constexpr int kDelayMs = 2000;
    static constexpr int kRetryMs = 30000;

    // store: stores the plan; "" when it was stored, why not otherwise, none when a store
    // cannot even be tried now (a plan half loaded) and is tried again shortly.
    explicit CAutoStore(std::function<std::optional<std::string>()> store,
                        QObject* parent = nullptr);
    Q_DISABLE_COPY(CAutoStore)

    // The plan changed; `modified` says whether it now differs from the stored plan.
    void planChanged(bool modified);
    // Stores now instead of after the wait; true when the plan is stored.
    bool storeNow();
    bool pending() const { return m_wait.isActive(); }
    void setDelay(int milliseconds) { m_delayMs = milliseconds; }
    // Why the last store failed; "" after one that succeeded.
    const QString& failure() const { return m_failure; }

signals:
    // A store failed (why), or succeeded after one that failed ("").
    void failureChanged(const QString& why);

private:
    std::function<std::optional<std::string>()> m_store;
    QTimer m_wait;
    int m_delayMs = kDelayMs;
    QString m_failure;
};
