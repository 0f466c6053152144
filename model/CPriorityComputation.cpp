#include "model/CPriorityComputation.h"

#include "core/QlnDates.h"
#include "model/CActvtItmHlprTmToSpnd.h"
#include "model/CAppCore.h"
#include "model/CQLData.h"
#include "parse/NumberFormat.h"

#include <cmath>
#include <utility>

double CPriorityComputation::reducedDayCount(const std::string& later,
                                             const std::string& earlier) const {
    return qlndates::weightedDays(CMyStringDate::parse(later), CMyStringDate::parse(earlier),
                                  m_plan.app().config().decayFactor);
}

double CPriorityComputation::availableDays(const std::string& startDate) {
    const auto known = m_dayCounts.find(startDate);
    if (known != m_dayCounts.end())
        return known->second;
    // An item that started after the day had no time available yet.
    if (CMyStringDate::parse(startDate) > m_latest)
        return m_dayCounts.emplace(startDate, 0.0).first->second;
    const double days = qlndates::weightedDays(m_latest, CMyStringDate::parse(startDate),
                                               m_plan.app().config().decayFactor);
    m_dayCounts.emplace(startDate, days);
    return days;
}

void CPriorityComputation::sumSpentAndAvailable(CActivityItem& item) {
    if (!item.isDivision()) {
        double spent = 0.0;
        if (m_currentWeek) {
            const auto set = m_currentWeek->find(static_cast<std::uint16_t>(item.id));
            if (set != m_currentWeek->end() && set->second.weekHours >= 0 &&
                set->second.carriedHours >= 0)
                spent = set->second.weekHours + set->second.carriedHours;
        }
        item.reducedHoursSpent = spent;
        item.availableHours = availableDays(item.startDate) * m_plan.app().config().hoursPerDay;
        return;
    }
    const std::vector<CActivityItem*> content = m_plan.contentInWalkOrder(item);
    for (CActivityItem* child : content)
        sumSpentAndAvailable(*child);
    sumSpentAndAvailable(item, content);
}

void CPriorityComputation::sumSpentAndAvailable(CActivityItem& division,
                                                const std::vector<CActivityItem*>& content) {
    double spent = 0;
    double available = 0;
    for (const CActivityItem* child : content) {
        spent += child->reducedHoursSpent;
        available += child->availableHours;
    }
    division.reducedHoursSpent = spent;
    division.availableHours = available;
}

double CPriorityComputation::sumPlanned(CActivityItem& item) {
    if (!item.isDivision()) {
        item.plannedHours = item.availableHours * item.timePart / 100.0;
        return item.plannedHours;
    }
    double planned = 0;
    for (CActivityItem* child : m_plan.contentInWalkOrder(item))
        planned += sumPlanned(*child);
    item.plannedHours = planned;
    return planned;
}

void CPriorityComputation::setRatioAndPriority(CActivityItem& item) {
    setOwnRatioAndPriority(item);
    if (item.isDivision())
        for (CActivityItem* child : m_plan.contentInWalkOrder(item))
            setRatioAndPriority(*child);
}

void CPriorityComputation::setOwnRatioAndPriority(CActivityItem& item) const {
    item.spentToPlannedRatio = item.reducedHoursSpent / item.plannedHours;
    const double priority =
        (1.0 - item.spentToPlannedRatio * 0.5) * m_plan.app().config().priorityScale;
    // Nothing spent against nothing planned gives no number: its priority is 0, so that the
    // orders stay well defined.
    item.priority = std::isnan(priority) || priority < 0 ? 0.0 : priority;
}

void CPriorityComputation::computeCurrentPriorities() {
    computePrioritiesAsOf(m_plan.app().dates().today().date());
}

void CPriorityComputation::computePrioritiesAsOf(std::chrono::sys_days day) {
    CActivityItem* root = m_plan.root();
    m_plan.prioritiesDay.reset();
    if (!root)
        return;
    startAsOf(day);
    sumSpentAndAvailable(*root);
    sumPlanned(*root);
    setRatioAndPriority(*root);
    CActvtItmHlprTmToSpnd{}.applyBottomUp(m_plan, *root);
    m_plan.prioritiesDay = day;
}

