#pragma once

#include "views/CInputView.h"
#include "views/CLayoutManger.h"
#include "views/CLayoutResult.h"
#include "views/CListViewOfActivities.h"
#include "views/CListViewOfActivityItems.h"

#include <QWidget>

#include <array>
#include <functional>

class CHrplDoc;
class CLayoutGreed;
class CVCF1;
class QMenu;

// The main view: the three grids and their panes, placed by the pane layout. It tracks the
// active pane, routes every grid event to its pane, shows the context menus and turns keys
// into commands. The dialogs it needs are the main frame's; it reaches them through hooks.
class CHrplView : public QWidget {
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
    void planOpened();
    void restore(const std::vector<int>& items);
    QString helpTopic() const;
    // The three panes, in the order the layout places them.
    enum class Pane { Input, Activities, Divisions };
    static constexpr std::size_t kPanes = 3;
    static std::size_t index(Pane pane) { return static_cast<std::size_t>(pane); }
    void activatePane(Pane pane);
    Pane activePane() const { return m_activePane; }

    CInputView& input() { return m_input; }
    CListViewOfActivities& activities() { return m_activities; }
    CListViewOfActivityItems& divisions() { return m_divisions; }
    CVCF1* grid(Pane pane) const { return m_grids[index(pane)]; }

    // Hooks the main frame sets: the "Activity or Division?" question, whether a modeless
    // dialog of the input pane is open, the item info sheet beside the activities pane, and
    // closing it.
    enum class InsertKind { Cancel, Activity, Division };
    std::function<InsertKind()> askInsertKind;
    std::function<bool()> moveDialogOpen;
    std::function<bool()> adjustDialogOpen;
    std::function<void()> showSheetBeside;
    std::function<void()> closeSheet;
    // Showing or hiding the divisions pane from a pane's command.
    std::function<void(bool shown)> requestDivisionsPane;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrange();
    void placePanes();
    void fitPanes();
    void onMouseDown(Pane pane, int button, int x, int y);
    void showMenu(Pane pane, const QPoint& at);
    void onInputSelection();
    void onKeyDown(Pane pane, int* key);

    CHrplDoc& m_document;
    CLayoutGreed& m_layout;
    std::array<CVCF1*, kPanes> m_grids{};
    CInputView m_input;
    CListViewOfActivities m_activities;
    CListViewOfActivityItems m_divisions;
    std::array<CSpreadsheetView*, kPanes> m_panes{};
    CLayoutManger m_manager;
    CLayoutResult m_result;
    Pane m_activePane = Pane::Input;
    bool m_divisionsShown = false;
    bool m_fitPending = false;
};
