#include "model/CPlanEditor.h"

#include "core/CMessageSink.h"
#include "core/QlnDates.h"
#include "core/Tolerance.h"
#include "model/CAppCore.h"
#include "model/CHoursLedger.h"
#include "model/CIdentifierPool.h"
#include "model/CQLData.h"

#include <algorithm>
#include <cmath>

void CPlanEditor::recomputeParts() {
    if (CActivityItem* root = m_plan.root())
        m_plan.recomputeDivisionParts(*root);
}

std::optional<std::uint16_t> CPlanEditor::newIdentifier() const {
    return CIdentifierPool{m_plan}.next();
}

std::optional<std::uint16_t> CPlanEditor::insertItem(std::int32_t parentId) {
    const std::optional<std::uint16_t> id = newIdentifier();
    if (!id)
        return std::nullopt;
    CActivityItem& item = m_plan.addItem(*id);
    if (CActivityItem* parent = m_plan.findItem(parentId)) {
        parent->children.insert(parent->children.begin(), IntegerMy{*id});
        item.parentId = parentId;
    }
    recomputeParts();
    return id;
}

std::optional<std::uint16_t> CPlanEditor::insertDivision(std::int32_t parentId) {
    const std::optional<std::uint16_t> division = insertItem(parentId);
    if (!division)
        return std::nullopt;
    if (!insertItem(*division)) {
        // No identifier for its activity: take the empty division back out.
        if (CActivityItem* item = m_plan.findItem(*division)) {
            detachItem(*item);
            m_plan.items.erase(*division);
        }
        recomputeParts();
        return std::nullopt;
    }
    return division;
}

void CPlanEditor::detachSubtree(CActivityItem& item) {
    if (item.id < 0)
        return;
    while (!item.children.empty()) {
        CActivityItem* child = m_plan.findItem(item.children.front().value());
        if (!child) {
            item.children.erase(item.children.begin());
            continue;
        }
        const std::int32_t childId = child->id;
        detachSubtree(*child);
        // A child that names another parent (or none) is still listed: take it off here.
        if (!item.children.empty() && item.children.front().value() == childId)
            item.children.erase(item.children.begin());
    }
    if (item.id >= 1 && item.parentId >= 0) {
        if (CActivityItem* parent = m_plan.findItem(item.parentId)) {
            auto& siblings = parent->children;
            const auto entry = std::find(siblings.begin(), siblings.end(), IntegerMy{item.id});
            if (entry != siblings.end())
                siblings.erase(entry);
        }
        item.parentId = -1;
    }
}

void CPlanEditor::deleteItem(CActivityItem& item) {
    if (item.id == CQLData::kRootId)
        return; // the root is never deleted, nor emptied by a delete
    // A division whose last item goes becomes an activity with the part it had: the deleted
    // item's time is not planned anywhere else.
    detachSubtree(item);
    const CAppDates& dates = m_plan.app().dates();
    CHoursLedger{m_plan}.recomputeCarries(dates.keptStart().text(), dates.latestDate().text());
    recomputeParts();
}

bool CPlanEditor::detachItem(CActivityItem& item) {
    if (item.parentId < 0)
        return false;
    CActivityItem* parent = m_plan.findItem(item.parentId);
    if (!parent)
        return false;
    auto& siblings = parent->children;
    const auto entry = std::find(siblings.begin(), siblings.end(), IntegerMy{item.id});
    if (entry == siblings.end())
        return false;
    siblings.erase(entry);
    item.parentId = -1;
    return true;
}

void CPlanEditor::attachItem(CActivityItem& item, std::int32_t parentId) {
    CActivityItem* parent = m_plan.findItem(parentId);
    if (item.parentId >= 0 || !parent)
        return;
    item.parentId = parentId;
    if (item.id != parentId)
        parent->children.emplace_back(item.id);
}

bool CPlanEditor::moveItem(CActivityItem& item, std::int32_t destinationId) {
    const CActivityItem* destination = m_plan.findItem(destinationId);
    if (!destination || !destination->isDivision() || destinationId == item.id ||
        m_plan.contains(item, destinationId) || item.id == CQLData::kRootId)
        return false;
    const std::int32_t formerParent = item.parentId;
    if (!detachItem(item))
        return false;
    attachItem(item, destinationId);
    clearPartIfEmptied(formerParent);
    recomputeParts();
    return true;
}

// A division whose last item moved away becomes an activity; its part moved with its content,
// so keeping it would count the same time twice.
void CPlanEditor::clearPartIfEmptied(std::int32_t divisionId) {
    CActivityItem* former = m_plan.findItem(divisionId);
    if (former && former->id != CQLData::kRootId && former->children.empty())
        former->timePart = 0.0;
}

std::string CPlanEditor::lastDateWithHours(std::uint16_t itemId) const {
    const CAppDates& dates = m_plan.app().dates();
    for (auto week = m_plan.averagedWeeks.rbegin(); week != m_plan.averagedWeeks.rend(); ++week) {
        const std::string& key = week->first;
        if (key < dates.keptStart().text())
            break;
        if (m_plan.reducedHoursToWeekEnd(key, itemId) < tolerance::kEqual)
            continue;
        if (!dates.isBeforeDetailedPeriod(key))
            for (int day = 7; day >= 1; --day)
                if (m_plan.dayHours(key, itemId, day) >= tolerance::kEqual)
                    return qlndates::addDays(key, day - 1);
        return key;
    }
    return "";
}

