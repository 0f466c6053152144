#include "model/CHoursLedger.h"

#include "core/CMessageSink.h"
#include "core/QlnDates.h"
#include "core/Tolerance.h"
#include "model/CAppCore.h"
#include "model/CHoursArchive.h"
#include "model/CQLData.h"
#include "parse/CInputSumEvaluator.h"
#include "parse/NumberFormat.h"

#include <cmath>
#include <vector>

namespace {

int dayIndexOf(const std::string& dateText) {
    return qlndates::dayOfWeek(CMyStringDate::parse(dateText));
}

std::string weekKeyOf(const std::string& dateText) {
    return qlndates::weekStartText(CMyStringDate::parse(dateText));
}

template <typename Map>
void eraseOutside(Map& weeks, const std::string& first, const std::string& last) {
    for (auto it = weeks.begin(); it != weeks.end();) {
        // Keys that name no Sunday can only come from a damaged file.
        if (it->first < first || it->first > last || !qlndates::isWeekStart(it->first))
            it = weeks.erase(it);
        else
            ++it;
    }
}

} // namespace

std::string CHoursLedger::latestDate() const {
    return m_plan.app().dates().today().text();
}

std::string CHoursLedger::latestWeekKey() const {
    return weekKeyOf(latestDate());
}

const std::string& CHoursLedger::detailedStart() const {
    return m_plan.app().dates().detailedStart().text();
}

const std::string& CHoursLedger::keptStart() const {
    return m_plan.app().dates().keptStart().text();
}

bool CHoursLedger::inputActiveHours(std::int32_t activity, double hours) {
    return inputHours(activity, hours, m_plan.app().dates().activeWeekShown() ? kWholeWeek : -1);
}

bool CHoursLedger::enterHours(std::int32_t activity, const std::string& typed) {
    const CAppCore& app = m_plan.app();
    const CInputSumEvaluator evaluator{app.library(), app.messages()};
    double hours = 0;
    return evaluator.evaluateInputSum(typed, hours,
                                      CInputSumEvaluator::hoursMode(app.decimalHours())) &&
           inputActiveHours(activity, hours);
}

void CHoursLedger::recordDayHours(std::uint16_t activity, const std::string& day, double hours) {
    const std::string key = weekKeyOf(day);
    CWeekSetAveraged& summary = m_plan.averagedWeeks[key][activity];
    CWeekSetDetailed& detailed = m_plan.detailedWeeks[key][activity];
    detailed.dayHours[static_cast<std::uint16_t>(dayIndexOf(day))] = FloatMy{hours};
    summary.weekHours = detailed.sumOfDays();
}

bool CHoursLedger::inputHours(std::int32_t activity, double hours, int dayIndex) {
    CActivityItem* item = m_plan.findItem(activity);
    if (!item)
        return false;
    if (!item->takesHours()) {
        m_plan.app().messages().message(kDivisionInput);
        return false;
    }
    // A single-precision total that overflowed would make the saved file unreadable.
    if (!(hours >= 0 && hours <= kMostHours)) {
        m_plan.app().messages().message(kTooManyHours);
        return false;
    }
    const std::string activeDay = m_plan.app().dates().activeDay().text();
    if (dayIndex == -1)
        dayIndex = dayIndexOf(activeDay);
    const auto id = static_cast<std::uint16_t>(activity);
    const std::string key = weekKeyOf(activeDay);
    if (m_plan.app().dates().activeWeekShown()) {
        if (dayIndex != kWholeWeek)
            return false;
        m_plan.averagedWeeks[key][id].weekHours = hours;
    } else {
        recordDayHours(id, activeDay, hours);
    }
    // Week totals are kept in single precision, as the files hold them.
    CWeekSetAveraged& summary = m_plan.averagedWeeks[key][id];
    summary.weekHours = static_cast<double>(static_cast<float>(summary.weekHours));
    const std::string latest = latestDate();
    if (activeDay < latest)
        recomputeCarries(activeDay, latest);
    if (item->startDate > activeDay)
        item->startDate = activeDay;
    if (!refillActivity(*item, key, dayIndex))
        setActiveWeek(dayIndex);
    return true;
}

