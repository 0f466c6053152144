#include "views/CInputView.h"

#include "core/CDayNavigator.h"
#include "core/CMessageSink.h"
#include "core/QlnDateFormat.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPriorityComputation.h"
#include "parse/CStringChckF1.h"
#include "views/CListViewOfActivities.h"
#include "views/CListViewOfActivityItems.h"
#include "views/CVCF1.h"
#include "views/PlanText.h"

#include <algorithm>
#include <limits>

using Column = CInputColumns::Column;
using Entry = CInputColumns::Entry;
using Shows = CInputColumns::Shows;

namespace {

QString dateText(const CMyStringDate& date, const char* pattern) {
    if (!date.isValid())
        return QStringLiteral("Invalid DateTime");
    return QString::fromStdString(qlndateformat::format(date.date(), pattern));
}

} // namespace

CInputPaneHost& CInputView::paneHost() const {
    static CInputPaneHost unanswered;
    return m_host ? *m_host : unanswered;
}

bool CInputView::wantsDays() const {
    return m_weekSheet && !m_document.plan().app().dates().activeWeekShown();
}

bool CInputView::setWeekSheet(bool shown) {
    m_weekSheet = shown;
    if (!m_built || wantsDays() == m_daysShown)
        return false;
    reshape();
    FitHeaderRow();
    FillFromDocument(m_document);
    return true;
}

// Days and the week's total come and go with the columns' count: the grid is built again.
void CInputView::reshape() {
    CVCF1* g = grid();
    if (!g)
        return;
    g->beginBatch();
    g->clearRange(1, -1, std::numeric_limits<int>::max(), -1, 1);
    SetupGrid();
    blankColumnHeadings();
    BuildTitle();
    g->endBatch();
}

void CInputView::showActiveDate() {
    if (wantsDays() != m_daysShown)
        reshape();
    else
        writeDateRows();
    FitHeaderRow();
}

std::optional<CMyStringDate> CInputView::dayOfColumn(int column) const {
    const Column* c = m_table.at(column);
    if (!c || c->day == 0)
        return std::nullopt;
    const auto sunday = qlndates::weekStart(m_document.plan().app().dates().activeDay().date());
    return CMyStringDate{sunday + std::chrono::days{c->day - 1}};
}

int CInputView::columnOfDay(const std::string& day) const {
    const int first = m_table.first(Kind::Hours);
    if (!m_daysShown)
        return first;
    return first + qlndates::dayOfWeek(CMyStringDate::parse(day)) - 1;
}

void CInputView::SetupGrid() {
    m_daysShown = wantsDays();
    m_table = CInputColumns{m_daysShown};
    setGridShape(lastColumn() + 1, kTitleRows);
    CVCF1* g = grid();
    if (!g)
        return;
    g->setEmptyRowHint(QStringLiteral("type a name to add an activity"));
    g->setCellRules(this);
}

bool CInputView::editable(int row, int column) const {
    const Column* c = m_table.at(column);
    return row > kTitleRows && (!c || c->entry != Entry::None);
}

// Title rows and the priorities are shown, never typed: refused at the first keystroke.
bool CInputView::refusesEdit(int row, int column) const {
    if (editable(row, column))
        return false;
    m_document.plan().app().messages().message(kNotEditable);
    return true;
}

const CRowTypeInfo* CInputView::recordOfRow(int row) const {
    const auto record = m_document.inputRows.find(row - kTitleRows);
    if (row <= kTitleRows || record == m_document.inputRows.end())
        return nullptr;
    return &record->second;
}

// Tab goes through what a row's item takes typed: its part, and its hours when it is an
// activity, on the days that have come. Names are typed only where the user puts the cell.
bool CInputView::isTabStop(int row, int column) const {
    const CRowTypeInfo* record = recordOfRow(row);
    const Column* c = m_table.at(column);
    if (!record || !c || !editable(row, column))
        return false;
    if (c->entry == Entry::Part)
        return true;
    // A day still to come takes no hours yet.
    const std::optional<CMyStringDate> day = dayOfColumn(column);
    if (day && day->text() > m_document.plan().app().dates().today().text())
        return false;
    const CActivityItem* item = m_document.plan().findItem(record->itemId());
    return c->entry == Entry::Hours && item && !item->isDivision();
}

