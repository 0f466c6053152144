#include "model/CPlanMerge.h"

#include "core/CAppDates.h"
#include "core/QlnDates.h"
#include "core/Tolerance.h"
#include "model/CAppCore.h"
#include "model/CHoursLedger.h"
#include "model/CPlanCheck.h"
#include "model/CPlanEditor.h"
#include "model/CQLData.h"
#include "parse/NumberFormat.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <set>
#include <stdexcept>
#include <tuple>
#include <utility>

namespace {

using Kind = CPlanMerge::Decision::Kind;
constexpr const char* kKept = ", from the plan stored later.";

bool same(double a, double b) {
    return std::fabs(a - b) <= tolerance::kEqual;
}

// The value both sides agree on, the one a single side changed from the base, or on a conflict
// the later side's; second: whether it was a conflict.
template <typename T, typename Same>
std::pair<T, bool> pick(const T* base, const T& ours, const T& theirs, bool oursLater, Same same) {
    if (same(ours, theirs))
        return {ours, false};
    if (base && same(ours, *base))
        return {theirs, false};
    if (base && same(theirs, *base))
        return {ours, false};
    return {oursLater ? ours : theirs, true};
}

const auto equal = [](const auto& a, const auto& b) { return a == b; };

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// 2026-12-07 for a day of a week; the week's Sunday for the whole week.
std::string dayText(const std::string& week, std::uint16_t dayIndex) {
    const std::string day =
        dayIndex >= 1 && dayIndex <= 7 ? qlndates::addDays(week, dayIndex - 1) : week;
    return day.substr(0, 4) + "-" + day.substr(4, 2) + "-" + day.substr(6, 2);
}

std::string hoursText(double hours) {
    return numberformat::formatHoursMinutes(hours, 2);
}

template <typename Set>
const Set* setOf(const CFlatMap<std::uint16_t, Set>* week, std::int32_t id) {
    if (!week || id < 0)
        return nullptr;
    const auto it = week->find(static_cast<std::uint16_t>(id));
    return it == week->end() ? nullptr : &it->second;
}

template <typename Week>
const Week* weekOf(const std::map<std::string, Week>* weeks, const std::string& key) {
    if (!weeks)
        return nullptr;
    const auto it = weeks->find(key);
    return it == weeks->end() ? nullptr : &it->second;
}

} // namespace

bool CPlanMerge::Result::conflicted() const {
    return std::any_of(decisions.begin(), decisions.end(),
                       [](const Decision& d) { return d.kind == Kind::Conflict; });
}

std::uint16_t CPlanMerge::SideItems::mergedId(std::int32_t id) const {
    const auto it = toMerged.find(static_cast<std::uint16_t>(id));
    return it == toMerged.end() ? static_cast<std::uint16_t>(id) : it->second;
}

std::int32_t CPlanMerge::SideItems::sideId(std::uint16_t id) const {
    if (!plan)
        return -1;
    if (const auto it = fromMerged.find(id); it != fromMerged.end())
        return it->second;
    if (toMerged.count(id))
        return -1; // this side's item of that number has another one now
    return plan->findItem(id) ? id : -1;
}

const CActivityItem* CPlanMerge::SideItems::item(std::uint16_t id) const {
    const std::int32_t own = sideId(id);
    return own < 0 ? nullptr : plan->findItem(own);
}

CPlanMerge::CPlanMerge(const CQLData* base, const CQLData& ours, const CQLData& theirs, Side later,
                       CQLData& merged)
    : m_basePlan(base), m_later(later), m_merged(merged) {
    m_base.plan = base;
    m_ours.plan = &ours;
    m_theirs.plan = &theirs;
}

CPlanMerge::Result CPlanMerge::merge(const CQLData* base, const CQLData& ours,
                                     const CQLData& theirs, Side later, CQLData& merged) {
    CPlanMerge work{base, ours, theirs, later, merged};
    work.numberItems();
    work.mergeItems();
    work.mergeAmounts();
    work.normalise();
    return std::move(work.m_result);
}

