#pragma once

#include <QDate>
#include <QMainWindow>
#include <QTimer>

#include "app/CToolbarImages.h"
#include "views/CLayoutGreed.h"

#include <array>
#include <functional>
#include <map>
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
class CPaneDialogs;
class CTimerControl;
class QAction;
class QSystemTrayIcon;
class QLabel;
class QToolBar;

// The program's top-level window. It opens the document's data file, keeps its own placement
// in the settings, and on closing stores the plan and releases the data file.
class CMainFrame : public QMainWindow {
public:
    static constexpr const char* kPlacementValue = "MnFrmSzPs";
    static constexpr const char* kSamplesRefused =
        "The storing in samples directory is not allowed to avoid initial sample damage. "
        "Please, choose another directory.";

    CMainFrame(CHrplApp& app, CHrplDoc& document);
    ~CMainFrame() override;

    // Loads the data file under a wait cursor and closes the splash; false when another
    // process holds the file and the program must end.
    bool openDocument();
    void showWithPlacement();
    QString placementText() const;
    CHrplView* view() const { return m_view; }
    void showHelpTopic(const QString& topic);
    // What a dialog's Help button and its F1 key call.
    std::function<void(const QString&)> helpAction();
    CHelpBrowser* helpBrowser() const { return m_help; }

    // The file commands; the file dialog is asked through chooseFile so tests can answer it.
    void openOrNew(const QString& startDirectory = QString());
    // The file chosen for File > Open, or named on the command line.
    void openNamed(const QString& chosen);
    static constexpr const char* kNotOpenedNoName =
        "File was not opened or created because no name was supplied for it.";
    static constexpr const char* kNotOpenedExtension =
        "File was not opened or created because it has no extension .qln or .bak that it must "
        "have.";
    void openSample();
    void importFile();
    void exportFile();
    void save();
    void saveAs();
    void restoreActivities();
    void options();
    void showCalendar();
    static constexpr const char* kSupportAddress = "https://quillon.app/support";
    QWidget* calendarButton() const { return m_calendarButton; }
    QLabel* todayField() const { return m_todayField; }
    void setMessageText(const QString& text);
    QString messageText() const;
    // The day and week commands; the toolbar shows the pair of the current mode.
    void navigate(int command);
    void chooseDay();
    // A week back or forward (days -7 or 7), and today, from the View menu's keys.
    void moveActiveDay(int days);
    void goToToday();
    // A chosen day as the active day, when the dates take it.
    void showActiveDay(const CMyStringDate& day);
    // View > "Week Timesheet": the input pane with a column per day; kept in the settings.
    static constexpr const char* kWeekSheetValue = "weekTimesheet";
    void showWeekSheet(bool shown);
    QAction* weekSheetAction() const { return m_weekSheet; }
    void showModeButtons();
    using enum CToolbarImages::Button;
    static constexpr int kToolbarButtons = CToolbarImages::kButtons;
    QAction* toolbarAction(int index) const { return m_buttons[static_cast<std::size_t>(index)]; }
    QSize toolbarButtonSize() const { return m_buttonSize; }
    QToolBar* toolbar() const { return m_toolbar; }
    void showDivisionsWindow(bool shown);
    bool divisionsWindowShown() const { return m_divisionsWindowShown; }

    static constexpr const char* kReady = "OK. For help press F1 key.";
    static constexpr const char* kStoreFirst =
        "Please use \"File/Save As\" menu to save previous work and change file name if "
        "necessary.";
    static constexpr const char* kTimerKeepsPlan =
        "The plan stays open while its timer runs: another plan opens once the timer is stopped.";
    // Stores the plan a moment after each change.
    CAutoStore& autoStore() { return *m_autoStore; }
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
    void followClock();

    // The charts: the active item's history on the item info sheet, and the plan overview.
    void showActiveHistory();
    void showOverview();
    COverviewDlg* overview() const { return m_overview; }
    CPaneDialogs* paneDialogs() const { return m_paneDialogs.get(); }

    // The live timer: Start or Stop on the active row's activity (the toolbar button, Ctrl+T).
    CTimerControl& timer() { return *m_timer; }
    void toggleTimer();
    // Asks about a timer left running beside the opened plan.
    void offerKeptTimer();
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    // The tray icon's tooltip: the running timer and the activity the priorities put first.
    QString trayText() const;
    // The tray's Start: the activity the priorities pane puts first.
    void startOnNextActivity();

    // Shows the file dialog: title, starting directory, filter, save mode; "" when cancelled.
    std::function<QString(const QString&, const QString&, const QString&, bool)> chooseFile;
    static bool parsePlacement(const QString& text, int numbers[10]);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void leaveTopForHelp();
    void buildToolbar();
    void addEditAccelerators();
    void measureToolbarButtons();
    void applyToolbarButtonSize();
    void applyButtonVisibility();
    bool storeOnClose();
    bool storedAsItIs(const QString& path) const;
    std::optional<std::string> storeQuietly();
    void showDefaultPlacement();
    QDate todayAsQDate();
    void createView();
    // Undo and redo of the plan's changes, and the menu items and the title that show them.
    void stepThroughHistory(bool forward);
    void showHistory();
    // The charts follow the plan and the active day.
    void refreshCharts();
    void buildTimer();
    void showTimer();
    // The activity the priorities put first and the hours it still needs, for the tray.
    std::int32_t nextActivity(QString* text) const;

    CHrplApp& m_app;
    CHrplDoc& m_document;
    CFrameCoordinator* m_coordinator = nullptr;
    void loadChosen(const QString& chosen);
    void openChosen(const QString& chosen);
    // Runs work that replaces or fills the plan; a session end waits until it is done.
    void runBusy(const std::function<void()>& work);
    bool openBackup(const QString& chosen);
    bool openPlanFile(const QString& chosen);
    bool createPlanFile(const QString& chosen);
    void adoptOpenedPath(const QString& loaded);
    bool refuseName(const QString& path, const char* noName, const char* badExtension) const;
    void keyPressEvent(QKeyEvent* event) override;

    bool m_stored = false;
    int m_busy = 0;
    bool m_endPending = false;
    bool m_workLost = false;
    CMessageBar* m_message = nullptr;
    QLabel* m_todayField = nullptr;
    QWidget* m_calendarButton = nullptr;
    QToolBar* m_toolbar = nullptr;
    std::array<QAction*, kToolbarButtons> m_buttons{};
    // Button index to its hidden flag; the toolbar is set from it whenever it changes.
    std::map<int, bool> m_buttonHidden;
    bool m_divisionsWindowShown = false;
    QSize m_buttonSize{89, 52};
    CLayoutGreed m_layout;
    CHrplView* m_view = nullptr;
    QAction* m_undo = nullptr;
    CTimerControl* m_timer = nullptr;
    CAutoStore* m_autoStore = nullptr;
    QTimer m_dayWatch;
    std::string m_followedToday;
    COverviewDlg* m_overview = nullptr;
    QLabel* m_timerLabel = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_weekSheet = nullptr;
    std::unique_ptr<CPaneDialogs> m_paneDialogs;
    CHelpBrowser* m_help = nullptr;
};