void CPriorityComputation::startAsOf(std::chrono::sys_days day) {
    m_latest = day;
    const auto week = m_plan.averagedWeeks.find(qlndates::weekStartText(m_latest));
    m_currentWeek = week == m_plan.averagedWeeks.end() ? nullptr : &week->second;
    m_dayCounts.clear();
}

bool CPriorityComputation::updateForHoursOf(std::int32_t activityId) {
    const std::chrono::sys_days today = m_plan.app().dates().today().date();
    CActivityItem* activity = m_plan.findItem(activityId);
    const std::vector<CActivityItem*> divisions =
        activity && !activity->isDivision() && m_plan.prioritiesDay == today
            ? m_plan.divisionsAbove(*activity)
            : std::vector<CActivityItem*>{};
    if (divisions.empty()) {
        computeCurrentPriorities();
        return false;
    }
    startAsOf(today);
    const CActvtItmHlprTmToSpnd toSpend;
    sumSpentAndAvailable(*activity);
    sumPlanned(*activity);
    setOwnRatioAndPriority(*activity);
    toSpend.applyBottomUp(m_plan, *activity);
    // Each division's sums are made afresh from its content in walk order, as a whole
    // computation makes them, so the figures are the same to the last bit.
    for (CActivityItem* division : divisions) {
        const std::vector<CActivityItem*> content = m_plan.contentInWalkOrder(*division);
        sumSpentAndAvailable(*division, content);
        double planned = 0;
        for (const CActivityItem* child : content)
            planned += child->plannedHours;
        division->plannedHours = planned;
        setOwnRatioAndPriority(*division);
        toSpend.sumContent(*division, content);
    }
    return true;
}

std::vector<std::uint16_t>
CPriorityComputation::byPriority(const std::vector<const CActivityItem*>& items,
                                 const Earlier* earlier, CRowTypeInfo::Kind kind) const {
    if (earlier) {
        std::vector<std::uint16_t> before;
        for (const auto& [row, record] : earlier->rows)
            if (record.kind() == kind)
                before.push_back(record.itemId());
        if (std::optional<std::vector<std::uint16_t>> order =
                reordered(items, before, earlier->moved))
            return std::move(*order);
    }
    std::vector<double> priorities;
    priorities.reserve(items.size());
    for (const CActivityItem* item : items)
        priorities.push_back(item->priority);
    std::vector<std::uint16_t> ordered;
    ordered.reserve(items.size());
    for (int index : m_plan.app().library().sortValuesDescending(priorities))
        ordered.push_back(static_cast<std::uint16_t>(items[static_cast<std::size_t>(index)]->id));
    return ordered;
}

