#include "views/CMoveSession.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CPlanActions.h"
#include "views/CInputPaneHost.h"
#include "views/CInputView.h"
#include "views/PlanText.h"

void CMoveSession::pickDestination() {
    CQLData& plan = m_input.document().plan();
    CMessageSink& messages = plan.app().messages();
    const std::optional<std::int32_t> destination = m_input.activeDivision();
    if (!destination) {
        messages.message(kNoDestination);
        return;
    }
    const int item = m_input.itemToMove();
    const CActivityItem* moved = plan.findItem(item);
    if (*destination == item || (moved && plan.contains(*moved, *destination))) {
        messages.message(kMoveIntoItself);
        return;
    }
    const CActivityItem* division = plan.findItem(*destination);
    m_input.setMovePair(item, *destination);
    m_host.showMoveDestination(*destination == CQLData::kRootId || !division
                                   ? QStringLiteral("Root division")
                                   : plantext::toDisplay(CQLData::displayName(*division)));
}

void CMoveSession::perform() {
    CQLData& plan = m_input.document().plan();
    CMessageSink& messages = plan.app().messages();
    const int itemId = m_input.itemToMove();
    const int destinationId = m_input.destinationDivision();
    if (itemId < 0)
        return;
    if (destinationId < 0) {
        messages.message(kDestinationNotChosen);
        return;
    }
    if (destinationId == itemId)
        return;
    const CActivityItem* item = plan.findItem(itemId);
    if (!item) {
        messages.message(kMovedItemGone);
        return;
    }
    const CActivityItem* destination = plan.findItem(destinationId);
    if (!destination || !destination->isDivision()) {
        messages.message(kDestinationGone);
        return;
    }
    const std::string question = "Please confirm once more: you would like to move item \"" +
                                 CQLData::displayName(*item) + "\" to division \"" +
                                 CQLData::displayName(*destination) + "\".";
    if (messages.askYesNo(question))
        m_input.show(CPlanActions{plan}.move(itemId, destinationId));
}

void CMoveSession::forget() {
    m_input.forgetMovePair();
}