// An item made on both sides under one number is one item when its full name is the same on
// both; otherwise the later side's item takes a number no side uses, hours and all.
void CPlanMerge::numberItems() {
    m_used.assign(65536, false);
    for (const SideItems* side : {&m_base, &m_ours, &m_theirs}) {
        if (!side->plan)
            continue;
        for (const auto& [id, item] : side->plan->items)
            m_used[id] = true;
        for (const auto& [week, sets] : side->plan->averagedWeeks)
            for (const auto& [id, set] : sets)
                m_used[id] = true;
    }
    SideItems& renumbered = m_later == Side::Ours ? m_ours : m_theirs;
    const SideItems& kept = m_later == Side::Ours ? m_theirs : m_ours;
    for (const auto& [id, item] : renumbered.plan->items) {
        const CActivityItem* other = kept.plan->findItem(id);
        if (id == CQLData::kRootId || !other || (m_basePlan && m_basePlan->findItem(id)))
            continue;
        const std::string name = renumbered.plan->fullName(*item);
        const std::string otherName = kept.plan->fullName(*other);
        if (name == otherName)
            continue;
        const std::uint16_t fresh = freshNumber();
        renumbered.toMerged[id] = fresh;
        renumbered.fromMerged[fresh] = id;
        m_result.decisions.push_back(
            {Kind::NewNumber, quoted(otherName) + " and " + quoted(name) +
                                  " were made separately under one number; " + quoted(name) +
                                  ", stored later, keeps its hours under a number of its own."});
    }
}

std::uint16_t CPlanMerge::freshNumber() {
    for (int tried = 0; tried < 65535; ++tried, m_nextNumber = m_nextNumber % 65535 + 1)
        if (!m_used[m_nextNumber]) {
            m_used[m_nextNumber] = true;
            return m_nextNumber;
        }
    throw std::runtime_error("The plans together use every item number: they cannot be merged.");
}

void CPlanMerge::mergeItems() {
    std::set<std::uint16_t> ids;
    for (const SideItems* side : {&m_ours, &m_theirs})
        for (const auto& [id, item] : side->plan->items)
            ids.insert(side->mergedId(id));
    for (std::uint16_t id : ids)
        mergeItem(id);
    mergeParents();
    rebuildChildren();
    // A division's part is its content's: only an activity's own part can be in conflict.
    for (const auto& [id, text] : m_partConflicts)
        if (const CActivityItem* item = m_merged.findItem(id); item && !item->isDivision())
            conflict(text);
}

// The side's properties of the item, its parent under its merged number. A side without the
// item deleted it since the base; without a base either, it never had it.
std::optional<CPlanMerge::Properties>
CPlanMerge::propertiesOf(const SideItems& side, std::uint16_t id, const Properties* base) const {
    if (const CActivityItem* item = side.item(id))
        return Properties{item->name, item->parentId < 0 ? -1 : side.mergedId(item->parentId),
                          item->timePart, item->partUnit, item->memo};
    if (!base)
        return std::nullopt;
    Properties deleted = *base;
    deleted.parentId = -1;
    return deleted;
}

void CPlanMerge::mergeItem(std::uint16_t id) {
    const std::optional<Properties> base = propertiesOf(m_base, id, nullptr);
    const Properties* b = base ? &*base : nullptr;
    const std::optional<Properties> ours = propertiesOf(m_ours, id, b);
    const std::optional<Properties> theirs = propertiesOf(m_theirs, id, b);
    CActivityItem& item = m_merged.addItem(id);
    if (!ours || !theirs) {
        const Properties& only = ours ? *ours : *theirs;
        item.name = only.name;
        item.parentId = only.parentId;
        item.timePart = only.timePart;
        item.partUnit = only.partUnit;
        item.memo = only.memo;
        return;
    }
    const bool oursLater = m_later == Side::Ours;
    const auto field = [&](auto member, const char* what, auto same, const auto& describe) {
        const auto result =
            pick(b ? &(b->*member) : nullptr, (*ours).*member, (*theirs).*member, oursLater, same);
        if (result.second)
            conflict(nameOf(id) + ": both computers changed " + what + "; kept " +
                     describe(result.first) + kKept);
        return result.first;
    };
    item.name = field(&Properties::name, "its name", equal, quoted);
    item.memo = field(&Properties::memo, "its memo", equal,
                      [](const std::string&) { return std::string("the memo"); });
    item.partUnit = field(&Properties::partUnit, "the unit of its part", equal,
                          [](std::int32_t unit) { return quoted(numberformat::unitLabel(unit)); });
    item.parentId = field(&Properties::parentId, "its place", equal, [this](std::int32_t parent) {
        return parent < 0 ? std::string("it deleted") : "it in " + quoted(nameOf(parent));
    });
    const auto part =
        pick(b ? &b->timePart : nullptr, ours->timePart, theirs->timePart, oursLater, same);
    item.timePart = part.first;
    if (part.second)
        m_partConflicts.emplace_back(id, nameOf(id) + ": both computers changed its part; kept " +
                                             numberformat::formatDecimal(part.first, 2) + " %" +
                                             kKept);
}