void CHoursLedger::recomputeCarries(const std::string& fromDate, const std::string& toDate) {
    if (fromDate > toDate)
        return;
    const int weeks = qlndates::daysBetween(fromDate, toDate) / 7;
    const CActivityItem* root = m_plan.root();
    if (weeks <= 0 || !root)
        return;
    // Carries change for every activity of the later weeks, today's among them.
    m_plan.forgetComputed();
    const std::string fromWeek = weekKeyOf(fromDate);
    std::vector<bool> inTree(0x10000, false);
    for (std::uint16_t activity : m_plan.activitiesOf(*root))
        inTree[activity] = true;
    for (int k = 1; k <= weeks; ++k)
        recomputeWeek(qlndates::weekOffset(fromWeek, k), inTree);
}

void CHoursLedger::recomputeWeek(const std::string& weekKey, const std::vector<bool>& inTree) {
    const auto previous = m_plan.averagedWeeks.find(qlndates::weekOffset(weekKey, -1));
    if (previous == m_plan.averagedWeeks.end())
        return;
    const double decay = m_plan.app().config().decayFactor;
    std::vector<std::uint16_t> carriers;
    for (const auto& [activity, p] : previous->second)
        if (inTree[activity])
            carriers.push_back(activity);
    CQLData::AveragedWeek& week = m_plan.averagedWeeks[weekKey];
    week.addMissing(carriers);
    // Both weeks are ordered by identifier and every carrier now has a set: one merge pass.
    auto set = week.begin();
    for (const auto& [activity, p] : previous->second) {
        if (!inTree[activity])
            continue;
        while (set->first < activity)
            ++set;
        const double carried =
            (p.weekHours < 0 || p.carriedHours < 0) ? 0.0 : p.weekHours + p.carriedHours;
        set->second.carriedHours = carried / decay;
    }
}

void CHoursLedger::normaliseAfterLoad() {
    m_plan.forgetComputed();
    const std::string latest = latestDate();
    const std::string latestWeek = weekKeyOf(latest);
    keepOlderWeeks(m_plan.detailedWeeks, detailedStart(), true);
    eraseOutside(m_plan.detailedWeeks, detailedStart(), latestWeek);
    zeroRestOfLatestWeek();
    keepOlderWeeks(m_plan.averagedWeeks, keptStart(), false);
    eraseOutside(m_plan.averagedWeeks, keptStart(), latestWeek);
    if (!m_plan.averagedWeeks.empty())
        recomputeCarries(m_plan.averagedWeeks.begin()->first, latest);
    deriveStartDates();
}

// The hours of weeks before the period go to the plan's rows for the archive.
template <typename Map>
void CHoursLedger::keepOlderWeeks(const Map& weeks, const std::string& first, bool days) {
    for (auto it = weeks.begin(); it != weeks.end() && it->first < first; ++it)
        if (qlndates::isWeekStart(it->first))
            CHoursArchive::addWeek(m_plan, it->first, days, m_plan.leftBehind);
}

// Every childless item gets the days of the latest week after the latest date, as zeros.
void CHoursLedger::zeroRestOfLatestWeek() {
    const std::string latest = latestDate();
    const std::string latestWeek = weekKeyOf(latest);
    std::vector<std::uint16_t> childless;
    for (const auto& [id, item] : m_plan.items)
        if (!item->isDivision())
            childless.push_back(id);
    std::vector<std::uint16_t> days;
    for (std::string day = qlndates::addDays(latest, 1); weekKeyOf(day) == latestWeek;
         day = qlndates::addDays(day, 1))
        days.push_back(static_cast<std::uint16_t>(dayIndexOf(day)));
    if (days.empty())
        return;
    // Every activity gets its sets at once; one by one each would move the others.
    CQLData::AveragedWeek& summaries = m_plan.averagedWeeks[latestWeek];
    CQLData::DetailedWeek& sets = m_plan.detailedWeeks[latestWeek];
    summaries.addMissing(childless);
    sets.addMissing(childless);
    for (std::uint16_t id : childless) {
        CWeekSetDetailed& set = sets.find(id)->second;
        set.dayHours.reserve(set.dayHours.size() + days.size());
        for (std::uint16_t day : days)
            set.dayHours[day] = FloatMy{0.0};
        summaries.find(id)->second.weekHours = set.sumOfDays();
    }
}

