#include "app/CTimerPresenter.h"

#include "app/CAutoStore.h"
#include "app/CDesktopIdle.h"
#include "app/CFrameMenus.h"
#include "app/CHrplApp.h"
#include "app/CMainFrame.h"
#include "app/CTimerControl.h"
#include "app/CTimerQuestionDlg.h"
#include "app/CToolbarImages.h"
#include "core/CMessageSink.h"
#include "core/QlnClock.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CPriorityComputation.h"
#include "views/CHrplView.h"
#include "views/CInputView.h"
#include "views/PlanText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QSystemTrayIcon>

#include <algorithm>
#include <cmath>

CTimerPresenter::CTimerPresenter(CMainFrame& frame, CTimerControl& timer, CHrplDoc& document)
    : m_frame(frame), m_timer(timer), m_document(document) {
    m_timer.setHost(this);
}

// The timer outlives the window's parts by the time the window's children go.
CTimerPresenter::~CTimerPresenter() {
    m_timer.setHost(nullptr);
}

CTimerHost::Answer CTimerPresenter::askAboutTimer(const Question& question) {
    CMessageSink& messages = m_frame.application().core().messages();
    if (!messages.unattended())
        return CTimerQuestionDlg::ask(question, &m_frame);
    messages.message(question.text.toStdString() + " No one answered: the timer keeps running.");
    return {};
}

bool CTimerPresenter::storePlanNow() {
    return m_frame.autoStore().storeNow();
}

std::optional<long long> CTimerPresenter::idleSeconds() {
    return CDesktopIdle::seconds();
}

void CTimerPresenter::build() {
    m_label = new QLabel{&m_frame};
    m_frame.statusBar()->addPermanentWidget(m_label);
    m_label->hide();
    QObject::connect(&m_timer, &CTimerControl::changed, &m_frame, [this] { show(); });
    // Hours only: the rows stay, their figures change, as after typed hours.
    QObject::connect(&m_timer, &CTimerControl::hoursAdded, &m_frame, [this] {
        if (m_frame.view())
            m_frame.view()->input().RefreshHourColumns(m_document);
    });
    if (QSystemTrayIcon::isSystemTrayAvailable())
        buildTray();
}

void CTimerPresenter::buildTray() {
    CMainFrame* frame = &m_frame;
    m_tray = new QSystemTrayIcon{CToolbarImages::icon(CToolbarImages::Timer), frame};
    auto* menu = new QMenu{frame};
    menu->addAction(QStringLiteral("Start on the next activity"), frame,
                    [this] { startOnNextActivity(); });
    menu->addAction(QStringLiteral("Stop"), frame, [this] { m_timer.stop(); });
    menu->addAction(QStringLiteral("Show window"), frame, [frame] {
        frame->showNormal();
        frame->raise();
        frame->activateWindow();
    });
    menu->addAction(QStringLiteral("Quit"), frame, &QWidget::close);
    m_tray->setContextMenu(menu);
    m_tray->show();
}

std::int32_t CTimerPresenter::nextActivity(QString* text) const {
    CQLData& plan = m_document.plan();
    if (!plan.root())
        return -1;
    const std::vector<std::uint16_t> order = CPriorityComputation{plan}.activityPriorityOrder();
    const CActivityItem* next = order.empty() ? nullptr : plan.findItem(order.front());
    if (!next)
        return -1;
    if (text)
        *text = QStringLiteral("Next: ") + plantext::toDisplay(plan.fullName(*next)) +
                QStringLiteral(" \u2014 ") +
                QString::fromStdString(
                    qlnclock::hoursMinutes(std::llround(std::max(0.0, next->hoursToSpend) * 60))) +
                QStringLiteral(" to plan");
    return next->id;
}

void CTimerPresenter::toggle() {
    CHrplView* view = m_frame.view();
    if (!view)
        return;
    const std::int32_t item = view->activeItem();
    if (!m_timer.running() && item < 0) {
        m_frame.application().core().messages().message(kNoActivity);
        return;
    }
    m_timer.toggle(item);
}

void CTimerPresenter::show() {
    const bool running = m_timer.running();
    m_frame.menus()
        .toolbarAction(CToolbarImages::Timer)
        ->setText(running ? QStringLiteral("Stop Timer") : QStringLiteral("Start Timer"));
    m_label->setText(QStringLiteral("Timer: ") + m_timer.summary());
    m_label->setVisible(running);
    if (m_frame.view())
        m_frame.view()->markTimedItem(m_timer.activity());
    if (m_tray)
        m_tray->setToolTip(trayText());
    m_frame.showHistory();
}

QString CTimerPresenter::trayText() const {
    QString next;
    nextActivity(&next);
    return (m_timer.running() ? QStringLiteral("Timer: ") + m_timer.summary()
                              : QStringLiteral("No timer runs")) +
           QLatin1Char('\n') + next;
}

void CTimerPresenter::startOnNextActivity() {
    if (const std::int32_t next = nextActivity(nullptr); next >= 0)
        m_timer.start(next);
}

void CTimerPresenter::offerKept() {
    m_timer.offerKept();
}
