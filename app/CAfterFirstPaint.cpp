#include "app/CAfterFirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

CAfterFirstPaint::CAfterFirstPaint(QWidget& window, std::function<void()> task, int mostMs)
    : QObject(&window), m_window(window), m_task(std::move(task)) {
    qApp->installEventFilter(this);
    m_fallback.setSingleShot(true);
    connect(&m_fallback, &QTimer::timeout, this, &CAfterFirstPaint::runSoon);
    m_fallback.start(mostMs);
}

bool CAfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == &m_window)
            runSoon();
    }
    return QObject::eventFilter(watched, event);
}

// After the paint is drawn, not inside it.
void CAfterFirstPaint::runSoon() {
    qApp->removeEventFilter(this);
    m_fallback.stop();
    if (!m_task)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            const std::function<void()> task = std::exchange(m_task, {});
            deleteLater();
            task();
        },
        Qt::QueuedConnection);
}
