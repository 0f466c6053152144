#include "app/CMainFrame.h"

#include "app/CAfterFirstPaint.h"
#include "app/CAppSettings.h"
#include "app/CAutoStore.h"
#include "app/CEmergencyCopy.h"
#include "app/CFrameCoordinator.h"
#include "app/CHelpBrowser.h"
#include "app/CHrplApp.h"
#include "app/CMessageBar.h"
#include "app/COptnDlg.h"
#include "app/COverviewDlg.h"
#include "app/CPaneDialogs.h"
#include "app/CPlanFollower.h"
#include "app/CReminders.h"
#include "app/CReportDlg.h"
#include "app/CRstrActvtDlg.h"
#include "app/CTimerControl.h"
#include "app/CWindowPlacement.h"
#include "companion/CQLNECNstrtpInf.h"
#include "core/CMessageSink.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanEditor.h"
#include "views/CHrplView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

CMainFrame::CMainFrame(CHrplApp& app, CHrplDoc& document)
    : m_app(app), m_document(document), m_timer(new CTimerControl{document, this}),
      m_timerPresenter(*this, *m_timer, document), m_files(app, document, *m_timer, this) {
    m_coordinator = new CFrameCoordinator{*this, app.launcherOrderFlag(), app.bothSwitchesFlag(),
                                          app.companionNumber()};
    setWindowTitle(m_app.windowTitle());
    m_timer->setIdleLimit(CAppSettings::readInt(QString::fromLatin1(CTimerControl::kIdleValue),
                                                CTimerControl::kDefaultIdleMinutes));
    m_autoStore = new CAutoStore{[this] { return storeQuietly(); }, this};
    m_follower = new CPlanFollower{*this, document};
    connect(m_autoStore, &CAutoStore::failureChanged, this, [this](const QString& why) {
        setMessageText(why.isEmpty() ? QString::fromLatin1(kReady)
                                     : QStringLiteral("The plan is not stored: ") + why);
    });
    m_layout.menuResourceId = 128;
    connectFileCommands();
    m_menus.build();
    buildStatusBar();
    showModeButtons();
    m_timerPresenter.build();
}

void CMainFrame::connectFileCommands() {
    connect(&m_files, &CFileCommands::planOpened, this, [this] {
        if (m_view)
            m_view->planOpened();
        m_timerPresenter.offerKept();
    });
    connect(&m_files, &CFileCommands::planFilled, this, [this] {
        if (m_view)
            m_view->planOpened();
    });
    connect(&m_files, &CFileCommands::idle, this, [this] {
        if (m_endPending)
            endSession();
    });
}

void CMainFrame::buildStatusBar() {
    m_message = new CMessageBar{this};
    statusBar()->addWidget(m_message, 1);
    setMessageText(QString::fromLatin1(kReady));
    m_app.core().messages().showNotice = [this](const std::string& text) {
        m_message->showNotice(QString::fromStdString(text));
    };
    // The message bar's "Today:" field and "Calendar" button, hidden from the start.
    m_todayField = new QLabel{QStringLiteral("Today:"), this};
    auto* calendar = new QPushButton{QStringLiteral("Calendar"), this};
    connect(calendar, &QPushButton::clicked, this, [this] { m_days.showCalendar(); });
    m_calendarButton = calendar;
    statusBar()->addPermanentWidget(m_todayField);
    statusBar()->addPermanentWidget(calendar);
    m_todayField->hide();
    calendar->hide();
}

void CMainFrame::showHelpTopic(const QString& topic) {
    // A modal dialog blocks every window but its own: its help is a window of the dialog's.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != m_help) {
        CHelpBrowser* help = nullptr;
        for (QObject* child : modal->children())
            help = help ? help : dynamic_cast<CHelpBrowser*>(child);
        if (!help) {
            help = new CHelpBrowser{modal};
            help->setAttribute(Qt::WA_DeleteOnClose);
        }
        help->showTopic(m_app.helpTopicPath(topic));
        return;
    }
    if (!m_help)
        m_help = new CHelpBrowser{this};
    m_help->showTopic(m_app.helpTopicPath(topic));
}

// What a dialog's Help button and its F1 key call.
std::function<void(const QString&)> CMainFrame::helpAction() {
    return [this](const QString& topic) { showHelpTopic(topic); };
}

