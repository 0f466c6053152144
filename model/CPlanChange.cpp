#include "model/CPlanChange.h"

#include "core/CAppDates.h"
#include "core/QlnDates.h"
#include "model/CAppCore.h"

#include <algorithm>
#include <map>
#include <new>

namespace {

using Patch = CPlanHistory::Patch;

// The weeks of a map from a key on, copied.
template <typename Set>
std::vector<std::pair<std::string, CFlatMap<std::uint16_t, Set>>>
copyFrom(const std::map<std::string, CFlatMap<std::uint16_t, Set>>& weeks,
         const std::string& from) {
    return {weeks.lower_bound(from), weeks.end()};
}

// The records of one week that differ between its copy and the plan, by identifier.
template <typename Set>
void diffWeek(const std::string& week, const CFlatMap<std::uint16_t, Set>* before,
              const CFlatMap<std::uint16_t, Set>* after, std::vector<Patch::Record<Set>>& out) {
    const CFlatMap<std::uint16_t, Set> none;
    const auto& b = before ? *before : none;
    const auto& a = after ? *after : none;
    auto i = b.begin();
    auto j = a.begin();
    while (i != b.end() || j != a.end()) {
        if (j == a.end() || (i != b.end() && i->first < j->first)) {
            out.push_back({week, i->first, i->second, std::nullopt});
            ++i;
        } else if (i == b.end() || j->first < i->first) {
            out.push_back({week, j->first, std::nullopt, j->second});
            ++j;
        } else {
            if (!(i->second == j->second))
                out.push_back({week, i->first, i->second, j->second});
            ++i;
            ++j;
        }
    }
}

template <typename Set>
void diffWeeks(const std::vector<std::pair<std::string, CFlatMap<std::uint16_t, Set>>>& copies,
               const std::map<std::string, CFlatMap<std::uint16_t, Set>>& weeks,
               const std::string& from, bool detailed, std::vector<Patch::Record<Set>>& records,
               std::vector<Patch::Week>& presence) {
    auto copy = copies.begin();
    auto now = weeks.lower_bound(from);
    while (copy != copies.end() || now != weeks.end()) {
        const bool takeCopy =
            now == weeks.end() || (copy != copies.end() && copy->first <= now->first);
        const bool takeNow =
            copy == copies.end() || (now != weeks.end() && now->first <= copy->first);
        const std::string& week = takeCopy ? copy->first : now->first;
        if (takeCopy != takeNow)
            presence.push_back({week, detailed, takeCopy, takeNow});
        diffWeek(week, takeCopy ? &copy->second : nullptr, takeNow ? &now->second : nullptr,
                 records);
        if (takeCopy)
            ++copy;
        if (takeNow)
            ++now;
    }
}

} // namespace

CPlanChange::CPlanChange(CQLData& plan, std::string description, Scope scope,
                         CPlanHistory::Place place)
    : m_plan(plan), m_outer(!plan.history.recording()), m_description(std::move(description)),
      m_scope(std::move(scope)), m_place(std::move(place)) {
    if (!m_outer)
        return;
    m_plan.history.setRecording(true);
    try {
        takeItems();
        takeWeeks();
    } catch (const std::bad_alloc&) {
        // No room to record: the action goes ahead, and the steps before it, which it would
        // no longer chain onto, go.
        m_plan.history.setRecording(false);
        m_plan.history.forgetSteps();
        m_outer = false;
    }
}

CPlanChange::~CPlanChange() {
    if (!m_outer)
        return;
    m_plan.history.setRecording(false);
    try {
        CPlanHistory::Patch patch;
        diffItems(patch);
        diffWeeks(patch);
        if (patch.empty())
            return;
        CPlanHistory::Step step;
        step.description = std::move(m_description);
        step.place = std::move(m_place);
        step.patches.push_back(std::move(patch));
        m_plan.history.push(std::move(step));
    } catch (const std::bad_alloc&) {
        m_plan.history.forgetSteps();
    }
}

void CPlanChange::takeItems() {
    if (m_scope.allItems) {
        m_items.reserve(m_plan.items.size());
        for (const auto& [id, item] : m_plan.items)
            m_items.emplace_back(id, CPlanHistory::stateOf(*item));
        return;
    }
    std::sort(m_scope.items.begin(), m_scope.items.end());
    m_scope.items.erase(std::unique(m_scope.items.begin(), m_scope.items.end()),
                        m_scope.items.end());
    for (std::uint16_t id : m_scope.items) {
        const CActivityItem* item = m_plan.findItem(id);
        m_items.emplace_back(id, item ? std::optional{CPlanHistory::stateOf(*item)} : std::nullopt);
    }
}

void CPlanChange::takeWeeks() {
    if (!m_scope.fromWeek)
        return;
    m_averaged = copyFrom(m_plan.averagedWeeks, *m_scope.fromWeek);
    m_detailed = copyFrom(m_plan.detailedWeeks, *m_scope.fromWeek);
}

