#include "model/CPeriodHours.h"

#include "core/CAppDates.h"
#include "core/CMyStringDate.h"
#include "core/QlnDates.h"
#include "core/Tolerance.h"
#include "model/CAppCore.h"
#include "model/CHoursArchive.h"
#include "model/CQLData.h"

#include <algorithm>
#include <cmath>

CPeriodHours::CPeriodHours(const CQLData& plan, const std::vector<CArchivedHours>& archive,
                           std::string first, std::string last)
    : m_plan(plan), m_first(std::move(first)), m_last(std::move(last)),
      m_planStart(weekOfDay(dayNumber(plan.app().dates().keptStart().text()))),
      m_goneActivities(archive) {
    // Whole weeks: whether a week's days make up its total is decided on all of them.
    const int firstWeek = weekOfDay(dayNumber(m_first));
    const int lastWeek = weekOfDay(dayNumber(m_last));
    const std::string from = textOf(firstWeek);
    const std::string to = textOf(lastWeek + 6);
    for (const CArchivedHours& row : archive) {
        if (row.isDeleted() || row.date < from || row.date > to)
            continue;
        const int week = weekOfDay(dayNumber(row.date));
        ArchivedWeek& group = m_archivedWeeks[keyOf(row.id, week)];
        group.week = week;
        group.rows.push_back(&row);
    }
    for (const auto& [key, group] : m_archivedWeeks)
        if (group.week < m_planStart)
            addArchivedWeek(group);
    addPlanWeeks();
}

std::uint64_t CPeriodHours::keyOf(std::uint16_t id, int week) {
    return static_cast<std::uint64_t>(id) << 32 | static_cast<std::uint32_t>(week);
}

// Days from 1 January 1970 of a YYYYMMDD text.
int CPeriodHours::dayNumber(const std::string& date) {
    return static_cast<int>(CMyStringDate::parse(date).time_since_epoch().count());
}

// The day number of the day's Sunday; 1 January 1970 was a Thursday.
int CPeriodHours::weekOfDay(int day) {
    return day - ((day % 7 + 7 + 4) % 7);
}

std::string CPeriodHours::textOf(int day) {
    return CMyStringDate::format(std::chrono::sys_days{std::chrono::days{day}});
}

void CPeriodHours::addPlanWeeks() {
    const auto from = m_plan.averagedWeeks.lower_bound(qlndates::addDays(m_first, -6));
    for (auto week = from; week != m_plan.averagedWeeks.end() && week->first <= m_last; ++week)
        addPlanWeek(week->first);
}

void CPeriodHours::addPlanWeek(const std::string& week) {
    const auto detailed = m_plan.detailedWeeks.find(week);
    for (const auto& [id, summary] : m_plan.averagedWeeks.at(week)) {
        if (detailed != m_plan.detailedWeeks.end()) {
            if (const auto set = detailed->second.find(id); set != detailed->second.end()) {
                for (const auto& [day, hours] : set->second.dayHours)
                    if (day >= 1 && day <= 7 && inside(qlndates::addDays(week, day - 1)))
                        m_items[id] += hours.value();
                continue;
            }
        }
        if (summary.weekHours != 0 && !addArchivedDays(id, week, summary.weekHours) && inside(week))
            m_items[id] += summary.weekHours;
    }
}

// The archive's days of a week the plan keeps only as a total, when they make that total up.
bool CPeriodHours::addArchivedDays(std::uint16_t id, const std::string& week, double total) {
    const auto group = m_archivedWeeks.find(keyOf(id, weekOfDay(dayNumber(week))));
    if (group == m_archivedWeeks.end())
        return false;
    double sum = 0;
    for (const CArchivedHours* row : group->second.rows) {
        if (row->isWeek())
            return false;
        sum += row->hours;
    }
    if (std::fabs(sum - total) > tolerance::kEqual)
        return false;
    for (const CArchivedHours* row : group->second.rows)
        if (inside(row->date))
            m_items[id] += row->hours;
    return true;
}

// A week the plan no longer keeps: its days where they fall, unless a total came for it
// after them (the days no longer make it up): then all of it where its Sunday falls.
void CPeriodHours::addArchivedWeek(const ArchivedWeek& group) {
    const bool total = std::any_of(group.rows.begin(), group.rows.end(),
                                   [](const CArchivedHours* row) { return row->isWeek(); });
    const bool sundayInside = total && inside(textOf(group.week));
    for (const CArchivedHours* row : group.rows)
        if (total ? sundayInside : inside(row->date))
            addArchiveRow(*row);
}

// A row is its identifier's, unless the plan let that activity go since: then the row counts
// for the deleted activity under its last name.
void CPeriodHours::addArchiveRow(const CArchivedHours& row) {
    if (const CArchivedHours* gone = m_goneActivities.ownerOf(row))
        m_gone[gone->name] += row.hours;
    else if (!m_plan.findItem(row.id))
        m_gone[row.name] += row.hours; // no mark of its going: an archive from elsewhere
    else
        m_items[row.id] += row.hours;
}