void CPlanMerge::mergeParents() {
    for (const auto& [id, item] : m_merged.items) {
        const bool known = item->parentId >= 0 && m_merged.findItem(item->parentId);
        if (id == CQLData::kRootId || !known || item->parentId == id)
            item->parentId = -1;
    }
    while (breakLoop()) {
    }
    detachUnderDeleted();
}

// Two moves, one on each side, can put two divisions inside each other: the items of such a
// loop go where the later side has them. False when there was no loop.
bool CPlanMerge::breakLoop() {
    std::vector<int> state(65536, 0); // 0 unseen, 1 on the current walk, 2 known to end
    for (const auto& [start, startItem] : m_merged.items) {
        std::vector<std::uint16_t> walk;
        std::int32_t at = start;
        while (at >= 0 && state[at] == 0) {
            state[at] = 1;
            walk.push_back(static_cast<std::uint16_t>(at));
            at = m_merged.findItem(at)->parentId;
        }
        if (at >= 0 && state[at] == 1) {
            const auto loopStart = std::find(walk.begin(), walk.end(), at);
            for (auto it = loopStart; it != walk.end(); ++it) {
                CActivityItem* item = m_merged.findItem(*it);
                const CActivityItem* later = laterSide().item(*it);
                const std::int32_t place =
                    later && later->parentId >= 0 ? laterSide().mergedId(later->parentId) : -1;
                if (place == item->parentId)
                    continue;
                item->parentId = place;
                m_result.decisions.push_back(
                    {Kind::MovedBack, nameOf(*it) + " was moved on both computers so that it " +
                                          "would lie inside itself; it stays where the plan " +
                                          "stored later has it."});
            }
            return true;
        }
        for (std::uint16_t id : walk)
            state[id] = 2;
    }
    return false;
}

// What one side added to a division the other side deleted is deleted with it: it keeps its
// hours and can be restored, as the division's own content can.
void CPlanMerge::detachUnderDeleted() {
    std::vector<int> attached(65536, -1); // -1 unknown, 0 under a deleted item, 1 in the tree
    std::function<int(std::int32_t)> reach = [&](std::int32_t id) -> int {
        if (id < 0)
            return 0;
        if (attached[id] < 0) {
            const CActivityItem* item = m_merged.findItem(id);
            attached[id] = id == CQLData::kRootId ? 1 : reach(item->parentId);
        }
        return attached[id];
    };
    for (const auto& [id, item] : m_merged.items) {
        if (item->parentId < 0 || reach(id) == 1)
            continue;
        m_result.decisions.push_back(
            {Kind::DeletedWithDivision,
             nameOf(id) + " lies in " + quoted(nameOf(item->parentId)) +
                 ", which the other computer deleted: it is deleted too and can be restored."});
        item->parentId = -1;
    }
}

// Children in the order ours lists them, then theirs, then by number; saving a plan merged
// with itself gives the same bytes.
void CPlanMerge::rebuildChildren() {
    std::map<std::int32_t, std::vector<std::uint16_t>> children;
    for (const auto& [id, item] : m_merged.items)
        if (item->parentId >= 0)
            children[item->parentId].push_back(id);
    const auto rank = [](const SideItems& side, std::int32_t parent, std::uint16_t child) {
        const CActivityItem* item = side.item(static_cast<std::uint16_t>(parent));
        if (!item)
            return INT_MAX;
        const std::int32_t own = side.sideId(child);
        for (std::size_t i = 0; i < item->children.size(); ++i)
            if (item->children[i].value() == own)
                return static_cast<int>(i);
        return INT_MAX;
    };
    for (auto& [key, list] : children) {
        const auto parent = key; // a lambda may not capture a structured binding in clang 14
        std::stable_sort(list.begin(), list.end(), [&](std::uint16_t a, std::uint16_t b) {
            return std::make_tuple(rank(m_ours, parent, a), rank(m_theirs, parent, a), a) <
                   std::make_tuple(rank(m_ours, parent, b), rank(m_theirs, parent, b), b);
        });
        CActivityItem* item = m_merged.findItem(parent);
        for (std::uint16_t child : list)
            item->children.emplace_back(child);
    }
}

void CPlanMerge::mergeAmounts() {
    std::set<std::string> detailed;
    std::set<std::string> averaged;
    for (const SideItems* side : {&m_base, &m_ours, &m_theirs}) {
        if (!side->plan)
            continue;
        for (const auto& [week, sets] : side->plan->detailedWeeks)
            detailed.insert(week);
        for (const auto& [week, sets] : side->plan->averagedWeeks)
            averaged.insert(week);
    }
    for (const std::string& week : detailed)
        mergeDetailedWeek(week);
    for (const std::string& week : averaged)
        if (!detailed.count(week))
            mergeAveragedWeek(week);
}

