#pragma once

#include <string>
#include <vector>

class CActivityItem;

class CInputView;

// The input pane's commands on its active row: a time part that may need adjusting, insert,
// delete, move, item information, division view, restore, undo and redo. Each asks the user what
// the window must ask, makes one plan action and has the pane show what it changed.
class CInputCommands {
public:
    static constexpr const char* kNothingToDelete = "No row that can be deleted was activated.";
    static constexpr const char* kNothingToMove =
        "Don't know what to move. To move an item activate a cell in it first , please.";
    static constexpr const char* kRestored =
        "The Activities have been restored to the root division with zero time parts. Please set "
        "the time parts "
        "for them and move them into the division that you would like to.";

    explicit CInputCommands(CInputView& input) : m_input(input) {}

    // A typed part; fromCommand: the Change Time Part command, which asks no question.
    void timePart(int dataRow, const std::string& typed, bool fromCommand = false);
    // The Change Time Part command on the active row.
    void changeTimePart();
    void insertActivity();
    void insertDivision();
    void deleteItem();
    // Opens the move dialog for the active row's item.
    void moveTo();
    void itemInfo();
    void divisionView();
    // After the restore dialog: brings the chosen activities back.
    void restore(const std::vector<int>& items);
    // Takes the plan one step back (or forward) and brings the user to where that step changed
    // it: its active day and its item's cell. False when there was no step.
    bool stepThroughHistory(bool forward);

private:
    // A part the parts cannot take as they stand: the user chooses how.
    void adjustParts(const CActivityItem& item, double wanted, bool fromCommand);

    CInputView& m_input;
};
