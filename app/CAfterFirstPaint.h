#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

// Runs a task right after the window's first paint, so that work the first view does not
// need waits until the user sees the plan; or after a while when no paint comes (a start in
// the tray). It runs once, and not at all when the window goes first.
class CAfterFirstPaint : public QObject {
    Q_OBJECT

public:
    CAfterFirstPaint(QWidget& window, std::function<void()> task, int mostMs);
    Q_DISABLE_COPY(CAfterFirstPaint)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runSoon();

    QWidget& m_window;
    std::function<void()> m_task;
    QTimer m_fallback;
};
