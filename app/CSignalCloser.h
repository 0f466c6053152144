#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (the end of a desktop session, a shutdown) into an orderly
// close of the main window, so that the plan is stored rather than lost.
class CSignalCloser : public QObject {
    Q_OBJECT

public:
    // Catches the signals from the first moment, before there is an application object; what
    // arrives is acted on once a closer exists and the event loop runs.
    static void catchSignals();
    // The action runs on the user interface thread for each signal.
    explicit CSignalCloser(std::function<void()> close);
    ~CSignalCloser() override;
    Q_DISABLE_COPY(CSignalCloser)

private:
    std::function<void()> m_close;
    QSocketNotifier* m_notifier = nullptr;
};
