#include "app/CFrameMenus.h"

#include "app/CAppSettings.h"
#include "app/CFileCommands.h"
#include "app/CHrplApp.h"
#include "app/CMainFrame.h"
#include "app/CTimerPresenter.h"
#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CPlanHistory.h"
#include "views/CVCF1.h"
#include "views/PlanText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

void CFrameMenus::build() {
    buildFileMenu();
    buildEditMenu();
    buildViewMenu();
    buildHelpMenu();
    addEditAccelerators();
    buildToolbar();
}

void CFrameMenus::buildFileMenu() {
    CMainFrame* frame = &m_frame;
    QMenu* file = frame->menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open... or New..."), QKeySequence(QStringLiteral("Ctrl+O")),
                    frame, [frame] { frame->files().openOrNew(); });
    file->addAction(QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S")), frame,
                    [frame] { frame->files().save(); });
    file->addAction(QStringLiteral("Save &As..."), frame, [frame] { frame->files().saveAs(); });
    file->addSeparator();
    file->addAction(QStringLiteral("Open a Sa&mple"), frame,
                    [frame] { frame->files().openSample(); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Import..."), frame, [frame] {
        if (frame->view())
            frame->files().importFile();
    });
    file->addAction(QStringLiteral("&Export..."), frame, [frame] { frame->files().exportFile(); });
    file->addAction(QStringLiteral("&Report\u2026"), frame, [frame] { frame->showReport(); });
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+Q")), frame,
                    &QWidget::close);
}

void CFrameMenus::buildEditMenu() {
    CMainFrame* frame = &m_frame;
    QMenu* edit = frame->menuBar()->addMenu(QStringLiteral("&Edit"));
    // An open cell editor takes these keys first, for the undo of its own text.
    m_undo = edit->addAction(QStringLiteral("&Undo"), frame,
                             [frame] { frame->stepThroughHistory(false); });
    m_undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    // Its mnemonic is not R: that is Restore's.
    m_redo = edit->addAction(QStringLiteral("Re&do"), frame,
                             [frame] { frame->stepThroughHistory(true); });
    m_redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    edit->addSeparator();
    edit->addAction(QStringLiteral("&Restore  Activity"), frame,
                    [frame] { frame->restoreActivities(); });
    edit->addSeparator();
    edit->addAction(QStringLiteral("&For A Window..."), frame,
                    [frame] { frame->application().core().messages().message(kForAWindow); });
}

void CFrameMenus::buildViewMenu() {
    CMainFrame* frame = &m_frame;
    QMenu* viewMenu = frame->menuBar()->addMenu(QStringLiteral("&View"));
    viewMenu->addAction(QStringLiteral("for a &Date"), frame,
                        [frame] { frame->days().chooseDay(); });
    viewMenu->addSeparator();
    const auto addKey = [frame, viewMenu](const char* text, const char* key, auto act) {
        QAction* action = viewMenu->addAction(QString::fromLatin1(text), frame, act);
        action->setShortcut(QKeySequence(QString::fromLatin1(key)));
    };
    const auto dayMode = [frame] { return frame->application().core().dates().dayMode(); };
    // In week mode the day keys move by whole weeks, as the toolbar's buttons then do.
    addKey("Day &Back", "Alt+Left",
           [frame, dayMode] { frame->days().navigate(dayMode() ? DayBack : WeekBack); });
    addKey("Day &Forward", "Alt+Right",
           [frame, dayMode] { frame->days().navigate(dayMode() ? DayForward : WeekForward); });
    addKey("&Week Back", "Alt+Up", [frame] { frame->days().moveActiveDay(-7); });
    addKey("W&eek Forward", "Alt+Down", [frame] { frame->days().moveActiveDay(7); });
    addKey("&Today", "Alt+Home", [frame] { frame->days().goToToday(); });
    viewMenu->addSeparator();
    m_weekSheet = viewMenu->addAction(QStringLiteral("Week Time&sheet"));
    m_weekSheet->setCheckable(true);
    m_weekSheet->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+W")));
    m_weekSheet->setChecked(
        CAppSettings::readInt(QString::fromLatin1(CMainFrame::kWeekSheetValue), 0) != 0);
    QObject::connect(m_weekSheet, &QAction::toggled, frame, &CMainFrame::showWeekSheet);
    viewMenu->addSeparator();
    viewMenu->addAction(QStringLiteral("&History of the active item"), frame,
                        [frame] { frame->showActiveHistory(); });
    viewMenu->addAction(QStringLiteral("Plan &Overview"), frame,
                        [frame] { frame->showOverview(); });
}

void CFrameMenus::buildHelpMenu() {
    CMainFrame* frame = &m_frame;
    QMenu* help = frame->menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Help &Contents"), frame, [frame] {
        frame->leaveTopForHelp();
        frame->showHelpTopic(QStringLiteral("index.htm"));
    });
    help->addAction(QStringLiteral("&Options"), frame, [frame] { frame->options(); });
    help->addAction(QStringLiteral("&About Q&&L..."), frame,
                    [frame] { frame->application().showAboutBox(); });
    help->addAction(QStringLiteral("On-Line &Support"), frame, [frame] {
        frame->leaveTopForHelp();
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(CMainFrame::kSupportAddress)));
    });
}

