#include "app/CMainFrame.h"

#include "app/CAppSettings.h"
#include "app/CAutoStore.h"
#include "app/CCalendarDlg.h"
#include "app/CChsDateDlg.h"
#include "app/CEmergencyCopy.h"
#include "app/CExchangeCommands.h"
#include "app/CFrameCoordinator.h"
#include "app/CHelpBrowser.h"
#include "app/CHrplApp.h"
#include "app/CMessageBar.h"
#include "app/COptnDlg.h"
#include "app/COverviewDlg.h"
#include "app/CPaneDialogs.h"
#include "app/CPlanFileName.h"
#include "app/CRstrActvtDlg.h"
#include "app/CTimerControl.h"
#include "app/CTimerQuestionDlg.h"
#include "app/CToolbarImages.h"
#include "companion/CQLNECNstrtpInf.h"
#include "core/CDayNavigator.h"
#include "core/CMessageSink.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanEditor.h"
#include "model/CPriorityComputation.h"
#include "model/CStatistics.h"
#include "views/CHrplView.h"
#include "views/CVCF1.h"
#include "views/PlanText.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QUrl>

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdio>

CMainFrame::CMainFrame(CHrplApp& app, CHrplDoc& document) : m_app(app), m_document(document) {
    m_coordinator = new CFrameCoordinator{*this, app.launcherOrderFlag(), app.bothSwitchesFlag(),
                                          app.companionNumber()};
    setWindowTitle(m_app.windowTitle());
    m_timer = new CTimerControl{document, this};
    m_timer->setIdleLimit(CAppSettings::readInt(QString::fromLatin1(CTimerControl::kIdleValue),
                                                CTimerControl::kDefaultIdleMinutes));
    m_autoStore = new CAutoStore{[this] { return storeQuietly(); }, this};
    connect(m_autoStore, &CAutoStore::failureChanged, this, [this](const QString& why) {
        setMessageText(why.isEmpty() ? QString::fromLatin1(kReady)
                                     : QStringLiteral("The plan is not stored: ") + why);
    });
    m_timer->storePlan = [this] { return m_autoStore->storeNow(); };
    m_timer->ask = [this](const CTimerControl::Question& question) {
        CMessageSink& messages = m_app.core().messages();
        if (!messages.unattended())
            return CTimerQuestionDlg::ask(question, this);
        messages.message(question.text.toStdString() +
                         " No one answered: the timer keeps running.");
        return CTimerControl::Answer{};
    };
    m_layout.menuResourceId = 128;
    chooseFile = [this](const QString& title, const QString& directory, const QString& filter,
                        bool saving) {
        // Open accepts a name that does not exist yet: that is how a new plan is made.
        QFileDialog dialog{this, title, directory, filter};
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // A name typed without an extension takes the one of the chosen filter.
        const auto suffixOf = [](const QString& nameFilter) {
            return QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(nameFilter).captured(1);
        };
        dialog.setDefaultSuffix(suffixOf(filter));
        connect(&dialog, &QFileDialog::filterSelected, &dialog,
                [&dialog, suffixOf](const QString& chosen) {
                    dialog.setDefaultSuffix(suffixOf(chosen));
                });
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    buildMenus();
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
    m_view->setWeekSheet(m_weekSheet->isChecked());
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
    if (today == m_followedToday || !m_view || m_busy > 0 || m_view->editing())
        return;
    CHoursLedger{m_document.plan()}.followToday(m_followedToday);
    m_followedToday = today;
    m_view->activeDateChanged();
    refreshCharts();
    showTimer();
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
        m_overview->currentDivision = [this] { return m_app.core().currentDivision(); };
        m_overview->chooseDivision = [this](std::int32_t division) {
            m_app.core().setCurrentDivision(division);
            showDivisionsWindow(true);
            if (m_view)
                m_view->divisions().fill(m_document);
            m_overview->refresh();
        };
    }
    m_overview->refresh();
    m_overview->show();
    m_overview->raise();
}

