#include "views/CHrplView.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "views/CLayoutGreed.h"
#include "views/CVCF1.h"
#include "views/GridFont.h"
#include "views/MainViewLayout.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>

CHrplView::CHrplView(CHrplDoc& document, CLayoutGreed& layout, QWidget* parent)
    : QWidget(parent), m_document(document), m_layout(layout), m_input(document) {
    m_panes = {&m_input, &m_activities, &m_divisions};
    for (std::size_t i = 0; i < kPanes; ++i) {
        const auto pane = static_cast<Pane>(i);
        CVCF1* grid = new CVCF1{this};
        m_grids[i] = grid;
        CSpreadsheetView* view = m_panes[i];
        view->controlId = 1004 + static_cast<int>(i);
        view->paneIndex = static_cast<int>(i);
        view->attachGrid(grid);
        connect(grid, &CVCF1::mouseDown, this,
                [this, pane](int button, int, int x, int y) { onMouseDown(pane, button, x, y); });
        connect(grid, &CVCF1::keyDown, this,
                [this, pane](int* key, int shift) { onKeyDown(pane, key, shift); });
    }
    grid(Pane::Divisions)->hide();
    m_input.setPriorityPanes(&m_activities, &m_divisions);
    connect(grid(Pane::Input), &CVCF1::endEdit, this,
            [this](QString* text, bool* cancel) { m_input.onFinishedEdit(text, cancel); });
    connect(grid(Pane::Input), &CVCF1::selectionChanged, this, &CHrplView::onInputSelection);
    connect(grid(Pane::Activities), &CVCF1::selectionChanged, this,
            [this] { m_activities.onSelectionChanged(m_document); });
    connect(grid(Pane::Divisions), &CVCF1::selectionChanged, this,
            [this] { m_divisions.onSelectionChanged(m_document); });
    connect(grid(Pane::Divisions), &CVCF1::doubleClicked, this, [this](int row, int) {
        m_divisions.changeDivisionToRow(m_document, row - CListViewOfActivities::kTitleRows);
    });
    connect(grid(Pane::Divisions), &CVCF1::keyUp, this, [this](int* key, int) {
        if (*key != Qt::Key_Return && *key != Qt::Key_Enter)
            return;
        int row = 0;
        int column = 0;
        grid(Pane::Divisions)->activeCell(row, column);
        m_divisions.changeDivisionToRow(m_document, row - CListViewOfActivities::kTitleRows);
    });
    setHosts(nullptr, nullptr);
}

// The panes' own commands show and hide the divisions pane through the window, which keeps its
// toolbar in step.
void CHrplView::setHosts(CViewHost* view, CInputPaneHost* panes) {
    m_host = view;
    CInputPaneHost* paneHost = panes ? panes : &m_ownPaneHost;
    m_input.setHost(paneHost);
    m_activities.setHost(paneHost);
    m_divisions.setHost(paneHost);
}

CViewHost& CHrplView::host() const {
    static CViewHost unanswered;
    return m_host ? *m_host : unanswered;
}

void CHrplView::create() {
    for (CSpreadsheetView* pane : m_panes) {
        pane->holdRowFitting(!isVisible());
        pane->initialiseControl();
        pane->SetupGrid();
        pane->blankColumnHeadings();
        pane->BuildTitle();
    }
    arrange();
    for (CSpreadsheetView* pane : m_panes)
        pane->PrepareRows(m_document);
    m_input.FillFromDocument(m_document);
    activatePane(Pane::Input);
    placePanes();
}

void CHrplView::arrange() {
    // The split gives each side its columns' characters and half the spare screen width.
    const QFontMetrics metrics{gridFont(QStringLiteral("Courier New"), 10)};
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1280;
    // A timesheet's seven days and total take about sixty characters more.
    m_arrangedForDays = m_input.showsDays();
    const int leftChars = m_arrangedForDays ? 89 : 27;
    const double left =
        mainviewlayout::leftFraction(metrics.averageCharWidth(), leftChars, 12, screenWidth);
    mainviewlayout::arrange(m_layout, left, m_divisionsShown);
    m_manager.takeFractions(m_layout);
}

