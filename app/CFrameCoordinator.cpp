#include "app/CFrameCoordinator.h"

#include "companion/CTpBttmCrdntr.h"
#include "companion/CTpBttmCrdntrHldr.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QTimer>
#include <QWidget>

namespace {

Q_LOGGING_CATEGORY(lcCoordination, "qln.coordination", QtWarningMsg)

bool isAlt(const QKeyEvent* key) {
    return key->modifiers() & Qt::AltModifier;
}

} // namespace

CFrameCoordinator::CFrameCoordinator(QWidget& window, bool launcherOrder, bool enabled,
                                     long long block)
    : QObject(&window), m_window(window),
      m_holder(std::make_unique<CTpBttmCrdntrHldr>(launcherOrder, enabled, block)),
      m_timer(new QTimer{this}) {
    m_holder->phaseChanged = [](int phase) { qCDebug(lcCoordination, "phase %d", phase); };
    qCDebug(lcCoordination, "phase %d", m_holder->phase());
    m_timer->setInterval(kTimerMs);
    connect(m_timer, &QTimer::timeout, this, &CFrameCoordinator::timerTick);
    // Before the window exists: created on top when this side starts first or coordinates.
    if (m_holder->ownFirst() || !m_holder->disabled())
        m_window.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Application-wide, as the keyboard hook is: keys reach the focus widget, not the window.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            applicationActivated();
    });
}

CFrameCoordinator::~CFrameCoordinator() {
    m_timer->stop();
    m_holder->current().setOwnOff();
}

bool CFrameCoordinator::timerRunning() const {
    return m_timer->isActive();
}

bool CFrameCoordinator::isTopmost() const {
    return m_window.windowFlags() & Qt::WindowStaysOnTopHint;
}

void CFrameCoordinator::start() {
    if (m_holder->disabled() || !m_holder->startupCheck())
        return;
    m_armed = true;
    goOnTop();
    m_timer->start();
}

void CFrameCoordinator::setTopmost(bool topmost) {
    if (isTopmost() == topmost)
        return;
    const bool shown = m_window.isVisible();
    const bool minimised = m_window.isMinimized();
    // The window shown again reports its state and activation; neither is the user's.
    m_changingFlags = true;
    m_window.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (shown && minimised)
        m_window.showMinimized(); // changing the flags hides the window
    else if (shown)
        m_window.show();
    QCoreApplication::sendPostedEvents(&m_window);
    m_changingFlags = false;
}

void CFrameCoordinator::goOnTop() {
    setTopmost(true);
    m_window.raise();
    m_holder->current().setOwnOn();
}

void CFrameCoordinator::dropFromTop() {
    setTopmost(false);
    m_holder->current().setOwnOff();
}

void CFrameCoordinator::stopTopmostPhase() {
    m_timer->stop();
    m_armed = false;
    m_holder->step();
}

void CFrameCoordinator::applyStep(int result) {
    if (result == 1)
        goOnTop();
}

void CFrameCoordinator::timerTick() {
    if (!m_armed)
        return;
    if (m_holder->timerCheck()) {
        m_armed = false;
        m_timer->stop();
        return;
    }
    setTopmost(true);
    m_window.raise();
}

void CFrameCoordinator::activated() {
    if (m_window.isMinimized())
        return; // shown again minimised after its flags changed: not the user's doing
    const int result = m_holder->activateCheck();
    if (m_holder->timerCheck())
        stopTopmostPhase();
    applyStep(result);
}

void CFrameCoordinator::applicationActivated() {
    if (m_window.isMinimized())
        return; // the program came forward, but not this window
    applyStep(m_holder->activateCheck());
    if (m_holder->timerCheck())
        stopTopmostPhase();
}

void CFrameCoordinator::clickedInside() {
    stopTopmostPhase();
    // Started in front by the launcher alone: the window is on top until the user takes
    // control, and there is no partner to hand the top to afterwards.
    if (m_holder->disabled())
        setTopmost(false);
    applyStep(m_holder->step());
}

void CFrameCoordinator::minimised() {
    dropFromTop();
    stopTopmostPhase();
}

void CFrameCoordinator::windowClosing() {
    stopTopmostPhase();
    m_holder->current().setOwnOff();
}

bool CFrameCoordinator::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride: {
        const auto* key = static_cast<QKeyEvent*>(event);
        CTpBttmCrdntr::keyEvent(key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab,
                                key->key() == Qt::Key_Escape, isAlt(key));
        break;
    }
    case QEvent::MouseButtonPress: {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == &m_window &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            clickedInside();
        break;
    }
    case QEvent::WindowActivate:
        if (watched == &m_window && !m_changingFlags)
            activated();
        break;
    case QEvent::WindowStateChange:
        if (watched == &m_window && m_window.isMinimized() && !m_changingFlags &&
            !(static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized))
            minimised();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