// The week on the base, ours and theirs; null where a side does not have it.
template <typename Week>
std::array<const Week*, 3> CPlanMerge::weeksAt(const std::map<std::string, Week> CQLData::*weeks,
                                               const std::string& week) const {
    std::array<const Week*, 3> found{};
    const SideItems* sides[] = {&m_base, &m_ours, &m_theirs};
    for (std::size_t i = 0; i < found.size(); ++i)
        found[i] = sides[i]->plan ? weekOf(&(sides[i]->plan->*weeks), week) : nullptr;
    return found;
}

// The merged numbers with a set in any of the three weeks, in order: the sides' keys are in
// order already, unless a side renumbered an item.
template <typename Week>
std::vector<std::uint16_t> CPlanMerge::idsIn(const std::array<const Week*, 3>& weeks) const {
    std::vector<std::uint16_t> ids;
    const SideItems* sides[] = {&m_base, &m_ours, &m_theirs};
    bool renumbered = false;
    for (std::size_t i = 0; i < weeks.size(); ++i) {
        if (!weeks[i])
            continue;
        const std::size_t before = ids.size();
        for (const auto& [id, set] : *weeks[i])
            ids.push_back(sides[i]->mergedId(id));
        renumbered = renumbered || !sides[i]->toMerged.empty();
        std::inplace_merge(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(before),
                           ids.end());
    }
    if (renumbered)
        std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

// The week's days, amount by amount; its totals are their sums.
void CPlanMerge::mergeDetailedWeek(const std::string& week) {
    const auto days = weeksAt(&CQLData::detailedWeeks, week);
    const auto totals = weeksAt(&CQLData::averagedWeeks, week);
    std::vector<std::pair<std::uint16_t, CWeekSetDetailed>> merged;
    for (std::uint16_t id : idsIn(days))
        merged.emplace_back(id, mergeDays(week, id, setOf(days[0], m_base.sideId(id)),
                                          setOf(days[1], m_ours.sideId(id)),
                                          setOf(days[2], m_theirs.sideId(id))));
    std::vector<std::pair<std::uint16_t, CWeekSetAveraged>> summaries;
    for (std::uint16_t id : idsIn(totals))
        summaries.emplace_back(id, carriedOf(setsOf(totals, id)));
    CQLData::DetailedWeek& weekDays = m_merged.detailedWeeks[week];
    weekDays.assign(std::move(merged));
    CQLData::AveragedWeek& weekTotals = m_merged.averagedWeeks[week];
    weekTotals.assign(std::move(summaries));
    for (const auto& [id, set] : weekDays)
        weekTotals[id].weekHours = set.sumOfDays();
}

CWeekSetDetailed CPlanMerge::mergeDays(const std::string& week, std::uint16_t id,
                                       const CWeekSetDetailed* base, const CWeekSetDetailed* ours,
                                       const CWeekSetDetailed* theirs) {
    // The days any side has, in order: each side's are in order already.
    std::vector<std::pair<std::uint16_t, FloatMy>> days;
    const auto byDay = [](const auto& a, const auto& b) { return a.first < b.first; };
    for (const CWeekSetDetailed* set : {base, ours, theirs}) {
        if (!set)
            continue;
        const std::size_t before = days.size();
        for (const auto& [day, hours] : set->dayHours)
            days.emplace_back(day, FloatMy{});
        std::inplace_merge(days.begin(), days.begin() + static_cast<std::ptrdiff_t>(before),
                           days.end(), byDay);
    }
    days.erase(std::unique(days.begin(), days.end(),
                           [](const auto& a, const auto& b) { return a.first == b.first; }),
               days.end());
    const auto amount = [](const CWeekSetDetailed* set, std::uint16_t day) {
        if (!set)
            return 0.0;
        const auto it = set->dayHours.find(day);
        return it == set->dayHours.end() ? 0.0 : it->second.value();
    };
    for (auto& [day, hours] : days) {
        const double baseHours = amount(base, day);
        hours.setValue(pickAmount(week, id, day, m_basePlan ? &baseHours : nullptr,
                                  amount(ours, day), amount(theirs, day)));
    }
    CWeekSetDetailed set;
    set.dayHours.assign(std::move(days));
    return set;
}

void CPlanMerge::mergeAveragedWeek(const std::string& week) {
    const auto totals = weeksAt(&CQLData::averagedWeeks, week);
    const auto amount = [](const CWeekSetAveraged* set) { return set ? set->weekHours : 0.0; };
    std::vector<std::pair<std::uint16_t, CWeekSetAveraged>> merged;
    for (std::uint16_t id : idsIn(totals)) {
        const auto sets = setsOf(totals, id);
        const double baseHours = amount(sets[0]);
        CWeekSetAveraged total = carriedOf(sets);
        total.weekHours =
            pickAmount(week, id, CHoursLedger::kWholeWeek, m_basePlan ? &baseHours : nullptr,
                       amount(sets[1]), amount(sets[2]));
        merged.emplace_back(id, total);
    }
    m_merged.averagedWeeks[week].assign(std::move(merged));
}

// An amount changed on one side is that side's; without a base, an amount only one side has is
// that side's too. Two different amounts: the later side's, listed.
double CPlanMerge::pickAmount(const std::string& week, std::uint16_t id, std::uint16_t day,
                              const double* base, double ours, double theirs) {
    if (same(ours, theirs))
        return ours;
    if (!base && same(ours, 0))
        return theirs;
    if (!base && same(theirs, 0))
        return ours;
    const auto result = pick(base, ours, theirs, m_later == Side::Ours, same);
    if (result.second) {
        const double other = result.first == ours ? theirs : ours;
        const std::string when = day == CHoursLedger::kWholeWeek
                                     ? " in the week of " + dayText(week, day)
                                     : " on " + dayText(week, day);
        conflict(nameOf(id) + when + ": " + hoursText(other) + " and " + hoursText(result.first) +
                 "; kept " + hoursText(result.first) + kKept);
    }
    return result.first;
}

// The carry into the week as the sides have it: the ledger computes it anew for the items in
// the tree; a deleted item keeps the one it had, which is what it is restored with.
CWeekSetAveraged CPlanMerge::carriedOf(const std::array<const CWeekSetAveraged*, 3>& sets) const {
    const auto carried = [](const CWeekSetAveraged* set) { return set ? set->carriedHours : 0.0; };
    const double base = carried(sets[0]);
    CWeekSetAveraged set;
    set.carriedHours = pick(m_basePlan ? &base : nullptr, carried(sets[1]), carried(sets[2]),
                            m_later == Side::Ours, same)
                           .first;
    return set;
}

// The item's week summary on the base, ours and theirs; null where a side has none.
std::array<const CWeekSetAveraged*, 3>
CPlanMerge::setsOf(const std::array<const CQLData::AveragedWeek*, 3>& totals,
                   std::uint16_t id) const {
    return {setOf(totals[0], m_base.sideId(id)), setOf(totals[1], m_ours.sideId(id)),
            setOf(totals[2], m_theirs.sideId(id))};
}

void CPlanMerge::normalise() {
    m_merged.reservedText = m_ours.plan->reservedText;
    m_merged.ensureRoot();
    CActivityItem& root = *m_merged.root();
    m_merged.recomputeDivisionParts(root);
    const double parts = m_merged.activityPartSum(root);
    if (parts > 100 + tolerance::kEqual) {
        CPlanEditor{m_merged}.normalisePartsTo100();
        m_result.decisions.push_back(
            {Kind::PartsScaled, "The parts of both computers together came to " +
                                    numberformat::formatDecimal(parts, 2) +
                                    " %: every part was scaled back to 100 %."});
    }
    // The sides come as loads leave them, for one today: their periods agree and their latest
    // weeks have their zeros. What is left of a load's normalisation is the derived part.
    CHoursLedger ledger{m_merged};
    if (!m_merged.averagedWeeks.empty())
        ledger.recomputeCarries(m_merged.averagedWeeks.begin()->first,
                                m_merged.app().dates().latestDate().text());
    ledger.deriveStartDates();
    m_merged.purgeDetachedWithoutHours();
    if (const std::string problem = CPlanCheck::problem(m_merged); !problem.empty())
        throw std::runtime_error("The merged plan would not load: " + problem);
}

void CPlanMerge::conflict(const std::string& text) {
    m_result.decisions.push_back({Kind::Conflict, text});
}

// The item's full name as the plan stored later has it, or as another side does.
std::string CPlanMerge::nameOf(std::uint16_t id) const {
    const SideItems& earlier = m_later == Side::Ours ? m_theirs : m_ours;
    for (const SideItems* side : {&laterSide(), &earlier, &m_base})
        if (const CActivityItem* item = side->plan ? side->item(id) : nullptr)
            return side->plan->fullName(*item);
    if (const CActivityItem* item = m_merged.findItem(id))
        return m_merged.fullName(*item);
    return std::string{"#"}.append(std::to_string(id));
}
