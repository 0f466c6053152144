#include "model/CQLData.h"

#include "core/CMessageSink.h"
#include "core/QlnDates.h"
#include "core/Tolerance.h"
#include "model/CAppCore.h"
#include "model/CCsvCells.h"
#include "parse/CStringChckF1.h"
#include "parse/NumberFormat.h"
#include "parse/Utf8Text.h"

#include <algorithm>
#include <cmath>
#include <utility>

CQLData::CQLData(CAppCore& app) : m_app(app) {}

void CQLData::clear() {
    items.clear();
    detailedWeeks.clear();
    averagedWeeks.clear();
    reservedText.clear();
    leftBehind.clear();
    history.clear();
    forgetComputed();
}

void CQLData::ensureRoot() {
    if (findItem(kRootId))
        return;
    CActivityItem& root = addItem(kRootId);
    root.name = kRootName;
}

CActivityItem& CQLData::addItem(std::uint16_t itemId) {
    return items.put(itemId,
                     std::make_unique<CActivityItem>(itemId, m_app.dates().latestDate().text()));
}

CActivityItem* CQLData::findItem(std::int32_t itemId) {
    return const_cast<CActivityItem*>(std::as_const(*this).findItem(itemId));
}

const CActivityItem* CQLData::findItem(std::int32_t itemId) const {
    if (itemId < 0 || itemId > 0xFFFF)
        return nullptr;
    return items.find(static_cast<std::uint16_t>(itemId));
}

std::string CQLData::displayName(const CActivityItem& item) {
    if (item.name != CActivityItem::kNewItemName)
        return item.name;
    return item.isDivision() ? "New Division" : "New Activity";
}

std::string CQLData::fullName(const CActivityItem& item) const {
    const std::vector<std::string> path = namePath(item);
    std::string name = path.front();
    for (std::size_t i = 1; i < path.size(); ++i)
        name += ". " + path[i];
    return name;
}

std::vector<std::string> CQLData::namePath(const CActivityItem& item) const {
    std::vector<std::string> path{displayName(item)};
    const CActivityItem* current = &item;
    // The walk is bounded by the number of items, so a damaged parent chain cannot loop.
    for (std::size_t steps = 0; current->parentId >= 1 && steps < items.size(); ++steps) {
        const CActivityItem* parent = findItem(current->parentId);
        if (!parent)
            break;
        path.push_back(parent->name == CActivityItem::kNewItemName ? "New Division" : parent->name);
        current = parent;
    }
    std::reverse(path.begin(), path.end());
    return path;
}

double CQLData::activityPartSum(const CActivityItem& item) const {
    if (!item.isDivision())
        return item.timePart;
    double sum = 0.0;
    for (const IntegerMy& child : item.children) {
        const CActivityItem* found = findItem(child.value());
        if (!found)
            break;
        sum += activityPartSum(*found);
    }
    return sum;
}

std::string CQLData::activityPartSumText(const CActivityItem& item) const {
    return numberformat::formatDecimal(activityPartSum(item), 2);
}

void CQLData::scaleContent(CActivityItem& item, double factor) {
    item.timePart *= factor;
    for (const IntegerMy& child : item.children) {
        CActivityItem* found = findItem(child.value());
        if (!found)
            break;
        scaleContent(*found, factor);
    }
}

void CQLData::recomputeDivisionParts(CActivityItem& division) {
    if (!division.isDivision())
        return;
    double total = 0.0;
    for (const IntegerMy& child : division.children) {
        CActivityItem* found = findItem(child.value());
        if (!found)
            break;
        if (found->isDivision())
            recomputeDivisionParts(*found);
        else
            total += found->timePart;
    }
    for (const IntegerMy& child : division.children) {
        const CActivityItem* found = findItem(child.value());
        if (!found)
            break;
        if (found->isDivision())
            total += found->timePart;
    }
    division.timePart = total;
}

void CQLData::sortChildren(CActivityItem& division) {
    std::vector<std::string> names;
    names.reserve(division.children.size());
    for (const IntegerMy& child : division.children) {
        const CActivityItem* found = findItem(child.value());
        names.push_back(utf8text::caseFolded(found ? found->name : std::string()));
    }
    const std::vector<int> order = m_app.library().sortStrings(names);
    std::vector<IntegerMy> sorted;
    sorted.reserve(order.size());
    for (int index : order)
        sorted.push_back(division.children[static_cast<std::size_t>(index)]);
    division.children = std::move(sorted);
}

