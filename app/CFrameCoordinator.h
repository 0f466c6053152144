#pragma once

#include <QObject>

#include <memory>

class CTpBttmCrdntrHldr;
class QTimer;
class QWidget;

// Keeps the main window above the companion's while both start: the window stays on top,
// re-asserted every second, until the user takes control (a click, an activation, Alt+Tab or
// Alt+Esc, minimising, help). The holder decides; this class moves the window and watches the
// user. Alt+Tab is seen only when the desktop passes it to the program.
class CFrameCoordinator : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimerMs = 1000;

    CFrameCoordinator(QWidget& window, bool launcherOrder, bool enabled, long long block);
    ~CFrameCoordinator() override;
    Q_DISABLE_COPY(CFrameCoordinator)

    CTpBttmCrdntrHldr& holder() { return *m_holder; }
    bool armed() const { return m_armed; }
    bool timerRunning() const;
    bool isTopmost() const;

    // The end of the window's creation: arm the topmost phase when this side starts in front.
    void start();
    void goOnTop();
    void dropFromTop();
    void stopTopmostPhase();
    void applyStep(int result);
    // What the window's events ask of the coordination.
    void timerTick();
    void activated();
    void applicationActivated();
    void clickedInside();
    void minimised();
    void windowClosing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setTopmost(bool topmost);

    QWidget& m_window;
    std::unique_ptr<CTpBttmCrdntrHldr> m_holder;
    QTimer* m_timer;
    bool m_armed = true;
    bool m_changingFlags = false;
};
