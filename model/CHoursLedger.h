#pragma once

#include "model/CWeekSetDetailed.h"

#include <cstdint>
#include <string>
#include <vector>

class CActivityItem;
class CQLData;

// The hours ledger of a plan: recent weeks day by day, older weeks as week totals with a
// reduced carry of everything before them. Reads the periods and the active day from the
// application's dates; the week maps themselves belong to the plan.
class CHoursLedger {
public:
    static constexpr int kWholeWeek = 8;
    static constexpr const char* kDivisionInput =
        "It is impossible to input hours in a section. Please input hours in an activity instead.";
    // More than any real entry, and far from what single precision can hold once summed.
    static constexpr double kMostHours = 1000000;
    static constexpr const char* kTooManyHours =
        "The number of hours is too large. Please, input at most 1000000 hours at a time.";

    explicit CHoursLedger(CQLData& plan) : m_plan(plan) {}

    // Stores the hours of the active day (dayIndex -1: the active day's own index), or of the
    // whole active week (dayIndex 8) when the active day lies before the detailed period.
    bool inputHours(std::int32_t activity, double hours, int dayIndex);
    // The hours of the active day, or of its whole week when the day lies before the detailed
    // period.
    bool inputActiveHours(std::int32_t activity, double hours);
    // A typed hours text (a sum of times), evaluated and stored as inputActiveHours does; the
    // evaluator shows its own message for a text it cannot read.
    bool enterHours(std::int32_t activity, const std::string& typed);

    void recomputeCarries(const std::string& fromDate, const std::string& toDate);
    void normaliseAfterLoad();
    // Today moved past `before` while the plan was open: a week it entered gets what a load
    // gives the latest week, and the carries into it, so that priorities count the weeks
    // before it.
    void followToday(const std::string& before);
    void deriveStartDates();
    void setActiveWeek(int dayIndex);
    // After hours were stored on another day of the active day's detailed week, which left the
    // week filled day by day: the active day's own index again, without filling it anew.
    void returnToActiveDay();
    // What the ledger holds for the activity where inputActiveHours would store.
    double recordedActiveHours(std::int32_t activity) const;
    double hoursShownForActiveDay(const CActivityItem& item, int dayIndex) const;
    std::string hoursShownText(const CActivityItem& item, int dayIndex) const;
    // The whole active week's hours, as the timesheet's total column shows them.
    static std::string weekHoursText(const CActivityItem& item);

private:
    std::string latestDate() const;
    std::string latestWeekKey() const;
    const std::string& detailedStart() const;
    const std::string& keptStart() const;
    void zeroRestOfLatestWeek();
    template <typename Map>
    void keepOlderWeeks(const Map& weeks, const std::string& first, bool days);
    void recordDayHours(std::uint16_t activity, const std::string& day, double hours);
    void recomputeWeek(const std::string& weekKey, const std::vector<bool>& inTree);
    struct ActiveWeek {
        const CFlatMap<std::uint16_t, CWeekSetAveraged>* averaged = nullptr;
        const CFlatMap<std::uint16_t, CWeekSetDetailed>* detailed = nullptr;
        bool beforeDetailedPeriod = false;
    };
    ActiveWeek activeWeek() const;
    bool refillActivity(CActivityItem& activity, const std::string& weekKey, int dayIndex);
    void fillActiveWeek(CActivityItem& item, const ActiveWeek& week);
    // A division's week figures: the sums of its content's, in walk order.
    static void sumContent(CActivityItem& item, const std::vector<CActivityItem*>& content,
                           bool days);
    void fillActivity(CActivityItem& item, const ActiveWeek& week, bool days);

    CQLData& m_plan;
};
