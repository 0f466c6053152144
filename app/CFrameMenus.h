#pragma once

#include "app/CToolbarImages.h"

#include <QSize>

#include <array>
#include <map>

class CMainFrame;
class CPlanHistory;
class QAction;
class QToolBar;

// The main window's menus, toolbar and edit keys: built once, each action wired to what the
// window does; the frame sets their texts and which buttons show.
class CFrameMenus {
public:
    using enum CToolbarImages::Button;
    static constexpr int kButtons = CToolbarImages::kButtons;
    static constexpr const char* kForAWindow =
        "To get the edit menu for a particular window, please click with RIGHT mouse button "
        "inside this window.";

    explicit CFrameMenus(CMainFrame& frame) : m_frame(frame) {}

    void build();
    QAction* toolbarAction(int index) const { return m_buttons[static_cast<std::size_t>(index)]; }
    QToolBar* toolbar() const { return m_toolbar; }
    QSize buttonSize() const { return m_buttonSize; }
    QAction* weekSheetAction() const { return m_weekSheet; }
    // The pair of the day mode, or of the week mode.
    void showModeButtons(bool dayMode);
    void showDivisionsButtons(bool divisionsShown);
    // The undo and redo items with the steps they would take.
    void showHistory(const CPlanHistory& history);
    // Every button as wide as the widest label, after the font changed too.
    void measureToolbarButtons();

private:
    void buildFileMenu();
    void buildEditMenu();
    void buildViewMenu();
    void buildHelpMenu();
    void buildToolbar();
    void connectToolbar();
    void addEditAccelerators();
    void applyToolbarButtonSize();
    void applyButtonVisibility();

    CMainFrame& m_frame;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_weekSheet = nullptr;
    QToolBar* m_toolbar = nullptr;
    std::array<QAction*, kButtons> m_buttons{};
    // Button index to its hidden flag; the toolbar is set from it whenever it changes.
    std::map<int, bool> m_buttonHidden;
    QSize m_buttonSize{89, 52};
};