// A name is edited as the item's own name, without the divisions it is shown with.
QString CInputView::editText(int row, int column) const {
    const Column* c = m_table.at(column);
    const CRowTypeInfo* record = recordOfRow(row);
    if (!c || c->entry != Entry::Name || !record)
        return {};
    const CActivityItem* item = m_document.plan().findItem(record->itemId());
    return item ? plantext::toDisplay(item->name) : QString();
}

void CInputView::writeDateRows() {
    CAppDates& dates = m_document.plan().app().dates();
    setCellText(2, 2, dateText(dates.today(), "%a, %b %d %Y"));
    const CMyStringDate& active = dates.activeDay();
    const int hours = m_table.first(Kind::Hours);
    if (!dates.activeWeekShown()) {
        setCellText(3, 1, QStringLiteral("Active Day: "));
        setCellText(3, 2, dateText(active, "%a, %b %d %Y"));
        if (m_daysShown)
            writeDayHeadings();
        else
            setCellText(kTitleRows, hours,
                        QStringLiteral("Hours Spent in ") + dateText(active, "%a, %b %d"));
        return;
    }
    const CMyStringDate sunday{qlndates::weekStart(active.date())};
    const CMyStringDate saturday{qlndates::weekStart(active.date()) + std::chrono::days{6}};
    setCellText(3, 1, QStringLiteral("Active Week: "));
    setCellText(3, 2,
                dateText(sunday, "%b %d %Y") + QStringLiteral(" to ") +
                    dateText(saturday, "%b %d %Y"));
    setCellText(kTitleRows, hours, QStringLiteral("Hours Spent in Active Week "));
}

// Each day's heading: its weekday and date, "Today" for today; the active day's stands out,
// and the days still to come, which take no hours yet, are dimmed.
void CInputView::writeDayHeadings() {
    CVCF1* g = grid();
    CAppDates& dates = m_document.plan().app().dates();
    const std::string today = dates.today().text();
    const std::string active = dates.activeDay().text();
    int row = 0;
    int column = 0;
    g->activeCell(row, column);
    for (int c = 1; c <= lastColumn(); ++c) {
        const std::optional<CMyStringDate> day = dayOfColumn(c);
        if (!day)
            continue;
        setCellText(kTitleRows, c,
                    dateText(*day, day->text() == today ? "Today\n%m/%d" : "%a\n%m/%d"));
        selectCell(kTitleRows, c);
        g->setSelectionFont(rowFont(true, day->text() > today ? kDimText : 0x000000));
        g->setSelectionPattern(1, day->text() == active ? kPaleBlue : kPlain, 0xFFFFFF);
        g->setSelectionAlignment(CCellFormat::Centre, true, 2);
    }
    g->keepActiveCell(row, column);
}

void CInputView::writeHeadings() {
    for (int c = 1; c <= lastColumn(); ++c)
        if (!m_table.at(c)->heading.isEmpty())
            setCellText(kTitleRows, c, m_table.at(c)->heading);
}

void CInputView::BuildTitle() {
    CVCF1* g = grid();
    if (!g)
        return;
    const int last = lastColumn();
    setCellText(1, 1, QStringLiteral("Input"));
    setCellText(2, 1, QStringLiteral("Today: "));
    writeHeadings();
    // Row 1: the title, centred across the columns.
    styleActiveTitle(1);
    frameTitleRow(last);
    // Rows 2 and 3: the dates, each a band with its label right-aligned against the value.
    for (int row : {2, 3}) {
        styleBoldRow(row, last);
        g->setSelectionBorders(kBand);
        selectCell(row, 1);
        g->setSelectionBorders({.right = 1, .colour = kBorder});
        g->setSelectionAlignment(CCellFormat::Right, false, 2);
    }
    styleBoldRow(4, last);
    // Row 5: the column headings.
    styleHeadingRow(kTitleRows, last);
    writeDateRows();
    g->fitRowHeights(2, 1, 4, last);
    g->fitRowHeights(1, 1, 5, last);
    appendTableColumns();
    FitColumnsToWidth();
    g->setTitleRows(kTitleRows);
    moveActiveCell(1, 1);
    m_built = true;
}

// The name takes the room left; the rest keep their samples' widths; a filler closes the row.
void CInputView::appendTableColumns() {
    m_columns.clear();
    m_columnsMeasured = false;
    for (const Column& c : m_table.all())
        appendColumn(CColumnShtInfo{10, {}, c.fixed, c.fixed ? 0 : 1.0, c.sample});
    appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("x")});
}

void CInputView::PrepareRows(CHrplDoc& document) {
    document.inputRows = document.plan().buildRowLayout();
}