void CHrplView::placePanes() {
    std::vector<CLayoutManger::Margins> margins;
    for (const CSpreadsheetView* pane : m_panes)
        margins.push_back(
            {pane->marginLeft, pane->marginRight, pane->marginTop, pane->marginBottom});
    m_manager.computeRects(m_result, width(), height(), margins);
    for (std::size_t i = 0; i < kPanes; ++i) {
        CVCF1* grid = m_grids[i];
        const bool inArrangement = i != index(Pane::Divisions) || m_divisionsShown;
        grid->setVisible(inArrangement);
        if (!inArrangement || i >= m_result.rects.size())
            continue;
        const CLayoutResult::Rect& r = m_result.rects[i];
        grid->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    fitPanes();
    // A grid's viewport settles once its scroll bars have been laid out: fit again then.
    if (!m_fitPending) {
        m_fitPending = true;
        QTimer::singleShot(0, this, [this] {
            m_fitPending = false;
            fitPanes();
        });
    }
}

void CHrplView::fitPanes() {
    for (std::size_t i = 0; i < kPanes; ++i) {
        if (!m_grids[i]->isVisible() && isVisible())
            continue;
        m_panes[i]->FitColumnsToWidth();
        m_panes[i]->FitHeaderRow();
    }
}

// The rows were filled before the window had its size: they are fitted to it now, once.
void CHrplView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    for (CSpreadsheetView* pane : m_panes)
        pane->holdRowFitting(false);
    fitPanes();
}

void CHrplView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePanes();
}

void CHrplView::fitShape() {
    if (m_input.showsDays() != m_arrangedForDays) {
        arrange();
        placePanes();
    }
    activatePane(m_activePane); // a rebuilt title starts with the active look
}

void CHrplView::setWeekSheet(bool shown) {
    if (m_input.setWeekSheet(shown))
        fitShape();
}

void CHrplView::showDivisionsPane(bool shown) {
    m_divisionsShown = shown;
    arrange();
    placePanes();
    if (shown)
        m_divisions.fill(m_document);
}

void CHrplView::activatePane(Pane pane) {
    m_activePane = pane;
    for (std::size_t i = 0; i < kPanes; ++i) {
        if (i == index(pane))
            m_panes[i]->styleActiveTitle(1);
        else
            m_panes[i]->styleInactiveTitle(1);
    }
}

void CHrplView::onMouseDown(Pane pane, int button, int x, int y) {
    if (pane != m_activePane) {
        activatePane(pane);
        if (pane == Pane::Activities)
            host().showSheetBeside();
        else
            host().closeSheet();
    }
    if (button == 1 && pane == Pane::Input) {
        // A day's heading in the timesheet makes that day the active day.
        const QModelIndex cell = grid(pane)->indexAt(QPoint(x, y));
        const std::optional<CMyStringDate> day = m_input.dayOfColumn(cell.column() + 1);
        if (cell.row() + 1 == CInputView::kTitleRows && day)
            host().showActiveDay(*day);
    }
    if (button != 2)
        return;
    if (pane == Pane::Input) {
        CMessageSink& messages = m_document.plan().app().messages();
        if (host().moveDialogOpen()) {
            messages.message(kFinishMoving);
            return;
        }
        if (host().adjustDialogOpen()) {
            messages.message(kFinishAdjusting);
            return;
        }
    }
    showMenu(pane, grid(pane)->mapToGlobal(QPoint(x, y)));
}

void CHrplView::showMenu(Pane pane, const QPoint& at) {
    QMenu menu{this};
    if (pane == Pane::Input) {
        menu.addAction(QStringLiteral("Change Time Part"), this,
                       [this] { m_input.commands().changeTimePart(); });
        menu.addSeparator();
        menu.addAction(QStringLiteral("Insert Activity"), this,
                       [this] { m_input.commands().insertActivity(); });
        menu.addAction(QStringLiteral("Insert Division"), this,
                       [this] { m_input.commands().insertDivision(); });
        menu.addSeparator();
        menu.addAction(QStringLiteral("Move To"), this, [this] { m_input.commands().moveTo(); });
        menu.addSeparator();
        menu.addAction(QStringLiteral("Delete"), this, [this] { m_input.commands().deleteItem(); });
        menu.addSeparator();
        menu.addAction(QStringLiteral("Division  View"), this,
                       [this] { m_input.commands().divisionView(); });
        menu.addSeparator();
        menu.addAction(QStringLiteral("Activity Item Info"), this,
                       [this] { m_input.commands().itemInfo(); });
        addTimerItem(menu, pane);
    } else if (pane == Pane::Activities) {
        menu.addAction(QStringLiteral("Activity Item Info"), this,
                       [this] { host().showSheetBeside(); });
        menu.addAction(QStringLiteral("Division  View"), this,
                       [this] { m_activities.divisionViewCommand(m_document, m_divisions); });
        addTimerItem(menu, pane);
    } else {
        menu.addAction(QStringLiteral("Change Division"), this,
                       [this] { m_divisions.changeDivisionCommand(m_document); });
        menu.addAction(QStringLiteral("Activity Item Info"), this,
                       [this] { m_divisions.itemInfoCommand(m_document); });
        menu.addSeparator();
        menu.addAction(QStringLiteral("Close"), this, [this] { m_divisions.closeCommand(); });
    }
    menu.exec(at);
}