void CQLData::sortSubtree(CActivityItem& division) {
    sortChildren(division);
    for (const IntegerMy& child : division.children) {
        CActivityItem* found = findItem(child.value());
        if (found && found->isDivision())
            sortSubtree(*found);
    }
}

RowMap CQLData::buildRowLayout() {
    RowMap rows;
    CActivityItem* rootItem = root();
    if (!rootItem)
        return rows;
    sortSubtree(*rootItem);
    numberRows(*rootItem, rows);
    return rows;
}

void CQLData::numberRows(const CActivityItem& division, RowMap& rows) const {
    using Kind = CRowTypeInfo::Kind;
    for (const CActivityItem* item : contentInWalkOrder(division)) {
        const Kind kind = item->isDivision() ? Kind::DivisionBegin : Kind::Activity;
        rows.emplace(static_cast<int>(rows.size()) + 1,
                     CRowTypeInfo{kind, static_cast<std::uint16_t>(item->id)});
        if (item->isDivision())
            numberRows(*item, rows);
    }
}

std::vector<CActivityItem*> CQLData::divisionsAbove(const CActivityItem& item) {
    std::vector<CActivityItem*> chain;
    const CActivityItem* current = &item;
    // Bounded by the number of items, so a damaged parent chain cannot loop.
    while (current->id != kRootId && chain.size() < items.size()) {
        CActivityItem* parent = findItem(current->parentId);
        if (!parent)
            return {};
        const std::vector<const CActivityItem*> content =
            std::as_const(*this).contentInWalkOrder(*parent);
        if (std::ranges::find(content, current) == content.end())
            return {};
        chain.push_back(parent);
        current = parent;
    }
    if (current->id != kRootId)
        return {};
    return chain;
}

std::vector<std::uint16_t> CQLData::activitiesOf(const CActivityItem& item) const {
    std::vector<std::uint16_t> out;
    if (item.takesHours())
        out.push_back(static_cast<std::uint16_t>(item.id));
    else
        collectActivities(item, out);
    return out;
}

std::vector<const CActivityItem*> CQLData::contentInWalkOrder(const CActivityItem& division) const {
    std::vector<const CActivityItem*> content;
    std::vector<const CActivityItem*> divisions;
    for (const IntegerMy& child : division.children) {
        const CActivityItem* found = findItem(child.value());
        if (!found)
            break;
        (found->isDivision() ? divisions : content).push_back(found);
    }
    content.insert(content.end(), divisions.begin(), divisions.end());
    return content;
}

std::vector<CActivityItem*> CQLData::contentInWalkOrder(const CActivityItem& division) {
    std::vector<CActivityItem*> content;
    for (const CActivityItem* item : std::as_const(*this).contentInWalkOrder(division))
        content.push_back(const_cast<CActivityItem*>(item));
    return content;
}

void CQLData::collectActivities(const CActivityItem& division,
                                std::vector<std::uint16_t>& out) const {
    for (const CActivityItem* item : contentInWalkOrder(division)) {
        if (item->isDivision())
            collectActivities(*item, out);
        else
            out.push_back(static_cast<std::uint16_t>(item->id));
    }
}

std::string CQLData::latestRecordedDay() const {
    std::string latest;
    for (auto week = detailedWeeks.rbegin(); week != detailedWeeks.rend() && latest.empty(); ++week)
        for (const auto& [id, set] : week->second)
            for (const auto& [day, hours] : set.dayHours)
                if (std::fabs(hours.value()) >= tolerance::kEqual)
                    latest = std::max(latest, qlndates::addDays(week->first, day - 1));
    for (auto week = averagedWeeks.rbegin(); week != averagedWeeks.rend(); ++week) {
        if (week->first <= latest)
            break;
        for (const auto& [id, summary] : week->second)
            if (std::fabs(summary.weekHours) >= tolerance::kEqual)
                return week->first;
    }
    return latest;
}

