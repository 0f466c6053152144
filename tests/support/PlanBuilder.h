#pragma once

#include "core/QlnDates.h"
#include "model/CAppCore.h"
#include "model/CQLData.h"

#include <cstdint>
#include <random>
#include <string>

// Builds plans for tests and benchmarks: items under a parent, and a ledger filled directly
// (the way a year of typed hours leaves it), without going through a day-by-day input.
class PlanBuilder {
public:
    explicit PlanBuilder(CQLData& plan) : m_plan(plan) { m_plan.ensureRoot(); }

    CActivityItem& add(std::uint16_t itemId, std::uint16_t parent, const std::string& name,
                       double part = 0) {
        CActivityItem& item = m_plan.addItem(itemId);
        item.name = name;
        item.parentId = parent;
        item.timePart = part;
        m_plan.findItem(parent)->children.emplace_back(itemId);
        return item;
    }

    // Work > Mail (10 %), Sleep (20 %), Reading (10 %): numbers 1 to 4.
    void addSmallPlan() {
        add(1, 0, "Work");
        add(2, 1, "Mail", 10);
        add(3, 0, "Sleep", 20);
        add(4, 0, "Reading", 10);
        m_plan.recomputeDivisionParts(*m_plan.root());
    }

    // Divisions of `perDivision` activities each, `activities` in all, parts summing to 100.
    void addActivities(int activities, int perDivision = 10) {
        std::uint16_t next = 1;
        std::uint16_t division = 0;
        for (int a = 0; a < activities; ++a) {
            if (a % perDivision == 0) {
                division = next++;
                add(division, 0, "Division " + std::to_string(division));
            }
            const std::uint16_t id = next++;
            add(id, division, "Activity " + std::to_string(id), 100.0 / activities);
        }
        m_plan.recomputeDivisionParts(*m_plan.root());
    }

    // Random hours on most days for every activity, over the whole kept period up to today.
    void addYearOfHours(unsigned seed = 7) {
        std::mt19937 random{seed};
        std::uniform_int_distribution<int> quarterHours{0, 12};
        const CAppDates& dates = m_plan.app().dates();
        const std::string today = dates.latestDate().text();
        const std::string& detailedStart = dates.detailedStart().text();
        const auto activities = m_plan.activitiesOf(*m_plan.root());
        for (std::string week = dates.keptStart().text(); week <= today;
             week = qlndates::weekOffset(week, 1)) {
            for (std::uint16_t id : activities) {
                double total = 0;
                for (int day = 1; day <= 7; ++day) {
                    const std::string date = qlndates::addDays(week, day - 1);
                    if (date > today)
                        break;
                    const double hours = quarterHours(random) * 0.25;
                    total += hours;
                    if (week >= detailedStart)
                        m_plan.detailedWeeks[week][id].dayHours[static_cast<std::uint16_t>(day)] =
                            FloatMy{hours};
                }
                m_plan.averagedWeeks[week][id].weekHours =
                    static_cast<double>(static_cast<float>(total));
            }
        }
    }

private:
    CQLData& m_plan;
};
