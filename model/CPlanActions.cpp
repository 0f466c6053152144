#include "model/CPlanActions.h"

#include "core/CActiveDayVisit.h"
#include "core/CDayNavigator.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CHoursLedger.h"
#include "model/CPlanChange.h"
#include "model/CQLData.h"
#include "parse/CInputSumEvaluator.h"
#include "parse/CStringChckF1.h"
#include "parse/NumberFormat.h"

using Shows = CPlanActions::Outcome::Shows;

// An activity's hours show in its own row and in the sums of the divisions around it.
CPlanActions::Outcome CPlanActions::hoursOf(std::int32_t itemId) const {
    Outcome outcome = Outcome::of(Shows::Hours);
    const CActivityItem* item = m_plan.findItem(itemId);
    // The walk is bounded by the number of items, so a damaged parent chain cannot loop.
    for (std::size_t steps = 0; item && steps <= m_plan.items.size(); ++steps) {
        outcome.items.push_back(item->id);
        item = item->parentId >= 0 ? m_plan.findItem(item->parentId) : nullptr;
    }
    return outcome;
}

CPlanActions::Outcome CPlanActions::tree(std::optional<std::uint16_t> focus) {
    if (!focus)
        return {};
    return Outcome::of(Shows::Tree, *focus);
}

CPlanActions::Outcome CPlanActions::enterHours(std::int32_t itemId, const std::string& typed,
                                               const std::optional<CMyStringDate>& day) {
    if (typed == CStringChckF1::kErrorMarker)
        return {};
    const bool stored = [&] {
        std::optional<CActiveDayVisit> visit;
        if (day) {
            visit.emplace(m_plan.app().dates(), *day);
            if (!visit->entered())
                return false;
        }
        const CPlanChange step = CPlanChange::hours(m_plan, itemId, typed);
        return CHoursLedger{m_plan}.enterHours(itemId, typed);
    }();
    if (!stored)
        return {};
    // The ledger left the week filled for the day it stored: another day gives the active day
    // its place back.
    if (day)
        CHoursLedger{m_plan}.returnToActiveDay();
    return hoursOf(itemId);
}

bool CPlanActions::setHours(std::int32_t itemId, double hours) {
    const CPlanChange step =
        CPlanChange::hours(m_plan, itemId, numberformat::formatHoursMinutes(hours, 2));
    return CHoursLedger{m_plan}.inputActiveHours(itemId, hours);
}

void CPlanActions::addTimedDays(std::int32_t activityId,
                                const std::vector<CLiveTimer::DayMinutes>& days,
                                const std::string& total) {
    if (days.empty())
        return;
    CAppDates& dates = m_plan.app().dates();
    const auto id = static_cast<std::uint16_t>(activityId);
    {
        const CPlanChange step =
            CPlanChange::timed(m_plan, activityId, CMyStringDate{days.front().day}.text(), total);
        CHoursLedger ledger{m_plan};
        for (const CLiveTimer::DayMinutes& day : days) {
            if (day.minutes == 0)
                continue;
            const CActiveDayVisit visit{dates, CMyStringDate{day.day}};
            if (!visit.entered())
                continue;
            const std::string week = qlndates::weekStartText(day.day);
            const double before = dates.activeWeekShown()
                                      ? m_plan.weekHours(week, id)
                                      : m_plan.dayHours(week, id, qlndates::dayOfWeek(day.day));
            ledger.inputActiveHours(activityId, before + static_cast<double>(day.minutes) / 60.0);
        }
    }
    CHoursLedger{m_plan}.setActiveWeek(-1);
}

CPlanActions::Outcome CPlanActions::rename(std::int32_t itemId, const std::string& name) {
    {
        const CPlanChange step = CPlanChange::name(m_plan, itemId);
        CActivityItem* item = m_plan.findItem(itemId);
        if (!item)
            return {};
        m_plan.setName(*item, name);
    }
    return tree(static_cast<std::uint16_t>(itemId));
}

CPlanActions::Outcome CPlanActions::newActivity(const std::string& name) {
    const CPlanChange step = CPlanChange::newActivityNamed(m_plan, name);
    const std::optional<std::uint16_t> created = CPlanEditor{m_plan}.insertItem(CQLData::kRootId);
    if (created)
        m_plan.setName(*m_plan.findItem(*created), name);
    return tree(created);
}

std::optional<double> CPlanActions::evaluatePart(const std::string& typed) const {
    const CInputSumEvaluator evaluator{m_plan.app().library(), m_plan.app().messages()};
    double wanted = 0;
    if (!evaluator.evaluateInputSum(typed, wanted, CInputSumEvaluator::Mode::Plain))
        return std::nullopt;
    return wanted;
}

