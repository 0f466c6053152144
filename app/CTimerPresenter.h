#pragma once

#include "app/CTimerHost.h"

#include <QString>

#include <cstdint>

class CMainFrame;
class CTimerControl;
class CHrplDoc;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class CNotifier;
class CReminders;
class CTrayWatch;

// The live timer as the window shows it: the toolbar button's text, the status bar's label,
// the tray icon with its menu and tooltip once the desktop has a tray, the question about a
// timer kept from before, the activity the priorities put first, and the reminders. It is the
// timer's host: the questions are dialogs over the window, the store is the window's, the idle time
// the desktop's.
class CTimerPresenter : public CTimerHost {
public:
    static constexpr const char* kNoActivity =
        "To start a timer, activate a cell in the row of an activity, please.";

    CTimerPresenter(CMainFrame& frame, CTimerControl& timer, CHrplDoc& document);
    ~CTimerPresenter() override;
    CTimerPresenter(const CTimerPresenter&) = delete;
    CTimerPresenter& operator=(const CTimerPresenter&) = delete;

    // The label and the tray; the timer's changes are shown from then on.
    void build();
    // Start or Stop on the active row's activity (the toolbar button, Ctrl+T).
    void toggle();
    void show();
    // Asks about a timer left running beside the opened plan.
    void offerKept();
    // None until the desktop has a tray.
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    CReminders& reminders() const { return *m_reminders; }
    // The window raised, with the activity's row active (-1: the row as it is).
    void showActivity(std::int32_t activity);
    // The tray icon's tooltip: the running timer and the activity the priorities put first.
    QString trayText() const;
    // The tray's Start: the activity the priorities pane puts first.
    void startOnNextActivity();

    // No one may be there to answer: the timer then keeps running.
    Answer askAboutTimer(const Question& question) override;
    bool storePlanNow() override;
    std::optional<long long> idleSeconds() override;

private:
    void buildTrayMenu();
    void makeTrayIcon();

    CMainFrame& m_frame;
    CTimerControl& m_timer;
    CHrplDoc& m_document;
    QLabel* m_label = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    CTrayWatch* m_trayWatch = nullptr;
    CNotifier* m_notifier = nullptr;
    CReminders* m_reminders = nullptr;
};
