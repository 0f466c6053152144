#include "app/CTimerPresenter.h"

#include "app/CAutoStore.h"
#include "app/CDesktopIdle.h"
#include "app/CFrameMenus.h"
#include "app/CHrplApp.h"
#include "app/CMainFrame.h"
#include "app/CNextActivity.h"
#include "app/CNotifier.h"
#include "app/CReminders.h"
#include "app/CTimerControl.h"
#include "app/CTimerQuestionDlg.h"
#include "app/CToolbarImages.h"
#include "app/CTrayWatch.h"
#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "views/CHrplView.h"
#include "views/CInputView.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QSystemTrayIcon>

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
    m_notifier = new CNotifier{&m_frame};
    m_reminders = new CReminders{m_timer, m_document, *m_notifier, &m_frame};
    m_reminders->readSettings();
    QObject::connect(m_reminders, &CReminders::showRequested, &m_frame,
                     [this](std::int32_t activity) { showActivity(activity); });
    buildTrayMenu();
    m_trayWatch = new CTrayWatch{&m_frame};
    QObject::connect(m_trayWatch, &CTrayWatch::trayReady, &m_frame, [this] { makeTrayIcon(); });
    QObject::connect(m_trayWatch, &CTrayWatch::trayGone, &m_frame, [this] {
        delete m_tray;
        m_tray = nullptr;
    });
    if (m_trayWatch->ready())
        makeTrayIcon();
}

// Made anew each time a tray host comes: a host that restarted knows nothing of the old icon.
void CTimerPresenter::makeTrayIcon() {
    delete m_tray;
    m_tray = new QSystemTrayIcon{CToolbarImages::icon(CToolbarImages::Timer), &m_frame};
    m_tray->setContextMenu(m_trayMenu);
    m_tray->setToolTip(trayText());
    m_tray->show();
}

void CTimerPresenter::showActivity(std::int32_t activity) {
    m_frame.showNormal();
    m_frame.raise();
    m_frame.activateWindow();
    if (m_frame.view() && activity >= 0)
        m_frame.view()->input().showItem(activity);
}

void CTimerPresenter::buildTrayMenu() {
    CMainFrame* frame = &m_frame;
    auto* menu = new QMenu{frame};
    m_trayMenu = menu;
    menu->addAction(QStringLiteral("Start on the next activity"), frame,
                    [this] { startOnNextActivity(); });
    menu->addAction(QStringLiteral("Stop"), frame, [this] { m_timer.stop(); });
    menu->addAction(QStringLiteral("Show window"), frame, [this] { showActivity(-1); });
    menu->addAction(QStringLiteral("Quit"), frame, &QWidget::close);
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
    const std::optional<CNextActivity> first = CNextActivity::of(m_document.plan());
    const QString next = first ? QStringLiteral("Next: ") + first->fullName +
                                     QStringLiteral(" \u2014 ") + first->hoursText() +
                                     QStringLiteral(" to plan")
                               : QString{};
    return (m_timer.running() ? QStringLiteral("Timer: ") + m_timer.summary()
                              : QStringLiteral("No timer runs")) +
           QLatin1Char('\n') + next;
}

void CTimerPresenter::startOnNextActivity() {
    if (const std::optional<CNextActivity> next = CNextActivity::of(m_document.plan()))
        m_timer.start(next->id);
}

void CTimerPresenter::offerKept() {
    m_timer.offerKept();
}