// Copy, cut and paste act on the grid that has the focus; while a cell is being edited its
// editor takes these keys (and Ctrl+Z) itself. Cut copies only: cells change only by typing,
// so a stray Ctrl+X never wipes a name, a part or the hours.
void CFrameMenus::addEditAccelerators() {
    CMainFrame* frame = &m_frame;
    const auto focusedGrid = [] { return qobject_cast<CVCF1*>(QApplication::focusWidget()); };
    const auto add = [frame](QKeySequence::StandardKey key, auto act) {
        auto* action = new QAction{frame};
        action->setShortcut(key);
        QObject::connect(action, &QAction::triggered, frame, act);
        frame->addAction(action);
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

void CFrameMenus::buildToolbar() {
    m_toolbar = m_frame.addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setIconSize(QSize(CToolbarImages::kWidth, CToolbarImages::kHeight));
    struct Button {
        const char* label;
        const char* prompt;
        bool hidden;
    };
    const Button buttons[kButtons] = {
        {"Day Back", "Move an Active Day Back", false},
        {"Day Forward", "Move an Active Day Forward", false},
        {"Wk Back", "Move an Active Week Back", true},
        {"Wk Forward", "Move an Active Week Forward", true},
        {"Hide Divs.", "Hide the Priorities of Divisions Window", true},
        {"Divisions", "Show the Priorities of Divisions Window", false},
        {"Start Timer", "Start or stop a timer on the active row's activity (Ctrl+T)", false},
        {"Today", "Make Today the Active Day", false}};
    // The keys that move the active day, named in the buttons' tooltips.
    const char* const keys[kButtons] = {
        " (Alt+Left)", " (Alt+Right)", " (Alt+Left)", " (Alt+Right)", "", "", "", " (Alt+Home)"};
    for (int index = 0; index < kButtons; ++index) {
        QAction* action =
            m_toolbar->addAction(CToolbarImages::icon(static_cast<CToolbarImages::Button>(index)),
                                 QString::fromLatin1(buttons[index].label));
        action->setToolTip(QString::fromLatin1(buttons[index].prompt) +
                           QString::fromLatin1(keys[index]));
        action->setStatusTip(QString::fromLatin1(buttons[index].prompt));
        m_buttons[static_cast<std::size_t>(index)] = action;
        m_buttonHidden[index] = buttons[index].hidden;
    }
    // Today stands after the pair of the mode, Day or Week Back and Forward.
    m_toolbar->insertAction(toolbarAction(HideDivisions), toolbarAction(Today));
    toolbarAction(Timer)->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    connectToolbar();
    measureToolbarButtons();
}

void CFrameMenus::connectToolbar() {
    CMainFrame* frame = &m_frame;
    for (int command = DayBack; command <= WeekForward; ++command)
        QObject::connect(toolbarAction(command), &QAction::triggered, frame,
                         [frame, command] { frame->days().navigate(command); });
    QObject::connect(toolbarAction(HideDivisions), &QAction::triggered, frame,
                     [frame] { frame->showDivisionsWindow(false); });
    QObject::connect(toolbarAction(ShowDivisions), &QAction::triggered, frame,
                     [frame] { frame->showDivisionsWindow(true); });
    QObject::connect(toolbarAction(Today), &QAction::triggered, frame,
                     [frame] { frame->days().goToToday(); });
    QObject::connect(toolbarAction(Timer), &QAction::triggered, frame,
                     [frame] { frame->timerPresenter().toggle(); });
}

// Every button as wide as the widest label allows (50 to 200 pixels of text) and as high as
// an image over a line of text, so the buttons do not jump when the day and week pairs swap.
void CFrameMenus::measureToolbarButtons() {
    const QFontMetrics metrics{m_toolbar->font()};
    int widest = 0;
    for (const QAction* action : m_buttons)
        widest = std::max(widest, metrics.horizontalAdvance(action->text()));
    const int text = std::clamp(widest, 50, 200);
    m_buttonSize = QSize(std::max(29, text + 10),
                         std::max(23, CToolbarImages::kHeight + metrics.height() + 12));
    applyToolbarButtonSize();
}

void CFrameMenus::applyToolbarButtonSize() {
    for (QAction* action : m_buttons)
        if (QWidget* button = m_toolbar->widgetForAction(action))
            button->setFixedSize(m_buttonSize);
}

void CFrameMenus::applyButtonVisibility() {
    for (const auto& [index, hidden] : m_buttonHidden)
        toolbarAction(index)->setVisible(!hidden);
    applyToolbarButtonSize();
}

void CFrameMenus::showModeButtons(bool dayMode) {
    m_buttonHidden[DayBack] = !dayMode;
    m_buttonHidden[DayForward] = !dayMode;
    m_buttonHidden[WeekBack] = dayMode;
    m_buttonHidden[WeekForward] = dayMode;
    applyButtonVisibility();
}

void CFrameMenus::showDivisionsButtons(bool divisionsShown) {
    m_buttonHidden[HideDivisions] = !divisionsShown;
    m_buttonHidden[ShowDivisions] = divisionsShown;
    applyButtonVisibility();
}

void CFrameMenus::showHistory(const CPlanHistory& history) {
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
}