// The sort's rule: higher priority first, equal priorities the later item first. Priorities
// are never NaN (a computation that gives none gives 0), so plain comparisons are the rule.
std::optional<std::vector<std::uint16_t>>
CPriorityComputation::reordered(const std::vector<const CActivityItem*>& items,
                                const std::vector<std::uint16_t>& earlier,
                                const std::vector<std::int32_t>& moved) {
    if (earlier.size() != items.size())
        return std::nullopt;
    constexpr int kAbsent = -1;
    std::vector<int> place(0x10000, kAbsent); // by identifier: the item's index in `items`
    for (std::size_t i = 0; i < items.size(); ++i)
        place[static_cast<std::uint16_t>(items[i]->id)] = static_cast<int>(i);
    const auto before = [&](std::uint16_t a, std::uint16_t b) {
        const double pa = items[static_cast<std::size_t>(place[a])]->priority;
        const double pb = items[static_cast<std::size_t>(place[b])]->priority;
        return pa > pb || (pa == pb && place[a] > place[b]);
    };
    enum : std::uint8_t { Unseen, Seen, Moved };
    std::vector<std::uint8_t> state(0x10000, Unseen);
    std::vector<std::uint16_t> toInsert;
    for (std::int32_t id : moved)
        if (id >= 0 && id <= 0xFFFF && place[static_cast<std::uint16_t>(id)] != kAbsent &&
            state[static_cast<std::uint16_t>(id)] == Unseen) {
            state[static_cast<std::uint16_t>(id)] = Moved;
            toInsert.push_back(static_cast<std::uint16_t>(id));
        }
    std::vector<std::uint16_t> order;
    order.reserve(items.size());
    std::size_t movedSeen = 0;
    for (std::uint16_t id : earlier) {
        if (place[id] == kAbsent || state[id] == Seen)
            return std::nullopt; // not the same items
        if (state[id] == Moved) {
            ++movedSeen;
            continue;
        }
        // The rest must still stand in the sort's order, or something else moved as well.
        if (!order.empty() && !before(order.back(), id))
            return std::nullopt;
        state[id] = Seen;
        order.push_back(id);
    }
    if (movedSeen != toInsert.size())
        return std::nullopt;
    for (std::uint16_t id : toInsert)
        order.insert(std::ranges::lower_bound(order, id, before), id);
    return order;
}

std::vector<std::uint16_t>
CPriorityComputation::activityPriorityOrder(const Earlier* earlier) const {
    const CActivityItem* root = m_plan.root();
    if (!root)
        return {};
    std::vector<const CActivityItem*> activities;
    for (std::uint16_t id : m_plan.activitiesOf(*root))
        activities.push_back(m_plan.findItem(id));
    return byPriority(activities, earlier);
}

std::vector<std::uint16_t>
CPriorityComputation::divisionContentOrder(const CActivityItem& division,
                                           const Earlier* earlier) const {
    using Kind = CRowTypeInfo::Kind;
    std::vector<const CActivityItem*> divisions;
    std::vector<const CActivityItem*> activities;
    for (const CActivityItem* item : std::as_const(m_plan).contentInWalkOrder(division))
        (item->isDivision() ? divisions : activities).push_back(item);
    std::vector<std::uint16_t> ordered = byPriority(divisions, earlier, Kind::DivisionBegin);
    const std::vector<std::uint16_t> second = byPriority(activities, earlier, Kind::Activity);
    ordered.insert(ordered.end(), second.begin(), second.end());
    return ordered;
}

RowMap CPriorityComputation::activityRows(const Earlier* earlier) const {
    RowMap rows;
    for (std::uint16_t id : activityPriorityOrder(earlier))
        rows.emplace(static_cast<int>(rows.size()) + 1,
                     CRowTypeInfo{CRowTypeInfo::Kind::Activity, id});
    return rows;
}

RowMap CPriorityComputation::divisionRows(std::uint16_t currentDivision,
                                          const Earlier* earlier) const {
    using Kind = CRowTypeInfo::Kind;
    RowMap rows;
    const CActivityItem* division = m_plan.findItem(currentDivision);
    if (!division)
        return rows;
    auto append = [&rows](Kind kind, std::uint16_t id) {
        rows.emplace(static_cast<int>(rows.size()) + 1, CRowTypeInfo{kind, id});
    };
    if (currentDivision != CQLData::kRootId) {
        append(Kind::ParentDivision, static_cast<std::uint16_t>(std::max(division->parentId, 0)));
        append(Kind::CurrentDivision, currentDivision);
    }
    for (std::uint16_t id : divisionContentOrder(*division, earlier)) {
        const CActivityItem* item = m_plan.findItem(id);
        append(item->isDivision() ? Kind::DivisionBegin : Kind::Activity, id);
    }
    return rows;
}

std::string CPriorityComputation::priorityText(const CActivityItem& item) {
    return numberformat::formatDecimal(item.priority, 0);
}

std::string CPriorityComputation::hoursToSpendText(const CActivityItem& item) {
    return numberformat::formatHoursMinutes(item.hoursToSpend > 0 ? item.hoursToSpend : 0.0, 2);
}
