#pragma once

#include "core/CMyStringDate.h"
#include "model/CLiveTimer.h"
#include "model/CPlanEditor.h"
#include "model/CPlanHistory.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CQLData;

// Each thing a user does to the plan, as one call: it reads what was typed, opens the undo
// step and says what the views must show again. The window, the companion tool and the timer
// all come through here, so an action means the same wherever it starts. Questions to the
// user stay with the caller; the engine's own refusals are said through the plan's messages.
class CPlanActions {
public:
    struct Outcome {
        enum class Shows {
            Nothing, // refused or unchanged
            Hours,   // the hours of `items` (an activity and its divisions), and the priorities
            Parts,   // every time part, and the priorities
            Tree,    // the rows themselves; `focus` is the item the user is taken to
        };
        Shows shows = Shows::Nothing;
        std::vector<std::int32_t> items;
        std::int32_t focus = -1;

        static Outcome of(Shows shows, std::int32_t focus = -1) {
            Outcome outcome;
            outcome.shows = shows;
            outcome.focus = focus;
            return outcome;
        }
        bool changed() const { return shows != Shows::Nothing; }
    };

    explicit CPlanActions(CQLData& plan) : m_plan(plan) {}

    // Typed hours for the activity on the day (none: the active day or week), stored as that
    // day would take them while active; the active day stays.
    Outcome enterHours(std::int32_t itemId, const std::string& typed,
                       const std::optional<CMyStringDate>& day = std::nullopt);
    // Hours already read, for the active day or week.
    bool setHours(std::int32_t itemId, double hours);
    // The minutes a timer ran, each day's added to what the day holds, as one step.
    void addTimedDays(std::int32_t activityId, const std::vector<CLiveTimer::DayMinutes>& days,
                      const std::string& total);

    Outcome rename(std::int32_t itemId, const std::string& name);
    // A name typed into the empty row: a new activity in the root.
    Outcome newActivity(const std::string& name);

    // A typed time part as a number; none when it is not one (the evaluator said why).
    std::optional<double> evaluatePart(const std::string& typed) const;
    CPlanEditor::PartChange requestTimePart(std::int32_t itemId, double percent);
    Outcome recalculateTo100(std::int32_t itemId, double percent);
    Outcome transferPart(std::int32_t giverId, std::int32_t receiverId, double amount);
    Outcome setReceivedPart(std::int32_t receiverId, double percent);

    Outcome insertActivity(std::int32_t divisionId);
    Outcome insertDivision(std::int32_t parentId);
    Outcome deleteItem(std::int32_t itemId);
    Outcome move(std::int32_t itemId, std::int32_t destinationId);
    Outcome restore(const std::vector<int>& itemIds);
    void storeMemo(std::int32_t itemId, const std::string& memo);

    // Undo or redo: the plan, its active day (in the mode that day is shown in) and a current
    // division that still exists; the place the step changed, none when there was no step.
    std::optional<CPlanHistory::Place> stepThroughHistory(bool forward);

private:
    Outcome hoursOf(std::int32_t itemId) const;
    // A new activity, or a division holding one, in the parent division.
    Outcome insert(std::int32_t parentId, bool division);
    static Outcome tree(std::optional<std::uint16_t> focus);

    CQLData& m_plan;
};