void CMainFrame::refreshCharts() {
    if (m_paneDialogs)
        m_paneDialogs->refreshCharts();
    if (m_overview && m_overview->isVisible())
        m_overview->refresh();
}

void CMainFrame::stepThroughHistory(bool forward) {
    if (!m_view || !(forward ? m_view->redo() : m_view->undo()))
        return;
    showModeButtons();
}

void CMainFrame::showHistory() {
    const CPlanHistory& history = m_document.plan().history;
    const auto describe = [](const QString& verb, const std::string& step) {
        QString text = plantext::toDisplay(step);
        return step.empty()
                   ? verb
                   : verb + QLatin1Char(' ') + text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    };
    m_undo->setText(describe(QStringLiteral("&Undo"), history.undoDescription()));
    m_undo->setEnabled(history.canUndo());
    m_redo->setText(describe(QStringLiteral("Re&do"), history.redoDescription()));
    m_redo->setEnabled(history.canRedo());
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

void CMainFrame::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open... or New..."), QKeySequence(QStringLiteral("Ctrl+O")),
                    this, [this] { openOrNew(); });
    file->addAction(QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S")), this,
                    [this] { save(); });
    file->addAction(QStringLiteral("Save &As..."), this, [this] { saveAs(); });
    file->addSeparator();
    file->addAction(QStringLiteral("Open a Sa&mple"), this, [this] { openSample(); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Import..."), this, [this] { importFile(); });
    file->addAction(QStringLiteral("&Export..."), this, [this] { exportFile(); });
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+Q")), this,
                    &QWidget::close);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    // An open cell editor takes these keys first, for the undo of its own text.
    m_undo = edit->addAction(QStringLiteral("&Undo"), this, [this] { stepThroughHistory(false); });
    m_undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    // Its mnemonic is not R: that is Restore's.
    m_redo = edit->addAction(QStringLiteral("Re&do"), this, [this] { stepThroughHistory(true); });
    m_redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    edit->addSeparator();
    edit->addAction(QStringLiteral("&Restore  Activity"), this, [this] { restoreActivities(); });
    edit->addSeparator();
    edit->addAction(QStringLiteral("&For A Window..."), this, [this] {
        m_app.core().messages().message(
            "To get the edit menu for a particular window, please click with RIGHT "
            "mouse button inside this window.");
    });
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    viewMenu->addAction(QStringLiteral("for a &Date"), this, [this] { chooseDay(); });
    viewMenu->addSeparator();
    const auto addKey = [this, viewMenu](const char* text, const char* key, auto act) {
        QAction* action = viewMenu->addAction(QString::fromLatin1(text), this, act);
        action->setShortcut(QKeySequence(QString::fromLatin1(key)));
    };
    // In week mode the day keys move by whole weeks, as the toolbar's buttons then do.
    addKey("Day &Back", "Alt+Left",
           [this] { navigate(m_app.core().dates().dayMode() ? DayBack : WeekBack); });
    addKey("Day &Forward", "Alt+Right",
           [this] { navigate(m_app.core().dates().dayMode() ? DayForward : WeekForward); });
    addKey("&Week Back", "Alt+Up", [this] { moveActiveDay(-7); });
    addKey("W&eek Forward", "Alt+Down", [this] { moveActiveDay(7); });
    addKey("&Today", "Alt+Home", [this] { goToToday(); });
    viewMenu->addSeparator();
    m_weekSheet = viewMenu->addAction(QStringLiteral("Week Time&sheet"));
    m_weekSheet->setCheckable(true);
    m_weekSheet->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+W")));
    m_weekSheet->setChecked(CAppSettings::readInt(QString::fromLatin1(kWeekSheetValue), 0) != 0);
    connect(m_weekSheet, &QAction::toggled, this, &CMainFrame::showWeekSheet);
    viewMenu->addSeparator();
    viewMenu->addAction(QStringLiteral("&History of the active item"), this,
                        [this] { showActiveHistory(); });
    viewMenu->addAction(QStringLiteral("Plan &Overview"), this, [this] { showOverview(); });
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Help &Contents"), this, [this] {
        leaveTopForHelp();
        showHelpTopic(QStringLiteral("index.htm"));
    });
    help->addAction(QStringLiteral("&Options"), this, [this] { options(); });
    help->addAction(QStringLiteral("&About Q&&L..."), this, [this] { m_app.showAboutBox(); });
    help->addAction(QStringLiteral("On-Line &Support"), this, [this] {
        leaveTopForHelp();
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kSupportAddress)));
    });
    addEditAccelerators();
    buildToolbar();
    m_message = new CMessageBar{this};
    statusBar()->addWidget(m_message, 1);
    setMessageText(QString::fromLatin1(kReady));
    m_app.core().messages().showNotice = [this](const std::string& text) {
        m_message->showNotice(QString::fromStdString(text));
    };
    // The message bar's "Today:" field and "Calendar" button, hidden from the start.
    m_todayField = new QLabel{QStringLiteral("Today:"), this};
    auto* calendar = new QPushButton{QStringLiteral("Calendar"), this};
    connect(calendar, &QPushButton::clicked, this, [this] { showCalendar(); });
    m_calendarButton = calendar;
    statusBar()->addPermanentWidget(m_todayField);
    statusBar()->addPermanentWidget(calendar);
    m_todayField->hide();
    calendar->hide();
    showModeButtons();
    buildTimer();
}

