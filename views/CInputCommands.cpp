#include "views/CInputCommands.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CPlanActions.h"
#include "views/CInputPaneHost.h"
#include "views/CInputView.h"
#include "views/CVCF1.h"
#include "views/PlanText.h"

using Kind = CInputColumns::Kind;
using Shows = CInputColumns::Shows;

void CInputCommands::insertActivity() {
    m_input.show(
        CPlanActions{m_input.document().plan()}.insertActivity(m_input.divisionOfActiveRow()));
}

void CInputCommands::insertDivision() {
    std::int32_t parent = m_input.divisionOfActiveRow();
    if (parent != CQLData::kRootId) {
        const CActivityItem* named = m_input.document().plan().findItem(parent);
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
        const StructureChoice choice = m_input.paneHost().warnOvercomplicated(text);
        if (choice == StructureChoice::InRoot)
            parent = CQLData::kRootId;
        else if (choice != StructureChoice::AsChosen)
            return;
    }
    m_input.show(CPlanActions{m_input.document().plan()}.insertDivision(parent));
}

void CInputCommands::deleteItem() {
    CQLData& plan = m_input.document().plan();
    CMessageSink& messages = plan.app().messages();
    const CRowTypeInfo* record = m_input.activeRecord();
    const CActivityItem* item = record ? plan.findItem(record->itemId()) : nullptr;
    if (!item) {
        messages.message(kNothingToDelete);
        return;
    }
    const std::string name = CQLData::displayName(*item);
    const std::string question =
        item->isDivision() ? "Is it OK to delete division " + name + " with all its content?"
                           : "Is it OK to delete: " + name + "?";
    if (messages.askYesNo(question))
        m_input.show(CPlanActions{plan}.deleteItem(item->id));
}

void CInputCommands::moveTo() {
    CQLData& plan = m_input.document().plan();
    CMessageSink& messages = plan.app().messages();
    const CRowTypeInfo* record = m_input.activeRecord();
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
    m_input.setMovePair(item->id, -1);
    m_input.paneHost().openMoveDialog(plantext::toDisplay(CQLData::displayName(*item)));
}

void CInputCommands::itemInfo() {
    int dataRow = 0;
    m_input.activeRecord(&dataRow);
    if (dataRow < 1)
        dataRow = 1; // a title row counts as the first data row
    const auto record = m_input.document().inputRows.find(dataRow);
    if (record != m_input.document().inputRows.end())
        m_input.paneHost().showItemInfo(record->second.itemId(), true);
}

void CInputCommands::divisionView() {
    m_input.document().plan().app().setCurrentDivision(m_input.divisionOfActiveRow());
    m_input.paneHost().showDivisionsPane(true);
    m_input.fillDivisionsPane();
}

bool CInputCommands::stepThroughHistory(bool forward) {
    CAppCore& app = m_input.document().plan().app();
    const std::optional<CPlanHistory::Place> place =
        CPlanActions{m_input.document().plan()}.stepThroughHistory(forward);
    if (!place)
        return false;
    m_input.showActiveDate();
    using Place = CPlanHistory::Place;
    const int column = place->column == Place::Column::Name ? m_input.columns().first(Kind::Name)
                       : place->column == Place::Column::Part
                           ? m_input.columns().first(Kind::Part)
                           : m_input.columnOfDay(app.dates().activeDay().text());
    m_input.rebuild(place->itemId, column);
    return true;
}

void CInputCommands::restore(const std::vector<int>& items) {
    m_input.show(CPlanActions{m_input.document().plan()}.restore(items));
    m_input.document().plan().app().messages().message(kRestored);
}

void CInputCommands::timePart(int dataRow, const std::string& typed, bool fromCommand) {
    CQLData& plan = m_input.document().plan();
    const CRowTypeInfo* record = m_input.recordOfRow(dataRow + CInputView::kTitleRows);
    if (!record)
        return;
    CPlanActions actions{plan};
    const std::optional<double> wanted = actions.evaluatePart(typed);
    const CActivityItem* item = wanted ? plan.findItem(record->itemId()) : nullptr;
    if (!item)
        return;
    // The Change Time Part command always goes to the adjust dialog.
    if (!fromCommand) {
        const CPlanEditor::PartChange change = actions.requestTimePart(item->id, *wanted);
        if (change == CPlanEditor::PartChange::Done)
            m_input.show(CPlanActions::Outcome::of(Shows::Parts));
        if (change != CPlanEditor::PartChange::ExceedsTotal)
            return;
    }
    adjustParts(*item, *wanted, fromCommand);
}

void CInputCommands::adjustParts(const CActivityItem& item, double wanted, bool fromCommand) {
    using Adjustment = CInputPaneHost::Adjustment;
    const Adjustment choice =
        fromCommand ? Adjustment::DiminishOthers : m_input.paneHost().chooseAdjustment();
    if (choice == Adjustment::Cancel)
        return;
    CQLData& plan = m_input.document().plan();
    if (choice == Adjustment::RecalculateAll)
        CPlanActions{plan}.recalculateTo100(item.id, wanted);
    else
        m_input.paneHost().openAdjustDialog(item.id, wanted, CPlanEditor{plan}.otherPartsSum(item),
                                            item.partUnit);
    m_input.show(CPlanActions::Outcome::of(Shows::Parts));
}

void CInputCommands::changeTimePart() {
    CVCF1* g = m_input.grid();
    if (!g)
        return;
    int row = 0;
    int column = 0;
    g->activeCell(row, column);
    if (row <= CInputView::kTitleRows || row > g->lastUsedRow()) {
        m_input.document().plan().app().messages().message(CInputView::kNoItemActive);
        return;
    }
    const QString shown = g->cellText(row, m_input.columns().first(Kind::Part));
    timePart(row - CInputView::kTitleRows, plantext::fromDisplay(shown), true);
}