void CHrplView::addTimerItem(QMenu& menu, Pane pane) {
    menu.addSeparator();
    const bool running = host().timerRunning();
    menu.addAction(running ? QStringLiteral("Stop Timer") : QStringLiteral("Start Timer"), this,
                   [this, pane] { host().toggleTimer(activeItem(pane)); });
}

std::int32_t CHrplView::activeItem(Pane pane) {
    if (pane == Pane::Activities)
        return m_activities.activeItem(m_document);
    if (pane == Pane::Divisions)
        return m_divisions.activeItem(m_document);
    return m_input.activeItemId();
}

std::int32_t CHrplView::activeItem() {
    return activeItem(m_activePane);
}

void CHrplView::markTimedItem(std::int32_t itemId) {
    m_input.markTimedItem(itemId);
}

void CHrplView::onKeyDown(Pane pane, int* key, int shift) {
    // The menu key, or Shift+F10 where the keyboard has none: the pane's menu at the active cell.
    if (*key == Qt::Key_Menu || (*key == Qt::Key_F10 && shift == 1)) {
        *key = 0;
        CVCF1* g = grid(pane);
        const QRect cell = g->visualRect(g->currentIndex());
        const QPoint at = g->viewport()->rect().intersects(cell)
                              ? g->viewport()->mapTo(g, cell.center())
                              : g->rect().center();
        onMouseDown(pane, 2, at.x(), at.y());
        return;
    }
    if (pane != Pane::Input)
        return;
    if (*key == Qt::Key_Insert) {
        *key = 0;
        using InsertKind = CViewHost::InsertKind;
        const InsertKind kind = host().askInsertKind();
        if (kind == InsertKind::Activity)
            m_input.commands().insertActivity();
        else if (kind == InsertKind::Division)
            m_input.commands().insertDivision();
    } else if (*key == Qt::Key_Delete) {
        *key = 0;
        m_input.commands().deleteItem();
    }
}

void CHrplView::onInputSelection() {
    if (CSpreadsheetView::selectionBusy())
        return;
    m_input.leaveTitleRows();
    host().inputSelectionMoved();
}

void CHrplView::activeDateChanged() {
    if (!grid(Pane::Input)->isVisible())
        return;
    m_input.OnActiveDateChanged(m_document);
    fitShape();
}

bool CHrplView::editing() const {
    return std::any_of(m_grids.begin(), m_grids.end(),
                       [](const CVCF1* grid) { return grid && grid->editing(); });
}

void CHrplView::planOpened() {
    m_input.PrepareRows(m_document);
    m_input.FillFromDocument(m_document);
}

void CHrplView::planReplaced() {
    int row = 0;
    int column = 0;
    grid(Pane::Input)->activeCell(row, column);
    m_input.rebuild(m_input.activeItemId(), column);
    if (m_divisionsShown)
        m_divisions.fill(m_document);
}

void CHrplView::restore(const std::vector<int>& items) {
    m_input.commands().restore(items);
}

bool CHrplView::undo() {
    const bool stepped = m_input.commands().stepThroughHistory(false);
    fitShape();
    return stepped;
}

bool CHrplView::redo() {
    const bool stepped = m_input.commands().stepThroughHistory(true);
    fitShape();
    return stepped;
}

// The divisions page is about the divisions pane: it is the topic while that pane is active.
QString CHrplView::helpTopic() const {
    return m_divisionsShown && m_activePane == Pane::Divisions ? QStringLiteral("qlnViewDvsnV.htm")
                                                               : QStringLiteral("qlnView.htm");
}