void CMainFrame::buildTimer() {
    m_timerLabel = new QLabel{this};
    statusBar()->addPermanentWidget(m_timerLabel);
    m_timerLabel->hide();
    connect(m_timer, &CTimerControl::changed, this, [this] { showTimer(); });
    // Hours only: the rows stay, their figures change, as after typed hours.
    connect(m_timer, &CTimerControl::hoursAdded, this, [this] {
        if (m_view)
            m_view->input().RefreshHourColumns(m_document);
    });
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon{CToolbarImages::icon(Timer), this};
    auto* menu = new QMenu{this};
    menu->addAction(QStringLiteral("Start on the next activity"), this,
                    [this] { startOnNextActivity(); });
    menu->addAction(QStringLiteral("Stop"), this, [this] { m_timer->stop(); });
    menu->addAction(QStringLiteral("Show window"), this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
    menu->addAction(QStringLiteral("Quit"), this, &QWidget::close);
    m_tray->setContextMenu(menu);
    m_tray->show();
}

std::int32_t CMainFrame::nextActivity(QString* text) const {
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

void CMainFrame::toggleTimer() {
    if (!m_view)
        return;
    const std::int32_t item = m_view->activeItem();
    if (!m_timer->running() && item < 0) {
        m_app.core().messages().message(
            "To start a timer, activate a cell in the row of an activity, please.");
        return;
    }
    m_timer->toggle(item);
}

void CMainFrame::showTimer() {
    const bool running = m_timer->running();
    toolbarAction(Timer)->setText(running ? QStringLiteral("Stop Timer")
                                          : QStringLiteral("Start Timer"));
    m_timerLabel->setText(QStringLiteral("Timer: ") + m_timer->summary());
    m_timerLabel->setVisible(running);
    if (m_view)
        m_view->markTimedItem(m_timer->activity());
    if (m_tray)
        m_tray->setToolTip(trayText());
    showHistory();
}

QString CMainFrame::trayText() const {
    QString next;
    nextActivity(&next);
    return (m_timer->running() ? QStringLiteral("Timer: ") + m_timer->summary()
                               : QStringLiteral("No timer runs")) +
           QLatin1Char('\n') + next;
}

void CMainFrame::startOnNextActivity() {
    if (const std::int32_t next = nextActivity(nullptr); next >= 0)
        m_timer->start(next);
}

void CMainFrame::offerKeptTimer() {
    m_timer->setPlanPath(m_app.dataFilePath().toStdString());
    m_timer->offerKept();
}

// Copy, cut and paste act on the grid that has the focus; while a cell is being edited its
// editor takes these keys (and Ctrl+Z) itself. Cut copies only: cells change only by typing,
// so a stray Ctrl+X never wipes a name, a part or the hours.
void CMainFrame::addEditAccelerators() {
    const auto focusedGrid = [] { return qobject_cast<CVCF1*>(QApplication::focusWidget()); };
    const auto add = [this](QKeySequence::StandardKey key, auto act) {
        auto* action = new QAction{this};
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, act);
        addAction(action);
    };
    const auto copy = [focusedGrid] {
        if (const CVCF1* grid = focusedGrid())
            grid->copySelection();
    };
    add(QKeySequence::Copy, copy);
    add(QKeySequence::Cut, copy);
    add(QKeySequence::Paste, [focusedGrid] {
        if (CVCF1* grid = focusedGrid())
            grid->pasteIntoActiveCell();
    });
}

void CMainFrame::buildToolbar() {
    m_toolbar = addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setIconSize(QSize(CToolbarImages::kWidth, CToolbarImages::kHeight));
    struct Button {
        const char* label;
        const char* prompt;
        bool hidden;
    };
    const Button buttons[kToolbarButtons] = {
        {"Day Back", "Move an Active Day Back", false},
        {"Day Forward", "Move an Active Day Forward", false},
        {"Wk Back", "Move an Active Week Back", true},
        {"Wk Forward", "Move an Active Week Forward", true},
        {"Hide Divs.", "Hide the Priorities of Divisions Window", true},
        {"Divisions", "Show the Priorities of Divisions Window", false},
        {"Start Timer", "Start or stop a timer on the active row's activity (Ctrl+T)", false},
        {"Today", "Make Today the Active Day", false}};
    // The keys that move the active day, named in the buttons' tooltips.
    const char* const keys[kToolbarButtons] = {
        " (Alt+Left)", " (Alt+Right)", " (Alt+Left)", " (Alt+Right)", "", "", "", " (Alt+Home)"};
    for (int index = 0; index < kToolbarButtons; ++index) {
        QAction* action =
            m_toolbar->addAction(CToolbarImages::icon(static_cast<CToolbarImages::Button>(index)),
                                 QString::fromLatin1(buttons[index].label));
        action->setToolTip(QString::fromLatin1(buttons[index].prompt) +
                           QString::fromLatin1(keys[index]));
        action->setStatusTip(QString::fromLatin1(buttons[index].prompt));
        m_buttons[static_cast<std::size_t>(index)] = action;
        m_buttonHidden[index] = buttons[index].hidden;
    }
    for (int command = DayBack; command <= WeekForward; ++command)
        connect(toolbarAction(command), &QAction::triggered, this,
                [this, command] { navigate(command); });
    connect(toolbarAction(HideDivisions), &QAction::triggered, this,
            [this] { showDivisionsWindow(false); });
    connect(toolbarAction(ShowDivisions), &QAction::triggered, this,
            [this] { showDivisionsWindow(true); });
    // Today stands after the pair of the mode, Day or Week Back and Forward.
    m_toolbar->insertAction(toolbarAction(HideDivisions), toolbarAction(Today));
    connect(toolbarAction(Today), &QAction::triggered, this, [this] { goToToday(); });
    toolbarAction(Timer)->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    connect(toolbarAction(Timer), &QAction::triggered, this, [this] { toggleTimer(); });
    measureToolbarButtons();
}

// Every button as wide as the widest label allows (50 to 200 pixels of text) and as high as
// an image over a line of text, so the buttons do not jump when the day and week pairs swap.
void CMainFrame::measureToolbarButtons() {
    const QFontMetrics metrics{m_toolbar->font()};
    int widest = 0;
    for (const QAction* action : m_buttons)
        widest = std::max(widest, metrics.horizontalAdvance(action->text()));
    const int text = std::clamp(widest, 50, 200);
    m_buttonSize = QSize(std::max(29, text + 10),
                         std::max(23, CToolbarImages::kHeight + metrics.height() + 12));
    applyToolbarButtonSize();
}

void CMainFrame::applyToolbarButtonSize() {
    for (QAction* action : m_buttons)
        if (QWidget* button = m_toolbar->widgetForAction(action))
            button->setFixedSize(m_buttonSize);
}

void CMainFrame::applyButtonVisibility() {
    for (const auto& [index, hidden] : m_buttonHidden)
        toolbarAction(index)->setVisible(!hidden);
    applyToolbarButtonSize();
}

void CMainFrame::showModeButtons() {
    const bool dayMode = m_app.core().dates().dayMode();
    m_buttonHidden[DayBack] = !dayMode;
    m_buttonHidden[DayForward] = !dayMode;
    m_buttonHidden[WeekBack] = dayMode;
    m_buttonHidden[WeekForward] = dayMode;
    applyButtonVisibility();
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (m_toolbar && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
        measureToolbarButtons();
}

void CMainFrame::navigate(int command) {
    if (!m_view)
        return;
    CDayNavigator navigator{m_app.core().dates()};
    bool changed = false;
    switch (command) {
    case DayBack:
        changed = navigator.dayBack();
        break;
    case DayForward:
        changed = navigator.dayForward();
        break;
    case WeekBack:
        changed = navigator.weekBack();
        break;
    default:
        changed = navigator.weekForward();
    }
    if (!changed)
        return;
    showModeButtons();
    m_view->activeDateChanged();
    refreshCharts();
}

// The program's today (QLN_TODAY when set) for the date widgets.
QDate CMainFrame::todayAsQDate() {
    const std::chrono::year_month_day today{m_app.core().dates().today().date()};
    return QDate{static_cast<int>(today.year()),
                 static_cast<int>(static_cast<unsigned>(today.month())),
                 static_cast<int>(static_cast<unsigned>(today.day()))};
}

void CMainFrame::moveActiveDay(int days) {
    if (m_view)
        showActiveDay(
            CMyStringDate{m_app.core().dates().activeDay().date() + std::chrono::days{days}});
}

// Today itself, whatever day the program starts on.
void CMainFrame::goToToday() {
    if (m_view)
        showActiveDay(m_app.core().dates().today());
}

void CMainFrame::showActiveDay(const CMyStringDate& day) {
    if (day.text() == m_app.core().dates().activeDay().text() ||
        !CDayNavigator{m_app.core().dates()}.chooseDate(day))
        return;
    showModeButtons();
    m_view->activeDateChanged();
    refreshCharts();
}

void CMainFrame::showWeekSheet(bool shown) {
    m_weekSheet->setChecked(shown);
    CAppSettings::write(QString::fromLatin1(kWeekSheetValue), shown ? 1 : 0);
    if (m_view)
        m_view->setWeekSheet(shown);
}

void CMainFrame::chooseDay() {
    if (!m_view)
        return;
    CChsDateDlg dialog{todayAsQDate(), helpAction(), this};
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QDate chosen = dialog.date();
    const CMyStringDate day{
        std::chrono::sys_days{std::chrono::year{chosen.year()} /
                              std::chrono::month{static_cast<unsigned>(chosen.month())} /
                              std::chrono::day{static_cast<unsigned>(chosen.day())}}};
    showActiveDay(day);
}

QString CMainFrame::messageText() const {
    return m_message->text();
}

void CMainFrame::setMessageText(const QString& text) {
    m_message->setStanding(text);
}

void CMainFrame::showDivisionsWindow(bool shown) {
    m_divisionsWindowShown = shown;
    m_buttonHidden[HideDivisions] = !shown;
    m_buttonHidden[ShowDivisions] = shown;
    applyButtonVisibility();
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

bool CMainFrame::refuseName(const QString& path, const char* noName,
                            const char* badExtension) const {
    switch (CPlanFileName::of(path)) {
    case CPlanFileName::Kind::NoName:
        m_app.core().messages().message(noName);
        return true;
    case CPlanFileName::Kind::WrongExtension:
        m_app.core().messages().message(badExtension);
        return true;
    default:
        return false;
    }
}

void CMainFrame::openOrNew(const QString& startDirectory) {
    CMessageSink& messages = m_app.core().messages();
    if (!m_document.save(m_app.dataFilePath().toStdString())) {
        messages.message(kStoreFirst);
        return;
    }
    const QString start =
        startDirectory.isEmpty() ? QFileInfo(m_app.dataFilePath()).absolutePath() : startDirectory;
    const QString chosen =
        chooseFile ? chooseFile(QStringLiteral("Input or Choice of Q&L Data File Name"), start,
                                QStringLiteral("Q&L files (*.qln);;Backup files (*.bak)"), false)
                   : QString();
    openNamed(chosen);
}

void CMainFrame::openNamed(const QString& chosen) {
    CMessageSink& messages = m_app.core().messages();
    if (refuseName(chosen, kNotOpenedNoName, kNotOpenedExtension))
        return;
    // A new name would create a plan file among the samples, where nothing is stored.
    if (!QFileInfo::exists(chosen) && m_document.isInSamples(chosen.toStdString())) {
        messages.message(kSamplesRefused);
        return;
    }
    loadChosen(chosen);
}

void CMainFrame::runBusy(const std::function<void()>& work) {
    ++m_busy;
    work();
    --m_busy;
    if (m_busy == 0 && m_endPending)
        endSession();
}

void CMainFrame::loadChosen(const QString& chosen) {
    runBusy([&] { openChosen(chosen); });
}

// A refused open leaves the plan, its file, the hold on it and the title as they were.
void CMainFrame::openChosen(const QString& chosen) {
    CMessageSink& messages = m_app.core().messages();
    const QFileInfo info{chosen};
    if (!info.absoluteDir().exists()) {
        messages.message("File was not opened or created because its folder " +
                         QDir::toNativeSeparators(info.absolutePath()).toStdString() +
                         " does not exist.");
        return;
    }
    // A timer belongs to its plan: its time goes there before another plan opens. The open plan
    // is stored first, as at quitting: when it cannot be, the window stays on it.
    if (m_timer->running() && !m_timer->stop()) {
        messages.message(kTimerKeepsPlan);
        return;
    }
    if (!m_document.save(m_app.dataFilePath().toStdString())) {
        messages.message(kStoreFirst);
        return;
    }
    const bool backup = chosen.endsWith(QStringLiteral(".bak"), Qt::CaseInsensitive);
    const bool opened = backup          ? openBackup(chosen)
                        : info.exists() ? openPlanFile(chosen)
                                        : createPlanFile(chosen);
    if (!opened)
        return;
    if (m_view)
        m_view->planOpened();
    offerKeptTimer();
    if (backup)
        messages.message("You chose to load backup file. The .qln file with the same name will "
                         "be overwritten while exiting this program. If it is not your "
                         "intention, use menu \"File/Save As\" to change the file name just "
                         "after load.");
}

// The backup's plan carries on in the plan file it backs up, which is therefore held.
bool CMainFrame::openBackup(const QString& chosen) {
    const QString target = chosen.left(chosen.size() - 4) + QStringLiteral(".qln");
    if (m_document.loadBackup(chosen.toStdString(), target.toStdString()) !=
        CHrplDoc::LoadResult::Loaded)
        return false;
    m_app.setDataFilePath(target);
    return true;
}

bool CMainFrame::openPlanFile(const QString& chosen) {
    const QString old = m_app.dataFilePath();
    const CHrplDoc::LoadResult result = m_document.load(chosen.toStdString());
    if (result == CHrplDoc::LoadResult::Locked)
        return false; // refused before the plan or the hold changed
    if (result == CHrplDoc::LoadResult::NoMemory) {
        m_document.holdFile(old.toStdString()); // the plan is unchanged; so is its file
        return false;
    }
    adoptOpenedPath(chosen);
    return true;
}

// The file the document holds becomes the data file: a loaded sample is worked on in the
// temporary copy.
void CMainFrame::adoptOpenedPath(const QString& loaded) {
    const QString opened = QString::fromStdString(m_document.openPath());
    const QString path = opened.isEmpty() ? loaded : opened;
    if (path != m_app.dataFilePath())
        m_app.setDataFilePath(path);
}

// A new name: the empty plan, stored at once, which makes the file.
bool CMainFrame::createPlanFile(const QString& chosen) {
    const std::string path = chosen.toStdString();
    if (!m_document.holdFile(path)) {
        m_document.reportRefusedHold(path);
        return false;
    }
    m_document.resetPlan();
    if (!m_document.save(path)) {
        // The previous plan was stored before the open began: it comes back from its file.
        m_document.load(m_app.dataFilePath().toStdString());
        if (m_view)
            m_view->planOpened();
        return false;
    }
    m_app.setDataFilePath(chosen);
    return true;
}

void CMainFrame::importFile() {
    if (!m_view)
        return;
    CExchangeCommands exchange{m_app, m_document, this};
    const auto open = [this](const QString& path) {
        loadChosen(path);
        if (m_app.dataFilePath() != path)
            m_app.core().messages().message("The imported plan is kept in " +
                                            QDir::toNativeSeparators(path).toStdString() +
                                            ". Open it with \"File/Open\" once the open plan is "
                                            "stored.");
    };
    runBusy([&] {
        if (exchange.importPlan(chooseFile, open))
            m_view->planOpened();
    });
}

void CMainFrame::exportFile() {
    CExchangeCommands{m_app, m_document, this}.exportPlan(chooseFile);
}

void CMainFrame::openSample() {
    openOrNew(m_app.samplesDirectoryPath());
}

void CMainFrame::save() {
    if (!QFileInfo(m_app.dataFilePath()).absoluteDir().exists()) {
        m_app.core().messages().message(
            "You are attempting to store into the directory that doesn't exist. Please "
            "use menu \"File/Save As\" to store into an existing directory.");
        return;
    }
    m_document.save(m_app.dataFilePath().toStdString());
}

void CMainFrame::saveAs() {
    const QString chosen = chooseFile ? chooseFile(QStringLiteral("Save Q&L Data File As..."),
                                                   QFileInfo(m_app.dataFilePath()).absolutePath(),
                                                   QStringLiteral("Q&L files (*.qln)"), true)
                                      : QString();
    if (refuseName(
            chosen, "File was not saved because no name was supplied for it.",
            "File was not saved because it has no extension .qln or .bak that it must have."))
        return;
    if (m_document.isInSamples(chosen.toStdString())) {
        m_app.core().messages().message(kSamplesRefused);
        return;
    }
    m_document.closeFile();
    const QString old = m_app.dataFilePath();
    m_app.setDataFilePath(chosen);
    if (!m_document.save(chosen.toStdString())) {
        m_app.setDataFilePath(old);
        m_document.save(old.toStdString());
        return;
    }
    m_timer->movePlan(chosen.toStdString());
}

void CMainFrame::showCalendar() {
    CCalendarDlg dialog{todayAsQDate(), this};
    dialog.exec();
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
    CHrplDoc::LoadResult result = CHrplDoc::LoadResult::Loaded;
    runBusy([&] { result = m_document.load(m_app.dataFilePath().toStdString()); });
    QApplication::restoreOverrideCursor();
    if (result == CHrplDoc::LoadResult::Locked || result == CHrplDoc::LoadResult::NoMemory) {
        // Nothing of ours to store: the file belongs to another process, or did not fit.
        m_document.closeFile();
        m_stored = true;
        return false;
    }
    adoptOpenedPath(m_app.dataFilePath());
    setWindowTitle(m_app.windowTitle());
    m_app.core().library().closeSplash();
    createView();
    return true;
}

bool CMainFrame::parsePlacement(const QString& text, int numbers[10]) {
    unsigned flags = 0;
    unsigned show = 0;
    char tail = 0;
    const QByteArray bytes = text.toLatin1();
    const int read = std::sscanf(bytes.constData(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d%c", &flags,
                                 &show, &numbers[2], &numbers[3], &numbers[4], &numbers[5],
                                 &numbers[6], &numbers[7], &numbers[8], &numbers[9], &tail);
    numbers[0] = static_cast<int>(flags);
    numbers[1] = static_cast<int>(show);
    return read == 10;
}

QString CMainFrame::placementText() const {
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    const bool maximized = isMaximized();
    const unsigned flags = maximized ? 2 : 0;
    const unsigned show = maximized ? 3 : isMinimized() ? 2 : 1;
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, show, -1, -1, -1,
                  -1, normal.left(), normal.top(), normal.right() + 1, normal.bottom() + 1);
    return QString::fromLatin1(buffer);
}

void CMainFrame::showDefaultPlacement() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        show();
        return;
    }
    const QRect work = screen->availableGeometry();
    const QFontMetrics metrics{QFontDatabase::systemFont(QFontDatabase::GeneralFont)};
    const int width = std::min(160 * metrics.averageCharWidth(), work.width() - 10);
    const int height = std::min(49 * metrics.lineSpacing(), work.height() - 10);
    resize(width, height);
    move(work.center() - QPoint(width / 2, height / 2));
    show();
}

// Help opens below the companion's window, not under a window kept on top.
void CMainFrame::leaveTopForHelp() {
    m_coordinator->stopTopmostPhase();
    m_coordinator->dropFromTop();
}

void CMainFrame::showWithPlacement() {
    int n[10] = {};
    const QString stored = CAppSettings::readText(QString::fromLatin1(kPlacementValue));
    if (stored.isEmpty() || !parsePlacement(stored, n) || n[8] <= n[6] || n[9] <= n[7]) {
        showDefaultPlacement();
        return;
    }
    setGeometry(QRect(QPoint(n[6], n[7]), QPoint(n[8] - 1, n[9] - 1)));
    if (n[1] == 3 || (n[0] & 2))
        showMaximized();
    else
        show();
}

// Between the user's own stores: nothing while a plan is half loaded or after the window let
// its file go.
std::optional<std::string> CMainFrame::storeQuietly() {
    if (m_busy > 0)
        return std::nullopt;
    if (m_stored)
        return std::string{};
    return m_document.store(m_app.dataFilePath().toStdString());
}

// False when the plan could not be stored: the window stays, so that it can go elsewhere.
bool CMainFrame::storeOnClose() {
    if (m_stored)
        return true;
    m_coordinator->windowClosing();
    CAppSettings::write(QString::fromLatin1(kPlacementValue), placementText());
    // A plan that is what its file holds may go without a store; any other stays for "Save As".
    const QString path = m_app.dataFilePath();
    if (const std::string why = m_document.store(path.toStdString());
        !why.empty() && !storedAsItIs(path)) {
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
    if (m_busy > 0) {
        m_endPending = true; // a plan half loaded or half imported is never stored
        return;
    }
    if (m_stored || !m_document.isFileOpen())
        return; // nothing of ours is open: another process holds the file, or none was loaded
    m_coordinator->windowClosing();
    CAppSettings::write(QString::fromLatin1(kPlacementValue), placementText());
    const QString path = m_app.dataFilePath();
    if (!m_document.save(path.toStdString()) && !storedAsItIs(path)) {
        const QString copy = CEmergencyCopy::keep(m_document, path);
        m_workLost = copy.isEmpty();
        m_app.core().messages().message(m_workLost
                                            ? std::string("No emergency copy could be written.")
                                            : "The plan was kept as " + copy.toStdString());
    }
    m_document.closeFile();
    m_stored = true;
}

// A plan that is what its file holds needs no copy, as long as the file is there.
bool CMainFrame::storedAsItIs(const QString& path) const {
    return !m_document.plan().history.modified() && QFileInfo(path).isFile();
}