CPlanEditor::PartChange CPlanActions::requestTimePart(std::int32_t itemId, double percent) {
    const CPlanChange step = CPlanChange::timePart(m_plan, itemId);
    return CPlanEditor{m_plan}.requestTimePart(itemId, percent);
}

CPlanActions::Outcome CPlanActions::recalculateTo100(std::int32_t itemId, double percent) {
    const CPlanChange step = CPlanChange::timePart(m_plan, itemId);
    CPlanEditor{m_plan}.recalculateTo100(itemId, percent);
    return Outcome::of(Shows::Parts);
}

CPlanActions::Outcome CPlanActions::transferPart(std::int32_t giverId, std::int32_t receiverId,
                                                 double amount) {
    const CPlanChange step = CPlanChange::timePart(m_plan, receiverId);
    if (!CPlanEditor{m_plan}.transferPart(giverId, receiverId, amount))
        return {};
    return Outcome::of(Shows::Parts);
}

CPlanActions::Outcome CPlanActions::setReceivedPart(std::int32_t receiverId, double percent) {
    const CPlanChange step = CPlanChange::timePart(m_plan, receiverId);
    if (CPlanEditor{m_plan}.setReceivedPart(receiverId, percent) != CPlanEditor::PartChange::Done)
        return {};
    return Outcome::of(Shows::Parts);
}

CPlanActions::Outcome CPlanActions::insertActivity(std::int32_t divisionId) {
    return insert(divisionId, false);
}

CPlanActions::Outcome CPlanActions::insertDivision(std::int32_t parentId) {
    return insert(parentId, true);
}

CPlanActions::Outcome CPlanActions::insert(std::int32_t parentId, bool division) {
    m_plan.ensureRoot();
    const std::optional<std::uint16_t> created = [&] {
        const CPlanChange step = CPlanChange::insert(m_plan, division);
        CPlanEditor editor{m_plan};
        return division ? editor.insertDivision(parentId) : editor.insertItem(parentId);
    }();
    return tree(created);
}

// A delete or a restore changes the carries of every week: the ledger fills the active week
// afresh.
CPlanActions::Outcome CPlanActions::deleteItem(std::int32_t itemId) {
    {
        const CPlanChange step = CPlanChange::deletion(m_plan, itemId);
        CActivityItem* item = m_plan.findItem(itemId);
        if (!item)
            return {};
        CPlanEditor{m_plan}.deleteItem(*item);
    }
    CHoursLedger{m_plan}.setActiveWeek(-1);
    return Outcome::of(Shows::Tree);
}

CPlanActions::Outcome CPlanActions::move(std::int32_t itemId, std::int32_t destinationId) {
    const bool moved = [&] {
        const CPlanChange step = CPlanChange::move(m_plan, itemId);
        CActivityItem* item = m_plan.findItem(itemId);
        return item && CPlanEditor{m_plan}.moveItem(*item, destinationId);
    }();
    return moved ? tree(static_cast<std::uint16_t>(itemId)) : Outcome{};
}

CPlanActions::Outcome CPlanActions::restore(const std::vector<int>& itemIds) {
    {
        const CPlanChange step = CPlanChange::restore(m_plan, itemIds);
        CPlanEditor editor{m_plan};
        for (int item : itemIds)
            editor.restoreItem(item);
    }
    CHoursLedger{m_plan}.setActiveWeek(-1);
    return Outcome::of(Shows::Tree);
}

void CPlanActions::storeMemo(std::int32_t itemId, const std::string& memo) {
    const CPlanChange step = CPlanChange::memo(m_plan, itemId);
    m_plan.storeMemo(itemId, memo);
}

std::optional<CPlanHistory::Place> CPlanActions::stepThroughHistory(bool forward) {
    std::optional<CPlanHistory::Place> place =
        forward ? m_plan.history.redo(m_plan) : m_plan.history.undo(m_plan);
    if (!place)
        return std::nullopt;
    CAppCore& app = m_plan.app();
    // The day of the change comes back with its mode: a week before the detailed period is
    // shown in week mode, a day after its start in day mode.
    if (!place->activeDay.empty() && place->activeDay != app.dates().activeDay().text())
        CDayNavigator{app.dates()}.chooseDate(
            CMyStringDate{CMyStringDate::parse(place->activeDay)});
    const CActivityItem* current = m_plan.findItem(app.currentDivision());
    if (!current || !current->isDivision() || current->isDetached())
        app.setCurrentDivision(CQLData::kRootId);
    return place;
}
