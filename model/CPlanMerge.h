#pragma once

#include "model/CFlatMap.h"
#include "model/CWeekSetDetailed.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CActivityItem;
class CQLData;

// Three plans to one: what each side changed since the version both came from, item by item
// and amount by amount. Where both sides changed one thing differently, the side stored later
// wins and the merge lists it; it lists the other decisions it takes for the user too (a number
// given anew to an item made on both sides, an item deleted with its division, parts scaled
// back to 100 %). The sides are plans as a load leaves them for one today; the merged plan is
// one as well: it passes every check of a load, with carries and start dates recomputed.
// Without a base (two plans that never met) an item is the same on both sides when its number
// and its full name agree, and an amount only one side has is taken.
class CPlanMerge {
public:
    enum class Side { Ours, Theirs };

    struct Decision {
        enum class Kind {
            Conflict,            // both sides changed it differently: the later side's value
            NewNumber,           // made on both sides under one number: the later one renumbered
            DeletedWithDivision, // its division was deleted on the other side
            MovedBack,           // two moves made a loop: the later side's place
            PartsScaled,         // the merged parts passed 100 %
        };
        Kind kind;
        std::string text;
    };

    struct Result {
        std::vector<Decision> decisions;
        // Whether a conflict had to be decided.
        bool conflicted() const;
    };

    // Merges into `merged`, an empty plan of the same application. base: null for two plans
    // that never met. later: the side stored later.
    static Result merge(const CQLData* base, const CQLData& ours, const CQLData& theirs, Side later,
                        CQLData& merged);

private:
    // One side's items under the numbers they have in the merged plan.
    struct SideItems {
        const CQLData* plan = nullptr;
        std::map<std::uint16_t, std::uint16_t> toMerged;   // renumbered items only
        std::map<std::uint16_t, std::uint16_t> fromMerged; // the same, the other way round
        std::uint16_t mergedId(std::int32_t id) const;
        // The side's own number of a merged number; -1 when the side has no such item.
        std::int32_t sideId(std::uint16_t mergedId) const;
        const CActivityItem* item(std::uint16_t mergedId) const;
    };
    // What the merge decides for an item.
    struct Properties {
        std::string name;
        std::int32_t parentId = -1;
        double timePart = 0;
        std::int32_t partUnit = 2;
        std::string memo;
    };

    CPlanMerge(const CQLData* base, const CQLData& ours, const CQLData& theirs, Side later,
               CQLData& merged);

    void numberItems();
    std::uint16_t freshNumber();
    void mergeItems();
    std::optional<Properties> propertiesOf(const SideItems& side, std::uint16_t id,
                                           const Properties* base) const;
    void mergeItem(std::uint16_t id);
    void mergeParents();
    bool breakLoop();
    void detachUnderDeleted();
    void rebuildChildren();
    void mergeAmounts();
    template <typename Week>
    std::array<const Week*, 3> weeksAt(const std::map<std::string, Week> CQLData::*weeks,
                                       const std::string& week) const;
    template <typename Week>
    std::vector<std::uint16_t> idsIn(const std::array<const Week*, 3>& weeks) const;
    void mergeDetailedWeek(const std::string& week);
    CWeekSetDetailed mergeDays(const std::string& week, std::uint16_t id,
                               const CWeekSetDetailed* base, const CWeekSetDetailed* ours,
                               const CWeekSetDetailed* theirs);
    void mergeAveragedWeek(const std::string& week);
    CWeekSetAveraged carriedOf(const std::array<const CWeekSetAveraged*, 3>& sets) const;
    std::array<const CWeekSetAveraged*, 3>
    setsOf(const std::array<const CFlatMap<std::uint16_t, CWeekSetAveraged>*, 3>& totals,
           std::uint16_t id) const;
    double pickAmount(const std::string& week, std::uint16_t id, std::uint16_t day,
                      const double* base, double ours, double theirs);
    void normalise();
    void conflict(const std::string& text);
    std::string nameOf(std::uint16_t id) const;
    const SideItems& laterSide() const { return m_later == Side::Ours ? m_ours : m_theirs; }

    const CQLData* m_basePlan;
    SideItems m_base;
    SideItems m_ours;
    SideItems m_theirs;
    Side m_later;
    CQLData& m_merged;
    Result m_result;
    // Numbers any side uses for an item or for hours; a fresh number is none of them.
    std::vector<bool> m_used;
    std::uint16_t m_nextNumber = 1;
    // Parts both sides changed: a conflict only where the item stays an activity.
    std::vector<std::pair<std::uint16_t, std::string>> m_partConflicts;
};
