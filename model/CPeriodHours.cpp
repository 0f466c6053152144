#include "model/CPeriodHours.h"

#include "core/CAppDates.h"
#include "core/CMyStringDate.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CHoursArchive.h"
#include "model/CQLData.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSameHours = 0.0001;

} // namespace

CPeriodHours::CPeriodHours(const CQLData& plan, const std::vector<CArchivedHours>& archive,
                           std::string first, std::string last)
    : m_plan(plan), m_first(std::move(first)), m_last(std::move(last)),
      m_planStart(qlndates::weekStartText(plan.app().dates().keptStart().date())) {
    findGone(archive);
    // Whole weeks: whether a week's days make up its total is decided on all of them.
    const std::string firstWeek = qlndates::weekStartText(CMyStringDate::parse(m_first));
    const std::string lastWeek = qlndates::weekStartText(CMyStringDate::parse(m_last));
    for (const CArchivedHours& row : archive) {
        if (row.isDeleted() || row.date < firstWeek || row.date > qlndates::addDays(lastWeek, 6))
            continue;
        if (const std::string week = CHoursArchive::weekOf(row);
            week >= firstWeek && week <= lastWeek)
            m_archivedWeeks[keyOf(row.id, week)].push_back(&row);
    }
    for (const auto& [key, rows] : m_archivedWeeks)
        if (CHoursArchive::weekOf(*rows.front()) < m_planStart)
            addArchivedWeek(rows);
    addPlanWeeks();
}

std::uint64_t CPeriodHours::keyOf(std::uint16_t id, const std::string& week) {
    return static_cast<std::uint64_t>(id) << 32 | std::stoul(week);
}

void CPeriodHours::findGone(const std::vector<CArchivedHours>& archive) {
    for (const CArchivedHours& row : archive)
        if (row.isDeleted())
            m_goneMarks[row.id].push_back(&row);
    for (auto& [id, marks] : m_goneMarks)
        std::sort(marks.begin(), marks.end(), [](const CArchivedHours* a, const CArchivedHours* b) {
            return a->date < b->date;
        });
}

// The deleted activity a row belongs to: the first one let go after the row's date.
const CArchivedHours* CPeriodHours::goneOwner(const CArchivedHours& row) const {
    const auto marks = m_goneMarks.find(row.id);
    if (marks == m_goneMarks.end())
        return nullptr;
    for (const CArchivedHours* mark : marks->second)
        if (mark->date > row.date)
            return mark;
    return nullptr;
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
    const auto rows = m_archivedWeeks.find(keyOf(id, week));
    if (rows == m_archivedWeeks.end())
        return false;
    double sum = 0;
    for (const CArchivedHours* row : rows->second) {
        if (row->isWeek())
            return false;
        sum += row->hours;
    }
    if (std::fabs(sum - total) > kSameHours)
        return false;
    for (const CArchivedHours* row : rows->second)
        if (inside(row->date))
            m_items[id] += row->hours;
    return true;
}

// A week the plan no longer keeps: its days where they fall, unless a total came for it
// after them (the days no longer make it up): then all of it where its Sunday falls.
void CPeriodHours::addArchivedWeek(const std::vector<const CArchivedHours*>& rows) {
    const bool total = std::any_of(rows.begin(), rows.end(),
                                   [](const CArchivedHours* row) { return row->isWeek(); });
    for (const CArchivedHours* row : rows)
        if (inside(total ? CHoursArchive::weekOf(*row) : row->date))
            addArchiveRow(*row);
}

void CPeriodHours::addArchiveRow(const CArchivedHours& row) {
    if (const CArchivedHours* gone = goneOwner(row))
        m_gone[gone->name] += row.hours;
    else if (!m_plan.findItem(row.id))
        m_gone[row.name] += row.hours; // no mark of its going: an archive from elsewhere
    else
        m_items[row.id] += row.hours;
}
