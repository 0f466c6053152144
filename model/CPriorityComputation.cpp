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
    double spent = 0;
    double available = 0;
    for (CActivityItem* child : m_plan.contentInWalkOrder(item)) {
        sumSpentAndAvailable(*child);
        spent += child->reducedHoursSpent;
        available += child->availableHours;
    }
    item.reducedHoursSpent = spent;
    item.availableHours = available;
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
    item.spentToPlannedRatio = item.reducedHoursSpent / item.plannedHours;
    const double priority =
        (1.0 - item.spentToPlannedRatio * 0.5) * m_plan.app().config().priorityScale;
    // Nothing spent against nothing planned gives no number: its priority is 0, so that the
    // orders stay well defined.
    item.priority = std::isnan(priority) || priority < 0 ? 0.0 : priority;
    if (item.isDivision())
        for (CActivityItem* child : m_plan.contentInWalkOrder(item))
            setRatioAndPriority(*child);
}

void CPriorityComputation::computeCurrentPriorities() {
    computePrioritiesAsOf(m_plan.app().dates().today().date());
}

void CPriorityComputation::computePrioritiesAsOf(std::chrono::sys_days day) {
    CActivityItem* root = m_plan.root();
    if (!root)
        return;
    m_latest = day;
    const auto week = m_plan.averagedWeeks.find(qlndates::weekStartText(m_latest));
    m_currentWeek = week == m_plan.averagedWeeks.end() ? nullptr : &week->second;
    m_dayCounts.clear();
    sumSpentAndAvailable(*root);
    sumPlanned(*root);
    setRatioAndPriority(*root);
    CActvtItmHlprTmToSpnd{}.applyBottomUp(m_plan, *root);
}

std::vector<std::uint16_t>
CPriorityComputation::byPriority(const std::vector<const CActivityItem*>& items) const {
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

std::vector<std::uint16_t> CPriorityComputation::activityPriorityOrder() const {
    const CActivityItem* root = m_plan.root();
    if (!root)
        return {};
    std::vector<const CActivityItem*> activities;
    for (std::uint16_t id : m_plan.activitiesOf(*root))
        activities.push_back(m_plan.findItem(id));
    return byPriority(activities);
}

std::vector<std::uint16_t>
CPriorityComputation::divisionContentOrder(const CActivityItem& division) const {
    std::vector<const CActivityItem*> divisions;
    std::vector<const CActivityItem*> activities;
    for (const CActivityItem* item : std::as_const(m_plan).contentInWalkOrder(division))
        (item->isDivision() ? divisions : activities).push_back(item);
    std::vector<std::uint16_t> ordered = byPriority(divisions);
    const std::vector<std::uint16_t> second = byPriority(activities);
    ordered.insert(ordered.end(), second.begin(), second.end());
    return ordered;
}

RowMap CPriorityComputation::activityRows() const {
    RowMap rows;
    for (std::uint16_t id : activityPriorityOrder())
        rows.emplace(static_cast<int>(rows.size()) + 1,
                     CRowTypeInfo{CRowTypeInfo::Kind::Activity, id});
    return rows;
}

RowMap CPriorityComputation::divisionRows(std::uint16_t currentDivision) const {
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
    for (std::uint16_t id : divisionContentOrder(*division)) {
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