void CPlanChange::diffItems(CPlanHistory::Patch& patch) const {
    const auto record = [&patch](std::uint16_t id,
                                 const std::optional<CPlanHistory::ItemState>& before,
                                 const CActivityItem* now) {
        std::optional<CPlanHistory::ItemState> after;
        if (now)
            after = CPlanHistory::stateOf(*now);
        if (before != after)
            patch.items.push_back({id, before, std::move(after)});
    };
    if (!m_scope.allItems) {
        for (const auto& [id, before] : m_items)
            record(id, before, m_plan.findItem(id));
        return;
    }
    // Items the action created are not in the copy: they were absent before.
    auto copy = m_items.begin();
    for (const auto& [id, item] : m_plan.items) {
        for (; copy != m_items.end() && copy->first < id; ++copy)
            record(copy->first, copy->second, nullptr);
        if (copy != m_items.end() && copy->first == id)
            record(id, (copy++)->second, item.get());
        else
            record(id, std::nullopt, item.get());
    }
    for (; copy != m_items.end(); ++copy)
        record(copy->first, copy->second, nullptr);
}

void CPlanChange::diffWeeks(CPlanHistory::Patch& patch) const {
    if (!m_scope.fromWeek)
        return;
    ::diffWeeks(m_averaged, m_plan.averagedWeeks, *m_scope.fromWeek, false, patch.averaged,
                patch.weeks);
    ::diffWeeks(m_detailed, m_plan.detailedWeeks, *m_scope.fromWeek, true, patch.detailed,
                patch.weeks);
}

namespace {

using Place = CPlanHistory::Place;

std::string nameOf(const CQLData& plan, std::int32_t itemId) {
    const CActivityItem* item = plan.findItem(itemId);
    return item ? plan.fullName(*item) : std::string{};
}

std::string activeDayOf(const CQLData& plan) {
    return plan.app().dates().activeDay().text();
}

Place placeOf(const CQLData& plan, std::int32_t itemId, Place::Column column) {
    return {itemId, activeDayOf(plan), column};
}

CPlanChange::Scope allItems() {
    return {.allItems = true, .items = {}, .fromWeek = std::nullopt};
}

} // namespace

CPlanChange CPlanChange::hours(CQLData& plan, std::int32_t itemId, const std::string& typed) {
    const std::string week = qlndates::weekStartText(CMyStringDate::parse(activeDayOf(plan)));
    Scope scope{.allItems = false, .items = {}, .fromWeek = week};
    if (itemId >= 0 && itemId <= 0xFFFF)
        scope.items.push_back(static_cast<std::uint16_t>(itemId));
    return {plan, "hours " + typed + " on " + nameOf(plan, itemId), std::move(scope),
            placeOf(plan, itemId, Place::Column::Hours)};
}

CPlanChange CPlanChange::timed(CQLData& plan, std::int32_t itemId, const std::string& firstDay,
                               const std::string& time) {
    Scope scope{.allItems = false,
                .items = {},
                .fromWeek = qlndates::weekStartText(CMyStringDate::parse(firstDay))};
    if (itemId >= 0 && itemId <= 0xFFFF)
        scope.items.push_back(static_cast<std::uint16_t>(itemId));
    return {plan,
            "timer " + time + " on " + nameOf(plan, itemId),
            std::move(scope),
            {itemId, firstDay, Place::Column::Hours}};
}

CPlanChange CPlanChange::name(CQLData& plan, std::int32_t itemId) {
    return {plan, "name of " + nameOf(plan, itemId), allItems(),
            placeOf(plan, itemId, Place::Column::Name)};
}

CPlanChange CPlanChange::newActivityNamed(CQLData& plan, const std::string& name) {
    return {plan, "insert of " + name, allItems(), placeOf(plan, -1, Place::Column::Name)};
}

CPlanChange CPlanChange::timePart(CQLData& plan, std::int32_t itemId) {
    return {plan, "time part of " + nameOf(plan, itemId), allItems(),
            placeOf(plan, itemId, Place::Column::Part)};
}

CPlanChange CPlanChange::insert(CQLData& plan, bool division) {
    return {plan, division ? "insert of a new division" : "insert of a new activity", allItems(),
            placeOf(plan, -1, Place::Column::Name)};
}

CPlanChange CPlanChange::deletion(CQLData& plan, std::int32_t itemId) {
    return {plan,
            "delete of " + nameOf(plan, itemId),
            {.allItems = true, .items = {}, .fromWeek = std::string{}},
            placeOf(plan, itemId, Place::Column::Name)};
}

CPlanChange CPlanChange::restore(CQLData& plan, const std::vector<int>& itemIds) {
    const std::string what = itemIds.size() == 1 ? nameOf(plan, itemIds.front())
                                                 : std::to_string(itemIds.size()) + " items";
    return {plan, "restore of " + what, allItems(),
            placeOf(plan, itemIds.empty() ? -1 : itemIds.front(), Place::Column::Name)};
}

CPlanChange CPlanChange::move(CQLData& plan, std::int32_t itemId) {
    return {plan, "move of " + nameOf(plan, itemId), allItems(),
            placeOf(plan, itemId, Place::Column::Name)};
}

CPlanChange CPlanChange::memo(CQLData& plan, std::int32_t itemId) {
    Scope scope{};
    if (itemId >= 0 && itemId <= 0xFFFF)
        scope.items.push_back(static_cast<std::uint16_t>(itemId));
    return {plan, "memo of " + nameOf(plan, itemId), std::move(scope),
            placeOf(plan, itemId, Place::Column::Name)};
}

CPlanChange CPlanChange::import(CQLData& plan, const std::string& fileName) {
    return {plan,
            "import of " + fileName,
            {.allItems = true, .items = {}, .fromWeek = std::string{}},
            placeOf(plan, -1, Place::Column::Hours)};
}
