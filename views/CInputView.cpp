#include "views/CInputView.h"

#include "core/CActiveDayVisit.h"
#include "core/CDayNavigator.h"
#include "core/CMessageSink.h"
#include "core/QlnDateFormat.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CHoursLedger.h"
#include "model/CHrplDoc.h"
#include "model/CPlanChange.h"
#include "model/CPlanEditor.h"
#include "model/CPriorityComputation.h"
#include "parse/CInputSumEvaluator.h"
#include "parse/CStringChckF1.h"
#include "views/CListViewOfActivities.h"
#include "views/CListViewOfActivityItems.h"
#include "views/CVCF1.h"
#include "views/PlanText.h"

#include <algorithm>
#include <limits>

namespace {

QString dateText(const CMyStringDate& date, const char* pattern) {
    if (!date.isValid())
        return QStringLiteral("Invalid DateTime");
    return QString::fromStdString(qlndateformat::format(date.date(), pattern));
}

} // namespace

CInputPaneHost& CInputView::host() const {
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
    if (!m_daysShown || column < kHoursColumn || column >= kWeekTotalColumn)
        return std::nullopt;
    const auto sunday = qlndates::weekStart(m_document.plan().app().dates().activeDay().date());
    return CMyStringDate{sunday + std::chrono::days{column - kHoursColumn}};
}

int CInputView::columnOfDay(const std::string& day) const {
    if (!m_daysShown)
        return kHoursColumn;
    return kHoursColumn + qlndates::dayOfWeek(CMyStringDate::parse(day)) - 1;
}

void CInputView::SetupGrid() {
    m_daysShown = wantsDays();
    setGridShape(lastHoursColumn() + 1, kTitleRows);
    CVCF1* g = grid();
    if (!g)
        return;
    g->setEmptyRowHint(QStringLiteral("type a name to add an activity"));
    g->refuseEdit = [this](int row, int column) { return refusesEdit(row, column); };
    g->editable = [this](int row, int column) { return editable(row, column); };
    g->tabStop = [this](int row, int column) { return isTabStop(row, column); };
    g->editText = [this](int row, int column) { return editText(row, column); };
}

bool CInputView::editable(int row, int column) const {
    return !isComputed(column) && row > kTitleRows;
}

// Title rows and the priorities are shown, never typed: refused at the first keystroke.
bool CInputView::refusesEdit(int row, int column) const {
    if (editable(row, column))
        return false;
    m_document.plan().app().messages().message(kNotEditable);
    return true;
}

// Tab goes through what a row's item takes typed: its part, and its hours when it is an
// activity, on the days that have come. Names are typed only where the user puts the cell.
bool CInputView::isTabStop(int row, int column) const {
    const auto record = m_document.inputRows.find(row - kTitleRows);
    if (row <= kTitleRows || record == m_document.inputRows.end() || !editable(row, column))
        return false;
    if (column == kPartColumn)
        return true;
    // A day still to come takes no hours yet.
    const std::optional<CMyStringDate> day = dayOfColumn(column);
    if (day && day->text() > m_document.plan().app().dates().today().text())
        return false;
    const CActivityItem* item = m_document.plan().findItem(record->second.itemId());
    return isHoursColumn(column) && item && !item->isDivision();
}

// A name is edited as the item's own name, without the divisions it is shown with.
QString CInputView::editText(int row, int column) const {
    if (column != kNameColumn)
        return {};
    const auto record = m_document.inputRows.find(row - kTitleRows);
    if (row <= kTitleRows || record == m_document.inputRows.end())
        return {};
    const CActivityItem* item = m_document.plan().findItem(record->second.itemId());
    return item ? plantext::toDisplay(item->name) : QString();
}

