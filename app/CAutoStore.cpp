#include "app/CAutoStore.h"

CAutoStore::CAutoStore(std::function<std::optional<std::string>()> store, QObject* parent)
    : QObject(parent), m_store(std::move(store)) {
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, [this] { storeNow(); });
}

void CAutoStore::planChanged(bool modified) {
    if (!modified)
        m_wait.stop(); // back to what is stored: nothing to do
    else if (!m_wait.isActive() || m_wait.remainingTime() > m_delayMs)
        m_wait.start(m_delayMs); // a change after a failed store tries again soon
}

bool CAutoStore::storeNow() {
    m_wait.stop();
    const std::optional<std::string> why = m_store();
    if (!why) {
        m_wait.start(m_delayMs);
        return false;
    }
    const QString failure =
        QString::fromStdString(*why).replace(QLatin1Char('\n'), QStringLiteral(": "));
    if (!failure.isEmpty())
        m_wait.start(kRetryMs);
    if (failure != m_failure) {
        m_failure = failure;
        emit failureChanged(m_failure);
    }
    return failure.isEmpty();
}
