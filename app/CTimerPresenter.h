#pragma once

#include "app/CTimerHost.h"

#include <QString>

#include <cstdint>

class CMainFrame;
class CTimerControl;
class CHrplDoc;
class QLabel;
class QSystemTrayIcon;

// The live timer as the window shows it: the toolbar button's text, the status bar's label,
// the tray icon with its menu and tooltip, the question about a timer kept from before, and
// the activity the priorities put first. It is the timer's host: the questions are dialogs
// over the window, the store is the window's, the idle time the desktop's.
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
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    // The tray icon's tooltip: the running timer and the activity the priorities put first.
    QString trayText() const;
    // The tray's Start: the activity the priorities pane puts first.
    void startOnNextActivity();

    // No one may be there to answer: the timer then keeps running.
    Answer askAboutTimer(const Question& question) override;
    bool storePlanNow() override;
    std::optional<long long> idleSeconds() override;

private:
    void buildTray();
    // The activity the priorities put first and the hours it still needs, for the tray.
    std::int32_t nextActivity(QString* text) const;

    CMainFrame& m_frame;
    CTimerControl& m_timer;
    CHrplDoc& m_document;
    QLabel* m_label = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
};