std::vector<CPlanEditor::RestoreCandidate> CPlanEditor::restoreCandidates() const {
    std::vector<RestoreCandidate> candidates;
    for (const auto& [id, item] : m_plan.items)
        if (item->parentId < 0 && id != CQLData::kRootId)
            candidates.push_back({id, item->name, lastDateWithHours(id)});
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const RestoreCandidate& a, const RestoreCandidate& b) { return a.name < b.name; });
    return candidates;
}

bool CPlanEditor::restoreItem(std::int32_t itemId) {
    CActivityItem* item = m_plan.findItem(itemId);
    CActivityItem* root = m_plan.root();
    // Only a detached item can come back; a live one would be listed twice.
    if (!item || !root || itemId == CQLData::kRootId || item->parentId >= 0)
        return false;
    root->children.insert(root->children.begin(), IntegerMy{itemId});
    item->parentId = CQLData::kRootId;
    item->timePart = 0;
    recomputeParts();
    return true;
}

bool CPlanEditor::purgeItem(std::int32_t itemId) {
    const CActivityItem* item = m_plan.findItem(itemId);
    if (itemId == CQLData::kRootId || !item || item->parentId >= 0 || item->isDivision())
        return false;
    m_plan.items.erase(static_cast<std::uint16_t>(itemId));
    return true;
}

CPlanEditor::PartChange CPlanEditor::changeTimePart(std::int32_t itemId, double percent) {
    CMessageSink& messages = m_plan.app().messages();
    if (percent > 100) {
        messages.message(kPartAbove100);
        return PartChange::Refused;
    }
    CActivityItem* item = m_plan.findItem(itemId);
    if (!item || !(percent >= 0))
        return PartChange::Refused;
    if (item->isDivision()) {
        if (item->timePart < tolerance::kEqual) {
            messages.message(kEmptyDivision);
            return PartChange::Refused;
        }
        if (!messages.askYesNo(kDivisionWarning))
            return PartChange::Declined;
    }
    if (exceedsTotal(*item, percent))
        return PartChange::ExceedsTotal;
    if (item->isDivision())
        m_plan.scaleContent(*item, percent / item->timePart);
    else
        item->timePart = percent;
    recomputeParts();
    return PartChange::Done;
}

void CPlanEditor::normalisePartsTo100() {
    CActivityItem* root = m_plan.root();
    if (!root)
        return;
    recomputeParts();
    if (root->timePart < tolerance::kEqual)
        return;
    m_plan.scaleContent(*root, 100.0 / root->timePart);
    recomputeParts();
}

double CPlanEditor::otherPartsSum(const CActivityItem& item) const {
    return m_plan.activityPartSum(*m_plan.root()) - item.timePart;
}

// Parts that add up to 100 within the comparison tolerance count as 100.
bool CPlanEditor::exceedsTotal(const CActivityItem& item, double percent) const {
    return percent + m_plan.activityPartSum(*m_plan.root()) - item.timePart >
           100 + tolerance::kEqual;
}

CPlanEditor::PartChange CPlanEditor::requestTimePart(std::int32_t itemId, double percent) {
    const CActivityItem* item = m_plan.findItem(itemId);
    if (!item)
        return PartChange::Refused;
    if (exceedsTotal(*item, percent))
        return PartChange::ExceedsTotal;
    return changeTimePart(itemId, percent);
}

void CPlanEditor::recalculateTo100(std::int32_t itemId, double percent) {
    CActivityItem* item = m_plan.findItem(itemId);
    if (!item)
        return;
    if (item->isDivision() && item->timePart >= tolerance::kEqual)
        m_plan.scaleContent(*item, percent / item->timePart);
    else if (!item->isDivision())
        item->timePart = percent;
    normalisePartsTo100();
}

const char* CPlanEditor::nestingRefusal(const CActivityItem& giver,
                                        const CActivityItem& receiver) const {
    if (giver.id == receiver.id)
        return kGiverIsReceiver;
    if (receiver.isDivision() && m_plan.contains(receiver, giver.id))
        return kGiverInsideReceiver;
    if (giver.isDivision() && m_plan.contains(giver, receiver.id))
        return kReceiverInsideGiver;
    return nullptr;
}

bool CPlanEditor::transferPart(std::int32_t giverId, std::int32_t receiverId, double amount) {
    CMessageSink& messages = m_plan.app().messages();
    const CActivityItem* receiver = m_plan.findItem(receiverId);
    if (!receiver) {
        messages.message(kReceiverGone);
        return false;
    }
    const CActivityItem* giver = m_plan.findItem(giverId);
    if (!giver) {
        messages.message(kGiverGone);
        return false;
    }
    if (nestingRefusal(*giver, *receiver)) {
        messages.message(kTransferRefused);
        return false;
    }
    const double given = giver->timePart;
    const double left = given - std::min(amount, given);
    changeTimePart(giverId, left);
    const CActivityItem* after = m_plan.findItem(giverId);
    return after && std::fabs(after->timePart - left) <= tolerance::kEqual;
}

CPlanEditor::PartChange CPlanEditor::setReceivedPart(std::int32_t receiverId, double percent) {
    CMessageSink& messages = m_plan.app().messages();
    const CActivityItem* receiver = m_plan.findItem(receiverId);
    if (!receiver) {
        messages.message(kReceiverGone);
        return PartChange::Refused;
    }
    if (exceedsTotal(*receiver, percent)) {
        messages.message(kAbove100);
        return PartChange::Refused;
    }
    return changeTimePart(receiverId, percent);
}