QString CInputView::columnText(const CActivityItem& item, int column) const {
    CQLData& plan = m_document.plan();
    const Column& c = *m_table.at(column);
    switch (c.kind) {
    case Kind::Name:
        return plantext::toDisplay(plan.fullName(item));
    case Kind::Priority:
        return QString::fromStdString(CPriorityComputation::priorityText(item));
    case Kind::Part:
        return QString::fromStdString(plan.activityPartSumText(item));
    case Kind::WeekTotal:
        return QString::fromStdString(CHoursLedger::weekHoursText(item));
    case Kind::Hours:
        break;
    }
    return QString::fromStdString(
        CHoursLedger{plan}.hoursShownText(item, c.day != 0 ? c.day : plan.activeDayIndex));
}

void CInputView::writeDeferredRow(int row) {
    if (const CRowTypeInfo* record = recordOfRow(row))
        writeRow(row, record->itemId(), record->kind() == CRowTypeInfo::Kind::DivisionBegin);
    shadeFillerRows(row, row, static_cast<int>(m_document.inputRows.size()));
}

void CInputView::writeRow(int row, int itemId, bool division) {
    const CActivityItem* item = m_document.plan().findItem(itemId);
    if (!item)
        return;
    if (division)
        styleDivisionRow(row);
    else
        stylePlainRow(row);
    if (itemId == m_timedItem)
        markTimedRow(row);
    for (int column = 1; column <= lastColumn(); ++column)
        setCellText(row, column, columnText(*item, column));
}

// whole: the tree changed, every row is written; else only what the new figures change, which
// are those of `moved` alone when it is given.
void CInputView::refreshPriorityPanes(bool whole, const std::vector<std::int32_t>* moved) {
    for (CListViewOfActivities* pane :
         {m_activities, static_cast<CListViewOfActivities*>(m_divisions)}) {
        if (pane && whole)
            pane->fill(m_document);
        else if (pane)
            pane->refresh(m_document, moved);
    }
}

void CInputView::FillFromDocument(CHrplDoc& document) {
    CVCF1* g = grid();
    if (!g)
        return;
    CQLData& plan = document.plan();
    // The hours and priorities the rows show are computed afresh for every refill.
    CHoursLedger{plan}.setActiveWeek(-1);
    CPriorityComputation{plan}.computeCurrentPriorities();
    g->beginBatch();
    clearDataRows();
    deferDataRows(static_cast<int>(document.inputRows.size()));
    g->endBatch();
    FitRowsFrom(kTitleRows + 1);
    refreshPriorityPanes(true);
}

void CInputView::OnActiveDateChanged(CHrplDoc& document) {
    showActiveDate();
    FillFromDocument(document);
}

// The priorities change with every hour and part: they are rewritten with any other column.
// Hours of one activity change its figures and its divisions' alone (`changedItems`), which
// are then all that is computed and written again.
void CInputView::refreshColumns(Shows shows, const std::vector<std::int32_t>* changedItems) {
    CQLData& plan = m_document.plan();
    CPriorityComputation priorities{plan};
    bool onlyChanged = false;
    if (changedItems && !changedItems->empty())
        onlyChanged = priorities.updateForHoursOf(changedItems->front());
    else
        priorities.computeCurrentPriorities();
    for (const auto& [dataRow, record] : m_document.inputRows) {
        const CActivityItem* item = plan.findItem(record.itemId());
        if (!item)
            continue;
        const bool changed =
            !changedItems || std::ranges::find(*changedItems, item->id) != changedItems->end();
        // A row still to be written is written from the figures as they are then.
        if ((onlyChanged && !changed) || isDeferred(dataRow + kTitleRows))
            continue;
        for (int c = 1; c <= lastColumn(); ++c) {
            const Column& column = *m_table.at(c);
            const bool always = column.follows == Shows::Nothing;
            if (always || (changed && CInputColumns::follows(column, shows)))
                setCellText(dataRow + kTitleRows, c, columnText(*item, c));
        }
    }
    refreshPriorityPanes(false, onlyChanged ? changedItems : nullptr);
}

void CInputView::RefreshPriorityColumn(CHrplDoc&) {
    refreshColumns(Shows::Nothing);
}

void CInputView::RefreshHourColumns(CHrplDoc& document) {
    CHoursLedger{document.plan()}.setActiveWeek(-1);
    refreshColumns(Shows::Hours);
}

