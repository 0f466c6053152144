#pragma once

#include "model/CActivityItem.h"
#include "model/CArchivedHours.h"
#include "model/CFlatMap.h"
#include "model/CItemInfo.h"
#include "model/CItemTable.h"
#include "model/CPlanHistory.h"
#include "model/CRowTypeInfo.h"
#include "model/CWeekSetAveraged.h"
#include "model/CWeekSetDetailed.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CAppCore;

// The plan: every item, live or detached, by identifier, and the arithmetic on the tree.
// Walks visit a division's activities first, in children order, then its sub-divisions,
// each one's content before the next. Editing with its messages is left to the editing
// operations; this class keeps to the tree and its sums.
class CQLData {
public:
    static constexpr std::uint16_t kRootId = 0;
    static constexpr const char* kRootName = "Root division";
    static constexpr const char* kMemoStored = "The memo has been stored.";

    explicit CQLData(CAppCore& app);
    CQLData(const CQLData&) = delete;
    CQLData& operator=(const CQLData&) = delete;

    CAppCore& app() const { return m_app; }

    // Creates the root when it is missing.
    void ensureRoot();
    // Adds a new item with the identifier (replacing any item that had it).
    CActivityItem& addItem(std::uint16_t itemId);

    CActivityItem* findItem(std::int32_t itemId);
    const CActivityItem* findItem(std::int32_t itemId) const;
    CActivityItem* root() { return findItem(kRootId); }

    static bool isDivision(const CActivityItem& item) { return item.isDivision(); }
    static std::string displayName(const CActivityItem& item);
    // The display names of the divisions below the root and the item's own, joined by ". ".
    std::string fullName(const CActivityItem& item) const;
    // The same names, outermost first.
    std::vector<std::string> namePath(const CActivityItem& item) const;

    double activityPartSum(const CActivityItem& item) const;
    std::string activityPartSumText(const CActivityItem& item) const;
    void scaleContent(CActivityItem& item, double factor);
    void recomputeDivisionParts(CActivityItem& division);

    void sortChildren(CActivityItem& division);
    // Sorts every division reached from the root, then numbers the input pane's rows.
    RowMap buildRowLayout();

    // A division's direct content in walk order: its activities, then its sub-divisions, each in
    // children order; a child that names no item ends the list.
    std::vector<CActivityItem*> contentInWalkOrder(const CActivityItem& division);
    std::vector<const CActivityItem*> contentInWalkOrder(const CActivityItem& division) const;

    // The divisions holding the item, innermost first up to the root; none when the chain does
    // not reach the root through each division's walk.
    std::vector<CActivityItem*> divisionsAbove(const CActivityItem& item);

    // True when the item lies anywhere inside the ancestor's content.
    bool contains(const CActivityItem& ancestor, std::int32_t itemId) const;

    // The activities in the item's content in walk order; an activity is its own content.
    std::vector<std::uint16_t> activitiesOf(const CActivityItem& item) const;

    // Ledger lookups: 0 where the week, the set or the day is missing. Day index 8 of a week
    // before the detailed period reads the week total.
    double dayHours(const std::string& weekKey, std::uint16_t activity, int dayIndex) const;
    double weekHours(const std::string& weekKey, std::uint16_t activity) const;
    double carriedHours(const std::string& weekKey, std::uint16_t activity) const;
    // Week hours plus carry; 0 when either is negative.
    double reducedHoursToWeekEnd(const std::string& weekKey, std::uint16_t activity) const;

    // The last day that holds hours (a week's Sunday for a week total); "" when none does.
    std::string latestRecordedDay() const;

    bool storeMemo(std::int32_t itemId, const std::string& text);
    std::int32_t owningDivision(std::int32_t itemId) const;
    bool setName(CActivityItem& item, const std::string& text);

    // Removes every item and every week.
    void clear();
    // This plan becomes what the other holds, which is left empty: items and weeks change
    // hands without a copy.
    void takeContent(CQLData& other);
    // Deleted items with no hours in any kept week can no longer be restored: they go.
    void purgeDetachedWithoutHours();

    using DetailedWeek = CFlatMap<std::uint16_t, CWeekSetDetailed>;
    using AveragedWeek = CFlatMap<std::uint16_t, CWeekSetAveraged>;

    CItemTable items;
    // Week key (the Sunday's date text) to each activity's day hours; detailed period only.
    std::map<std::string, DetailedWeek> detailedWeeks;
    // Week key to each activity's week summary; kept period.
    std::map<std::string, AveragedWeek> averagedWeeks;
    std::string reservedText;
    // Hours the load dropped with their weeks, for the archive beside the plan's file; the
    // file keeps them until the plan is stored.
    std::vector<CArchivedHours> leftBehind;
    // The undo and redo of the open plan's changes.
    CPlanHistory history;
    // The texts of the item shown on the item info sheet.
    CItemInfo itemInfo;

    // The active week: its key and the active day index (8 for a whole week before the
    // detailed period). Also the week the priority lookups read.
    std::string activeWeekKey;
    int activeDayIndex = 8;
    // What the items' computed figures stand for, so that one entry can update them in place:
    // whether the active week is filled into them, and the day their priorities are computed
    // for. Whatever changes other items' figures without filling or computing again clears them.
    bool activeWeekFilled = false;
    std::optional<std::chrono::sys_days> prioritiesDay;
    void forgetComputed() {
        activeWeekFilled = false;
        prioritiesDay.reset();
    }

private:
    void markGone(const CActivityItem& item);
    const CWeekSetAveraged* summary(const std::string& weekKey, std::uint16_t activity) const;
    void sortSubtree(CActivityItem& division);
    void numberRows(const CActivityItem& division, RowMap& rows) const;
    void collectActivities(const CActivityItem& division, std::vector<std::uint16_t>& out) const;

    CAppCore& m_app;
};
