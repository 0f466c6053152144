#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

// Turns SIGTERM, SIGINT and SIGHUP (the end of a desktop session, a shutdown) into an orderly
// close of the main window, so that the plan is stored rather than lost.
class CSignalCloser : public QObject {
public:
    explicit CSignalCloser(QWidget* window);
    ~CSignalCloser() override;
    Q_DISABLE_COPY(CSignalCloser)

private:
    QWidget* m_window;
    QSocketNotifier* m_notifier = nullptr;
};
