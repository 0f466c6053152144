#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CActivityItem;
class CQLData;

// The changes a user makes to the tree: insert, delete, move, restore, purge and the change of
// a time part. Every operation leaves each division's part equal to the sum of its activities'
// parts. Confirmations and dialogs are the views' business; only the model's own messages are
// shown here.
class CPlanEditor {
public:
    static constexpr const char* kPartAbove100 =
        "Please input a number less or equal 100 because a time part cannot be grater than 100%";
    static constexpr const char* kEmptyDivision =
        "To change the time part in a division you should set the time part in at least one "
        "activity of this division to be grater than zero.";
    static constexpr const char* kDivisionWarning =
        "Warning! You are going to change the time part in a division. It will change "
        "proportionally all time parts in its content. Would you like to do this?";

    enum class PartChange {
        Done,         // changed, or the user declined the division warning
        Refused,      // a message told the user why
        ExceedsTotal, // the parts would add up to more than 100: nothing changed, no message
    };

    struct RestoreCandidate {
        std::uint16_t id;
        std::string name;
        std::string lastDate; // the last day with hours; "" when there is none
    };

    explicit CPlanEditor(CQLData& plan) : m_plan(plan) {}

    // The first free identifier from 1; none when it is still referenced or the space is full.
    std::optional<std::uint16_t> newIdentifier() const;
    std::optional<std::uint16_t> insertItem(std::int32_t parentId);
    // A division holding one new activity; returns the division.
    std::optional<std::uint16_t> insertDivision(std::int32_t parentId);

    // Detaches the item and everything below it; they stay restorable while they have hours.
    void deleteItem(CActivityItem& item);
    bool detachItem(CActivityItem& item);
    void attachItem(CActivityItem& item, std::int32_t parentId);
    // Refuses a destination that is not a division, is the item or lies inside it.
    bool moveItem(CActivityItem& item, std::int32_t destinationId);

    std::vector<RestoreCandidate> restoreCandidates() const;
    std::string lastDateWithHours(std::uint16_t itemId) const;
    bool restoreItem(std::int32_t itemId);
    bool purgeItem(std::int32_t itemId);

    PartChange changeTimePart(std::int32_t itemId, double percent);
    void normalisePartsTo100();

private:
    void clearPartIfEmptied(std::int32_t divisionId);
    void detachSubtree(CActivityItem& item);
    void recomputeParts();

    CQLData& m_plan;
};