void CMainFrame::createView() {
    m_view = new CHrplView{m_document, m_layout, this};
    setCentralWidget(m_view);
    m_paneDialogs =
        std::make_unique<CPaneDialogs>(*this, *m_view, m_document, m_app.core(), helpAction());
    m_view->setHosts(m_paneDialogs.get(), m_paneDialogs.get());
    m_view->setWeekSheet(weekSheetAction()->isChecked());
    m_view->create();
    // Today follows the clock while the program runs: a night or a weekend passes in it.
    m_followedToday = m_app.core().dates().today().text();
    connect(&m_dayWatch, &QTimer::timeout, this, [this] { followClock(); });
    m_dayWatch.start(kDayWatchMs);
    m_document.plan().history.setListener([this] {
        const bool modified = m_document.plan().history.modified();
        if (!modified)
            m_timer->planStored();
        m_autoStore->planChanged(modified);
        showHistory();
        refreshCharts();
    });
    showHistory();
}

void CMainFrame::followClock() {
    CAppDates& dates = m_app.core().dates();
    const std::string today = dates.today().text();
    // A plan half loaded or a cell being typed into is left alone until the next look.
    if (today == m_followedToday || !m_view || m_files.busy() || m_view->editing())
        return;
    CHoursLedger{m_document.plan()}.followToday(m_followedToday);
    m_followedToday = today;
    m_view->activeDateChanged();
    refreshCharts();
    m_timerPresenter.show();
}

void CMainFrame::showActiveHistory() {
    if (!m_view)
        return;
    const std::int32_t item = m_view->activeItem();
    m_paneDialogs->showHistory(static_cast<std::uint16_t>(item < 0 ? CQLData::kRootId : item));
}

void CMainFrame::showOverview() {
    if (!m_overview) {
        m_overview = new COverviewDlg{m_document.plan(), this};
        connect(m_overview, &COverviewDlg::divisionChosen, this, [this](std::int32_t division) {
            m_app.core().setCurrentDivision(division);
            showDivisionsWindow(true);
            if (m_view)
                m_view->divisions().fill(m_document);
            m_overview->refresh();
        });
    }
    m_overview->refresh();
    m_overview->show();
    m_overview->raise();
}

void CMainFrame::showReport() {
    if (!m_report)
        m_report = new CReportDlg{m_document, this};
    m_report->reload();
    m_report->show();
    m_report->raise();
}

void CMainFrame::refreshCharts() {
    if (m_paneDialogs)
        m_paneDialogs->refreshCharts();
    if (m_overview && m_overview->isVisible())
        m_overview->refresh();
    if (m_report && m_report->isVisible())
        m_report->refresh();
}

void CMainFrame::stepThroughHistory(bool forward) {
    if (!m_view || !(forward ? m_view->redo() : m_view->undo()))
        return;
    showModeButtons();
}

void CMainFrame::showHistory() {
    const CPlanHistory& history = m_document.plan().history;
    m_menus.showHistory(history);
    QString title = m_app.windowTitle() + (history.modified() ? QStringLiteral(" *") : QString());
    if (m_timer->running())
        title += QStringLiteral(" \u2014 ") + m_timer->summary();
    setWindowTitle(title);
}

CMainFrame::~CMainFrame() {
    m_document.plan().history.setListener({});
    m_app.core().messages().showNotice = {};
    endSession(); // the window is going whatever happens: a failed store keeps a copy
    // The panes outlive the dialogs' host by the time the children go.
    if (m_view)
        m_view->setHosts(nullptr, nullptr);
}

