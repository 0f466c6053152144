#pragma once

#include <QDate>
#include <QMainWindow>
#include <QTimer>

#include "app/CDayCommands.h"
#include "app/CFileCommands.h"
#include "app/CFrameMenus.h"
#include "app/CTimerPresenter.h"
#include "views/CLayoutGreed.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class CAutoStore;
class CMessageBar;
class CFrameCoordinator;
class CHelpBrowser;
class CMyStringDate;
class CHrplApp;
class CHrplDoc;
class CHrplView;
class COverviewDlg;
class CReportDlg;
class CPaneDialogs;
class CPlanFollower;
class CTimerControl;
class QAction;
class QLabel;
class QToolBar;

// The program's top-level window. It puts together the file commands, the menus and toolbar,
// the timer's presentation and the panes; it keeps its own placement in the settings, and on
// closing stores the plan and releases the data file.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* kPlacementValue = "MnFrmSzPs";

    CMainFrame(CHrplApp& app, CHrplDoc& document);
    ~CMainFrame() override;

    CHrplApp& application() const { return m_app; }
    // Loads the data file under a wait cursor and closes the splash; false when another
    // process holds the file and the program must end.
    bool openDocument();
    void showWithPlacement();
    QString placementText() const;
    CHrplView* view() const { return m_view; }
    void showHelpTopic(const QString& topic);
    // Help opens below the companion's window, not under a window kept on top.
    void leaveTopForHelp();
    // What a dialog's Help button and its F1 key call.
    std::function<void(const QString&)> helpAction();
    CHelpBrowser* helpBrowser() const { return m_help; }

    // The File menu's commands, with the file dialog they ask.
    CFileCommands& files() { return m_files; }
    CFrameMenus& menus() { return m_menus; }
    // The commands that move the active day.
    CDayCommands& days() { return m_days; }
    // The plan's file changed: the title and the timer's file follow it.
    void planPathChanged();
    // The active day changed: its mode's buttons, the panes and the charts follow.
    void activeDayShown();
    void restoreActivities();
    void options();
    static constexpr const char* kSupportAddress = "https://quillon.app/support";
    QWidget* calendarButton() const { return m_calendarButton; }
    QLabel* todayField() const { return m_todayField; }
    void setMessageText(const QString& text);
    QString messageText() const;
    // View > "Week Timesheet": the input pane with a column per day; kept in the settings.
    static constexpr const char* kWeekSheetValue = "weekTimesheet";
    void showWeekSheet(bool shown);
    QAction* weekSheetAction() const { return m_menus.weekSheetAction(); }
    void showModeButtons();
    using enum CToolbarImages::Button;
    static constexpr int kToolbarButtons = CToolbarImages::kButtons;
    QAction* toolbarAction(int index) const { return m_menus.toolbarAction(index); }
    QSize toolbarButtonSize() const { return m_menus.buttonSize(); }
    QToolBar* toolbar() const { return m_menus.toolbar(); }
    void showDivisionsWindow(bool shown);
    bool divisionsWindowShown() const { return m_divisionsWindowShown; }
    // Undo and redo of the plan's changes, and the menu items and the title that show them.
    void stepThroughHistory(bool forward);
    void showHistory();

    static constexpr const char* kReady = "OK. For help press F1 key.";
    // Stores the plan a moment after each change.
    CAutoStore& autoStore() { return *m_autoStore; }
    // Takes in what other computers change in the plan's file.
    CPlanFollower& follower() { return *m_follower; }
    static constexpr const char* kNotClosed =
        "The program stays open because the plan was not stored. Store it with menu "
        "\"File/Save As\", then quit.";
    // The end of the desktop session: the plan is stored, without asking anything, or kept as
    // an emergency copy.
    void endSession();
    // Whether a session's end found the plan neither storable nor copyable.
    bool workLost() const { return m_workLost; }

    // The window coordination with the companion reminder.
    CFrameCoordinator& coordinator() { return *m_coordinator; }

    // Today as the clock has it: the panes follow when it moves on.
    static constexpr int kDayWatchMs = 15000;
    // The rest of the load waits at most this long for the first paint.
    static constexpr int kLoadTailMostMs = 2000;
    void followClock();

    // The charts: the active item's history on the item info sheet, and the plan overview.
    void showActiveHistory();
    void showOverview();
    // "Report": the hours of any period, the archive's older weeks included.
    void showReport();
    CReportDlg* report() const { return m_report; }
    COverviewDlg* overview() const { return m_overview; }
    CPaneDialogs* paneDialogs() const { return m_paneDialogs.get(); }

    // The live timer, and how the window shows it.
    CTimerControl& timer() { return *m_timer; }
    CTimerPresenter& timerPresenter() { return m_timerPresenter; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildStatusBar();
    bool storeOnClose();
    bool storedAsItIs() const;
    std::optional<std::string> storeQuietly();
    void createView();
    // The charts follow the plan and the active day.
    void refreshCharts();
    void connectFileCommands();

    CHrplApp& m_app;
    CHrplDoc& m_document;
    CFrameCoordinator* m_coordinator = nullptr;
    bool m_stored = false;
    bool m_endPending = false;
    bool m_workLost = false;
    CMessageBar* m_message = nullptr;
    QLabel* m_todayField = nullptr;
    QWidget* m_calendarButton = nullptr;
    bool m_divisionsWindowShown = false;
    CLayoutGreed m_layout;
    CHrplView* m_view = nullptr;
    CTimerControl* m_timer;
    CTimerPresenter m_timerPresenter;
    CFileCommands m_files;
    CFrameMenus m_menus{*this};
    CDayCommands m_days{*this};
    CAutoStore* m_autoStore = nullptr;
    CPlanFollower* m_follower = nullptr;
    QTimer m_dayWatch;
    std::string m_followedToday;
    COverviewDlg* m_overview = nullptr;
    CReportDlg* m_report = nullptr;
    std::unique_ptr<CPaneDialogs> m_paneDialogs;
    CHelpBrowser* m_help = nullptr;
};
