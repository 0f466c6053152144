#pragma once

#include "views/CInputView.h"
#include "views/CLayoutManger.h"
#include "views/CLayoutResult.h"
#include "views/CListViewOfActivities.h"
#include "views/CListViewOfActivityItems.h"
#include "views/CViewHost.h"

#include <QWidget>

#include <array>

class CHrplDoc;
class CLayoutGreed;
class CVCF1;
class QMenu;

// The main view: the three grids and their panes, placed by the pane layout. It tracks the
// active pane, routes every grid event to its pane, shows the context menus and turns keys
// into commands. The dialogs it needs are the main frame's; it reaches them through its hosts.
class CHrplView : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kFinishMoving = "First finish with the moving of an item, please!";
    static constexpr const char* kFinishAdjusting =
        "First finish with adjusting time part, please!";

    CHrplView(CHrplDoc& document, CLayoutGreed& layout, QWidget* parent = nullptr);

    // Creation after the plan is loaded: titles, rows, the two-pane arrangement.
    void create();
    void showDivisionsPane(bool shown);
    bool divisionsShown() const { return m_divisionsShown; }
    // The frame's refresh requests.
    void activeDateChanged();
    // Whether a cell of any pane is being edited.
    bool editing() const;
    void planOpened();
    // The plan was replaced under the panes (its file changed): the active cell stays on the
    // item and the column it was on, where that item is still there.
    void planReplaced();
    void restore(const std::vector<int>& items);
    // The input pane marks the row of the activity a live timer runs on (-1: none).
    void markTimedItem(std::int32_t itemId);
    // Undo and redo of the plan's last change; false when there was none.
    bool undo();
    bool redo();
    // The input pane as a timesheet of the active week.
    void setWeekSheet(bool shown);
    QString helpTopic() const;
    // The three panes, in the order the layout places them.
    enum class Pane { Input, Activities, Divisions };
    static constexpr std::size_t kPanes = 3;
    static std::size_t index(Pane pane) { return static_cast<std::size_t>(pane); }
    void activatePane(Pane pane);
    Pane activePane() const { return m_activePane; }
    // The item of the active row of a pane, or of the active pane; -1 for none.
    std::int32_t activeItem(Pane pane);
    std::int32_t activeItem();

    CInputView& input() { return m_input; }
    CListViewOfActivities& activities() { return m_activities; }
    CListViewOfActivityItems& divisions() { return m_divisions; }
    CVCF1* grid(Pane pane) const { return m_grids[index(pane)]; }

    // The window around the view: what the view asks, and what the panes ask. Without one,
    // the panes' commands show and hide the divisions pane here and every question is
    // unanswered.
    void setHosts(CViewHost* view, CInputPaneHost* panes);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void arrange();
    // After the input pane may have changed its shape: the width shared out again.
    void fitShape();
    void placePanes();
    void fitPanes();
    void onMouseDown(Pane pane, int button, int x, int y);
    void showMenu(Pane pane, const QPoint& at);
    void addTimerItem(QMenu& menu, Pane pane);
    void onInputSelection();
    void onKeyDown(Pane pane, int* key, int shift);

    CViewHost& host() const;

    // The panes' host while the window gives none.
    class OwnPaneHost : public CInputPaneHost {
    public:
        explicit OwnPaneHost(CHrplView& view) : m_view(view) {}
        void showDivisionsPane(bool shown) override { m_view.showDivisionsPane(shown); }

    private:
        CHrplView& m_view;
    };

    CHrplDoc& m_document;
    CLayoutGreed& m_layout;
    CViewHost* m_host = nullptr;
    OwnPaneHost m_ownPaneHost{*this};
    std::array<CVCF1*, kPanes> m_grids{};
    CInputView m_input;
    CListViewOfActivities m_activities;
    CListViewOfActivityItems m_divisions;
    std::array<CSpreadsheetView*, kPanes> m_panes{};
    CLayoutManger m_manager;
    CLayoutResult m_result;
    Pane m_activePane = Pane::Input;
    bool m_divisionsShown = false;
    bool m_arrangedForDays = false;
    bool m_fitPending = false;
};
