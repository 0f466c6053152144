#include "views/CPartTransfer.h"

#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CPlanActions.h"
#include "views/CInputPaneHost.h"
#include "views/CInputView.h"
#include "views/PlanText.h"

void CPartTransfer::pickGiver() {
    const CQLData& plan = m_input.document().plan();
    CMessageSink& messages = plan.app().messages();
    const CActivityItem* giver = plan.findItem(m_input.activeItemId());
    if (!giver) {
        messages.message(kNoGiver);
        return;
    }
    if (const CActivityItem* receiver = plan.findItem(m_receivingItem))
        if (const char* refusal =
                CPlanEditor{m_input.document().plan()}.nestingRefusal(*giver, *receiver)) {
            messages.message(refusal);
            return;
        }
    m_givingItem = giver->id;
    m_host.showGiver(plantext::toDisplay(plan.fullName(*giver)), giver->timePart);
}

void CPartTransfer::take(double amount) {
    if (m_receivingItem < 0 || m_givingItem < 0)
        return;
    CQLData& plan = m_input.document().plan();
    const CPlanActions::Outcome outcome =
        CPlanActions{plan}.transferPart(m_givingItem, m_receivingItem, amount);
    if (!outcome.changed())
        return;
    m_host.showTransferred(plan.findItem(m_givingItem)->timePart,
                           CPlanEditor{plan}.otherPartsSum(*plan.findItem(m_receivingItem)));
    m_input.show(outcome);
}

void CPartTransfer::setReceivingPart(double part) {
    m_input.show(CPlanActions{m_input.document().plan()}.setReceivedPart(m_receivingItem, part));
}