void CInputView::writeDateRows() {
    CAppDates& dates = m_document.plan().app().dates();
    setCellText(2, 2, dateText(dates.today(), "%a, %b %d %Y"));
    const CMyStringDate& active = dates.activeDay();
    if (!dates.activeWeekShown()) {
        setCellText(3, 1, QStringLiteral("Active Day: "));
        setCellText(3, 2, dateText(active, "%a, %b %d %Y"));
        if (m_daysShown)
            writeDayHeadings();
        else
            setCellText(5, 4, QStringLiteral("Hours Spent in ") + dateText(active, "%a, %b %d"));
        return;
    }
    const CMyStringDate sunday{qlndates::weekStart(active.date())};
    const CMyStringDate saturday{qlndates::weekStart(active.date()) + std::chrono::days{6}};
    setCellText(3, 1, QStringLiteral("Active Week: "));
    setCellText(3, 2,
                dateText(sunday, "%b %d %Y") + QStringLiteral(" to ") +
                    dateText(saturday, "%b %d %Y"));
    setCellText(5, 4, QStringLiteral("Hours Spent in Active Week "));
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
    for (int c = kHoursColumn; c < kWeekTotalColumn; ++c) {
        const CMyStringDate day = *dayOfColumn(c);
        setCellText(kTitleRows, c,
                    dateText(day, day.text() == today ? "Today\n%m/%d" : "%a\n%m/%d"));
        selectCell(kTitleRows, c);
        g->setSelectionFont(rowFont(true, day.text() > today ? kDimText : 0x000000));
        g->setSelectionPattern(1, day.text() == active ? kPaleBlue : kPlain, 0xFFFFFF);
        g->setSelectionAlignment(CCellFormat::Centre, true, 2);
    }
    setCellText(kTitleRows, kWeekTotalColumn, QStringLiteral("Week Total"));
    g->keepActiveCell(row, column);
}

void CInputView::BuildTitle() {
    CVCF1* g = grid();
    if (!g)
        return;
    const int last = lastHoursColumn();
    setCellText(1, 1, QStringLiteral("Input"));
    setCellText(2, 1, QStringLiteral("Today: "));
    setCellText(5, 1, QStringLiteral("Activities"));
    setCellText(5, 2, QStringLiteral("Current Priorities"));
    setCellText(5, 3, QStringLiteral("Time Parts %"));
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
    appendHoursColumns();
    FitColumnsToWidth();
    g->setTitleRows(kTitleRows);
    moveActiveCell(1, 1);
    m_built = true;
}

void CInputView::appendHoursColumns() {
    m_columns.clear();
    m_columnsMeasured = false;
    appendColumn(CColumnShtInfo{10, {}, false, 1.0, QStringLiteral("xxActive Day: ")});
    appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("xPriorities")});
    appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("xxxParts")});
    if (m_daysShown) {
        for (int day = 0; day < kDays; ++day)
            appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("x10:00")});
        appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("x40:00")});
    } else {
        appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("xActive")});
    }
    appendColumn(CColumnShtInfo{10, {}, true, 0, QStringLiteral("x")});
}

void CInputView::PrepareRows(CHrplDoc& document) {
    document.inputRows = document.plan().buildRowLayout();
}

QString CInputView::columnText(const CActivityItem& item, int column) const {
    CQLData& plan = m_document.plan();
    switch (column) {
    case kNameColumn:
        return plantext::toDisplay(plan.fullName(item));
    case kPriorityColumn:
        return QString::fromStdString(CPriorityComputation::priorityText(item));
    case kPartColumn:
        return QString::fromStdString(plan.activityPartSumText(item));
    default:
        if (m_daysShown && column == kWeekTotalColumn)
            return QString::fromStdString(CHoursLedger::weekHoursText(item));
        return QString::fromStdString(CHoursLedger{plan}.hoursShownText(
            item, m_daysShown ? column - kHoursColumn + 1 : plan.activeDayIndex));
    }
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
    for (int column = kNameColumn; column <= lastHoursColumn(); ++column)
        setCellText(row, column, columnText(*item, column));
}