void CMainFrame::showModeButtons() {
    m_menus.showModeButtons(m_app.core().dates().dayMode());
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (m_menus.toolbar() &&
        (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
        m_menus.measureToolbarButtons();
}

void CMainFrame::showWeekSheet(bool shown) {
    weekSheetAction()->setChecked(shown);
    CAppSettings::write(QString::fromLatin1(kWeekSheetValue), shown ? 1 : 0);
    if (m_view)
        m_view->setWeekSheet(shown);
}

QString CMainFrame::messageText() const {
    return m_message->text();
}

void CMainFrame::setMessageText(const QString& text) {
    m_message->setStanding(text);
}

void CMainFrame::showDivisionsWindow(bool shown) {
    m_divisionsWindowShown = shown;
    m_menus.showDivisionsButtons(shown);
    if (m_view && m_view->divisionsShown() != shown)
        m_view->showDivisionsPane(shown);
}

void CMainFrame::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && m_view) {
        leaveTopForHelp();
        showHelpTopic(m_view->helpTopic());
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void CMainFrame::options() {
    m_coordinator->stopTopmostPhase();
    m_paneDialogs->closeSheet();
    CQLNECNstrtpInf startup{true};
    COptnDlg dialog{
        {m_app.initialActiveDayOption(), m_app.averagingPeriodIndex(), m_app.decimalHours()},
        startup,
        helpAction(),
        this};
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_app.setInitialActiveDayOption(dialog.initialActiveDay());
    m_app.setDecimalHours(dialog.decimalHours());
    m_app.setAveragingPeriodIndex(dialog.averagingPeriod());
    m_timer->setIdleLimit(dialog.idleMinutes());
    m_timerPresenter.reminders().readSettings();
}

void CMainFrame::restoreActivities() {
    if (!m_view)
        return;
    CRstrActvtDlg dialog{m_app.core().messages(), helpAction(), this};
    if (dialog.run(CPlanEditor{m_document.plan()}.restoreCandidates()) != QDialog::Accepted)
        return;
    if (dialog.chosen().empty()) {
        m_app.core().messages().message("No item will be restored because no item was selected.");
        return;
    }
    m_view->restore(dialog.chosen());
}

bool CMainFrame::openDocument() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CHrplDoc::LoadResult result = m_files.loadAtStart();
    QApplication::restoreOverrideCursor();
    if (result == CHrplDoc::LoadResult::Locked || result == CHrplDoc::LoadResult::NoMemory) {
        // Nothing of ours to store: the file belongs to another process, or did not fit.
        m_document.closeFile();
        m_stored = true;
        return false;
    }
    setWindowTitle(m_app.windowTitle());
    m_app.core().library().closeSplash();
    createView();
    // Watching from the start, conflict copies merged at the opening: once the plan shows,
    // with the rest of the load.
    new CAfterFirstPaint{*this, [this] { m_follower->look(true); }, kLoadTailMostMs};
    return true;
}

// Help opens below the companion's window, not under a window kept on top.
void CMainFrame::leaveTopForHelp() {
    m_coordinator->stopTopmostPhase();
    m_coordinator->dropFromTop();
}

// Between the user's own stores: nothing while a plan is half loaded or after the window let
// its file go.
std::optional<std::string> CMainFrame::storeQuietly() {
    if (m_files.busy() || !m_follower->sync().mayStoreNow())
        return std::nullopt;
    if (m_stored)
        return std::string{};
    const std::string why = m_document.store();
    m_follower->afterStore();
    return why;
}

// False when the plan could not be stored: the window stays, so that it can go elsewhere.
bool CMainFrame::storeOnClose() {
    if (m_stored)
        return true;
    m_coordinator->windowClosing();
    CAppSettings::write(QString::fromLatin1(kPlacementValue), placementText());
    // A plan that is what its file holds may go without a store; any other stays for "Save As".
    if (const std::string why = m_document.store(); !why.empty() && !storedAsItIs()) {
        m_app.core().messages().message(why);
        m_app.core().messages().message(kNotClosed);
        return false;
    }
    m_document.closeFile();
    m_stored = true;
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_timer->running()) {
        const CMessageSink::Answer answer = m_app.core().messages().askYesNoCancel(
            "A timer is running on " + m_timer->summary().toStdString() +
            ". Stop it and add the time before the program closes? (No leaves it running: it is "
            "offered again at the next start.)");
        // Cancel, or a timer the user keeps when asked about its time: the program stays.
        if (answer == CMessageSink::Answer::Cancel ||
            (answer == CMessageSink::Answer::Yes && !m_timer->stop())) {
            event->ignore();
            return;
        }
    }
    if (storeOnClose())
        event->accept();
    else
        event->ignore();
}

// No one may be there to answer: a plan that cannot go to its file goes to an emergency copy.
void CMainFrame::endSession() {
    if (m_files.busy()) {
        m_endPending = true; // a plan half loaded or half imported is never stored
        return;
    }
    if (m_stored || !m_document.isFileOpen())
        return; // nothing of ours is open: another process holds the file, or none was loaded
    m_coordinator->windowClosing();
    CAppSettings::write(QString::fromLatin1(kPlacementValue), placementText());
    if (!m_document.save() && !storedAsItIs()) {
        const QString copy = CEmergencyCopy::keep(m_document, m_app.dataFilePath());
        m_workLost = copy.isEmpty();
        m_app.core().messages().message(m_workLost
                                            ? std::string("No emergency copy could be written.")
                                            : "The plan was kept as " + copy.toStdString());
    }
    m_document.closeFile();
    m_stored = true;
}

// A plan that is what its file holds needs no copy, as long as the file is there.
bool CMainFrame::storedAsItIs() const {
    return !m_document.plan().history.modified() && QFileInfo(m_app.dataFilePath()).isFile();
}

// Stored under another name, or another plan opened: the timer's file and the title follow.
void CMainFrame::planPathChanged() {
    m_timer->followPlan();
    m_follower->look();
    showHistory();
}

void CMainFrame::showWithPlacement() {
    CWindowPlacement::show(*this, CAppSettings::readText(QString::fromLatin1(kPlacementValue)));
}

QString CMainFrame::placementText() const {
    return CWindowPlacement::textOf(*this);
}

void CMainFrame::activeDayShown() {
    showModeButtons();
    if (m_view)
        m_view->activeDateChanged();
    refreshCharts();
}
