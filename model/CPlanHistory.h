#pragma once

#include "model/CActivityItem.h"
#include "model/CWeekSetDetailed.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The plan's undo and redo. A step keeps only what one user action changed: the stored fields
// of the items it touched and the week records it touched, each before and after, so a plan of
// thousands of activities is never copied. Steps are recorded through CPlanChange.
class CQLData;

class CPlanHistory {
public:
    static constexpr std::size_t kMostSteps = 1000;
    static constexpr std::size_t kMostBytes = 64u << 20;

    // The most steps and bytes kept; the oldest steps go first, the newest always stays.
    void setLimits(std::size_t steps, std::size_t bytes) {
        m_mostSteps = steps;
        m_mostBytes = bytes;
    }

    // What of an item a file stores, and its start date.
    struct ItemState {
        std::string name;
        std::string memo;
        std::int32_t partUnit = 2;
        double timePart = 0;
        std::int32_t parentId = -1;
        std::vector<IntegerMy> children;
        std::string startDate;
        bool operator==(const ItemState&) const = default;
    };

    // Where a step changed the plan: the user is brought back there.
    struct Place {
        enum class Column { Name, Part, Hours };
        std::int32_t itemId = -1;
        std::string activeDay;
        Column column = Column::Hours;
    };

    // One recorded change: each touched thing before and after (absent: none).
    struct Patch {
        struct Item {
            std::uint16_t id;
            std::optional<ItemState> before, after;
        };
        template <typename Set> struct Record {
            std::string week;
            std::uint16_t id;
            std::optional<Set> before, after;
        };
        struct Week {
            std::string week;
            bool detailed;
            bool before, after; // whether the week's map existed
        };
        std::vector<Item> items;
        std::vector<Record<CWeekSetAveraged>> averaged;
        std::vector<Record<CWeekSetDetailed>> detailed;
        std::vector<Week> weeks;
        bool empty() const {
            return items.empty() && averaged.empty() && detailed.empty() && weeks.empty();
        }
        std::size_t bytes() const;
    };

    struct Step {
        std::string description;
        Place place;
        std::vector<Patch> patches; // in the order they were made
        std::size_t bytes = 0;
    };

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // The descriptions of the step an undo or a redo would take; "" for none.
    std::string undoDescription() const;
    std::string redoDescription() const;
    // Takes the plan back over the last step, or forward over the next; the step's place.
    std::optional<Place> undo(CQLData& plan);
    std::optional<Place> redo(CQLData& plan);
    void clear();
    // No step could be recorded for a change: the steps before it go, and the plan no longer
    // matches the stored one.
    void forgetSteps();
    std::size_t size() const { return m_steps.size(); }
    std::size_t bytes() const { return m_bytes; }
    // Whether the plan differs from the one stored last: undo and redo back to it make it
    // unmodified again.
    bool modified() const { return !m_stored || *m_stored != m_done; }
    void markStored() {
        m_stored = m_done;
        tell();
    }

    // Whether a change is being recorded (changes begun inside it belong to it).
    bool recording() const { return m_recording; }
    void setRecording(bool recording) { m_recording = recording; }

    // Told after every change of the steps or of the stored mark (for menus and titles).
    void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

    // Adds a finished step; the steps that could be redone are dropped.
    void push(Step step);

    static ItemState stateOf(const CActivityItem& item);
    static void apply(CQLData& plan, const Patch& patch, bool forward);

private:
    void dropOldest();
    void tell() const {
        if (m_listener)
            m_listener();
    }

    std::deque<Step> m_steps;
    std::size_t m_done = 0; // steps [0, m_done) are done
    std::size_t m_bytes = 0;
    std::optional<std::size_t> m_stored = 0; // the count of done steps the stored plan has
    bool m_recording = false;
    std::size_t m_mostSteps = kMostSteps;
    std::size_t m_mostBytes = kMostBytes;
    std::function<void()> m_listener;
};