// whole: the tree changed, every row is written; else only what the new figures change.
void CInputView::refreshPriorityPanes(bool whole) {
    for (CListViewOfActivities* pane :
         {m_activities, static_cast<CListViewOfActivities*>(m_divisions)}) {
        if (pane && whole)
            pane->fill(m_document);
        else if (pane)
            pane->refresh(m_document);
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
    for (const auto& [dataRow, record] : document.inputRows)
        writeRow(dataRow + kTitleRows, record.itemId(),
                 record.kind() == CRowTypeInfo::Kind::DivisionBegin);
    shadeFiller(static_cast<int>(document.inputRows.size()));
    g->endBatch();
    FitRowsFrom(kTitleRows + 1);
    refreshPriorityPanes(true);
}

void CInputView::OnActiveDateChanged(CHrplDoc& document) {
    showActiveDate();
    FillFromDocument(document);
}

// The priorities change with every hour and part: they are rewritten with any other column.
void CInputView::refreshColumns(int column, const std::vector<std::int32_t>* changedItems) {
    CQLData& plan = m_document.plan();
    CPriorityComputation{plan}.computeCurrentPriorities();
    for (const auto& [dataRow, record] : m_document.inputRows) {
        const CActivityItem* item = plan.findItem(record.itemId());
        if (!item)
            continue;
        const int row = dataRow + kTitleRows;
        const bool changed =
            !changedItems || std::ranges::find(*changedItems, item->id) != changedItems->end();
        if (column == kHoursColumn && changed)
            for (int c = kHoursColumn; c <= lastHoursColumn(); ++c)
                setCellText(row, c, columnText(*item, c));
        else if (column != kPriorityColumn && column != kHoursColumn)
            setCellText(row, column, columnText(*item, column));
        setCellText(row, kPriorityColumn, columnText(*item, kPriorityColumn));
    }
    refreshPriorityPanes(false);
}

// An activity's hours show in its own row and in the sums of the divisions around it.
std::vector<std::int32_t> CInputView::withDivisions(std::int32_t itemId) const {
    const CQLData& plan = m_document.plan();
    std::vector<std::int32_t> items;
    const CActivityItem* item = plan.findItem(itemId);
    // The walk is bounded by the number of items, so a damaged parent chain cannot loop.
    for (std::size_t steps = 0; item && steps <= plan.items.size(); ++steps) {
        items.push_back(item->id);
        item = item->parentId >= 0 ? plan.findItem(item->parentId) : nullptr;
    }
    return items;
}

void CInputView::RefreshPriorityColumn(CHrplDoc&) {
    refreshColumns(kPriorityColumn);
}

void CInputView::RefreshHourColumns(CHrplDoc& document) {
    CHoursLedger{document.plan()}.setActiveWeek(-1);
    refreshColumns(kHoursColumn);
}

// Only the rows whose hours an entry can change are written again, with every priority; an
// entry refused changed nothing.
void CInputView::AcceptHours(int dataRow, int column, CHrplDoc& document, const QString& text) {
    if (!storeTypedHours(dataRow, column, text))
        return;
    // The ledger left the week filled for the day it stored: a timesheet's day gives the
    // active day its place back.
    if (dayOfColumn(column))
        CHoursLedger{document.plan()}.returnToActiveDay();
    const std::vector<std::int32_t> changed =
        withDivisions(document.inputRows.at(dataRow).itemId());
    refreshColumns(kHoursColumn, &changed);
}

bool CInputView::storeTypedHours(int dataRow, int column, const QString& text) {
    const auto record = m_document.inputRows.find(dataRow);
    const std::string typed = plantext::fromDisplay(text);
    if (typed == CStringChckF1::kErrorMarker || record == m_document.inputRows.end())
        return false;
    CQLData& plan = m_document.plan();
    // A day's column takes the hours as that day would if it were active; the active day stays.
    std::optional<CActiveDayVisit> visit;
    if (const std::optional<CMyStringDate> day = dayOfColumn(column)) {
        visit.emplace(plan.app().dates(), *day);
        if (!visit->entered())
            return false;
    }
    const std::int32_t itemId = record->second.itemId();
    const CPlanChange change = CPlanChange::hours(plan, itemId, typed);
    return CHoursLedger{plan}.enterHours(itemId, typed);
}

void CInputView::onFinishedEdit(QString* text, bool* cancel) {
    CVCF1* g = grid();
    if (!g)
        return;
    const std::string checked = CStringChckF1::typedText(plantext::fromDisplay(*text));
    if (CStringChckF1::isError(checked)) {
        *cancel = true; // blanks change nothing: the cell keeps what it showed
        return;
    }
    const QString typed = QString::fromUtf8(checked.data(), static_cast<qsizetype>(checked.size()));
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    CMessageSink& messages = m_document.plan().app().messages();
    if (isComputed(column) || row <= kTitleRows) {
        *cancel = true;
        messages.message(kNotEditable);
        return;
    }
    const int dataRow = row - kTitleRows;
    if (column == kNameColumn) {
        *cancel = true;
        nameEntry(dataRow, typed);
    } else if (column == kPartColumn) {
        *cancel = true;
        timePartEntry(dataRow, typed);
    } else if (isHoursColumn(column)) {
        *cancel = true;
        AcceptHours(dataRow, column, m_document, typed);
    }
}

void CInputView::nameEntry(int dataRow, const QString& text) {
    CQLData& plan = m_document.plan();
    const std::string name = plantext::fromDisplay(text);
    const auto record = m_document.inputRows.find(dataRow);
    std::int32_t itemId = -1;
    if (record != m_document.inputRows.end()) {
        itemId = record->second.itemId();
        const CPlanChange change = CPlanChange::name(plan, itemId);
        if (CActivityItem* item = plan.findItem(itemId))
            plan.setName(*item, name);
    } else {
        const CPlanChange change = CPlanChange::newActivityNamed(plan, name);
        const std::optional<std::uint16_t> created = CPlanEditor{plan}.insertItem(CQLData::kRootId);
        if (!created)
            return;
        itemId = *created;
        plan.setName(*plan.findItem(itemId), name);
    }
    PrepareRows(m_document);
    FillFromDocument(m_document);
    for (const auto& [row, info] : m_document.inputRows)
        if (info.itemId() == itemId)
            moveActiveCell(row + kTitleRows, kNameColumn);
}

void CInputView::timePartEntry(int dataRow, const QString& text, bool fromCommand) {
    CQLData& plan = m_document.plan();
    const auto record = m_document.inputRows.find(dataRow);
    if (record == m_document.inputRows.end())
        return;
    const CInputSumEvaluator evaluator{plan.app().library(), plan.app().messages()};
    double wanted = 0;
    if (!evaluator.evaluateInputSum(plantext::fromDisplay(text), wanted,
                                    CInputSumEvaluator::Mode::Plain))
        return;
    const CActivityItem* item = plan.findItem(record->second.itemId());
    if (!item)
        return;
    CPlanEditor editor{plan};
    // The Change Time Part command always goes to the adjust dialog.
    if (!fromCommand) {
        const CPlanEditor::PartChange change = [&] {
            const CPlanChange step = CPlanChange::timePart(plan, item->id);
            return editor.requestTimePart(item->id, wanted);
        }();
        if (change == CPlanEditor::PartChange::Done)
            refreshColumns(kPartColumn);
        if (change != CPlanEditor::PartChange::ExceedsTotal)
            return;
    }
    using Adjustment = CInputPaneHost::Adjustment;
    const Adjustment choice = fromCommand ? Adjustment::DiminishOthers : host().chooseAdjustment();
    if (choice == Adjustment::Cancel)
        return;
    if (choice == Adjustment::RecalculateAll) {
        const CPlanChange step = CPlanChange::timePart(plan, item->id);
        editor.recalculateTo100(item->id, wanted);
    } else {
        m_receivingItem = item->id;
        host().openAdjustDialog(item->id, wanted, editor.otherPartsSum(*item), item->partUnit);
    }
    refreshColumns(kPartColumn);
}

void CInputView::changeTimePartCommand() {
    CVCF1* g = grid();
    if (!g)
        return;
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    if (row <= kTitleRows || row > g->lastUsedRow()) {
        m_document.plan().app().messages().message(kNoItemActive);
        return;
    }
    timePartEntry(row - kTitleRows, g->cellText(row, kPartColumn), true);
}

void CInputView::pickGivingItem() {
    CMessageSink& messages = m_document.plan().app().messages();
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    const auto record = m_document.inputRows.find(row - kTitleRows);
    const CQLData& plan = m_document.plan();
    const CActivityItem* giver =
        record == m_document.inputRows.end() ? nullptr : plan.findItem(record->second.itemId());
    if (row <= kTitleRows || !giver) {
        messages.message(kNoGiver);
        return;
    }
    if (const CActivityItem* receiver = plan.findItem(m_receivingItem))
        if (const char* refusal =
                CPlanEditor{m_document.plan()}.nestingRefusal(*giver, *receiver)) {
            messages.message(refusal);
            return;
        }
    m_givingItem = giver->id;
    host().showGiver(plantext::toDisplay(plan.fullName(*giver)), giver->timePart);
}

void CInputView::takeTimePart(double amount) {
    if (m_receivingItem < 0 || m_givingItem < 0)
        return;
    CQLData& plan = m_document.plan();
    CPlanEditor editor{plan};
    const bool transferred = [&] {
        const CPlanChange step = CPlanChange::timePart(plan, m_receivingItem);
        return editor.transferPart(m_givingItem, m_receivingItem, amount);
    }();
    if (!transferred)
        return;
    host().showTransferred(plan.findItem(m_givingItem)->timePart,
                           editor.otherPartsSum(*plan.findItem(m_receivingItem)));
    refreshColumns(kPartColumn);
}

void CInputView::setReceivingPart(double part) {
    const bool done = [&] {
        const CPlanChange step = CPlanChange::timePart(m_document.plan(), m_receivingItem);
        return CPlanEditor{m_document.plan()}.setReceivedPart(m_receivingItem, part) ==
               CPlanEditor::PartChange::Done;
    }();
    if (done)
        refreshColumns(kPartColumn);
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
    if (row <= kTitleRows)
        return nullptr;
    const auto record = m_document.inputRows.find(row - kTitleRows);
    return record == m_document.inputRows.end() ? nullptr : &record->second;
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
    for (const auto& [dataRow, record] : m_document.inputRows)
        if (record.itemId() == before || record.itemId() == itemId) {
            const int row = dataRow + kTitleRows;
            rows.push_back(row);
            writeRow(row, record.itemId(), record.kind() == CRowTypeInfo::Kind::DivisionBegin);
            shadeFillerRows(row, row, static_cast<int>(m_document.inputRows.size()));
        }
    fitRows(rows); // a row styled anew is aligned to its name again
}

std::int32_t CInputView::divisionOfActiveRow() const {
    const CRowTypeInfo* record = activeRecord();
    if (!record)
        return CQLData::kRootId;
    const CActivityItem* item = m_document.plan().findItem(record->itemId());
    if (!item)
        return CQLData::kRootId;
    if (record->kind() == CRowTypeInfo::Kind::DivisionBegin)
        return item->id;
    return item->parentId >= 0 ? item->parentId : CQLData::kRootId;
}

void CInputView::rebuild(std::int32_t activate) {
    PrepareRows(m_document);
    FillFromDocument(m_document);
    if (activate < 0)
        return;
    for (const auto& [row, info] : m_document.inputRows)
        if (info.itemId() == activate)
            moveActiveCell(row + kTitleRows, kNameColumn);
}

void CInputView::insertActivityCommand() {
    CQLData& plan = m_document.plan();
    plan.ensureRoot();
    const std::optional<std::uint16_t> created = [&] {
        const CPlanChange step = CPlanChange::insert(plan, false);
        return CPlanEditor{plan}.insertItem(divisionOfActiveRow());
    }();
    if (created)
        rebuild(*created);
}

void CInputView::insertDivisionCommand() {
    CQLData& plan = m_document.plan();
    plan.ensureRoot();
    std::int32_t parent = divisionOfActiveRow();
    if (parent != CQLData::kRootId) {
        const CActivityItem* named = plan.findItem(parent);
        const QString name = named ? plantext::toDisplay(CQLData::displayName(*named)) : QString();
        const QString text =
            QStringLiteral(
                "You are going  to create a division inside other (named) division: \" ") +
            name + QStringLiteral(" \"") +
            QStringLiteral(" Usually such a structure is difficult to perceive and work with. ") +
            QStringLiteral(
                "We would recommend you to create the division  in the root division i.e. ") +
            QStringLiteral("outside any named division. ") +
            QStringLiteral("Taking into account this remark, please make your choice now:");
        using StructureChoice = CInputPaneHost::StructureChoice;
        const StructureChoice choice = host().warnOvercomplicated(text);
        if (choice == StructureChoice::InRoot)
            parent = CQLData::kRootId;
        else if (choice != StructureChoice::AsChosen)
            return;
    }
    const std::optional<std::uint16_t> created = [&] {
        const CPlanChange step = CPlanChange::insert(plan, true);
        return CPlanEditor{plan}.insertDivision(parent);
    }();
    if (created)
        rebuild(*created);
}

void CInputView::deleteCommand() {
    CQLData& plan = m_document.plan();
    CMessageSink& messages = plan.app().messages();
    const CRowTypeInfo* record = activeRecord();
    CActivityItem* item = record ? plan.findItem(record->itemId()) : nullptr;
    if (!item) {
        messages.message(kNothingToDelete);
        return;
    }
    const std::string name = CQLData::displayName(*item);
    const std::string question =
        item->isDivision() ? "Is it OK to delete division " + name + " with all its content?"
                           : "Is it OK to delete: " + name + "?";
    if (!messages.askYesNo(question))
        return;
    {
        const CPlanChange step = CPlanChange::deletion(plan, item->id);
        CPlanEditor{plan}.deleteItem(*item);
    }
    PrepareRows(m_document);
    CHoursLedger{plan}.setActiveWeek(-1);
    FillFromDocument(m_document);
}

void CInputView::moveToCommand() {
    CQLData& plan = m_document.plan();
    CMessageSink& messages = plan.app().messages();
    const CRowTypeInfo* record = activeRecord();
    const CActivityItem* item = record ? plan.findItem(record->itemId()) : nullptr;
    if (!item || item->id == CQLData::kRootId) {
        messages.message(kNothingToMove);
        return;
    }
    if (item->isDivision() && item->parentId == CQLData::kRootId) {
        const std::string question =
            "Warning! You are going to move division \"" + CQLData::displayName(*item) +
            "\" from the root division presumably into a named division. "
            "This usually results  in a structure that is difficult to perceive and work with. "
            "Taking into account this remark, would you still like to move this division?";
        if (!messages.askYesNo(question))
            return;
    }
    setMovePair(item->id, -1);
    host().openMoveDialog(plantext::toDisplay(CQLData::displayName(*item)));
}

void CInputView::pickMoveDestination() {
    CQLData& plan = m_document.plan();
    CMessageSink& messages = plan.app().messages();
    int row = 0;
    int column = 0;
    readActiveCell(row, column);
    if (row <= kTitleRows) {
        messages.message(kNoDestination);
        return;
    }
    const std::int32_t destination = divisionOfActiveRow();
    const CActivityItem* moved = plan.findItem(itemToMove());
    if (destination == itemToMove() || (moved && plan.contains(*moved, destination))) {
        messages.message(kMoveIntoItself);
        return;
    }
    const CActivityItem* division = plan.findItem(destination);
    setMovePair(itemToMove(), destination);
    host().showMoveDestination(destination == CQLData::kRootId || !division
                                   ? QStringLiteral("Root division")
                                   : plantext::toDisplay(CQLData::displayName(*division)));
}

void CInputView::performMove() {
    CQLData& plan = m_document.plan();
    CMessageSink& messages = plan.app().messages();
    if (itemToMove() < 0)
        return;
    if (destinationDivision() < 0) {
        messages.message(kDestinationNotChosen);
        return;
    }
    if (destinationDivision() == itemToMove())
        return;
    CActivityItem* item = plan.findItem(itemToMove());
    if (!item) {
        messages.message(kMovedItemGone);
        return;
    }
    const CActivityItem* destination = plan.findItem(destinationDivision());
    if (!destination || !destination->isDivision()) {
        messages.message(kDestinationGone);
        return;
    }
    const std::string question = "Please confirm once more: you would like to move item \"" +
                                 CQLData::displayName(*item) + "\" to division \"" +
                                 CQLData::displayName(*destination) + "\".";
    if (!messages.askYesNo(question))
        return;
    const bool moved = [&] {
        const CPlanChange step = CPlanChange::move(plan, item->id);
        return CPlanEditor{plan}.moveItem(*item, destinationDivision());
    }();
    if (moved)
        rebuild(itemToMove());
}

void CInputView::itemInfoCommand() {
    int dataRow = 0;
    activeRecord(&dataRow);
    if (dataRow < 1)
        dataRow = 1; // a title row counts as the first data row
    const auto record = m_document.inputRows.find(dataRow);
    if (record != m_document.inputRows.end())
        host().showItemInfo(record->second.itemId(), true);
}

void CInputView::divisionViewCommand() {
    m_document.plan().app().setCurrentDivision(divisionOfActiveRow());
    host().showDivisionsPane(true);
    if (m_divisions)
        m_divisions->fill(m_document);
}

bool CInputView::stepThroughHistory(bool forward) {
    CQLData& plan = m_document.plan();
    const std::optional<CPlanHistory::Place> place =
        forward ? plan.history.redo(plan) : plan.history.undo(plan);
    if (!place)
        return false;
    CAppCore& app = plan.app();
    // The day of the change comes back with its mode: a week before the detailed period is
    // shown in week mode, a day after its start in day mode.
    if (!place->activeDay.empty() && place->activeDay != app.dates().activeDay().text())
        CDayNavigator{app.dates()}.chooseDate(
            CMyStringDate{CMyStringDate::parse(place->activeDay)});
    const CActivityItem* current = plan.findItem(app.currentDivision());
    if (!current || !current->isDivision() || current->isDetached())
        app.setCurrentDivision(CQLData::kRootId);
    showActiveDate();
    PrepareRows(m_document);
    FillFromDocument(m_document);
    using Column = CPlanHistory::Place::Column;
    const int column = place->column == Column::Name ? kNameColumn
                       : place->column == Column::Part
                           ? kPartColumn
                           : columnOfDay(app.dates().activeDay().text());
    for (const auto& [row, info] : m_document.inputRows)
        if (info.itemId() == place->itemId)
            moveActiveCell(row + kTitleRows, column);
    return true;
}

void CInputView::restoreItems(const std::vector<int>& items) {
    CQLData& plan = m_document.plan();
    {
        const CPlanChange step = CPlanChange::restore(plan, items);
        CPlanEditor editor{plan};
        for (int item : items)
            editor.restoreItem(item);
    }
    PrepareRows(m_document);
    CHoursLedger{plan}.setActiveWeek(-1);
    FillFromDocument(m_document);
    plan.app().messages().message(kRestored);
}