void CInputView::show(const Outcome& outcome) {
    switch (outcome.shows) {
    case Shows::Nothing:
        return;
    case Shows::Tree:
        rebuild(outcome.focus);
        return;
    case Shows::Hours:
        refreshColumns(Shows::Hours, &outcome.items);
        return;
    case Shows::Parts:
        refreshColumns(Shows::Parts);
        return;
    }
}

void CInputView::onFinishedEdit(QString* text, bool* cancel) {
    if (!grid())
        return;
    const std::string checked = CStringChckF1::typedText(plantext::fromDisplay(*text));
    if (CStringChckF1::isError(checked)) {
        *cancel = true; // blanks change nothing: the cell keeps what it showed
        return;
    }
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    const Column* c = m_table.at(column);
    if (!c && row > kTitleRows)
        return; // the filler column is no one's: it shows what was typed until the next fill
    // Whatever an entry changes, the pane writes it.
    *cancel = true;
    if (!c || c->entry == Entry::None || row <= kTitleRows) {
        m_document.plan().app().messages().message(kNotEditable);
        return;
    }
    entry(column, row - kTitleRows, checked);
}

void CInputView::entry(int column, int dataRow, const std::string& typed) {
    const CRowTypeInfo* record = recordOfRow(dataRow + kTitleRows);
    CPlanActions actions{m_document.plan()};
    switch (m_table.at(column)->entry) {
    case Entry::Name:
        show(record ? actions.rename(record->itemId(), typed) : actions.newActivity(typed));
        return;
    case Entry::Part:
        m_commands.timePart(dataRow, typed);
        return;
    case Entry::Hours:
        if (record)
            show(actions.enterHours(record->itemId(), typed, dayOfColumn(column)));
        return;
    case Entry::None:
        return;
    }
}

QPoint CInputView::modelessDialogPosition(const QSize& dialogSize, const QSize& screen) const {
    QPoint corner{0, 0};
    if (m_activities && m_activities->grid())
        corner = m_activities->grid()->mapToGlobal(QPoint(0, 0));
    if (corner.x() + dialogSize.width() >= screen.width())
        corner.setX(screen.width() - dialogSize.width() - 5);
    if (corner.y() + dialogSize.height() >= screen.height())
        corner.setY(screen.height() - dialogSize.height() - 5);
    return corner;
}

const CRowTypeInfo* CInputView::activeRecord(int* dataRow) const {
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    if (dataRow)
        *dataRow = row - kTitleRows;
    return recordOfRow(row);
}

std::int32_t CInputView::activeItemId() const {
    const CRowTypeInfo* record = activeRecord();
    return record ? record->itemId() : -1;
}

// Only the rows of the activity timed before and now change their look.
void CInputView::markTimedItem(std::int32_t itemId) {
    if (itemId == m_timedItem)
        return;
    const std::int32_t before = m_timedItem;
    m_timedItem = itemId;
    std::vector<int> rows;
    for (const auto& [dataRow, record] : m_document.inputRows) {
        const int row = dataRow + kTitleRows;
        // A row still to be written shows the new mark once it is.
        if ((record.itemId() == before || record.itemId() == itemId) && !isDeferred(row)) {
            rows.push_back(row);
            writeDeferredRow(row);
        }
    }
    fitRows(rows); // a row styled anew is aligned to its name again
}

std::optional<std::int32_t> CInputView::activeDivision() const {
    int dataRow = 0;
    const CRowTypeInfo* record = activeRecord(&dataRow);
    if (dataRow <= 0)
        return std::nullopt;
    const CActivityItem* item = record ? m_document.plan().findItem(record->itemId()) : nullptr;
    if (!item)
        return CQLData::kRootId;
    if (record->kind() == CRowTypeInfo::Kind::DivisionBegin)
        return item->id;
    return item->parentId >= 0 ? item->parentId : CQLData::kRootId;
}

std::int32_t CInputView::divisionOfActiveRow() const {
    return activeDivision().value_or(CQLData::kRootId);
}

void CInputView::rebuild(std::int32_t activate, int column) {
    PrepareRows(m_document);
    FillFromDocument(m_document);
    showItem(activate, column);
}

void CInputView::showItem(std::int32_t item, int column) {
    if (item < 0)
        return;
    for (const auto& [row, info] : m_document.inputRows)
        if (info.itemId() == item)
            moveActiveCell(row + kTitleRows, column > 0 ? column : m_table.first(Kind::Name));
}

void CInputView::fillDivisionsPane() {
    if (m_divisions)
        m_divisions->fill(m_document);
}
