#pragma once

#include "views/CListViewOfActivities.h"

// "Priorities of Divisions": a navigator through the tree that shows the current division with
// its parent, its sub-divisions and its activities, highest priority first in each group.
class CListViewOfActivityItems : public CListViewOfActivities {
public:
    static constexpr const char* kChangeDivisionRefused =
        "To change the division, activate a yellow or pale blue row first, please.";

    // Double-click or Enter on data row n: into a sub-division, up to the parent.
    void changeDivisionToRow(CHrplDoc& document, int dataRow);
    // The "Change Division" command on the active row.
    void changeDivisionCommand(CHrplDoc& document);
    // "Activity Item Info": the sheet, modal, for the active row (a title row counts as the first).
    void itemInfoCommand(CHrplDoc& document);
    // "Close": the main frame hides this pane.
    void closeCommand();

protected:
    QString paneTitle() const override { return QStringLiteral("Priorities of Divisions"); }
    RowMap& rowsOf(CHrplDoc& document) const override;
    RowMap orderedRows(CHrplDoc& document, const std::vector<std::int32_t>* moved) override;
    std::optional<RowLook> lookOf(CHrplDoc& document, const CRowTypeInfo& record) const override;
    void afterFill() override { moveActiveCell(kTitleRows + 1, 1); }
    bool leadsTheSheet() const override { return false; }
};