void CHoursLedger::followToday(const std::string& before) {
    const std::string latest = latestDate();
    if (weekKeyOf(before) == weekKeyOf(latest))
        return;
    m_plan.forgetComputed();
    zeroRestOfLatestWeek();
    recomputeCarries(before, latest);
}

void CHoursLedger::deriveStartDates() {
    const std::string latest = latestDate();
    for (auto& entry : m_plan.items)
        entry.second->startDate = latest;
    std::vector<bool> found(0x10000, false);
    for (const auto& [key, week] : m_plan.averagedWeeks) {
        for (const auto& [id, summary] : week) {
            const bool negative = summary.weekHours < 0 || summary.carriedHours < 0;
            if (found[id] || negative ||
                summary.weekHours + summary.carriedHours < tolerance::kEqual)
                continue;
            CActivityItem* item = m_plan.findItem(id);
            if (!item)
                continue;
            found[id] = true;
            item->startDate = key;
            if (m_plan.app().dates().isBeforeDetailedPeriod(key))
                continue;
            for (int day = 1; day <= 7; ++day) {
                if (m_plan.dayHours(key, id, day) >= tolerance::kEqual) {
                    item->startDate = qlndates::addDays(key, day - 1);
                    break;
                }
            }
        }
    }
}

void CHoursLedger::setActiveWeek(int dayIndex) {
    if (dayIndex == -1)
        dayIndex = m_plan.app().dates().activeWeekShown()
                       ? kWholeWeek
                       : dayIndexOf(m_plan.app().dates().activeDay().text());
    m_plan.activeWeekKey = weekKeyOf(m_plan.app().dates().activeDay().text());
    m_plan.activeDayIndex = dayIndex;
    CActivityItem* root = m_plan.root();
    if (root)
        fillActiveWeek(*root, activeWeek());
    m_plan.activeWeekFilled = root != nullptr;
}

// The two week maps are looked up once, not once per activity.
CHoursLedger::ActiveWeek CHoursLedger::activeWeek() const {
    ActiveWeek week;
    const auto averaged = m_plan.averagedWeeks.find(m_plan.activeWeekKey);
    if (averaged != m_plan.averagedWeeks.end())
        week.averaged = &averaged->second;
    const auto detailed = m_plan.detailedWeeks.find(m_plan.activeWeekKey);
    if (detailed != m_plan.detailedWeeks.end())
        week.detailed = &detailed->second;
    week.beforeDetailedPeriod = m_plan.app().dates().isBeforeDetailedPeriod(m_plan.activeWeekKey);
    return week;
}

// Only the activity's hours changed in the week already filled in the same mode: it and its
// divisions are filled again, with the sums a whole fill makes.
bool CHoursLedger::refillActivity(CActivityItem& activity, const std::string& weekKey,
                                  int dayIndex) {
    const bool days = dayIndex != kWholeWeek;
    if (!m_plan.activeWeekFilled || m_plan.activeWeekKey != weekKey ||
        (m_plan.activeDayIndex != kWholeWeek) != days)
        return false;
    const std::vector<CActivityItem*> divisions = m_plan.divisionsAbove(activity);
    if (divisions.empty())
        return false;
    m_plan.activeDayIndex = dayIndex;
    fillActivity(activity, activeWeek(), days);
    for (CActivityItem* division : divisions)
        sumContent(*division, m_plan.contentInWalkOrder(*division), days);
    return true;
}

