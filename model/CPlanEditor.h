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

    static constexpr const char* kGiverIsReceiver =
        "It is impossible to give time part to a division from its content. Activate a cell in "
        "other item please!";
    static constexpr const char* kGiverInsideReceiver =
        "It is impossible to give time part to a division from its content. Activate a cell in "
        "other item please.";
    static constexpr const char* kReceiverInsideGiver =
        "It is impossible to give time part from a division to its content. Activate a cell in "
        "other item please.";
    static constexpr const char* kReceiverGone =
        "The item to give time part to was not found. May be you have deleted it.";
    static constexpr const char* kGiverGone =
        "The item to take time part from was not found. May be you have deleted it.";
    static constexpr const char* kTransferRefused =
        "It is impossible to give time part to a division from its content. Close \"Adjust time "
        "part\" dialog "
        "and try once more.";
    static constexpr const char* kAbove100 =
        "The time part that you just requested would cause the sum of all time parts to be greater "
        "than 100% "
        "that cannot be. Diminish time parts in other items and try once more.";

    enum class PartChange {
        Done,         // changed
        Declined,     // the user declined the division warning: nothing changed
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

    // The sum of all parts would pass 100 (beyond the comparison tolerance) with the item at
    // the percent.
    bool exceedsTotal(const CActivityItem& item, double percent) const;
    // The sum of all parts but the item's own.
    double otherPartsSum(const CActivityItem& item) const;
    // A part typed for the item: ExceedsTotal leaves the user the choice between
    // recalculateTo100 and taking the part from another item.
    PartChange requestTimePart(std::int32_t itemId, double percent);
    // Sets the item's part (a division scales its content) and brings all parts to 100 %.
    void recalculateTo100(std::int32_t itemId, double percent);

    // Why the giver cannot give to the receiver (one contains the other, or they are one);
    // null when it can.
    const char* nestingRefusal(const CActivityItem& giver, const CActivityItem& receiver) const;
    // Takes the amount (at most all it has) from the giver for the receiver; the message says
    // why not. True when the giver's part changed.
    bool transferPart(std::int32_t giverId, std::int32_t receiverId, double amount);
    // The receiver of a transfer gets its part, when the parts stay within 100 %.
    PartChange setReceivedPart(std::int32_t receiverId, double percent);

private:
    void clearPartIfEmptied(std::int32_t divisionId);
    void detachSubtree(CActivityItem& item);
    void recomputeParts();

    CQLData& m_plan;
};
