#pragma once

#include "model/CPlanHistory.h"
#include "model/CQLData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One user action on the plan, recorded as one undoable step: what its scope names is taken
// when it begins, and what of that differs when it ends is kept, before and after. An action
// that changed nothing leaves no step. A change begun inside another is part of the outer one,
// whose scope must cover it.
class CPlanChange {
public:
    struct Scope {
        bool allItems = false;
        std::vector<std::uint16_t> items;
        // The weeks the action may touch: from this week key on, "" for all; none when unset.
        std::optional<std::string> fromWeek;
    };

    CPlanChange(CQLData& plan, std::string description, Scope scope, CPlanHistory::Place place);
    ~CPlanChange();

    // The user's actions, each with what it may touch and the words the Edit menu shows.
    // Hours typed for the active day (or week), as typed: the item and the weeks from it on.
    static CPlanChange hours(CQLData& plan, std::int32_t itemId, const std::string& typed);
    // A name typed into an item's row, or into the empty row (a new activity).
    // The time a timer ran, added to the days from the first one on.
    static CPlanChange timed(CQLData& plan, std::int32_t itemId, const std::string& firstDay,
                             const std::string& time);
    static CPlanChange name(CQLData& plan, std::int32_t itemId);
    static CPlanChange newActivityNamed(CQLData& plan, const std::string& name);
    // A time part, with the scaling, the transfer and the normalisation it may bring.
    static CPlanChange timePart(CQLData& plan, std::int32_t itemId);
    static CPlanChange insert(CQLData& plan, bool division);
    // A delete ends the item's carries: every week may change.
    static CPlanChange deletion(CQLData& plan, std::int32_t itemId);
    static CPlanChange restore(CQLData& plan, const std::vector<int>& itemIds);
    static CPlanChange move(CQLData& plan, std::int32_t itemId);
    static CPlanChange memo(CQLData& plan, std::int32_t itemId);
    static CPlanChange import(CQLData& plan, const std::string& fileName);
    CPlanChange(const CPlanChange&) = delete;
    CPlanChange& operator=(const CPlanChange&) = delete;

private:
    template <typename Set> using WeekCopy = std::pair<std::string, CFlatMap<std::uint16_t, Set>>;

    void takeItems();
    void takeWeeks();
    void diffItems(CPlanHistory::Patch& patch) const;
    void diffWeeks(CPlanHistory::Patch& patch) const;

    CQLData& m_plan;
    bool m_outer;
    std::string m_description;
    Scope m_scope;
    CPlanHistory::Place m_place;
    std::vector<std::pair<std::uint16_t, std::optional<CPlanHistory::ItemState>>> m_items;
    std::vector<WeekCopy<CWeekSetAveraged>> m_averaged;
    std::vector<WeekCopy<CWeekSetDetailed>> m_detailed;
};