double CQLData::dayHours(const std::string& weekKey, std::uint16_t activity, int dayIndex) const {
    if (dayIndex <= 0 || dayIndex > 8)
        return 0.0;
    if (dayIndex == 8 && m_app.dates().isBeforeDetailedPeriod(weekKey))
        return weekHours(weekKey, activity);
    const auto week = detailedWeeks.find(weekKey);
    if (week == detailedWeeks.end())
        return 0.0;
    const auto set = week->second.find(activity);
    if (set == week->second.end())
        return 0.0;
    const auto day = set->second.dayHours.find(static_cast<std::uint16_t>(dayIndex));
    return day == set->second.dayHours.end() ? 0.0 : day->second.value();
}

const CWeekSetAveraged* CQLData::summary(const std::string& weekKey, std::uint16_t activity) const {
    const auto week = averagedWeeks.find(weekKey);
    if (week == averagedWeeks.end())
        return nullptr;
    const auto set = week->second.find(activity);
    return set == week->second.end() ? nullptr : &set->second;
}

double CQLData::weekHours(const std::string& weekKey, std::uint16_t activity) const {
    const CWeekSetAveraged* set = summary(weekKey, activity);
    return set ? set->weekHours : 0.0;
}

double CQLData::carriedHours(const std::string& weekKey, std::uint16_t activity) const {
    const CWeekSetAveraged* set = summary(weekKey, activity);
    return set ? set->carriedHours : 0.0;
}

double CQLData::reducedHoursToWeekEnd(const std::string& weekKey, std::uint16_t activity) const {
    const CWeekSetAveraged* set = summary(weekKey, activity);
    if (!set || set->weekHours < 0 || set->carriedHours < 0)
        return 0.0;
    return set->weekHours + set->carriedHours;
}

bool CQLData::contains(const CActivityItem& ancestor, std::int32_t itemId) const {
    // Iterative and bounded by the number of items, so a damaged tree cannot loop.
    std::vector<const CActivityItem*> pending{&ancestor};
    for (std::size_t visited = 0; !pending.empty() && visited <= items.size(); ++visited) {
        const CActivityItem* item = pending.back();
        pending.pop_back();
        for (const IntegerMy& child : item->children) {
            if (child.value() == itemId)
                return true;
            if (const CActivityItem* found = findItem(child.value()))
                pending.push_back(found);
        }
    }
    return false;
}

bool CQLData::storeMemo(std::int32_t itemId, const std::string& text) {
    CActivityItem* item = findItem(itemId);
    if (!item)
        return false;
    item->memo = text;
    m_app.messages().message(kMemoStored);
    return true;
}

std::int32_t CQLData::owningDivision(std::int32_t itemId) const {
    const CActivityItem* item = findItem(itemId);
    if (!item)
        return -1;
    return item->isDivision() ? item->id : item->parentId;
}

bool CQLData::setName(CActivityItem& item, const std::string& text) {
    const std::string checked = CStringChckF1::typedText(text);
    if (CStringChckF1::isError(checked))
        return false;
    item.name = checked;
    return true;
}

void CQLData::takeContent(CQLData& other) {
    clear();
    items.swap(other.items);
    reservedText = other.reservedText;
    detailedWeeks.swap(other.detailedWeeks);
    averagedWeeks.swap(other.averagedWeeks);
    leftBehind.swap(other.leftBehind);
    other.clear();
}

void CQLData::purgeDetachedWithoutHours() {
    std::vector<std::uint16_t> detached;
    for (const auto& [id, item] : items)
        if (item->isDetached())
            detached.push_back(id);
    // Usually a handful of detached items against thousands of summaries: look them up.
    for (std::uint16_t id : detached) {
        bool hasSummary = false;
        for (const auto& week : averagedWeeks)
            if (week.second.count(id)) {
                hasSummary = true;
                break;
            }
        if (!hasSummary) {
            markGone(*items.find(id));
            items.erase(id);
        }
    }
}

// The archive learns that the identifier's hours before the kept period were this item's.
void CQLData::markGone(const CActivityItem& item) {
    leftBehind.push_back({qlndates::weekStartText(m_app.dates().keptStart().date()),
                          CCsvCells::pathCell(namePath(item)), 0, CArchivedHours::Kind::Deleted,
                          static_cast<std::uint16_t>(item.id)});
}