void CHoursLedger::returnToActiveDay() {
    const CAppDates& dates = m_plan.app().dates();
    const std::string active = dates.activeDay().text();
    if (dates.activeWeekShown() || m_plan.activeDayIndex == kWholeWeek ||
        weekKeyOf(active) != m_plan.activeWeekKey) {
        setActiveWeek(-1);
        return;
    }
    m_plan.activeDayIndex = dayIndexOf(active);
}

void CHoursLedger::fillActivity(CActivityItem& item, const ActiveWeek& week, bool days) {
    const auto id = static_cast<std::uint16_t>(item.id);
    const CWeekSetAveraged* summary = nullptr;
    if (week.averaged) {
        const auto it = week.averaged->find(id);
        if (it != week.averaged->end())
            summary = &it->second;
    }
    item.activeWeekHours = summary ? summary->weekHours : 0.0;
    item.activeWeekReducedHours = summary && summary->weekHours >= 0 && summary->carriedHours >= 0
                                      ? summary->weekHours + summary->carriedHours
                                      : 0.0;
    if (!days)
        return;
    const CWeekSetDetailed* set = nullptr;
    if (week.detailed) {
        const auto it = week.detailed->find(id);
        if (it != week.detailed->end())
            set = &it->second;
    }
    for (std::uint16_t i = 1; i <= kWholeWeek; ++i) {
        double hours = 0.0;
        if (i == kWholeWeek && week.beforeDetailedPeriod) {
            hours = item.activeWeekHours;
        } else if (set) {
            const auto day = set->dayHours.find(i);
            hours = day == set->dayHours.end() ? 0.0 : day->second.value();
        }
        item.activeWeekDayHours[i] = hours;
    }
}

void CHoursLedger::fillActiveWeek(CActivityItem& item, const ActiveWeek& week) {
    const bool days = m_plan.activeDayIndex != kWholeWeek;
    if (!item.isDivision()) {
        fillActivity(item, week, days);
        return;
    }
    const std::vector<CActivityItem*> content = m_plan.contentInWalkOrder(item);
    for (CActivityItem* child : content)
        fillActiveWeek(*child, week);
    sumContent(item, content, days);
}

void CHoursLedger::sumContent(CActivityItem& item, const std::vector<CActivityItem*>& content,
                              bool days) {
    item.activeWeekReducedHours = 0;
    item.activeWeekHours = 0;
    if (days)
        for (int i = 1; i <= kWholeWeek; ++i)
            item.activeWeekDayHours[static_cast<std::uint16_t>(i)] = 0;
    for (CActivityItem* child : content) {
        item.activeWeekReducedHours += child->activeWeekReducedHours;
        item.activeWeekHours += child->activeWeekHours;
        if (days)
            for (int i = 1; i <= kWholeWeek; ++i)
                item.activeWeekDayHours[static_cast<std::uint16_t>(i)] +=
                    child->activeWeekDayHours[static_cast<std::uint16_t>(i)];
    }
}

double CHoursLedger::recordedActiveHours(std::int32_t activity) const {
    const CAppDates& dates = m_plan.app().dates();
    const std::string& day = dates.activeDay().text();
    const auto id = static_cast<std::uint16_t>(activity);
    return dates.activeWeekShown() ? m_plan.weekHours(weekKeyOf(day), id)
                                   : m_plan.dayHours(weekKeyOf(day), id, dayIndexOf(day));
}

double CHoursLedger::hoursShownForActiveDay(const CActivityItem& item, int dayIndex) const {
    if (m_plan.app().dates().activeWeekShown())
        return item.activeWeekHours;
    if (dayIndex < 1 || dayIndex > 7)
        return 0.0;
    const auto it = item.activeWeekDayHours.find(static_cast<std::uint16_t>(dayIndex));
    return it == item.activeWeekDayHours.end() ? 0.0 : it->second;
}

std::string CHoursLedger::hoursShownText(const CActivityItem& item, int dayIndex) const {
    return numberformat::formatHoursMinutes(hoursShownForActiveDay(item, dayIndex), 2);
}

std::string CHoursLedger::weekHoursText(const CActivityItem& item) {
    return numberformat::formatHoursMinutes(item.activeWeekHours, 2);
}
